#include "sms/codec/GsmAlphabet.h"

#include <gtest/gtest.h>

#include <map>

namespace {

TEST(CodecAlphabet, TableDiffersFromIdentityExactlyWhereTheAlphabetDoes) {
    std::map<int, int> differing = {
        {0x00, 0x40}, {0x01, 0xA3}, {0x02, 0x24}, {0x03, 0xA5}, {0x04, 0xE8}, {0x05, 0xE9},
        {0x06, 0xF9}, {0x07, 0xEC}, {0x08, 0xF2}, {0x09, 0xC7}, {0x0B, 0xD8}, {0x0C, 0xF8},
        {0x0E, 0xC5}, {0x0F, 0xE5}, {0x10, 0xAC}, {0x11, 0x5F}, {0x1C, 0xC6}, {0x1D, 0xE6},
        {0x1E, 0xDF}, {0x1F, 0xC9}, {0x24, 0xA4}, {0x40, 0xA1}, {0x5B, 0xC4}, {0x5C, 0xD6},
        {0x5D, 0xD1}, {0x5E, 0xDC}, {0x5F, 0xA7}, {0x60, 0xBF}, {0x7B, 0xE4}, {0x7C, 0xF6},
        {0x7D, 0xF1}, {0x7E, 0xFC}, {0x7F, 0xE0}};
    for (int code = 0x12; code <= 0x1B; ++code) {
        differing[code] = 0xAC;  // Greek capitals and the escape
    }
    for (int code = 0; code < 128; ++code) {
        const auto it = differing.find(code);
        EXPECT_EQ(sms::kGsmToLatin1[code], it == differing.end() ? code : it->second)
            << "GSM code " << code;
    }
}

TEST(CodecAlphabet, ReverseTableUndoesTheForwardOne) {
    for (int code = 0; code < 128; ++code) {
        if (sms::kGsmToLatin1[code] != sms::kNoLatin1) {
            EXPECT_EQ(sms::kLatin1ToGsm[sms::kGsmToLatin1[code]], code) << "GSM code " << code;
        }
    }
    EXPECT_EQ(sms::kLatin1ToGsm[0xAC], sms::kNoGsm);
}

TEST(CodecAlphabet, TextToGsm) {
    EXPECT_EQ(TextToGsm(u"@$_"), std::u16string(u"\x00\x02\x11", 3));
    // No default-alphabet code: brackets, backslash, circumflex, grave, braces, bar, tilde.
    EXPECT_EQ(TextToGsm(u"[\\]^`{|}~"), std::u16string(9, u'\x10'));
    EXPECT_EQ(TextToGsm(u"\u00E9"), u"\x05");
    EXPECT_EQ(TextToGsm(u"\u20AC"), u"\x10");
    EXPECT_EQ(TextToGsm(u"\u0141"), u"\x41");  // by its low 8 bits alone
    EXPECT_EQ(TextToGsm(u"Hi!\n"), u"Hi!\n");
    EXPECT_EQ(TextToGsm(u""), u"");
}

TEST(CodecAlphabet, GsmToText) {
    EXPECT_EQ(GsmToText(u"\x05"), u"\u00E9");
    EXPECT_EQ(GsmToText(u"\x10"), u"\u00AC");
    EXPECT_EQ(GsmToText(u"\x1B"), u"\u00AC");  // escapes are not interpreted
    EXPECT_EQ(GsmToText(std::u16string(u"\x00\x7F", 2)), u"@\u00E0");
    EXPECT_EQ(GsmToText(u"\x80\u0141"), u"\u00AC\u00AC");
}

}  // namespace
