#include "phonesim/Pdu.h"

#include <algorithm>

#include "phonesim/Text.h"

namespace phonesim {

namespace {

constexpr std::size_t kMaxScaOctets = 11;  // length octet, type, 9 octets of digits

// Reads an address field (length in digits, type, packed digits) at `pos`; false when cut.
bool SkipAddress(const std::vector<std::uint8_t>& tpdu, std::size_t& pos) {
    if (pos + 2 > tpdu.size())
        return false;
    const std::size_t digits = tpdu[pos];
    if (digits > 20)
        return false;
    pos += 2 + (digits + 1) / 2;
    return pos <= tpdu.size();
}

// User data octets for the DCS and UDL (3GPP TS 23.038: 7-bit, 8-bit or UCS2).
std::size_t UserDataOctets(std::uint8_t dcs, std::size_t udl) {
    bool septets = true;
    const std::uint8_t group = dcs >> 4;
    if (group <= 0x7) {
        const int alphabet = (dcs >> 2) & 0x3;
        septets = alphabet == 0 || alphabet == 3;
    } else if (group == 0xE) {
        septets = false;
    } else if (group == 0xF) {
        septets = (dcs & 0x04) == 0;
    }
    return septets ? (udl * 7 + 7) / 8 : udl;
}

}  // namespace

std::optional<PduParts> SplitPdu(std::string_view hex) {
    auto octets = HexToOctets(hex);
    if (!octets || octets->empty())
        return std::nullopt;
    const std::size_t scaOctets = 1 + static_cast<std::size_t>((*octets)[0]);
    if (scaOctets > kMaxScaOctets || scaOctets > octets->size())
        return std::nullopt;
    PduParts parts;
    parts.sca.assign(octets->begin(), octets->begin() + static_cast<std::ptrdiff_t>(scaOctets));
    parts.tpdu.assign(octets->begin() + static_cast<std::ptrdiff_t>(scaOctets), octets->end());
    if (!parts.tpdu.empty()) {
        const int mti = parts.tpdu[0] & 0x03;
        parts.type = mti == 0 ? TpduType::Deliver : mti == 1 ? TpduType::Submit : TpduType::Other;
    }
    return parts;
}

bool WellFormedTpdu(const std::vector<std::uint8_t>& tpdu) {
    if (tpdu.empty())
        return false;
    const std::uint8_t first = tpdu[0];
    std::size_t pos = 1;
    const int mti = first & 0x03;
    if (mti == 1) {
        ++pos;  // TP-MR
        if (!SkipAddress(tpdu, pos))
            return false;
    } else if (mti == 0) {
        if (!SkipAddress(tpdu, pos))
            return false;
    } else {
        return false;
    }
    if (pos + 2 > tpdu.size())
        return false;
    const std::uint8_t dcs = tpdu[pos + 1];
    pos += 2;  // TP-PID, TP-DCS
    if (mti == 0) {
        pos += 7;  // TP-SCTS
    } else {
        const int vpf = (first >> 3) & 0x03;
        pos += vpf == 0 ? 0 : vpf == 2 ? 1 : 7;
    }
    if (pos + 1 > tpdu.size())
        return false;
    const std::size_t udl = tpdu[pos++];
    const std::size_t octets = UserDataOctets(dcs, udl);
    if (octets > 140)
        return false;
    if ((first & 0x40) != 0 &&
        (octets == 0 || tpdu.size() <= pos || std::size_t{tpdu[pos]} + 1 > octets)) {
        return false;  // the header must fit in the user data
    }
    return pos <= tpdu.size() && tpdu.size() - pos == octets;
}

int TpduLength(std::string_view hex) {
    const auto parts = SplitPdu(hex);
    return parts ? static_cast<int>(parts->tpdu.size()) : 0;
}

}  // namespace phonesim
