// Send and Save&Send of the compose dialog, without the dialog.

#include <gtest/gtest.h>

#include <optional>

#include "phonesim/Fault.h"

#include "sms/ComposeSender.h"
#include "tests/support/SessionFixture.h"

namespace {

using halvex::test::SessionTest;
using Lines = std::vector<std::string>;
using sms::ComposeFields;
using sms::SendOutcome;

class ComposeSenderTest : public SessionTest {
protected:
    ComposeFields Fields(const std::u16string& recipient, const std::u16string& text) {
        ComposeFields fields;
        fields.recipient = recipient;
        fields.text = text;
        return fields;
    }
    void ExpectBox(const std::u16string& text) {
        platform::ExpectedBox box;
        box.text = text;
        box.type = platform::MB_OK;
        box.caption = u"Halvex";
        ui().Expect(box);
    }

    void SetUp() override {
        SessionTest::SetUp();
        sender_.emplace(engine, session());
    }

    CSmsEngine engine;
    std::optional<sms::CComposeSender> sender_;
};

TEST(ComposeSenderChecks, DialNumbersAreDigitsWithAnOptionalPlus) {
    EXPECT_TRUE(sms::IsDialNumber(u"123456"));
    EXPECT_TRUE(sms::IsDialNumber(u"+44 7700 900123"));
    EXPECT_TRUE(sms::IsDialNumber(std::u16string(20, u'9')));
    EXPECT_FALSE(sms::IsDialNumber(std::u16string(21, u'9')));
    EXPECT_FALSE(sms::IsDialNumber(u"+"));
    EXPECT_FALSE(sms::IsDialNumber(u"   "));
    EXPECT_FALSE(sms::IsDialNumber(u"12+3"));
    EXPECT_FALSE(sms::IsDialNumber(u"12#3"));
    EXPECT_FALSE(sms::IsDialNumber(u"BANK"));
    EXPECT_FALSE(sms::IsDialNumber(u"１２３"));  // full-width digits
}

TEST_F(ComposeSenderTest, ChecksComeBeforeAnythingIsSentRecipientFirst) {
    Connect();
    ExpectBox(u"Phone number is empty!");
    EXPECT_EQ(sender_->Send(Fields(u"", u""), false), SendOutcome::Refused);
    ExpectBox(u"Message is empty!");
    EXPECT_EQ(sender_->Send(Fields(u"123", u""), true), SendOutcome::Refused);
    ExpectBox(u"Phone number is not valid!");
    EXPECT_EQ(sender_->Send(Fields(u"12a", u"Hi"), false), SendOutcome::Refused);
    ExpectBox(u"Message is longer than 70 characters!");
    EXPECT_EQ(sender_->Send(Fields(u"123", std::u16string(71, u'x')), false), SendOutcome::Refused);
    EXPECT_TRUE(commands().empty());
}

TEST_F(ComposeSenderTest, WithoutAConnectionNothingHappens) {
    EXPECT_EQ(sender_->Send(Fields(u"123", u"Hi"), false), SendOutcome::NotConnected);
    EXPECT_TRUE(ui().Boxes().empty());
}

TEST_F(ComposeSenderTest, SendQueriesTheServiceCentreAndSendsUcs2WithTheFlags) {
    Connect();
    ComposeFields fields = Fields(u"+447700900123", std::u16string(70, u'x'));
    fields.deliverReport = true;
    ExpectBox(u"Message sent ok!");
    EXPECT_EQ(sender_->Send(fields, false), SendOutcome::Sent);
    ASSERT_EQ(sent().size(), 1u);
    const Lines lines = commands();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "AT+CSCA?");
    EXPECT_EQ(lines[1], "AT+CMGS=154");
    // SMS-SUBMIT rejecting duplicates, with a status report requested, UCS2, relative validity 168
    // (0xA8).
    const std::string& pdu = lines[2];
    EXPECT_EQ(pdu.substr(16, 2), "35");
    EXPECT_NE(pdu.find("0008A88C"), std::string::npos) << pdu;
    EXPECT_EQ(ui().CursorDepth(), 0);
}

TEST_F(ComposeSenderTest, SaveAndSendReportsAFullStorageAndAStoreError) {
    UsePatchedProfile("default", R"({"sms": {"storages": [{"name": "SM", "capacity": 1,
        "messages": [{"index": 1, "status": 3, "pdu": "00"}]}, {"name": "ME", "capacity": 1,
        "messages": [{"index": 1, "status": 3, "pdu": "00"}]}]}})");
    Connect();
    ExpectBox(u"Phone storage full!!");
    EXPECT_EQ(sender_->Send(Fields(u"123", u"Hi"), true), SendOutcome::StorageFull);
    EXPECT_EQ(sent().size(), 1u);

    UseProfile("default");
    phone().AddFault(phonesim::Fault::ErrorReply("AT+CMGW"));
    ExpectBox(u"Message saved error!!!");
    EXPECT_EQ(sender_->Send(Fields(u"123", u"Hi"), true), SendOutcome::SaveError);

    phone().AddFault(phonesim::Fault::ErrorReply("AT+CMGS"));
    ExpectBox(u"Message sent error!");
    EXPECT_EQ(sender_->Send(Fields(u"123", u"Hi"), true), SendOutcome::SendError);
    EXPECT_EQ(engine.GetOutbox().Count(), 0);
}

}  // namespace
