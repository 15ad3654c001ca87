#pragma once
// The value types of the PDU codec: an address, a time stamp and a validity period.

#include <array>
#include <cstdint>
#include <string>

struct SmsAddress {
    static constexpr std::int32_t kAlphanumeric = 5;

    std::int32_t typeOfNumber = 0;   // TON, 3 bits: 0 unknown, 1 international, 5 a name, ...
    std::int32_t numberingPlan = 0;  // NPI, 4 bits: 1 ISDN/telephone
    // The digits, never with a leading '+'; for an alphanumeric address the name ("BANK").
    std::u16string number;

    // A sender such as "BANK": a name, which cannot be dialled.
    bool IsAlphanumeric() const { return typeOfNumber == kAlphanumeric; }

    bool operator==(const SmsAddress&) const = default;
};

// Two-digit year as carried in the PDU; zone in minutes, always a multiple of 15.
struct SmsDateTime {
    std::uint16_t year = 0;
    std::uint16_t month = 0;
    std::uint16_t day = 0;
    std::uint16_t hour = 0;
    std::uint16_t minute = 0;
    std::uint16_t second = 0;
    std::uint16_t zone = 0;
    std::uint8_t zoneSign = 0;  // nonzero east of GMT, 0 west of it

    bool operator==(const SmsDateTime&) const = default;
};

// TP-VPF codes.
enum : std::int32_t {
    kValidityNone = 0,
    kValidityEnhanced = 1,
    kValidityRelative = 2,
    kValidityAbsolute = 3,
};

struct SmsValidity {
    std::int32_t format = kValidityNone;
    SmsDateTime absolute;       // format 3
    std::uint8_t relative = 0;  // format 2: the TP-VP octet, unchanged
    // Format 1: the seven TP-VP octets, carried unchanged so the fields after them stay in step.
    std::array<std::uint8_t, 7> enhanced{};

    bool operator==(const SmsValidity&) const = default;
};
