#pragma once
// Small conversions for the codec tests, whose PDUs are ASCII hex, and sample PDUs.

#include <string>
#include <string_view>
#include <utility>

namespace codectest {

inline std::u16string U(std::string_view ascii) {
    return std::u16string(ascii.begin(), ascii.end());
}

// For messages: every character of the text must be ASCII.
inline std::string A(std::u16string_view text) {
    std::string out;
    for (char16_t c : text)
        out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return out;
}

// Without the blanks.
inline std::u16string Hex(std::u16string_view spaced) {
    std::u16string hex(spaced);
    std::erase(hex, u' ');
    return hex;
}

// Everything before TP-UDL of an SMS-DELIVER from +12345678901 at 2002-11-15 10:30:00 GMT+1,
// with this first octet and data coding scheme.
inline std::u16string DeliverHead(std::string_view firstOctet, std::string_view dcs) {
    return U("00") + U(firstOctet) + U("0B912143658709F100") + U(dcs) + U("20115101030040");
}

// Upper-case PDUs of every class, with and without service centre, header and each alphabet,
// blanks between the fields; true for the incoming ones.
inline constexpr std::pair<const char16_t*, bool> kSamples[] = {
    {u"00 04 0B912143658709F1 00 00 20115101030040 05 E8329BFD06", true},
    {u"0791214365870921 A4 0B912143658709F1 7F 00 20115101030048 05 E8329BFD06", true},
    {u"00 44 0B912143658709F1 00 00 20115101030040 09 050003010201 9069", true},
    {u"00 44 0B912143658709F1 00 08 20115101030040 0C 050003010201 004800690416", true},
    {u"0791214365870921 15 00 05912143F5 00 08 A8 04 00480069", false},
    {u"0791214365870921 AD FF 05912143F5 41 00 01020304050607 0A E8329BFD4697D9EC37", false},
    {u"00 59 00 05912143F5 00 00 30102040506048 0D 050003AA0303 906536FB1D02", false},
    {u"00 01 00 0181F1 00 04 00", false},
    {u"00 06 D6 0B911326880736F4 11101171955140 11101171957140 00", true},
    {u"0791214365870921 22 09 038121F3 20115101030040 20115101035048 41", true},
    {u"00 22 05 00 01 07 0B912143658709F1 03 AABBCC", false},
    {u"00 00 07 7F 00 05 E8329BFD06", false},
    {u"00 01 20115101030040 07 00 08 04 00480069", true},
};

}  // namespace codectest
