#include "phonesim/PduBuilder.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "phonesim/Charset.h"
#include "phonesim/Text.h"

namespace phonesim {

namespace {

using Octets = std::vector<std::uint8_t>;

bool AllDigits(const std::string& text) {
    if (text.empty())
        return false;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

// Digits in swapped semi-octets, F-filled.
void AppendBcd(Octets& out, const std::string& digits) {
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        const int low = digits[i] - '0';
        const int high = i + 1 < digits.size() ? digits[i + 1] - '0' : 0xF;
        out.push_back(static_cast<std::uint8_t>(high << 4 | low));
    }
}

Octets PackSeptets(const std::vector<unsigned char>& septets) {
    Octets out((septets.size() * 7 + 7) / 8, 0);
    for (std::size_t i = 0; i < septets.size(); ++i) {
        const std::size_t bit = i * 7;
        const unsigned value = septets[i] & 0x7F;
        out[bit / 8] = static_cast<std::uint8_t>(out[bit / 8] | (value << (bit % 8)));
        if (bit % 8 > 1) {
            out[bit / 8 + 1] =
                static_cast<std::uint8_t>(out[bit / 8 + 1] | (value >> (8 - bit % 8)));
        }
    }
    return out;
}

std::optional<Octets> Sca(const std::string& number) {
    if (number.empty())
        return Octets{0x00};
    const bool international = number[0] == '+';
    const std::string digits = international ? number.substr(1) : number;
    if (!AllDigits(digits) || digits.size() > 18)
        return std::nullopt;
    Octets out{static_cast<std::uint8_t>(1 + (digits.size() + 1) / 2),
               static_cast<std::uint8_t>(international ? 0x91 : 0x81)};
    AppendBcd(out, digits);
    return out;
}

// TP-OA / TP-DA: length in digits (semi-octets for an alphanumeric one), type, value.
std::optional<Octets> Address(const std::string& address) {
    if (address.empty())
        return std::nullopt;
    const bool international = address[0] == '+';
    const std::string digits = international ? address.substr(1) : address;
    Octets out;
    if (AllDigits(digits)) {
        if (digits.size() > 20)
            return std::nullopt;
        out = {static_cast<std::uint8_t>(digits.size()),
               static_cast<std::uint8_t>(international ? 0x91 : 0x81)};
        AppendBcd(out, digits);
        return out;
    }
    const auto septets = TextToGsm(Utf8ToUtf16(address).value_or(u""));
    if (!septets || septets->empty() || septets->size() > 11)
        return std::nullopt;
    const Octets packed = PackSeptets(*septets);
    out = {static_cast<std::uint8_t>((septets->size() * 7 + 3) / 4), 0xD0};
    out.insert(out.end(), packed.begin(), packed.end());
    return out;
}

std::uint8_t SwappedBcd(int value) {
    return static_cast<std::uint8_t>((value % 10) << 4 | (value / 10) % 10);
}

// The user-data header of a part, its UDHL octet first.
Octets PartHeader(const PartOf& part) {
    Octets header{0x00};
    if (part.wideReference) {
        header.insert(header.end(),
                      {0x08, 0x04, static_cast<std::uint8_t>(part.reference >> 8 & 0xFF),
                       static_cast<std::uint8_t>(part.reference & 0xFF)});
    } else {
        header.insert(header.end(), {0x00, 0x03, static_cast<std::uint8_t>(part.reference & 0xFF)});
    }
    header.push_back(static_cast<std::uint8_t>(part.count & 0xFF));
    header.push_back(static_cast<std::uint8_t>(part.sequence & 0xFF));
    header[0] = static_cast<std::uint8_t>(header.size() - 1);
    return header;
}

// TP-DCS, TP-UDL and TP-UD for the text, after the header when there is one.
std::optional<Octets> UserData(const std::u16string& text, Alphabet alphabet,
                               const Octets& header = {}) {
    std::optional<std::vector<unsigned char>> septets;
    if (alphabet != Alphabet::Ucs2)
        septets = TextToGsm(text);
    if (alphabet == Alphabet::Gsm7 && !septets)
        return std::nullopt;
    if (septets) {
        // The header and its fill bits take whole septets; the text starts on the next one.
        const std::size_t headerSeptets = header.empty() ? 0 : (header.size() * 8 + 6) / 7;
        if (headerSeptets + septets->size() > 160)
            return std::nullopt;
        septets->insert(septets->begin(), headerSeptets, 0);
        Octets out{0x00, static_cast<std::uint8_t>(septets->size())};
        Octets packed = PackSeptets(*septets);
        std::copy(header.begin(), header.end(), packed.begin());
        out.insert(out.end(), packed.begin(), packed.end());
        return out;
    }
    if (header.size() + text.size() * 2 > 140)
        return std::nullopt;
    Octets out{0x08, static_cast<std::uint8_t>(header.size() + text.size() * 2)};
    out.insert(out.end(), header.begin(), header.end());
    for (char16_t unit : text) {
        out.push_back(static_cast<std::uint8_t>(unit >> 8));
        out.push_back(static_cast<std::uint8_t>(unit & 0xFF));
    }
    return out;
}

}  // namespace

std::optional<SmsTime> ParseSmsTime(const std::string& text) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, zh = 0, zm = 0;
    char sep = 0, sign = 0;
    const int n = std::sscanf(text.c_str(), "%4d-%2d-%2d%c%2d:%2d:%2d%c%2d:%2d", &year, &month,
                              &day, &sep, &hour, &minute, &second, &sign, &zh, &zm);
    if (n != 10 || (sep != ' ' && sep != 'T') || (sign != '+' && sign != '-'))
        return std::nullopt;
    if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 59 ||
        zh > 15 || zm % 15 != 0 || year < 0 || hour < 0 || minute < 0 || second < 0 || zh < 0 ||
        zm < 0) {
        return std::nullopt;
    }
    const int quarters = zh * 4 + zm / 15;
    return SmsTime{
        year % 100, month, day, hour, minute, second, sign == '-' ? -quarters : quarters};
}

std::optional<std::string> BuildDeliver(const DeliverMessage& message) {
    const auto sca = Sca(message.smsc);
    const auto from = Address(message.from);
    const Octets header = message.part ? PartHeader(*message.part) : Octets{};
    const auto ud = UserData(message.text, message.alphabet, header);
    if (!sca || !from || !ud)
        return std::nullopt;
    Octets pdu = *sca;
    // SMS-DELIVER, no more messages waiting; TP-UDHI for a part.
    pdu.push_back(header.empty() ? 0x04 : 0x44);
    pdu.insert(pdu.end(), from->begin(), from->end());
    pdu.push_back(0x00);      // TP-PID
    pdu.push_back((*ud)[0]);  // TP-DCS
    const SmsTime& t = message.time;
    for (int v : {t.year, t.month, t.day, t.hour, t.minute, t.second})
        pdu.push_back(SwappedBcd(v));
    const int quarters = t.zoneQuarters < 0 ? -t.zoneQuarters : t.zoneQuarters;
    pdu.push_back(
        static_cast<std::uint8_t>(SwappedBcd(quarters) | (t.zoneQuarters < 0 ? 0x08 : 0)));
    pdu.insert(pdu.end(), ud->begin() + 1, ud->end());
    return OctetsToHex(pdu);
}

std::optional<std::string> BuildSubmit(const SubmitMessage& message) {
    const auto sca = Sca(message.smsc);
    const auto to = Address(message.to);
    const auto ud = UserData(message.text, message.alphabet);
    if (!sca || !to || !ud || message.validity > 255)
        return std::nullopt;
    Octets pdu = *sca;
    pdu.push_back(message.validity >= 0 ? 0x11 : 0x01);  // SMS-SUBMIT, relative validity or none
    pdu.push_back(static_cast<std::uint8_t>(message.reference & 0xFF));
    pdu.insert(pdu.end(), to->begin(), to->end());
    pdu.push_back(0x00);      // TP-PID
    pdu.push_back((*ud)[0]);  // TP-DCS
    if (message.validity >= 0)
        pdu.push_back(static_cast<std::uint8_t>(message.validity));
    pdu.insert(pdu.end(), ud->begin() + 1, ud->end());
    return OctetsToHex(pdu);
}

}  // namespace phonesim
