// Every message of every shipped profile decodes with the program's own codec into what its
// description says.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "phonesim/ShippedProfiles.h"
#include "phonesim/Text.h"
#include "sms/codec/ShortMessage.h"

namespace phonesim::test {
namespace {

std::u16string U16(const std::string& utf8) {
    return Utf8ToUtf16(utf8).value();
}

TEST(ProfilePdus, DecodeWithTheCodecIntoTheirDescriptions) {
    int checked = 0;
    for (const ShippedProfileText& p : ShippedProfileTexts()) {
        const auto root = nlohmann::json::parse(p.json);
        for (const auto& storage : root["sms"]["storages"]) {
            for (const auto& m : storage["messages"]) {
                SCOPED_TRACE(std::string(p.name) + " " + storage["name"].get<std::string>() + " " +
                             std::to_string(m["index"].get<int>()));
                const bool deliver = m.contains("deliver");
                ASSERT_TRUE(deliver || m.contains("submit"));
                const auto& d = deliver ? m["deliver"] : m["submit"];
                // Received messages are listed with status 0 or 1, stored ones 2 or 3.
                EXPECT_EQ(deliver, m["status"].get<int>() <= 1);

                const auto record = DecodeMessage(U16(m["pdu"].get<std::string>()), deliver);
                ASSERT_NE(record, nullptr);
                EXPECT_EQ(record->GetMessageType(), deliver ? 0 : 1);
                EXPECT_EQ(record->GetText(), U16(d["text"].get<std::string>()));
                EXPECT_EQ(record->GetServiceCentre().number, u"447802000332");
                const std::string party = d[deliver ? "from" : "to"].get<std::string>();
                if (party[0] == '+') {
                    EXPECT_EQ(record->GetAddress().typeOfNumber, 1);
                    EXPECT_EQ(record->GetAddress().number, U16(party.substr(1)));
                }
                ++checked;
            }
        }
    }
    EXPECT_GT(checked, 180);
}

}  // namespace
}  // namespace phonesim::test
