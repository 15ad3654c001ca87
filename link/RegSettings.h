#pragma once
// Owner of one open registry key, and the kind of phone found at start-up ("MemoryType").

#include <optional>
#include <string>

#include "link/PhoneKinds.h"

#include "platform/Win32Types.h"

class CRegSettings {
public:
    CRegSettings() = default;
    ~CRegSettings() { Close(); }
    CRegSettings(const CRegSettings&) = delete;
    CRegSettings& operator=(const CRegSettings&) = delete;

    // Each returns the registry's error code (ERROR_SUCCESS is 0).
    // On success closes any key held before and keeps the new one.
    platform::LONG Open(platform::HKEY parent, const char16_t* name,
                        platform::REGSAM access = platform::KEY_ALL_ACCESS);
    // Creates (or opens) a subkey of the held key and holds it instead.
    platform::LONG Create(const char16_t* name);
    // Reads four bytes whatever the stored type; on failure `value` becomes `fallback`.
    platform::LONG QueryDWORD(platform::DWORD& value, const char16_t* name,
                              platform::DWORD fallback);
    platform::LONG SetDWORD(platform::DWORD value, const char16_t* name);
    platform::LONG SetString(const std::u16string& text, const char16_t* name);
    // 0 when nothing was held.
    platform::LONG Close();

    platform::HKEY GetKey() const { return m_hKey; }

private:
    platform::HKEY m_hKey = platform::NULL_HANDLE;
};

namespace settings {

inline constexpr platform::DWORD kMemoryTypeNokia = 1;
inline constexpr platform::DWORD kMemoryTypeOther = 0;
inline constexpr platform::DWORD kMemoryTypeNoAnswer = 0xFFFFFFFFu;

// Opens Comm\MemoryType under HKEY_CURRENT_USER and reads "MemoryType" (fallback 4). False when
// the key cannot be opened or the value cannot be read: the caller then skips the work that
// depends on it.
bool ReadMemoryType(platform::DWORD& value);
// Exactly 1 means a Nokia; every other value is an ordinary phone.
inline bool IsNokiaMemoryType(platform::DWORD value) {
    return value == kMemoryTypeNokia;
}
// The same as a kind of phone: nothing when it cannot be read.
std::optional<phone::Kind> ReadPhoneKind();
// Stores a kind as StoreMemoryType does.
platform::LONG StorePhoneKind(phone::Kind kind);
// True when the user chose the fast exchange in the registry: "FastLink" (DWORD 1) under
// HKEY_CURRENT_USER\Software\Halvex.
bool ReadFastLink();
// The start-up write: opens the existing key Comm under HKEY_CURRENT_USER, creates its subkey
// MemoryType when missing and stores the value. Nothing is written when Comm does not exist.
platform::LONG StoreMemoryType(platform::DWORD value);

// The main window's place on the desktop as the user last left it: the key
// HKEY_CURRENT_USER\Software\Halvex\WindowGeometry with the DWORD values "Left", "Top" (two's
// complement: a screen left of or above the first one has negative places), "Width", "Height"
// and "Maximized" (1 or 0). Places are the desktop's pixels, the window's frame excluded.
struct WindowGeometry {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool maximized = false;
};
// False when the key or any of its values is missing (a first start).
bool ReadWindowGeometry(WindowGeometry& geometry);
platform::LONG StoreWindowGeometry(const WindowGeometry& geometry);

}  // namespace settings
