#pragma once
// Profiles: a phone's whole state as JSON (the schema is in phonesim/README.md). The shipped
// profiles of phonesim/profiles/ are compiled into the library, so they load by name from any
// working directory.

#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "phonesim/Fault.h"
#include "phonesim/PhoneState.h"

namespace phonesim {

struct Timing {
    std::uint32_t latencyMs = 50;  // before every answer
    std::uint32_t baud = 9600;     // 10 bits a byte; 0: no line delay at all
    // Per command: the longest matching case-insensitive prefix of the command line wins.
    std::map<std::string, std::uint32_t> commandLatencyMs;
};

struct Profile {
    PhoneState state;
    Timing timing;
    std::vector<Fault> faults;
};

// A file that cannot be read, text that is not JSON, or JSON that does not fit the schema.
class ProfileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

Profile ProfileFromJson(const std::string& text);
Profile LoadProfileFile(const std::string& path);
// "default", "nokia", "small-sim", "empty", "full"; throws ProfileError for another name.
Profile ShippedProfile(const std::string& name);
std::vector<std::string> ShippedProfileNames();
// A shipped name, else a file path.
Profile LoadProfile(const std::string& nameOrPath);

// `base` with a JSON merge patch (RFC 7386) applied: objects merge, arrays are replaced.
// ProfileWithPatch(ShippedProfile("default"), R"({"echo": false, "cmee": 1})")
Profile ProfileWithPatch(const Profile& base, const std::string& mergePatch);

std::string ProfileToJson(const Profile& profile);
// Written atomically (temporary file, then rename). Throws ProfileError.
void SaveProfileFile(const Profile& profile, const std::string& path);

}  // namespace phonesim
