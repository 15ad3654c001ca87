#include "phonesim/ProfilePdus.h"

#include <nlohmann/json.hpp>

#include "phonesim/JsonText.h"
#include "phonesim/PduBuilder.h"
#include "phonesim/Profile.h"
#include "phonesim/Text.h"

namespace phonesim {

namespace {

using json = nlohmann::ordered_json;

Alphabet AlphabetOf(const json& description) {
    const std::string name = description.value("alphabet", "auto");
    if (name == "gsm7")
        return Alphabet::Gsm7;
    if (name == "ucs2")
        return Alphabet::Ucs2;
    if (name == "auto")
        return Alphabet::Auto;
    throw ProfileError("unknown alphabet \"" + name + "\"");
}

std::u16string TextOf(const json& description) {
    const auto text = Utf8ToUtf16(description.at("text").get<std::string>());
    if (!text)
        throw ProfileError("message text is not UTF-8");
    return *text;
}

std::string Build(const json& message, const std::string& centre) {
    std::optional<std::string> pdu;
    if (message.contains("deliver")) {
        const json& d = message.at("deliver");
        DeliverMessage message;
        message.smsc = d.value("smsc", centre);
        message.from = d.at("from").get<std::string>();
        const auto time = ParseSmsTime(d.at("time").get<std::string>());
        if (!time)
            throw ProfileError("bad time " + d.at("time").dump());
        message.time = *time;
        message.text = TextOf(d);
        message.alphabet = AlphabetOf(d);
        if (d.contains("part")) {
            const json& part = d.at("part");
            message.part =
                PartOf{part.at("reference").get<int>(), part.at("count").get<int>(),
                       part.at("sequence").get<int>(), part.value("wideReference", false)};
        }
        pdu = BuildDeliver(message);
    } else {
        const json& s = message.at("submit");
        SubmitMessage message;
        message.smsc = s.value("smsc", centre);
        message.to = s.at("to").get<std::string>();
        message.text = TextOf(s);
        message.alphabet = AlphabetOf(s);
        message.validity = s.value("validity", 0xAA);
        pdu = BuildSubmit(message);
    }
    if (!pdu)
        throw ProfileError("message cannot be made: " + message.dump());
    return *pdu;
}

}  // namespace

std::string RegenerateProfilePdus(const std::string& profileJson) {
    try {
        json root = json::parse(profileJson);
        std::string centre = "+447802000332";
        if (root.contains("sms") && root["sms"].contains("serviceCentre")) {
            centre = root["sms"]["serviceCentre"].value("number", centre);
        }
        if (root.contains("sms") && root["sms"].contains("storages")) {
            for (json& storage : root["sms"]["storages"]) {
                if (!storage.contains("messages"))
                    continue;
                for (json& message : storage["messages"]) {
                    if (!message.contains("deliver") && !message.contains("submit"))
                        continue;
                    // Keep the key order of the file; a new "pdu" goes before the description.
                    json rebuilt = json::object();
                    const std::string pdu = Build(message, centre);
                    for (auto it = message.begin(); it != message.end(); ++it) {
                        if (it.key() == "pdu")
                            continue;
                        if (it.key() == "deliver" || it.key() == "submit")
                            rebuilt["pdu"] = pdu;
                        rebuilt[it.key()] = *it;
                    }
                    message = rebuilt;
                }
            }
        }
        return FormatJson(root);
    } catch (const nlohmann::json::exception& e) {
        throw ProfileError(std::string("profile: ") + e.what());
    }
}

}  // namespace phonesim
