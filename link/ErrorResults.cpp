#include "link/ErrorResults.h"

#include <optional>

#include "text/Decimal.h"
#include "text/Trim.h"

namespace at {

namespace {

struct Meaning {
    int code;
    const char* text;
};

// The mobile equipment's errors.
constexpr Meaning kCme[] = {
    {0, "phone failure"},
    {1, "no connection to phone"},
    {2, "phone adaptor link reserved"},
    {3, "operation not allowed"},
    {4, "operation not supported"},
    {5, "PH-SIM PIN required"},
    {6, "PH-FSIM PIN required"},
    {7, "PH-FSIM PUK required"},
    {10, "SIM not inserted"},
    {11, "SIM PIN required"},
    {12, "SIM PUK required"},
    {13, "SIM failure"},
    {14, "SIM busy"},
    {15, "SIM wrong"},
    {16, "incorrect password"},
    {17, "SIM PIN2 required"},
    {18, "SIM PUK2 required"},
    {20, "memory full"},
    {21, "invalid index"},
    {22, "not found"},
    {23, "memory failure"},
    {24, "text string too long"},
    {25, "invalid characters in text string"},
    {26, "dial string too long"},
    {27, "invalid characters in dial string"},
    {30, "no network service"},
    {31, "network timeout"},
    {32, "network not allowed, emergency calls only"},
    {40, "network personalisation PIN required"},
    {41, "network personalisation PUK required"},
    {42, "network subset personalisation PIN required"},
    {43, "network subset personalisation PUK required"},
    {44, "service provider personalisation PIN required"},
    {45, "service provider personalisation PUK required"},
    {46, "corporate personalisation PIN required"},
    {47, "corporate personalisation PUK required"},
    {100, "unknown error"},
};

// The message service's own errors (codes below 300 come from the network).
constexpr Meaning kCms[] = {
    {300, "phone failure"},
    {301, "SMS service of the phone reserved"},
    {302, "operation not allowed"},
    {303, "operation not supported"},
    {304, "invalid PDU mode parameter"},
    {305, "invalid text mode parameter"},
    {310, "SIM not inserted"},
    {311, "SIM PIN required"},
    {312, "PH-SIM PIN required"},
    {313, "SIM failure"},
    {314, "SIM busy"},
    {315, "SIM wrong"},
    {316, "SIM PUK required"},
    {317, "SIM PIN2 required"},
    {318, "SIM PUK2 required"},
    {320, "memory failure"},
    {321, "invalid memory index"},
    {322, "memory full"},
    {330, "service centre address unknown"},
    {331, "no network service"},
    {332, "network timeout"},
    {340, "no acknowledgement expected"},
    {500, "unknown error"},
};

// The code after the prefix and its colon: blanks around it, at most three digits.
std::optional<int> CodeAfter(std::u16string_view line, std::u16string_view prefix) {
    if (!line.starts_with(prefix)) {
        return std::nullopt;
    }
    line.remove_prefix(prefix.size());
    const std::optional<std::uint32_t> code =
        text::ParseDigits(text::TrimEnd(text::TrimStart(line, u" "), u" \r"), 3);
    if (!code) {
        return std::nullopt;
    }
    return static_cast<int>(*code);
}

template <std::size_t N>
std::string Find(const Meaning (&table)[N], int code) {
    for (const Meaning& m : table) {
        if (m.code == code) {
            return m.text;
        }
    }
    return "";
}

}  // namespace

std::string ErrorMeaning(std::u16string_view line) {
    if (const auto code = CodeAfter(line, u"+CME ERROR:")) {
        return Find(kCme, *code);
    }
    if (const auto code = CodeAfter(line, u"+CMS ERROR:")) {
        return Find(kCms, *code);
    }
    return "";
}

std::u16string DescribeErrorResult(std::u16string_view line) {
    std::u16string text(line);
    const std::string meaning = ErrorMeaning(line);
    if (!meaning.empty()) {
        text += u" (";
        text.append(meaning.begin(), meaning.end());
        text += u')';
    }
    return text;
}

}  // namespace at
