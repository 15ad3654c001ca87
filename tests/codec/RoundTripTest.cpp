// Decoding then encoding gives the PDU back for every class; a delivered message keeps its
// fields through encoding and decoding in every alphabet, with and without a header.

#include <gtest/gtest.h>

#include "sms/codec/ShortMessage.h"
#include "sms/codec/SmsDeliver.h"

namespace {

struct Pdu {
    const char16_t* hex;
    bool incoming;
};

// Upper-case PDUs of every class, with and without service centre, header and each alphabet.
constexpr Pdu kPdus[] = {
    {u"00 04 0B912143658709F1 00 00 20115101030040 05 E8329BFD06", true},
    {u"0791214365870921 A4 0B912143658709F1 7F 00 20115101030048 05 E8329BFD06", true},
    {u"00 44 0B912143658709F1 00 00 20115101030040 09 050003010201 9069", true},
    {u"00 44 0B912143658709F1 00 08 20115101030040 0C 050003010201 004800690416", true},
    {u"00 04 0B912143658709F1 00 04 20115101030040 03 FF0041", true},
    {u"0791214365870921 15 00 05912143F5 00 08 A8 04 00480069", false},
    {u"0791214365870921 AD FF 05912143F5 41 00 01020304050607 0A E8329BFD4697D9EC37", false},
    {u"00 59 00 05912143F5 00 00 30102040506048 0D 050003AA0303 906536FB1D02", false},
    {u"00 01 00 0181F1 00 04 00", false},
    {u"00 06 D6 0B911326880736F4 11101171955140 11101171957140 00", true},
    {u"0791214365870921 22 09 038121F3 20115101030040 20115101035048 41", true},
    {u"00 22 05 00 01 07 0B912143658709F1 03 AABBCC", false},
    {u"00 02 00 00 00 00 0000 00", false},
    {u"00 00 07 7F 00 05 E8329BFD06", false},
    {u"00 00 06 08 04 00480069", false},
    {u"00 00 00", false},
    {u"00 01 20115101030040 07 00 08 04 00480069", true},
    {u"00 01 20115101030040 02 01", true},
};

std::u16string Clean(const char16_t* hex) {
    std::u16string out;
    for (const char16_t* p = hex; *p != 0; ++p) {
        if (*p != u' ') {
            out.push_back(*p);
        }
    }
    return out;
}

TEST(CodecRoundTrip, DecodeThenEncodeGivesThePduBack) {
    for (const Pdu& p : kPdus) {
        const std::u16string hex = Clean(p.hex);
        const auto m = DecodeMessage(hex, p.incoming);
        ASSERT_NE(m, nullptr) << std::string(hex.begin(), hex.end());
        EXPECT_EQ(m->Encode(), hex) << std::string(hex.begin(), hex.end());
    }
}

void ExpectSameDeliver(const CSmsDeliver& a, const CSmsDeliver& b) {
    EXPECT_EQ(a.GetServiceCentre(), b.GetServiceCentre());
    EXPECT_EQ(a.GetOriginator(), b.GetOriginator());
    EXPECT_EQ(a.GetMoreMessages(), b.GetMoreMessages());
    EXPECT_EQ(a.GetReplyPath(), b.GetReplyPath());
    EXPECT_EQ(a.GetStatusReportIndication(), b.GetStatusReportIndication());
    EXPECT_EQ(a.GetPid(), b.GetPid());
    EXPECT_EQ(a.GetDcs(), b.GetDcs());
    EXPECT_EQ(a.GetTimeStamp(), b.GetTimeStamp());
    EXPECT_EQ(a.GetHeader(), b.GetHeader());
    EXPECT_EQ(a.GetText(), b.GetText());
}

TEST(CodecRoundTrip, DeliverRecordsSurviveEveryAlphabetAndHeader) {
    const std::u16string headers[] = {u"", std::u16string(u"\x00\x03\x01\x02\x01", 5),
                                      std::u16string(u"\x08\x04\x12\x34\x02\x01", 6), u"\x7F"};
    const std::pair<std::uint8_t, std::u16string> texts[] = {
        {0x00, u"Hello @ \u00A3$\u00E9 \u00DF\u00C6 {no}"},
        {0x08, u"\u041F\u0440\u0438\u0432\u0435\u0442 \u20AC \U0001F600"},
        {0x04, std::u16string(u"\x00\x01\u00FE\u00FF", 4)},
        {0x00, std::u16string(160, u'x')},
    };
    for (const auto& header : headers) {
        for (const auto& [dcs, text] : texts) {
            CSmsDeliver m;
            m.SetServiceCentre(SmsAddress{1, 1, u"4915200000"});
            m.SetOriginator(SmsAddress{2, 1, u"0301234567"});
            m.SetMoreMessages(1);
            m.SetStatusReportIndication(1);
            m.SetReplyPath(1);
            m.SetPid(0x40);
            m.SetDcs(dcs);
            m.SetTimeStamp(SmsDateTime{24, 2, 29, 23, 59, 59, 14 * 60 + 45, 0});
            m.SetHeader(header);
            m.SetText(text);
            const CSmsDeliver back(m.Encode());
            CSmsDeliver expected = m;
            // 7-bit keeps only what the alphabet has: '{' and '}' have no code.
            if (dcs == 0x00) {
                std::u16string shown = text;
                for (auto& c : shown) {
                    if (c == u'{' || c == u'}') {
                        c = u'\u00AC';
                    }
                }
                expected.SetText(shown);
            }
            ExpectSameDeliver(back, expected);
        }
    }
}

}  // namespace
