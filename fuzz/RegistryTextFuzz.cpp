// Any registry file: what it reads, written out and read again, is the same.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/Registry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    platform::Registry first;
    if (first.FromRegText(std::string(reinterpret_cast<const char*>(data), size)) !=
        platform::ERROR_SUCCESS) {
        return 0;
    }
    const std::string written = first.ToRegText();
    platform::Registry second;
    if (second.FromRegText(written) != platform::ERROR_SUCCESS || second.ToRegText() != written)
        std::abort();
    return 0;
}
