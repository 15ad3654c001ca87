// Deleting messages, alone and row by row as the pages do, and what every command does on a port
// that is gone. The pages' question and choice of rows are the message page tests'; that a SIM
// message goes from the SIM and not from the phone memory's same index is the fault scenarios'.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "sms/MessageBoxes.h"
#include "tests/sms/SmsEngineFixture.h"

namespace halvex::test {
namespace {

using phonesim::Fault;
using phonesim::kReceivedRead;
using phonesim::kStoredSent;
using Deleted = std::vector<bool>;

class SmsDeleteTest : public SmsEngineTest {
protected:
    // Outbox rows 0..3: SIM 2, then phone 5, 7, 9 (in the loader's order).
    void LoadFourSent() {
        const std::pair<const char*, int> places[] = {{"SM", 2}, {"ME", 5}, {"ME", 7}, {"ME", 9}};
        for (const auto& [storage, index] : places) {
            Put(storage, index, kStoredSent, Submit("10" + std::to_string(index), u"Sent"));
        }
        ASSERT_TRUE(sms::LoadOutbox(engine, session()));
        ASSERT_EQ(engine.GetOutbox().Count(), 4);
        Forget();
    }
    // The deletes and storage selections sent.
    Strings Deletes() const {
        Strings found;
        for (const std::string& c : commands()) {
            if (c.rfind("AT+CMGD", 0) == 0 || c.rfind("AT+CPMS=", 0) == 0) {
                found.push_back(c);
            }
        }
        return found;
    }
};

TEST_F(SmsDeleteTest, RefusedOrUnansweredDeleteKeepsTheList) {
    for (int i = 1; i <= 3; ++i) {
        Put("ME", i, kStoredSent, Submit("+447700900001", u"Sent " + U16(std::to_string(i))));
    }
    ASSERT_EQ(engine.ListMessages(3, CSmsEngine::kOutbox), 1);

    phone().AddFault(Fault::ErrorReply("AT+CMGD"));
    phone().AddFault(Fault::NoReply("AT+CMGD"));
    phone().AddFault(Fault::RawReply("AT+CMGD", "\r\n+CMGD: done\r\n"));
    for (int attempt = 0; attempt < 3; ++attempt) {
        EXPECT_EQ(engine.DeleteMessage(1, 0, CSmsEngine::kOutbox), 0) << attempt;
    }
    EXPECT_EQ(engine.GetOutbox().Count(), 3);
    EXPECT_EQ(engine.GetInbox().Count(), 0);

    EXPECT_EQ(engine.DeleteMessage(1, 0, CSmsEngine::kOutbox), 1);
    EXPECT_EQ(Slots(engine.GetOutbox()), (Strings{"2@2", "3@2"}));
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

TEST_F(SmsDeleteTest, EachDeletionAddressesItsOwnRowWhereverEarlierOnesMovedIt) {
    LoadFourSent();
    EXPECT_EQ(sms::DeleteRows(engine, session(), CSmsEngine::kOutbox, {1, 3, 0}),
              (Deleted{true, true, true}));
    // Row 0 lies on the SIM card: wrapped in the storage selections.
    EXPECT_EQ(Deletes(), (Strings{"AT+CMGD=5", "AT+CMGD=9", R"(AT+CPMS="SM","SM","ME")",
                                  "AT+CMGD=2", R"(AT+CPMS="ME","ME","ME")"}));
    EXPECT_EQ(Slots(engine.GetOutbox()), Strings{"7@1"});
}

TEST_F(SmsDeleteTest, ARefusedDeletionLeavesItsEntryWhereTheNextOneLooksPastIt) {
    LoadFourSent();
    phone().AddFault(Fault::ErrorReply("AT+CMGD=5"));
    // Repeated rows and rows outside the list are not deleted.
    EXPECT_EQ(sms::DeleteRows(engine, session(), CSmsEngine::kOutbox, {1, 2, 2, 9}),
              (Deleted{false, true, false, false}));
    EXPECT_EQ(Deletes(), (Strings{"AT+CMGD=5", "AT+CMGD=7"}));
    EXPECT_EQ(Slots(engine.GetOutbox()), (Strings{"2@2", "5@1", "9@1"}));
}

// Once the session has closed the port, every command fails its write, still waits its time,
// and shows nothing; the pages' work does not even start.
TEST_F(SmsDeleteTest, StaleHandleFailsEveryCommandAfterItsWait) {
    Put("ME", 1, kReceivedRead, Deliver("+447700900001", u"Listed"));
    ASSERT_EQ(engine.ListMessages(1, CSmsEngine::kInbox), 1);
    session().Disconnect();
    Forget();

    struct Case {
        const char* name;
        std::function<int()> run;
        std::uint64_t waitMs;
    };
    const std::vector<Case> cases = {
        {"SelectStorage", [&] { return engine.SelectStorage(u"SM", u"SM", u"ME"); }, 1000},
        {"QueryStorage", [&] { return engine.QueryStorage(); }, 1000},
        {"QueryServiceCentre", [&] { return engine.QueryServiceCentre(); }, 3000},
        {"ListMessages", [&] { return engine.ListMessages(1, 0); }, 2000},
        {"ReadMessage", [&] { return engine.ReadMessage(1, 0); }, 3000},
        {"SendPdu", [&] { return engine.SendPdu(5, u"000100"); }, 3000},
        {"StorePdu", [&] { return engine.StorePdu(5, u"000100", 3); }, 3000},
        {"SendStored", [&] { return engine.SendStored(1); }, 3000},
        {"DeleteMessage", [&] { return engine.DeleteMessage(1, 0, 0); }, 3000},
        {"LoadInbox", [&] { return sms::LoadInbox(engine, session()) ? 1 : 0; }, 0},
        {"LoadOutbox", [&] { return sms::LoadOutbox(engine, session()) ? 1 : 0; }, 0},
        {"DeleteRows", [&] { return sms::DeleteRows(engine, session(), 0, {0})[0] ? 1 : 0; }, 0},
    };
    for (const Case& c : cases) {
        const std::uint64_t start = clock().NowMs();
        EXPECT_EQ(c.run(), 0) << c.name;
        EXPECT_EQ(clock().NowMs() - start, c.waitMs) << c.name;
    }
    EXPECT_TRUE(commands().empty());
    EXPECT_TRUE(ui().Boxes().empty());
    EXPECT_EQ(ui().CursorDepth(), 0);
    EXPECT_EQ(engine.GetInbox().Count(), 1);
}

}  // namespace
}  // namespace halvex::test
