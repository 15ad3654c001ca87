#include "platform/PortSurvey.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <sstream>

#include <sys/stat.h>
#include <unistd.h>

#include "text/Decimal.h"
#include "text/Trim.h"

namespace platform {

namespace fs = std::filesystem;

namespace {

// The first line of a small file, without its line end; "" when it cannot be read.
std::string FirstLine(const std::string& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return std::string(text::TrimEnd(line, "\r "));
}

bool IsFile(const std::string& path) {
    std::error_code ec;
    return fs::exists(path, ec);
}

std::string Parent(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos || slash == 0 ? "/" : path.substr(0, slash);
}

std::string BaseName(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// "/dev/serial/by-id/../../ttyUSB0" as "/dev/ttyUSB0".
std::string Normal(const std::string& path) {
    std::vector<std::string> parts;
    std::stringstream in(path);
    std::string part;
    while (std::getline(in, part, '/')) {
        if (part.empty() || part == ".")
            continue;
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
            continue;
        }
        parts.push_back(part);
    }
    std::string out;
    for (const std::string& p : parts)
        out += "/" + p;
    return out.empty() ? "/" : out;
}

// ttyUSB2 before ttyUSB10.
bool NaturalLess(const std::string& a, const std::string& b) {
    const auto split = [](const std::string& s) {
        std::size_t digits = s.size();
        while (digits > 0 && s[digits - 1] >= '0' && s[digits - 1] <= '9')
            --digits;
        return std::pair(s.substr(0, digits), s.size() - digits);
    };
    const auto [stemA, lenA] = split(a);
    const auto [stemB, lenB] = split(b);
    if (stemA != stemB || lenA == lenB)
        return a < b;
    return lenA < lenB;
}

bool IsPortNode(const std::string& name) {
    for (const char* prefix : {"ttyUSB", "ttyACM", "rfcomm"}) {
        const std::string p = prefix;
        if (name.size() > p.size() && name.compare(0, p.size(), p) == 0 &&
            name.find_first_not_of("0123456789", p.size()) == std::string::npos)
            return true;
    }
    return false;
}

struct GroupEntry {
    std::string name;
    unsigned gid = 0;
    std::vector<std::string> members;
};

std::vector<GroupEntry> ReadGroups(const std::string& path) {
    std::vector<GroupEntry> groups;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        std::vector<std::string> fields;
        std::stringstream s(line);
        std::string f;
        while (std::getline(s, f, ':'))
            fields.push_back(f);
        const std::optional<std::uint32_t> gid =
            fields.size() < 3 ? std::nullopt : text::ParseDigits(fields[2], 9);
        if (!gid)
            continue;
        GroupEntry g{fields[0], *gid, {}};
        if (fields.size() > 3) {
            std::stringstream m(fields[3]);
            while (std::getline(m, f, ','))
                g.members.push_back(f);
        }
        groups.push_back(std::move(g));
    }
    return groups;
}

std::string UserName(const std::string& passwd, unsigned uid) {
    std::ifstream in(passwd);
    std::string line;
    const std::string id = std::to_string(uid);
    while (std::getline(in, line)) {
        const std::size_t a = line.find(':');
        const std::size_t b = a == std::string::npos ? a : line.find(':', a + 1);
        const std::size_t c = b == std::string::npos ? b : line.find(':', b + 1);
        if (c != std::string::npos && line.compare(b + 1, c - b - 1, id) == 0)
            return line.substr(0, a);
    }
    return "";
}

}  // namespace

std::string PortSurvey::Resolve(const std::string& path) const {
    std::string current = Normal(path);
    for (int hop = 0; hop < 16; ++hop) {
        std::error_code ec;
        const fs::path real = Real(current);
        if (!fs::is_symlink(fs::symlink_status(real, ec)))
            return current;
        const std::string target = fs::read_symlink(real, ec).string();
        if (ec || target.empty())
            return current;
        current = Normal(target.front() == '/' ? target : Parent(current) + "/" + target);
    }
    return current;
}

std::vector<std::string> PortSurvey::Names() const {
    std::vector<std::string> names;
    std::set<std::string> named;
    std::error_code ec;
    std::vector<std::string> byId;
    for (const auto& entry : fs::directory_iterator(Real("/dev/serial/by-id"), ec))
        byId.push_back(entry.path().filename().string());
    std::sort(byId.begin(), byId.end());
    for (const std::string& name : byId) {
        const std::string path = "/dev/serial/by-id/" + name;
        named.insert(Resolve(path));
        names.push_back(path);
    }
    std::vector<std::string> nodes;
    for (const auto& entry : fs::directory_iterator(Real("/dev"), ec)) {
        const std::string name = entry.path().filename().string();
        if (IsPortNode(name) && named.count("/dev/" + name) == 0)
            nodes.push_back(name);
    }
    std::sort(nodes.begin(), nodes.end(), NaturalLess);
    for (const std::string& node : nodes)
        names.push_back("/dev/" + node);
    return names;
}

std::vector<SerialPortInfo> PortSurvey::List() const {
    std::vector<SerialPortInfo> ports;
    for (const std::string& name : Names())
        ports.push_back(Inspect(name));
    return ports;
}

SerialPortInfo PortSurvey::Inspect(const std::string& path) const {
    SerialPortInfo info;
    info.path = path;
    info.device = Resolve(path);
    info.bluetooth = BaseName(info.device).rfind("rfcomm", 0) == 0;
    ReadAccess(info);
    if (info.exists) {
        ReadUsb(info);
        info.holders = Holders(info.device);
    }
    return info;
}

void PortSurvey::ReadUsb(SerialPortInfo& info) const {
    std::error_code ec;
    const fs::path sysRoot = fs::weakly_canonical(Real("/sys"), ec);
    fs::path dir = fs::canonical(Real("/sys/class/tty/" + BaseName(info.device)), ec);
    if (ec)
        return;
    for (; dir.has_parent_path() && dir != dir.parent_path(); dir = dir.parent_path()) {
        const std::string d = dir.string();
        if (d.size() <= sysRoot.string().size())
            break;
        if (info.interfaceName.empty() && IsFile(d + "/bInterfaceNumber")) {
            info.interfaceName = FirstLine(d + "/interface");
            if (info.interfaceName.empty())
                info.interfaceName = "interface " + FirstLine(d + "/bInterfaceNumber");
        }
        if (IsFile(d + "/idVendor")) {
            info.maker = FirstLine(d + "/manufacturer");
            info.model = FirstLine(d + "/product");
            info.usbDevice = d.substr(
                options_.root.empty() ? 0
                                      : fs::weakly_canonical(options_.root, ec).string().size());
            return;
        }
    }
}

void PortSurvey::ReadAccess(SerialPortInfo& info) const {
    struct stat st {};
    if (::stat(Real(info.device).c_str(), &st) != 0)
        return;
    info.exists = true;
    info.serial = S_ISCHR(st.st_mode) || (options_.filesAreDevices && S_ISREG(st.st_mode));
    unsigned uid = 0;
    std::vector<unsigned> gids = options_.gids;
    if (options_.uid) {
        uid = *options_.uid;
    } else {
        uid = ::getuid();
        gids.push_back(::getegid());
        gid_t list[256];
        const int n = ::getgroups(256, list);
        for (int i = 0; i < n; ++i)
            gids.push_back(list[i]);
    }
    const bool inGroup = std::find(gids.begin(), gids.end(), st.st_gid) != gids.end();
    const mode_t rw = st.st_mode & 0777;
    if (uid == 0)
        info.mayOpen = true;
    else if (uid == st.st_uid)
        info.mayOpen = (rw & 0600) == 0600;
    else if (inGroup)
        info.mayOpen = (rw & 0060) == 0060;
    else
        info.mayOpen = (rw & 0006) == 0006;

    info.group = std::to_string(st.st_gid);
    for (const GroupEntry& g : ReadGroups(Real("/etc/group"))) {
        if (g.gid != st.st_gid)
            continue;
        info.group = g.name;
        const std::string user = UserName(Real("/etc/passwd"), uid);
        info.groupJoinedLater =
            !info.mayOpen && !inGroup && (rw & 0060) == 0060 && !user.empty() &&
            std::find(g.members.begin(), g.members.end(), user) != g.members.end();
    }
}

std::vector<PortHolder> PortSurvey::Holders(const std::string& device) const {
    std::vector<PortHolder> holders;
    std::error_code ec;
    for (const auto& process : fs::directory_iterator(Real("/proc"), ec)) {
        const std::optional<std::uint32_t> pid =
            text::ParseDigits(process.path().filename().string(), 9);
        if (!pid)
            continue;
        std::error_code fdError;
        for (const auto& fd : fs::directory_iterator(process.path() / "fd", fdError)) {
            std::error_code linkError;
            if (fs::read_symlink(fd.path(), linkError).string() != device || linkError)
                continue;
            PortHolder holder;
            holder.pid = static_cast<int>(*pid);
            holder.program = FirstLine(process.path().string() + "/comm");
            holder.self = options_.root.empty() && holder.pid == ::getpid();
            holders.push_back(std::move(holder));
            break;
        }
    }
    std::sort(holders.begin(), holders.end(),
              [](const PortHolder& a, const PortHolder& b) { return a.pid < b.pid; });
    return holders;
}

}  // namespace platform
