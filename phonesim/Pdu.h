#pragma once
// What the phone checks of a PDU it is given (AT+CMGS, AT+CMGW) and what it reports of a
// stored one (the length field of AT+CMGL and AT+CMGR).

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace phonesim {

enum class TpduType { Deliver, Submit, Other };

struct PduParts {
    std::vector<std::uint8_t> sca;   // the service-centre field, its length octet included
    std::vector<std::uint8_t> tpdu;  // everything after it
    TpduType type = TpduType::Other;
};

// Splits hex text into its service-centre field and TPDU; nullopt when the text is not hex,
// has an odd length, or its service-centre field is longer than 11 octets or than the text.
std::optional<PduParts> SplitPdu(std::string_view hex);

// True when the TPDU of an SMS-DELIVER or SMS-SUBMIT holds every field its first octet and
// DCS announce, and exactly the user data its UDL gives.
bool WellFormedTpdu(const std::vector<std::uint8_t>& tpdu);

// The TPDU length in octets, as AT+CMGL and AT+CMGR give it; 0 for text that is no PDU.
int TpduLength(std::string_view hex);

}  // namespace phonesim
