#pragma once
// Talks to a phonesim::Phone directly, in its own virtual milliseconds.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "phonesim/Phone.h"
#include "phonesim/Profile.h"

namespace phonesim::test {

// Answers as the phone frames them with verbose result codes.
inline const auto Ok = [] { return std::string("\r\nOK\r\n"); };
inline const auto Error = [] { return std::string("\r\nERROR\r\n"); };
inline const auto Cme = [](int code) { return "\r\n+CME ERROR: " + std::to_string(code) + "\r\n"; };
inline const auto Cms = [](int code) { return "\r\n+CMS ERROR: " + std::to_string(code) + "\r\n"; };
// Information lines, then OK.
inline std::string Info(const std::vector<std::string>& lines) {
    std::string out = "\r\n";
    for (const std::string& line : lines)
        out += line + "\r\n";
    return out + Ok();
}

// A command line and the whole answer expected to it.
struct Step {
    std::string line;
    std::string answer;
};

class PhoneHarness {
public:
    // Echo off unless asked for, so that answers compare without the command in front.
    explicit PhoneHarness(const std::string& profile = "default", bool echo = false)
        : phone(ShippedProfile(profile)) {
        phone.State().echo = echo;
    }

    // Writes `bytes` and returns all that arrives in the following 10 s.
    std::string Send(const std::string& bytes) {
        phone.Receive(bytes, now);
        now += 10'000;
        return phone.Read(now);
    }
    // One command line.
    std::string At(const std::string& line) { return Send(line + "\r"); }
    // Each line in turn, checking its answer.
    void Talk(const std::vector<Step>& steps) {
        for (const Step& step : steps)
            EXPECT_EQ(At(step.line), step.answer) << step.line;
    }

    Phone phone;
    std::uint64_t now = 1'000;
};

}  // namespace phonesim::test
