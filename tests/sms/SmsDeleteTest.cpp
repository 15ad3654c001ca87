// Deleting messages, reading the service centre, and what every command does on a port that
// is gone.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/Win32Types.h"
#include "tests/sms/SmsEngineFixture.h"

using halvex::test::Deliver;
using halvex::test::Submit;
using halvex::test::U16;
using phonesim::Fault;
using phonesim::kReceivedRead;
using phonesim::kStoredSent;
using Strings = std::vector<std::string>;
using Ms = std::vector<std::uint64_t>;

namespace {

class SmsDeleteTest : public halvex::test::SmsEngineTest {
protected:
    // The pages' delete: a message on the SIM is deleted between two storage selections.
    int DeleteAsThePagesDo(int position, int box) {
        const sms::MessageList& list = box == 0 ? engine.GetInbox() : engine.GetOutbox();
        const int index = CSmsEngine::DecimalValue(list.Index(position));
        if (list.Storage(position) != 2) {
            return engine.DeleteMessage(index, position, box);
        }
        engine.SelectStorage(u"SM", u"SM", u"ME");
        const int result = engine.DeleteMessage(index, position, box);
        engine.SelectStorage(u"ME", u"ME", u"ME");
        return result;
    }
};

class SmsServiceCentreTest : public halvex::test::SmsEngineTest {
protected:
    void Reply(const std::string& text) { phone().AddFault(Fault::RawReply("AT+CSCA?", text)); }
};

}  // namespace

TEST_F(SmsDeleteTest, MessageOnTheSimIsDeletedBetweenTwoStorageSelections) {
    const std::string onSim = Deliver("+447700900001", u"SIM");
    const std::string alsoSim = Deliver("+447700900002", u"SIM too");
    const std::string inPhone = Deliver("+447700900003", u"Phone");
    Put("SM", 3, kReceivedRead, onSim);
    Put("SM", 5, kReceivedRead, alsoSim);
    Put("ME", 3, kReceivedRead, inPhone);
    LoadInbox();
    ASSERT_EQ(engine.GetInbox().Count(), 3);
    Forget();

    EXPECT_EQ(DeleteAsThePagesDo(0, CSmsEngine::kInbox), 1);

    EXPECT_EQ(commands(), (Strings{"AT+CPMS=\"SM\",\"SM\",\"ME\"", "AT+CMGD=3",
                                   "AT+CPMS=\"ME\",\"ME\",\"ME\""}));
    EXPECT_EQ(Gaps(), (Ms{2000, 4000, 2000}));
    EXPECT_EQ(phone().Storage("SM").messages.count(3), 0u);
    EXPECT_EQ(phone().Storage("ME").messages.count(3), 1u);
    const sms::MessageList& inbox = engine.GetInbox();
    ASSERT_EQ(inbox.Count(), 2);
    EXPECT_EQ(inbox.Pdu(0), U16(alsoSim));
    EXPECT_EQ(inbox.Index(0), u"5");
    EXPECT_EQ(inbox.Storage(0), 2);
    EXPECT_EQ(inbox.Pdu(1), U16(inPhone));
    EXPECT_EQ(inbox.Index(1), u"3");
    EXPECT_EQ(inbox.Storage(1), 1);

    // A message in the phone memory: the delete alone.
    Forget();
    EXPECT_EQ(DeleteAsThePagesDo(1, CSmsEngine::kInbox), 1);
    EXPECT_EQ(commands(), (Strings{"AT+CMGD=3"}));
    EXPECT_EQ(phone().Storage("ME").messages.count(3), 0u);
    EXPECT_EQ(engine.GetInbox().Count(), 1);
}

TEST_F(SmsDeleteTest, RefusedOrUnansweredDeleteKeepsTheList) {
    for (int i = 1; i <= 3; ++i) {
        Put("ME", i, kStoredSent, Submit("+447700900001", u"Sent " + U16(std::to_string(i))));
    }
    ASSERT_EQ(engine.ListMessages(3, CSmsEngine::kOutbox), 1);
    ASSERT_EQ(engine.GetOutbox().Count(), 3);

    phone().AddFault(Fault::ErrorReply("AT+CMGD"));
    EXPECT_EQ(engine.DeleteMessage(1, 0, CSmsEngine::kOutbox), 0);
    phone().AddFault(Fault::NoReply("AT+CMGD"));
    EXPECT_EQ(engine.DeleteMessage(1, 0, CSmsEngine::kOutbox), 0);
    phone().AddFault(Fault::RawReply("AT+CMGD", "\r\n+CMGD: done\r\n"));
    EXPECT_EQ(engine.DeleteMessage(1, 0, CSmsEngine::kOutbox), 0);
    EXPECT_EQ(engine.GetOutbox().Count(), 3);
    EXPECT_EQ(engine.GetInbox().Count(), 0);

    EXPECT_EQ(engine.DeleteMessage(1, 0, CSmsEngine::kOutbox), 1);
    ASSERT_EQ(engine.GetOutbox().Count(), 2);
    EXPECT_EQ(engine.GetOutbox().Index(0), u"2");
    EXPECT_EQ(engine.GetOutbox().Index(1), u"3");
}

TEST_F(SmsDeleteTest, PositionOutsideTheListDeletesNothingOnThePhone) {
    Put("ME", 1, kReceivedRead, Deliver("+447700900001", u"Only"));
    ASSERT_EQ(engine.ListMessages(1, CSmsEngine::kInbox), 1);
    EXPECT_EQ(engine.DeleteMessage(1, 1, CSmsEngine::kInbox), 0);
    EXPECT_EQ(engine.DeleteMessage(1, -1, CSmsEngine::kInbox), 0);
    EXPECT_EQ(engine.DeleteMessage(1, 0, CSmsEngine::kOutbox), 0);
    EXPECT_EQ(commands(), (Strings{"AT+CMGL=1"}));
    EXPECT_EQ(phone().Storage("ME").messages.count(1), 1u);
}

TEST_F(SmsServiceCentreTest, NumberWithItsType) {
    EXPECT_EQ(engine.QueryServiceCentre(), 1);
    EXPECT_EQ(engine.GetServiceCentre(), u"+447802000332");
    EXPECT_EQ(commands(), (Strings{"AT+CSCA?"}));
    EXPECT_EQ(Gaps(), (Ms{4000}));

    SetMemoryType(1);
    EXPECT_EQ(engine.QueryServiceCentre(), 1);
    EXPECT_EQ(engine.GetServiceCentre(), u"447802000332");

    SetMemoryType(0xFFFFFFFFu);
    EXPECT_EQ(engine.QueryServiceCentre(), 1);
    EXPECT_EQ(engine.GetServiceCentre(), u"+447802000332");
}

// A Nokia's number without "+" keeps every digit; without a type the "+" is put in front.
TEST_F(SmsServiceCentreTest, NumberWithoutTypeOrPlus) {
    Reply("\r\n+CSCA: \"123456\"\r\n\r\nOK\r\n");
    EXPECT_EQ(engine.QueryServiceCentre(), 1);
    EXPECT_EQ(engine.GetServiceCentre(), u"+123456");

    SetMemoryType(1);
    Reply("\r\n+CSCA: \"123456\"\r\n\r\nOK\r\n");
    EXPECT_EQ(engine.QueryServiceCentre(), 1);
    EXPECT_EQ(engine.GetServiceCentre(), u"+123456");

    Reply("\r\n+CSCA: \"123456\",129\r\n\r\nOK\r\n");
    EXPECT_EQ(engine.QueryServiceCentre(), 1);
    EXPECT_EQ(engine.GetServiceCentre(), u"123456");

    SetMemoryType(0);
    Reply("\r\n+CSCA: \"+4479\"\r\n\r\nOK\r\n");
    EXPECT_EQ(engine.QueryServiceCentre(), 1);
    EXPECT_EQ(engine.GetServiceCentre(), u"+4479");
}

TEST_F(SmsServiceCentreTest, UnreadableMakerFlagKeepsTheNumber) {
    ASSERT_EQ(engine.QueryServiceCentre(), 1);
    registry().DeleteKey(platform::HKEY_CURRENT_USER, u"Comm\\MemoryType");
    Reply("\r\n+CSCA: \"+111\",145\r\n\r\nOK\r\n");
    EXPECT_EQ(engine.QueryServiceCentre(), 1);
    EXPECT_EQ(engine.GetServiceCentre(), u"+447802000332");

    // A value of another size cannot be read either.
    registry().SetString(platform::HKEY_CURRENT_USER, u"Comm\\MemoryType", u"MemoryType", u"one");
    EXPECT_EQ(engine.QueryServiceCentre(), 1);
    EXPECT_EQ(engine.GetServiceCentre(), u"+447802000332");
}

TEST_F(SmsServiceCentreTest, FailuresKeepTheNumber) {
    ASSERT_EQ(engine.QueryServiceCentre(), 1);
    phone().AddFault(Fault::ErrorReply("AT+CSCA?"));
    EXPECT_EQ(engine.QueryServiceCentre(), 0);
    Reply("\r\n+CSCB: \"+111\",145\r\n\r\nOK\r\n");
    EXPECT_EQ(engine.QueryServiceCentre(), 0);
    Reply("\r\n+CSCA: 111,145\r\n\r\nOK\r\n");
    EXPECT_EQ(engine.QueryServiceCentre(), 0);
    // An opening quote and no closing one.
    Reply("\r\n+CSCA: \"+44780200");
    EXPECT_EQ(engine.QueryServiceCentre(), 0);
    // No reply at all is no failure, and changes nothing.
    phone().AddFault(Fault::NoReply("AT+CSCA?"));
    EXPECT_EQ(engine.QueryServiceCentre(), 1);
    EXPECT_EQ(engine.GetServiceCentre(), u"+447802000332");
}

// Once the session has closed the port, every command fails its write, still waits its time,
// and shows nothing.
TEST_F(SmsDeleteTest, StaleHandleFailsEveryCommandAfterItsWait) {
    Put("ME", 1, kReceivedRead, Deliver("+447700900001", u"Listed"));
    ASSERT_EQ(engine.ListMessages(1, CSmsEngine::kInbox), 1);
    link.Close();
    Forget();

    struct Case {
        const char* name;
        std::function<int()> run;
        int result;
        std::uint64_t waitMs;
    };
    const std::vector<Case> cases = {
        {"SelectStorage", [&] { return engine.SelectStorage(u"SM", u"SM", u"ME"); }, 0, 1000},
        {"QueryStorage", [&] { return engine.QueryStorage(); }, 0, 1000},
        {"QueryServiceCentre", [&] { return engine.QueryServiceCentre(); }, 0, 3000},
        {"ListMessages", [&] { return engine.ListMessages(1, 0); }, 0, 2000},
        {"ReadMessage", [&] { return engine.ReadMessage(1, 0); }, 0, 3000},
        {"SendPdu", [&] { return engine.SendPdu(5, u"000100"); }, 0, 3000},
        {"StorePdu", [&] { return engine.StorePdu(5, u"000100", 3); }, 0, 3000},
        {"SendStored", [&] { return engine.SendStored(1); }, 0, 3000},
        {"DeleteMessage", [&] { return engine.DeleteMessage(1, 0, 0); }, 0, 3000},
    };
    for (const Case& c : cases) {
        const std::uint64_t start = clock().NowMs();
        EXPECT_EQ(c.run(), c.result) << c.name;
        EXPECT_EQ(clock().NowMs() - start, c.waitMs) << c.name;
    }
    EXPECT_TRUE(commands().empty());
    EXPECT_TRUE(ui().Boxes().empty());
    EXPECT_EQ(engine.GetInbox().Count(), 1);
}

TEST(SmsGlobalEngine, StartsWithEmptyListsAndTheFirstStorageCodes) {
    EXPECT_EQ(g_SmsEngine.GetInbox().Count(), 0);
    EXPECT_EQ(g_SmsEngine.GetOutbox().Count(), 0);
    EXPECT_EQ(g_SmsEngine.GetInbox().Storage(0), -1);
    EXPECT_EQ(g_SmsEngine.GetFirstStorage(), 2);
    EXPECT_EQ(g_SmsEngine.GetSecondStorage(), 2);
    EXPECT_EQ(g_SmsEngine.GetThirdStorage(), 1);
    EXPECT_EQ(g_SmsEngine.GetServiceCentre(), u"");
    EXPECT_EQ(g_SmsEngine.GetPortHandle(), platform::NULL_HANDLE);
}
