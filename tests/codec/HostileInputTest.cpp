// Whatever text arrives as a PDU, decoding stays inside its octets, ends, and never throws;
// whatever a record holds, encoding stays inside the writer.

#include <gtest/gtest.h>

#include <random>

#include "sms/codec/PduWriter.h"
#include "sms/codec/ShortMessage.h"
#include "sms/codec/SmsDeliver.h"
#include "sms/codec/SmsSubmit.h"
#include "tests/codec/CodecText.h"

namespace {

using codectest::U;

// Decodes in both directions and encodes what came back; the sanitizers do the rest.
void Exercise(std::u16string_view pdu) {
    for (bool incoming : {true, false}) {
        const auto m = DecodeMessage(pdu, incoming);
        if (m) {
            const std::u16string again = m->Encode();
            EXPECT_LE(again.size(), 2 * CPduWriter::kCapacity);
            EXPECT_LE(m->GetText().size(), 255u);
            EXPECT_LE(m->GetHeader().size(), 255u);
            (void)m->GetAddress();
            (void)m->GetTimeStamp();
        }
    }
}

TEST(CodecHostile, EveryTruncationOfRealMessages) {
    for (const auto& sample : codectest::kSamples) {
        const std::u16string full = codectest::Hex(sample.first);
        for (std::size_t length = 0; length <= full.size(); ++length) {
            Exercise(std::u16string_view(full).substr(0, length));
        }
    }
}

TEST(CodecHostile, TruncatedTextIsAPrefixNeverInventedCharacters) {
    const std::u16string full =
        u"07917283010010F5040BC87238880900F10000993092516195800AE8329BFD4697D9EC37";
    for (std::size_t length = 0; length <= full.size(); length += 2) {
        const CSmsDeliver m(std::u16string_view(full).substr(0, length));
        EXPECT_EQ(std::u16string(u"hellohello").rfind(m.GetText(), 0), 0u)
            << length << ": " << codectest::A(m.GetText());
    }
}

TEST(CodecHostile, RandomTextInEveryShape) {
    std::mt19937 random(20240601);
    const std::u16string alphabet = u"0123456789ABCDEFabcdef0123456789ABCDEF G\u00FF\u0130";
    std::uniform_int_distribution<std::size_t> length(0, 420);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    for (int round = 0; round < 3000; ++round) {
        std::u16string pdu(length(random), u'0');
        for (auto& c : pdu) {
            c = alphabet[pick(random)];
        }
        Exercise(pdu);
    }
}

TEST(CodecHostile, RandomOctetsInRealMessages) {
    std::mt19937 random(7);
    const char16_t digits[] = u"0123456789ABCDEF";
    for (int round = 0; round < 4000; ++round) {
        std::u16string pdu =
            codectest::Hex(codectest::kSamples[round % std::size(codectest::kSamples)].first);
        const int changes = 1 + round % 4;
        for (int i = 0; i < changes; ++i) {
            pdu[random() % pdu.size()] = digits[random() % 16];
        }
        Exercise(pdu);
    }
}

TEST(CodecHostile, LengthsThatPointPastTheEnd) {
    // Service centre, originator, header and user data lengths of FF over a few octets.
    Exercise(u"FF91214365");
    Exercise(u"0004FF91214365");
    Exercise(u"00440B912143658709F10000201151010300400AFF0003");
    Exercise(u"0004");
    const std::u16string head = U("00040B912143658709F100");
    const std::u16string stamp = U("20115101030040");
    const CSmsDeliver longUdl(head + U("00") + stamp + U("FF") + U("E8329BFD06"));
    EXPECT_EQ(longUdl.GetText(), u"hello");
    const CSmsDeliver longUcs2(head + U("08") + stamp + U("FF") + U("00480069"));
    EXPECT_EQ(longUcs2.GetText(), u"Hi");
    const CSmsDeliver longCentre(U("0F9121436587"));
    EXPECT_EQ(longCentre.GetServiceCentre().number, u"12345678");
}

TEST(CodecHostile, UdlShorterThanItsHeaderReadsOnlyWhatIsThere) {
    // TP-UDL 3 with a six-octet header: the count wraps and the read ends with the data.
    const CSmsDeliver m(U("00440B912143658709F1000020115101030040") + U("03") + U("050003010201") +
                        U("9069"));
    EXPECT_EQ(m.GetHeader().size(), 5u);
    EXPECT_EQ(m.GetText(), u"Hi");
}

TEST(CodecHostile, TextThatIsNotHex) {
    // Odd length converts nothing: the record is built from zero octets.
    const auto odd = DecodeMessage(u"00040B912143658709F100002011510103004005E8329BFD060", true);
    ASSERT_NE(odd, nullptr);
    EXPECT_EQ(odd->GetAddress(), (SmsAddress{0, 0, u""}));
    EXPECT_EQ(odd->GetText(), u"");
    // A bad pair stops the conversion: the fields before it are still read.
    const auto bad = DecodeMessage(u"00040B912143658709F1ZZ002011510103004005E8329BFD06", true);
    ASSERT_NE(bad, nullptr);
    EXPECT_EQ(bad->GetAddress(), (SmsAddress{1, 1, u"12345678901"}));
    EXPECT_EQ(bad->GetText(), u"");
    Exercise(std::u16string(u"\0\0\0\0", 4));
    Exercise(std::u16string{0xFFFF, 0xD800, 0xDC00, 0x0000, 0x0130, 0x0134});
}

TEST(CodecHostile, EncodingMoreThanTheWriterHoldsGivesNoPdu) {
    // Ten octets before the text: 995 UCS2 characters fill the 2000 octets exactly.
    CSmsSubmit fits(std::u16string(995, u'\u4E16'), u"1");
    fits.SetDcs(0x08);
    EXPECT_EQ(fits.Encode().size(), 2 * CPduWriter::kCapacity);
    CSmsSubmit tooLong(std::u16string(996, u'\u4E16'), u"1");
    tooLong.SetDcs(0x08);
    EXPECT_EQ(tooLong.Encode(), u"");

    CSmsDeliver longNumber;
    longNumber.SetOriginator(SmsAddress{1, 1, std::u16string(5000, u'9')});
    EXPECT_EQ(longNumber.Encode(), u"");
    CSmsDeliver longSeptets;
    longSeptets.SetText(std::u16string(3000, u'a'));
    EXPECT_EQ(longSeptets.Encode(), u"");
    CSmsDeliver longHeader;
    longHeader.SetHeader(std::u16string(2100, u'\x01'));
    EXPECT_EQ(longHeader.Encode(), u"");
    // Too long for a message but within the writer: TP-UDL wraps to 8 bits, as documented.
    CSmsSubmit wraps(std::u16string(200, u'a'), u"1");
    const std::u16string pdu = wraps.Encode();
    EXPECT_FALSE(pdu.empty());
    EXPECT_EQ(pdu.substr(18, 2), u"C8");
}

// Found by fuzzing: a malformed PDU's fields are written so that the PDU they make decodes to
// them again (a time stamp field above 99 kept two digits; a 0xF nibble inside an address was
// written as a digit the reader skips as a filler).
TEST(CodecHostile, WhatAMalformedPduDecodesToIsWrittenSoThatItReadsBack) {
    for (const char16_t* pdu :
         {u"0001000B917228001011F1000005C8329BFD06", u"0001000481F13F000000"}) {
        for (bool incoming : {true, false}) {
            const auto first = DecodeMessage(pdu, incoming);
            ASSERT_NE(first, nullptr);
            const std::u16string once = first->Encode();
            const std::u16string twice = DecodeMessage(once, incoming)->Encode();
            EXPECT_EQ(twice, once) << codectest::A(pdu) << " " << incoming;
        }
    }
}

}  // namespace
