#include "phonesim/Profile.h"

#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "phonesim/Charset.h"
#include "phonesim/JsonText.h"
#include "phonesim/Pdu.h"
#include "phonesim/ShippedProfiles.h"
#include "phonesim/Text.h"

namespace phonesim {

namespace {

using json = nlohmann::ordered_json;

struct ActionName {
    Fault::Action action;
    const char* name;
};
constexpr ActionName kActions[] = {
    {Fault::Action::Silent, "silent"},   {Fault::Action::Error, "error"},
    {Fault::Action::Pause, "pause"},     {Fault::Action::Reply, "reply"},
    {Fault::Action::Corrupt, "corrupt"}, {Fault::Action::Unsolicited, "unsolicited"},
    {Fault::Action::Drop, "drop"},
};

template <typename T>
T Get(const json& object, const char* key, T fallback) {
    if (!object.contains(key))
        return fallback;
    return object.at(key).get<T>();
}

std::u16string Utf16(const std::string& text, const std::string& what) {
    auto converted = Utf8ToUtf16(text);
    if (!converted)
        throw ProfileError(what + ": not UTF-8");
    return *converted;
}

bool PrintableAscii(const std::string& bytes) {
    for (char c : bytes) {
        if (c < 0x20 || c > 0x7E)
            return false;
    }
    return true;
}

Fault FaultFromJson(const json& j) {
    Fault f;
    const std::string action = j.at("action").get<std::string>();
    bool known = false;
    for (const ActionName& a : kActions) {
        if (action == a.name) {
            f.action = a.action;
            known = true;
        }
    }
    if (!known)
        throw ProfileError("unknown fault action \"" + action + "\"");
    f.command = Get<std::string>(j, "command", "");
    if (j.contains("at"))
        f.atMs = j.at("at").get<std::uint64_t>();
    f.pdu = Get<bool>(j, "pdu", false);
    f.skip = Get<int>(j, "skip", 0);
    f.times = Get<int>(j, "times", 1);
    f.pauseMs = Get<std::uint32_t>(j, "pauseMs", 0);
    if (j.contains("offset"))
        f.offset = j.at("offset").get<std::size_t>();
    if (j.contains("hex")) {
        const auto octets = HexToOctets(j.at("hex").get<std::string>());
        if (!octets)
            throw ProfileError("fault hex is not hex");
        f.bytes.assign(octets->begin(), octets->end());
    } else {
        f.bytes = Get<std::string>(j, "text", "");
    }
    if ((f.action == Fault::Action::Unsolicited || f.action == Fault::Action::Drop) &&
        f.command.empty() && !f.atMs) {
        throw ProfileError("fault \"" + action + "\" needs \"command\" or \"at\"");
    }
    return f;
}

json FaultToJson(const Fault& f) {
    json j;
    for (const ActionName& a : kActions) {
        if (a.action == f.action)
            j["action"] = a.name;
    }
    if (!f.command.empty())
        j["command"] = f.command;
    if (f.atMs)
        j["at"] = *f.atMs;
    if (f.pdu)
        j["pdu"] = true;
    if (f.skip)
        j["skip"] = f.skip;
    j["times"] = f.times;
    if (f.pauseMs)
        j["pauseMs"] = f.pauseMs;
    if (f.offset)
        j["offset"] = *f.offset;
    if (!f.bytes.empty()) {
        if (PrintableAscii(f.bytes)) {
            j["text"] = f.bytes;
        } else {
            j["hex"] = OctetsToHex(std::vector<std::uint8_t>(f.bytes.begin(), f.bytes.end()));
        }
    }
    return j;
}

PhonebookMemory MemoryFromJson(const json& j) {
    PhonebookMemory m;
    m.name = j.at("name").get<std::string>();
    m.capacity = j.at("capacity").get<int>();
    m.numberLength = Get<int>(j, "numberLength", 40);
    m.textLength = Get<int>(j, "textLength", m.name == "SM" ? 14 : 40);
    if (m.capacity < 0 || m.capacity > 100000)
        throw ProfileError("bad capacity of " + m.name);
    for (const json& e : Get<json>(j, "entries", json::array())) {
        const int index = e.at("index").get<int>();
        if (index < 1 || index > m.capacity) {
            throw ProfileError(m.name + " entry index " + std::to_string(index) + " out of range");
        }
        if (m.entries.count(index)) {
            throw ProfileError(m.name + " entry index " + std::to_string(index) + " twice");
        }
        PhonebookEntry entry;
        entry.number = Get<std::string>(e, "number", "");
        entry.type =
            Get<int>(e, "type", (!entry.number.empty() && entry.number[0] == '+') ? 145 : 129);
        entry.name = Utf16(Get<std::string>(e, "name", ""), m.name + " entry name");
        m.entries[index] = std::move(entry);
    }
    return m;
}

SmsStorage StorageFromJson(const json& j) {
    SmsStorage s;
    s.name = j.at("name").get<std::string>();
    s.capacity = j.at("capacity").get<int>();
    if (s.capacity < 0 || s.capacity > 100000)
        throw ProfileError("bad capacity of " + s.name);
    for (const json& m : Get<json>(j, "messages", json::array())) {
        const int index = m.at("index").get<int>();
        if (index < 1 || index > s.capacity || s.messages.count(index)) {
            throw ProfileError(s.name + " message index " + std::to_string(index) + " invalid");
        }
        SmsMessage message;
        message.status = m.at("status").get<int>();
        if (message.status < 0 || message.status > 3) {
            throw ProfileError(s.name + " message " + std::to_string(index) + ": bad status");
        }
        message.pdu = ToUpperAscii(m.at("pdu").get<std::string>());
        if (!SplitPdu(message.pdu)) {
            throw ProfileError(s.name + " message " + std::to_string(index) + ": bad PDU");
        }
        s.messages[index] = std::move(message);
    }
    return s;
}

Profile FromJson(const json& root) {
    Profile p;
    PhoneState& st = p.state;
    const json identity = Get<json>(root, "identity", json::object());
    st.identity.maker = Get<std::string>(identity, "maker", st.identity.maker);
    st.identity.model = Get<std::string>(identity, "model", st.identity.model);
    st.identity.revision = Get<std::string>(identity, "revision", st.identity.revision);
    st.identity.serial = Get<std::string>(identity, "serial", st.identity.serial);
    st.identity.imsi = Get<std::string>(identity, "imsi", st.identity.imsi);
    st.echo = Get<bool>(root, "echo", true);
    st.verbose = Get<bool>(root, "verbose", true);
    st.quiet = Get<bool>(root, "quiet", false);
    st.cmee = Get<int>(root, "cmee", 0);
    if (st.cmee < 0 || st.cmee > 2)
        throw ProfileError("cmee must be 0, 1 or 2");
    const auto charset = CharsetByName(Get<std::string>(root, "charset", "IRA"));
    if (!charset)
        throw ProfileError("unknown charset");
    st.charset = CharsetName(*charset);
    for (const json& name : Get<json>(root, "charsets", json::array())) {
        const auto offered = CharsetByName(name.get<std::string>());
        if (!offered)
            throw ProfileError("unknown charset in charsets");
        st.charsets.push_back(CharsetName(*offered));
    }
    if (!st.Offers(*charset))
        throw ProfileError("the charset is not one of charsets");

    p.timing.latencyMs = Get<std::uint32_t>(root, "latencyMs", 50);
    p.timing.baud = Get<std::uint32_t>(root, "baud", 9600);
    const json latencies = Get<json>(root, "commandLatencyMs", json::object());
    for (const auto& [prefix, ms] : latencies.items()) {
        p.timing.commandLatencyMs[prefix] = ms.get<std::uint32_t>();
    }

    const json phonebook = Get<json>(root, "phonebook", json::object());
    for (const json& m : Get<json>(phonebook, "memories", json::array())) {
        PhonebookMemory memory = MemoryFromJson(m);
        if (st.FindPhonebook(memory.name))
            throw ProfileError("memory " + memory.name + " twice");
        st.phonebooks.push_back(std::move(memory));
    }
    st.phonebook = Get<std::string>(phonebook, "selected",
                                    st.phonebooks.empty() ? "ME" : st.phonebooks.front().name);
    if (!st.phonebooks.empty() && !st.FindPhonebook(st.phonebook)) {
        throw ProfileError("selected phone book memory does not exist");
    }

    const json sms = Get<json>(root, "sms", json::object());
    for (const json& s : Get<json>(sms, "storages", json::array())) {
        SmsStorage storage = StorageFromJson(s);
        if (st.FindStorage(storage.name))
            throw ProfileError("storage " + storage.name + " twice");
        st.storages.push_back(std::move(storage));
    }
    const std::string fallback = st.storages.empty() ? "ME" : st.storages.front().name;
    const auto selected =
        Get<std::vector<std::string>>(sms, "selected", std::vector<std::string>(3, fallback));
    if (selected.size() != 3)
        throw ProfileError("sms.selected must name three storages");
    for (std::size_t i = 0; i < 3; ++i) {
        if (!st.storages.empty() && !st.FindStorage(selected[i])) {
            throw ProfileError("selected storage " + selected[i] + " does not exist");
        }
        st.selectedStorages[i] = selected[i];
    }
    const json centre = Get<json>(sms, "serviceCentre", json::object());
    st.serviceCentre = Get<std::string>(centre, "number", st.serviceCentre);
    st.serviceCentreType =
        Get<int>(centre, "type", st.serviceCentre.rfind('+', 0) == 0 ? 145 : 129);
    st.messageReference = Get<int>(sms, "messageReference", 0);
    if (st.messageReference < 0 || st.messageReference > 255) {
        throw ProfileError("sms.messageReference must be 0 to 255");
    }
    const auto cnmi = Get<std::vector<int>>(sms, "cnmi", std::vector<int>(5, 0));
    if (cnmi.size() != 5)
        throw ProfileError("sms.cnmi must hold five values");
    std::copy(cnmi.begin(), cnmi.end(), st.cnmi.begin());

    for (const json& f : Get<json>(root, "faults", json::array())) {
        p.faults.push_back(FaultFromJson(f));
    }
    return p;
}

}  // namespace

Profile ProfileFromJson(const std::string& text) {
    try {
        return FromJson(json::parse(text));
    } catch (const json::exception& e) {
        throw ProfileError(std::string("profile: ") + e.what());
    }
}

Profile LoadProfileFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw ProfileError("cannot read " + path);
    std::ostringstream text;
    text << in.rdbuf();
    try {
        return ProfileFromJson(text.str());
    } catch (const ProfileError& e) {
        throw ProfileError(path + ": " + e.what());
    }
}

Profile ShippedProfile(const std::string& name) {
    for (const ShippedProfileText& p : ShippedProfileTexts()) {
        if (name == p.name)
            return ProfileFromJson(std::string(p.json));
    }
    throw ProfileError("no shipped profile \"" + name + "\"");
}

std::vector<std::string> ShippedProfileNames() {
    std::vector<std::string> names;
    for (const ShippedProfileText& p : ShippedProfileTexts())
        names.emplace_back(p.name);
    return names;
}

Profile LoadProfile(const std::string& nameOrPath) {
    for (const ShippedProfileText& p : ShippedProfileTexts()) {
        if (nameOrPath == p.name)
            return ShippedProfile(nameOrPath);
    }
    if (!std::ifstream(nameOrPath)) {
        std::string names;
        for (const std::string& name : ShippedProfileNames())
            names += (names.empty() ? "" : ", ") + name;
        throw ProfileError("\"" + nameOrPath + "\" is neither a shipped profile (" + names +
                           ") nor a profile file that can be read");
    }
    return LoadProfileFile(nameOrPath);
}

std::string ProfileToJson(const Profile& profile) {
    const PhoneState& st = profile.state;
    json root;
    root["identity"] = {{"maker", st.identity.maker},
                        {"model", st.identity.model},
                        {"revision", st.identity.revision},
                        {"serial", st.identity.serial},
                        {"imsi", st.identity.imsi}};
    root["echo"] = st.echo;
    root["verbose"] = st.verbose;
    root["quiet"] = st.quiet;
    root["cmee"] = st.cmee;
    root["charset"] = st.charset;
    if (!st.charsets.empty())
        root["charsets"] = st.charsets;
    root["latencyMs"] = profile.timing.latencyMs;
    root["baud"] = profile.timing.baud;
    root["commandLatencyMs"] = json::object();
    for (const auto& [prefix, ms] : profile.timing.commandLatencyMs) {
        root["commandLatencyMs"][prefix] = ms;
    }

    json memories = json::array();
    for (const PhonebookMemory& m : st.phonebooks) {
        json entries = json::array();
        for (const auto& [index, e] : m.entries) {
            entries.push_back({{"index", index},
                               {"number", e.number},
                               {"type", e.type},
                               {"name", ToUtf8(e.name)}});
        }
        memories.push_back({{"name", m.name},
                            {"capacity", m.capacity},
                            {"numberLength", m.numberLength},
                            {"textLength", m.textLength},
                            {"entries", entries}});
    }
    root["phonebook"] = {{"selected", st.phonebook}, {"memories", memories}};

    json storages = json::array();
    for (const SmsStorage& s : st.storages) {
        json messages = json::array();
        for (const auto& [index, m] : s.messages) {
            messages.push_back({{"index", index}, {"status", m.status}, {"pdu", m.pdu}});
        }
        storages.push_back({{"name", s.name}, {"capacity", s.capacity}, {"messages", messages}});
    }
    root["sms"] = {
        {"selected", st.selectedStorages},
        {"serviceCentre", {{"number", st.serviceCentre}, {"type", st.serviceCentreType}}},
        {"messageReference", st.messageReference},
        {"cnmi", st.cnmi},
        {"storages", storages}};

    json faults = json::array();
    for (const Fault& f : profile.faults)
        faults.push_back(FaultToJson(f));
    root["faults"] = faults;
    return FormatJson(root);
}

Profile ProfileWithPatch(const Profile& base, const std::string& mergePatch) {
    try {
        json merged = json::parse(ProfileToJson(base));
        merged.merge_patch(json::parse(mergePatch));
        return FromJson(merged);
    } catch (const json::exception& e) {
        throw ProfileError(std::string("profile patch: ") + e.what());
    }
}

void SaveProfileFile(const Profile& profile, const std::string& path) {
    const std::string text = ProfileToJson(profile);
    const std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out)
            throw ProfileError("cannot write " + temporary);
        out << text;
        out.flush();
        if (!out)
            throw ProfileError("cannot write " + temporary);
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        throw ProfileError("cannot replace " + path);
    }
}

}  // namespace phonesim
