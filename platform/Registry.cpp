#include "platform/Registry.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "text/Ascii.h"

namespace platform {

namespace {

// Names end up on one line of the .reg file, inside brackets or quotes.
bool HasControl(const std::u16string& s) {
    for (char16_t c : s) {
        if (c < 0x20 || c == 0x7F)
            return true;
    }
    return false;
}

// mkdir -p for the directory part of `path`.
bool MakeParentDirs(const std::string& path) {
    for (std::size_t pos = path.find('/', 1); pos != std::string::npos;
         pos = path.find('/', pos + 1)) {
        std::string dir = path.substr(0, pos);
        if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    return true;
}

}  // namespace

Registry::Registry() = default;

Registry::Registry(std::string path) : path_(std::move(path)) {
    Load();
}

std::string Registry::DefaultPath() {
    if (const char* p = std::getenv("HALVEX_REGISTRY"); p && *p)
        return p;
    if (const char* p = std::getenv("XDG_CONFIG_HOME"); p && *p)
        return std::string(p) + "/halvex/registry.reg";
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : ".") + "/.config/halvex/registry.reg";
}

LONG Registry::Load() {
    keys_.clear();
    keepDamagedFile_ = false;
    if (path_.empty())
        return loadResult_ = ERROR_SUCCESS;
    std::ifstream in(path_, std::ios::binary);
    if (!in) {
        struct stat st {};
        loadResult_ =
            (::stat(path_.c_str(), &st) != 0 && errno == ENOENT) ? ERROR_SUCCESS : ERROR_CANTREAD;
        return loadResult_;
    }
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        return loadResult_ = ERROR_CANTREAD;
    loadResult_ = FromRegText(text);
    if (loadResult_ != ERROR_SUCCESS) {
        keys_.clear();
        keepDamagedFile_ = true;
    }
    return loadResult_;
}

void Registry::Refresh(HKEY root, const std::u16string& key, const std::u16string& name) {
    if (path_.empty() || !ValidRoot(root))
        return;
    Registry now(path_);
    if (now.LoadResult() != ERROR_SUCCESS)
        return;
    const Value* fresh = nullptr;
    if (const Key* k = now.Find(root, key)) {
        for (const Value& v : k->values) {
            if (text::EqualsIgnoringCase(v.name, name))
                fresh = &v;
        }
    }
    // Memory and file agree after every save, so nothing needs writing back.
    Key* mine = Find(root, key);
    if (!fresh) {
        if (mine) {
            std::erase_if(mine->values,
                          [&](const Value& v) { return text::EqualsIgnoringCase(v.name, name); });
        }
        return;
    }
    if (!mine) {
        const Key* theirs = now.Find(root, key);
        mine = &Ensure(root, Normalize(theirs->path), nullptr);
    }
    for (Value& v : mine->values) {
        if (text::EqualsIgnoringCase(v.name, name)) {
            v = *fresh;
            return;
        }
    }
    mine->values.push_back(*fresh);
}

bool Registry::ValidRoot(HKEY root) {
    return root == HKEY_LOCAL_MACHINE || root == HKEY_CURRENT_USER || root == HKEY_CLASSES_ROOT ||
           root == HKEY_USERS;
}

std::u16string Registry::Normalize(const std::u16string& path) {
    // Empty components (leading, trailing or doubled backslashes) are dropped.
    std::u16string out;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find(u'\\', start);
        if (end == std::u16string::npos)
            end = path.size();
        if (end > start) {
            if (!out.empty())
                out += u'\\';
            out.append(path, start, end - start);
        }
        start = end + 1;
    }
    return out;
}

const Registry::Key* Registry::Find(HKEY root, const std::u16string& key) const {
    auto it = keys_.find(KeyId{root, text::ToLowerAscii(Normalize(key))});
    return it == keys_.end() ? nullptr : &it->second;
}

Registry::Key* Registry::Find(HKEY root, const std::u16string& key) {
    auto it = keys_.find(KeyId{root, text::ToLowerAscii(Normalize(key))});
    return it == keys_.end() ? nullptr : &it->second;
}

Registry::Key& Registry::Ensure(HKEY root, const std::u16string& normalized, bool* created) {
    // Every ancestor exists as a key of its own, as on Windows.
    bool isNew = false;
    Key* last = nullptr;
    std::size_t pos = 0;
    while (true) {
        std::size_t end = normalized.find(u'\\', pos);
        std::u16string prefix =
            end == std::u16string::npos ? normalized : normalized.substr(0, end);
        auto [it, inserted] = keys_.try_emplace(KeyId{root, text::ToLowerAscii(prefix)});
        if (inserted) {
            it->second.root = root;
            it->second.path = prefix;
        }
        isNew = inserted;
        last = &it->second;
        if (end == std::u16string::npos)
            break;
        pos = end + 1;
    }
    if (created)
        *created = isNew;
    return *last;
}

bool Registry::KeyExists(HKEY root, const std::u16string& key) const {
    if (!ValidRoot(root))
        return false;
    return Normalize(key).empty() || Find(root, key) != nullptr;
}

LONG Registry::CreateKey(HKEY root, const std::u16string& key, bool* created) {
    if (created)
        *created = false;
    if (!ValidRoot(root))
        return ERROR_INVALID_HANDLE;
    std::u16string normalized = Normalize(key);
    if (HasControl(normalized) || normalized.find(u']') != std::u16string::npos)
        return ERROR_INVALID_PARAMETER;
    if (normalized.empty())
        return ERROR_SUCCESS;
    bool isNew = false;
    Ensure(root, normalized, &isNew);
    if (created)
        *created = isNew;
    return isNew ? Changed() : ERROR_SUCCESS;
}

LONG Registry::DeleteKey(HKEY root, const std::u16string& key) {
    if (!ValidRoot(root))
        return ERROR_INVALID_HANDLE;
    std::u16string folded = text::ToLowerAscii(Normalize(key));
    if (folded.empty())
        return ERROR_ACCESS_DENIED;
    if (keys_.erase(KeyId{root, folded}) == 0)
        return ERROR_FILE_NOT_FOUND;
    std::u16string prefix = folded + u'\\';
    for (auto it = keys_.begin(); it != keys_.end();) {
        if (it->first.first == root && it->first.second.starts_with(prefix))
            it = keys_.erase(it);
        else
            ++it;
    }
    return Changed();
}

LONG Registry::QueryValue(HKEY root, const std::u16string& key, const std::u16string& name,
                          DWORD* type, std::vector<BYTE>* data) const {
    if (!ValidRoot(root))
        return ERROR_INVALID_HANDLE;
    const Key* k = Find(root, key);
    if (!k)
        return ERROR_FILE_NOT_FOUND;
    for (const auto& v : k->values) {
        if (text::EqualsIgnoringCase(v.name, name)) {
            if (type)
                *type = v.type;
            if (data)
                *data = v.data;
            return ERROR_SUCCESS;
        }
    }
    return ERROR_FILE_NOT_FOUND;
}

LONG Registry::SetValue(HKEY root, const std::u16string& key, const std::u16string& name,
                        DWORD type, const BYTE* data, DWORD size) {
    if (!ValidRoot(root))
        return ERROR_INVALID_HANDLE;
    if (HasControl(name) || (size > 0 && !data))
        return ERROR_INVALID_PARAMETER;
    Key* k = Normalize(key).empty() ? &Ensure(root, u"", nullptr) : Find(root, key);
    if (!k)
        return ERROR_FILE_NOT_FOUND;
    std::vector<BYTE> bytes(data, data + size);
    for (auto& v : k->values) {
        if (text::EqualsIgnoringCase(v.name, name)) {
            v.type = type;
            v.data = std::move(bytes);
            return Changed();
        }
    }
    k->values.push_back(Value{name, type, std::move(bytes)});
    return Changed();
}

LONG Registry::DeleteValue(HKEY root, const std::u16string& key, const std::u16string& name) {
    if (!ValidRoot(root))
        return ERROR_INVALID_HANDLE;
    Key* k = Find(root, key);
    if (!k)
        return ERROR_FILE_NOT_FOUND;
    for (auto it = k->values.begin(); it != k->values.end(); ++it) {
        if (text::EqualsIgnoringCase(it->name, name)) {
            k->values.erase(it);
            return Changed();
        }
    }
    return ERROR_FILE_NOT_FOUND;
}

LONG Registry::SetString(HKEY root, const std::u16string& key, const std::u16string& name,
                         const std::u16string& value) {
    if (LONG r = CreateKey(root, key); r != ERROR_SUCCESS && !KeyExists(root, key))
        return r;
    std::vector<BYTE> bytes;
    bytes.reserve((value.size() + 1) * 2);
    for (char16_t c : value) {
        bytes.push_back(BYTE(c & 0xFF));
        bytes.push_back(BYTE(c >> 8));
    }
    bytes.push_back(0);
    bytes.push_back(0);
    return SetValue(root, key, name, REG_SZ, bytes.data(), DWORD(bytes.size()));
}

LONG Registry::SetDword(HKEY root, const std::u16string& key, const std::u16string& name,
                        DWORD value) {
    if (LONG r = CreateKey(root, key); r != ERROR_SUCCESS && !KeyExists(root, key))
        return r;
    BYTE bytes[4] = {BYTE(value), BYTE(value >> 8), BYTE(value >> 16), BYTE(value >> 24)};
    return SetValue(root, key, name, REG_DWORD, bytes, 4);
}

LONG Registry::GetString(HKEY root, const std::u16string& key, const std::u16string& name,
                         std::u16string& value) const {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    if (LONG r = QueryValue(root, key, name, &type, &data); r != ERROR_SUCCESS)
        return r;
    if (type != REG_SZ || data.size() % 2 != 0)
        return ERROR_INVALID_PARAMETER;
    value.clear();
    for (std::size_t i = 0; i + 1 < data.size(); i += 2) {
        char16_t c = char16_t(data[i] | (data[i + 1] << 8));
        if (c == 0)
            break;
        value += c;
    }
    return ERROR_SUCCESS;
}

LONG Registry::GetDword(HKEY root, const std::u16string& key, const std::u16string& name,
                        DWORD& value) const {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    if (LONG r = QueryValue(root, key, name, &type, &data); r != ERROR_SUCCESS)
        return r;
    if (type != REG_DWORD || data.size() != 4)
        return ERROR_INVALID_PARAMETER;
    value = DWORD(data[0]) | DWORD(data[1]) << 8 | DWORD(data[2]) << 16 | DWORD(data[3]) << 24;
    return ERROR_SUCCESS;
}

LONG Registry::Changed() {
    if (path_.empty())
        return saveResult_ = ERROR_SUCCESS;
    saveResult_ = ERROR_CANTWRITE;
    if (!MakeParentDirs(path_))
        return saveResult_;
    if (keepDamagedFile_) {
        // The user may want what was in the damaged file; never overwrite it silently.
        std::string aside = path_ + ".bad";
        if (std::rename(path_.c_str(), aside.c_str()) != 0 && errno != ENOENT)
            return saveResult_;
        keepDamagedFile_ = false;
    }
    std::string text = ToRegText();
    std::string temp = path_ + ".tmp." + std::to_string(::getpid());
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return saveResult_;
    std::size_t done = 0;
    while (done < text.size()) {
        ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += std::size_t(n);
    }
    bool ok = done == text.size() && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (!ok || std::rename(temp.c_str(), path_.c_str()) != 0) {
        ::unlink(temp.c_str());
        return saveResult_;
    }
    return saveResult_ = ERROR_SUCCESS;
}

}  // namespace platform
