#pragma once
// Talks to a phonesim::Phone directly, in its own virtual milliseconds.

#include <string>

#include "phonesim/Phone.h"
#include "phonesim/Profile.h"

namespace phonesim::test {

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

    Phone phone;
    std::uint64_t now = 1'000;
};

}  // namespace phonesim::test
