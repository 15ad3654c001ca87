#pragma once
// UTF-16 (little-endian code units) to UTF-8 and back, used only at the port.

#include "platform/Win32Types.h"

class CUtf8Converter {
public:
    virtual ~CUtf8Converter() = default;

    // Both directions first size the output over the whole source: when it does not fit in
    // `capacity` (or `destination` is null) they store the size in *outputBytes and return 0.
    // A source of 0 bytes gives 0 and returns 1. Otherwise they convert, store the bytes
    // written and return 1. All counts are in bytes.
    platform::BOOL ToUtf8(const void* source, platform::DWORD sourceBytes, void* destination,
                          platform::DWORD capacity, platform::DWORD* outputBytes);
    platform::BOOL FromUtf8(const void* source, platform::DWORD sourceBytes, void* destination,
                            platform::DWORD capacity, platform::DWORD* outputBytes);
};
