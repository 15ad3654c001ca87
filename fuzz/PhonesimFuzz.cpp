// The simulated phone against any client: any bytes on its line (first byte even), or any
// profile (first byte odd). It answers, refuses or ignores; it never fails badly, and time
// moves on only as far as the input says.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "phonesim/Phone.h"
#include "phonesim/Profile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    if (data[0] & 1) {
        try {
            phonesim::Phone phone{phonesim::Profile{}};
            phone.LoadJson(std::string(rest));
            phone.Receive("AT+CPBR=1,5\rAT+CMGL=4\rATI\r", 0);
            (void)phone.Read(100000);
        } catch (const phonesim::ProfileError&) {
        }
        return 0;
    }
    static phonesim::Phone* phone = [] {
        auto* p = new phonesim::Phone(phonesim::ShippedProfile("default"));
        p->SetBaud(0);
        return p;
    }();
    static std::uint64_t now = 0;
    // The input in pieces, as a line delivers it, with time passing between them.
    for (std::size_t at = 0; at < rest.size(); at += 16) {
        phone->Receive(rest.substr(at, 16), now);
        now += 7;
        (void)phone->Read(now);
    }
    now += 1000;
    (void)phone->Read(now);
    return 0;
}
