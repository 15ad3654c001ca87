#pragma once
// Builds valid SMS-DELIVER and SMS-SUBMIT PDUs (3GPP TS 23.040) for profiles and tests: GSM
// 7-bit or UCS2 text, international, national or alphanumeric addresses, and a delivered message
// may be one part of a concatenated one.

#include <optional>
#include <string>

namespace phonesim {

struct SmsTime {
    int year = 24;  // two digits
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int zoneQuarters = 0;  // offset from UTC in quarters of an hour, may be negative
};

// "2024-03-05 14:22:10+01:00" (or with a 'T'); nullopt when malformed.
std::optional<SmsTime> ParseSmsTime(const std::string& text);

enum class Alphabet { Auto, Gsm7, Ucs2 };

// One part of a concatenated message: the information element 0x00 (8-bit reference) or 0x08
// (16-bit reference) in the user-data header. The values are written as given, senseless ones
// (part 0, part 5 of 3) included.
struct PartOf {
    int reference = 0;
    int count = 0;
    int sequence = 0;
    bool wideReference = false;
};

struct DeliverMessage {
    std::string smsc = "+447802000332";
    std::string from;  // "+4477...", "0777...", or an alphanumeric name such as "BANK"
    SmsTime time;
    std::u16string text;
    Alphabet alphabet = Alphabet::Auto;
    std::optional<PartOf> part = std::nullopt;  // none: a message of its own
};

struct SubmitMessage {
    std::string smsc = "+447802000332";  // empty: "00", the phone's own centre
    std::string to;
    std::u16string text;
    Alphabet alphabet = Alphabet::Auto;
    int validity = 0xAA;  // relative TP-VP; below 0: none
    int reference = 0;
};

// Upper-case hex, service-centre field first; nullopt when the text does not fit one message
// (160 septets, 70 UCS2 characters, less the header of a part) or an address is unusable.
std::optional<std::string> BuildDeliver(const DeliverMessage& message);
std::optional<std::string> BuildSubmit(const SubmitMessage& message);

}  // namespace phonesim
