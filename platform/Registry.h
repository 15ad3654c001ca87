#pragma once
// The registry the program keeps its settings in: keys under HKEY_LOCAL_MACHINE and
// HKEY_CURRENT_USER (HKEY_CLASSES_ROOT and HKEY_USERS are accepted too), values of any type,
// with the Win32 error codes callers compare. Key and value names compare case-insensitively
// (ASCII), as on Windows.
//
// A file-backed registry reads a Windows .reg export at construction and rewrites it atomically
// (temporary file, then rename) after every change:
//
//     Windows Registry Editor Version 5.00
//
//     [HKEY_LOCAL_MACHINE\ExtModems\Bluetooth]
//     "Port"="rfcomm0"
//
//     [HKEY_CURRENT_USER\Comm\MemoryType]
//     "MemoryType"=dword:00000001
//
// Strings are REG_SZ, dword: is REG_DWORD, hex: REG_BINARY and hex(N): any other type.

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/Win32Types.h"

namespace platform {

class Registry {
public:
    // In memory only; nothing is ever written to disk.
    Registry();
    // Backed by `path`. A missing file is an empty registry; a damaged one leaves the registry
    // empty with LoadResult() == ERROR_BADDB, and is kept aside as `path`.bad at the first save.
    explicit Registry(std::string path);

    // $HALVEX_REGISTRY, else $XDG_CONFIG_HOME/halvex/registry.reg, else
    // ~/.config/halvex/registry.reg.
    static std::string DefaultPath();

    // Reads the file again, replacing the contents. ERROR_SUCCESS (also for a missing file),
    // ERROR_CANTREAD, or ERROR_BADDB (the registry is then empty).
    LONG Load();
    LONG LoadResult() const { return loadResult_; }
    // Takes one value as the file holds it now (another program may have changed it since),
    // or its absence; the rest stays as it is. Nothing changes when the file cannot be read or
    // is damaged, or for an in-memory registry.
    void Refresh(HKEY root, const std::u16string& key, const std::u16string& name);
    // Result of the last save; ERROR_SUCCESS for an in-memory registry.
    LONG SaveResult() const { return saveResult_; }
    const std::string& Path() const { return path_; }

    // Paths are backslash-separated below a root; "" is the root itself, which always exists.
    bool KeyExists(HKEY root, const std::u16string& key) const;
    // Creates the key and its missing ancestors; `created` tells whether the key was new.
    LONG CreateKey(HKEY root, const std::u16string& key, bool* created = nullptr);
    // Removes the key with its subkeys and values.
    LONG DeleteKey(HKEY root, const std::u16string& key);

    // ERROR_FILE_NOT_FOUND for a missing key or value. `name` "" is the default value.
    LONG QueryValue(HKEY root, const std::u16string& key, const std::u16string& name, DWORD* type,
                    std::vector<BYTE>* data) const;
    // The key must exist. Stores the bytes as given (REG_SZ data includes its null).
    LONG SetValue(HKEY root, const std::u16string& key, const std::u16string& name, DWORD type,
                  const BYTE* data, DWORD size);
    LONG DeleteValue(HKEY root, const std::u16string& key, const std::u16string& name);

    // Conveniences for tests and tools; the Set forms create keys as needed.
    LONG SetString(HKEY root, const std::u16string& key, const std::u16string& name,
                   const std::u16string& value);
    LONG SetDword(HKEY root, const std::u16string& key, const std::u16string& name, DWORD value);
    // ERROR_FILE_NOT_FOUND when missing, ERROR_INVALID_PARAMETER when of another type or size.
    LONG GetString(HKEY root, const std::u16string& key, const std::u16string& name,
                   std::u16string& value) const;
    LONG GetDword(HKEY root, const std::u16string& key, const std::u16string& name,
                  DWORD& value) const;

    // The .reg text of the current contents, and its reverse (used by Load and the tests).
    std::string ToRegText() const;
    LONG FromRegText(const std::string& text);

private:
    struct Value {
        std::u16string name;
        DWORD type = REG_NONE;
        std::vector<BYTE> data;
    };
    struct Key {
        HKEY root = 0;
        std::u16string path;  // as first written
        std::vector<Value> values;
    };
    using KeyId = std::pair<HKEY, std::u16string>;  // root and folded path

    static bool ValidRoot(HKEY root);
    static std::u16string Normalize(const std::u16string& path);
    const Key* Find(HKEY root, const std::u16string& key) const;
    Key* Find(HKEY root, const std::u16string& key);
    Key& Ensure(HKEY root, const std::u16string& normalized, bool* created);
    LONG Changed();

    std::string path_;
    std::map<KeyId, Key> keys_;
    LONG loadResult_ = ERROR_SUCCESS;
    LONG saveResult_ = ERROR_SUCCESS;
    bool keepDamagedFile_ = false;
};

}  // namespace platform
