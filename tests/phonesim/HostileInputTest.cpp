// Whatever a host sends, the phone can be brought back to answering. That it survives any input
// is the fuzz target's work (fuzz/PhonesimFuzz.cpp).

#include <gtest/gtest.h>

#include <random>

#include "tests/phonesim/PhoneHarness.h"

namespace phonesim::test {
namespace {

std::string RandomBytes(std::mt19937& rng, std::size_t size, const std::string& alphabet) {
    std::string out;
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    for (std::size_t i = 0; i < size; ++i)
        out += alphabet[pick(rng)];
    return out;
}

TEST(HostileInput, RandomCommandLinesLeaveThePhoneWorking) {
    std::mt19937 rng(1234);
    std::string alphabet = "AT+CPBRWSMGLDF=?,;\"\\0123456789 &EQVZI\x1a\x1b\r\n\x08";
    for (int b = 0x80; b < 0x90; ++b)
        alphabet += static_cast<char>(b);
    PhoneHarness h;
    for (int round = 0; round < 2000; ++round) {
        std::string line = RandomBytes(rng, rng() % 40, alphabet);
        if (round % 3 == 0)
            line = "AT+" + line;
        h.phone.Receive(line, h.now);
        h.now += 100;
        h.phone.Read(h.now);
    }
    // Whatever state it was left in (even at a prompt), Esc and a fresh line bring it back.
    h.Send("\x1b\r");
    h.phone.State().echo = false;
    h.phone.State().quiet = false;
    h.phone.State().verbose = true;
    EXPECT_EQ(h.At("AT"), Ok());
}

TEST(HostileInput, OverlongPduIsRefused) {
    PhoneHarness h;
    h.At("AT+CMEE=1");
    EXPECT_EQ(h.At("AT+CMGS=140"), "\r\n> ");
    EXPECT_EQ(h.Send(std::string(100'000, '0') + "\x1a"), Cms(304));
    EXPECT_EQ(h.At("AT"), Ok());
}

}  // namespace
}  // namespace phonesim::test
