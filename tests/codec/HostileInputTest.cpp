// What decoding makes of PDUs that are cut short, and what encoding makes of records too big for
// the writer. That any text at all (not hex too) decodes without
// harm, lengths that lie included, is the fuzz target's to prove; a bad pair's stop, the hex text
// tests'.

#include <gtest/gtest.h>

#include "sms/codec/Concatenation.h"
#include "sms/codec/PduWriter.h"
#include "sms/codec/ShortMessage.h"
#include "sms/codec/SmsDeliver.h"
#include "sms/codec/SmsSubmit.h"
#include "tests/codec/CodecText.h"
#include "text/Hex.h"

namespace {

// Cut anywhere, the text is the septets the octets that came hold whole: a prefix, never an
// invented character.
TEST(CodecHostile, TruncatedTextIsWhatTheOctetsThatCameHold) {
    const std::u16string full =
        u"07917283010010F5040BC87238880900F10000993092516195800AE8329BFD4697D9EC37";
    const std::size_t userData = 54;  // where the text's octets begin
    for (std::size_t length = 0; length <= full.size(); length += 2) {
        const std::size_t octets = length > userData ? (length - userData) / 2 : 0;
        const CSmsDeliver m(std::u16string_view(full).substr(0, length));
        EXPECT_EQ(m.GetText(), std::u16string(u"hellohello").substr(0, octets * 8 / 7)) << length;
    }
}

// The concatenation element is found among others, by its last copy, never past the header's
// end, and only in its own length (3 octets for 0x00, 4 for 0x08).
TEST(CodecHostile, ConcatenationElementsThatLieAboutTheirLength) {
    // A header as the records keep it: one character per octet (blanks between elements).
    auto Octets = [](std::string hex) {
        std::erase(hex, ' ');
        const std::vector<std::uint8_t> octets = *text::HexToOctets(hex);
        return std::u16string(octets.begin(), octets.end());
    };
    const std::pair<std::u16string, const char*> cases[] = {
        {Octets("0003070201"), "7 1/2 8-bit"},
        {Octets("080412340302"), "4660 2/3 16-bit"},
        {Octets("0A020000 0003070201"), "7 1/2 8-bit"},  // after a text-formatting element
        {Octets("0003070201 0003080301"), "8 1/3 8-bit"},
        {Octets("0005070201"), "none"},    // longer than the header
        {Octets("000207020003"), "none"},  // wrong length for its kind
        {Octets(""), "none"},
    };
    for (const auto& [header, expected] : cases) {
        const auto found = sms::FindConcatenation(header);
        const std::string text =
            found ? std::to_string(found->reference) + " " + std::to_string(found->sequence) + "/" +
                        std::to_string(found->count) + (found->wideReference ? " 16-bit" : " 8-bit")
                  : "none";
        EXPECT_EQ(text, expected) << header.size();
    }
}

TEST(CodecHostile, EncodingMoreThanTheWriterHoldsGivesNoPdu) {
    // Ten octets before the text: 995 UCS2 characters fill the 2000 octets exactly.
    CSmsSubmit fits(std::u16string(995, u'\u4E16'), u"1");
    fits.SetDcs(0x08);
    EXPECT_EQ(fits.Encode().size(), 2 * CPduWriter::kCapacity);
    CSmsSubmit tooLong(std::u16string(996, u'\u4E16'), u"1");
    tooLong.SetDcs(0x08);
    EXPECT_EQ(tooLong.Encode(), u"");

    // A number, 7-bit text or a header past the writer's bound.
    CSmsDeliver longNumber, longSeptets, longHeader;
    longNumber.SetOriginator(SmsAddress{1, 1, std::u16string(5000, u'9')});
    longSeptets.SetText(std::u16string(3000, u'a'));
    longHeader.SetHeader(std::u16string(2100, u'\x01'));
    EXPECT_EQ(longNumber.Encode() + longSeptets.Encode() + longHeader.Encode(), u"");
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
