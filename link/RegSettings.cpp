#include "link/RegSettings.h"

#include <utility>

#include "platform/Win32.h"

using namespace platform;

LONG CRegSettings::Open(HKEY parent, const char16_t* name, REGSAM access) {
    HKEY key = NULL_HANDLE;
    const LONG result = RegOpenKeyExW(parent, name, 0, access, &key);
    if (result == ERROR_SUCCESS) {
        Close();
        m_hKey = key;
    }
    return result;
}

LONG CRegSettings::Create(const char16_t* name) {
    HKEY key = NULL_HANDLE;
    DWORD disposition = 0;
    const LONG result = RegCreateKeyExW(m_hKey, name, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                        KEY_ALL_ACCESS, nullptr, &key, &disposition);
    if (result == ERROR_SUCCESS) {
        Close();
        m_hKey = key;
    }
    return result;
}

LONG CRegSettings::QueryDWORD(DWORD& value, const char16_t* name, DWORD fallback) {
    BYTE data[4] = {};
    DWORD size = sizeof(data);
    DWORD type = REG_NONE;
    const LONG result = RegQueryValueExW(m_hKey, name, nullptr, &type, data, &size);
    if (result != ERROR_SUCCESS) {
        value = fallback;
        return result;
    }
    // Fewer than four bytes leave the rest zero; the stored type is not examined.
    value = static_cast<DWORD>(data[0]) | static_cast<DWORD>(data[1]) << 8 |
            static_cast<DWORD>(data[2]) << 16 | static_cast<DWORD>(data[3]) << 24;
    return result;
}

LONG CRegSettings::SetDWORD(DWORD value, const char16_t* name) {
    const BYTE data[4] = {static_cast<BYTE>(value), static_cast<BYTE>(value >> 8),
                          static_cast<BYTE>(value >> 16), static_cast<BYTE>(value >> 24)};
    return RegSetValueExW(m_hKey, name, 0, REG_DWORD, data, sizeof(data));
}

LONG CRegSettings::SetString(const std::u16string& text, const char16_t* name) {
    // REG_SZ: the text and its terminating null, in bytes.
    const DWORD bytes = static_cast<DWORD>((text.size() + 1) * sizeof(char16_t));
    return RegSetValueExW(m_hKey, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          bytes);
}

LONG CRegSettings::Close() {
    LONG result = ERROR_SUCCESS;
    if (m_hKey != NULL_HANDLE) {
        result = RegCloseKey(m_hKey);
        m_hKey = NULL_HANDLE;
    }
    return result;
}

namespace settings {

bool ReadMemoryType(DWORD& value) {
    CRegSettings reg;
    if (reg.Open(HKEY_CURRENT_USER, u"Comm\\MemoryType", KEY_ALL_ACCESS) != ERROR_SUCCESS) {
        return false;
    }
    DWORD read = 0;
    if (reg.QueryDWORD(read, u"MemoryType", 4) != ERROR_SUCCESS) {
        return false;
    }
    value = read;
    return true;
}

std::optional<phone::Kind> ReadPhoneKind() {
    DWORD value = 0;
    if (!ReadMemoryType(value)) {
        return std::nullopt;
    }
    if (IsNokiaMemoryType(value)) {
        return phone::Kind::Nokia;
    }
    return value == kMemoryTypeNoAnswer ? phone::Kind::NoAnswer : phone::Kind::Ordinary;
}

LONG StorePhoneKind(phone::Kind kind) {
    switch (kind) {
        case phone::Kind::Nokia:
            return StoreMemoryType(kMemoryTypeNokia);
        case phone::Kind::NoAnswer:
            return StoreMemoryType(kMemoryTypeNoAnswer);
        case phone::Kind::Ordinary:
            break;
    }
    return StoreMemoryType(kMemoryTypeOther);
}

bool ReadFastLink() {
    CRegSettings reg;
    DWORD value = 0;
    return reg.Open(HKEY_CURRENT_USER, u"Software\\Halvex", KEY_READ) == ERROR_SUCCESS &&
           reg.QueryDWORD(value, u"FastLink", 0) == ERROR_SUCCESS && value == 1;
}

LONG StoreMemoryType(DWORD value) {
    CRegSettings reg;
    LONG result = reg.Open(HKEY_CURRENT_USER, u"Comm", KEY_ALL_ACCESS);
    if (result != ERROR_SUCCESS) {
        return result;
    }
    result = reg.Create(u"MemoryType");
    if (result != ERROR_SUCCESS) {
        return result;
    }
    return reg.SetDWORD(value, u"MemoryType");
}

namespace {

constexpr const char16_t* kWindowGeometryKey = u"Software\\Halvex\\WindowGeometry";

}  // namespace

bool ReadWindowGeometry(WindowGeometry& geometry) {
    CRegSettings reg;
    if (reg.Open(HKEY_CURRENT_USER, kWindowGeometryKey, KEY_READ) != ERROR_SUCCESS) {
        return false;
    }
    DWORD values[5] = {};
    const char16_t* names[5] = {u"Left", u"Top", u"Width", u"Height", u"Maximized"};
    for (int i = 0; i < 5; ++i) {
        if (reg.QueryDWORD(values[i], names[i], 0) != ERROR_SUCCESS) {
            return false;
        }
    }
    geometry.left = static_cast<int>(values[0]);
    geometry.top = static_cast<int>(values[1]);
    geometry.width = static_cast<int>(values[2]);
    geometry.height = static_cast<int>(values[3]);
    geometry.maximized = values[4] == 1;
    return true;
}

LONG StoreWindowGeometry(const WindowGeometry& geometry) {
    CRegSettings reg;
    LONG result = reg.Open(HKEY_CURRENT_USER, u"", KEY_ALL_ACCESS);
    if (result == ERROR_SUCCESS) {
        result = reg.Create(kWindowGeometryKey);
    }
    const std::pair<const char16_t*, DWORD> values[] = {
        {u"Left", static_cast<DWORD>(geometry.left)},
        {u"Top", static_cast<DWORD>(geometry.top)},
        {u"Width", static_cast<DWORD>(geometry.width)},
        {u"Height", static_cast<DWORD>(geometry.height)},
        {u"Maximized", geometry.maximized ? 1u : 0u}};
    for (const auto& [name, value] : values) {
        if (result == ERROR_SUCCESS) {
            result = reg.SetDWORD(value, name);
        }
    }
    return result;
}

}  // namespace settings
