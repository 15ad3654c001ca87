// Deleting messages row by row as the pages do, and what the commands do on a port that is gone.
// Refused, silent and late deletes among several rows are the message walk's; the pages' question
// is the message page tests'; that a SIM message goes from the SIM and not from the phone
// memory's same index is the fault scenarios'.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "sms/MessageBoxes.h"
#include "tests/sms/SmsEngineFixture.h"

namespace halvex::test {
namespace {

using phonesim::kReceivedRead;
using phonesim::kStoredSent;
using Deleted = std::vector<bool>;

using SmsDeleteTest = SmsEngineTest;

// Outbox rows 0..3: SIM 2, then phone 5, 7, 9 (in the loader's order).
TEST_F(SmsDeleteTest, EachDeletionAddressesItsOwnRowWhereverEarlierOnesMovedIt) {
    const std::pair<const char*, int> places[] = {{"SM", 2}, {"ME", 5}, {"ME", 7}, {"ME", 9}};
    for (const auto& [storage, index] : places)
        Put(storage, index, kStoredSent, Submit("10" + std::to_string(index), u"Sent"));
    ASSERT_TRUE(sms::LoadOutbox(engine, session()));
    Forget();
    EXPECT_EQ(sms::DeleteRows(engine, session(), sms::Box::Outbox, {1, 3, 0}),
              (Deleted{true, true, true}));
    // Row 0 lies on the SIM card: wrapped in the storage selections.
    EXPECT_EQ(commands(), (Strings{"AT+CMGD=5", "AT+CMGD=9", R"(AT+CPMS="SM","SM","ME")",
                                   "AT+CMGD=2", R"(AT+CPMS="ME","ME","ME")"}));
    EXPECT_EQ(Slots(engine.GetOutbox()), Strings{"7@ME"});
}

// Once the session has closed the port, every command fails its write, still waits its time,
// and shows nothing; the pages' work does not even start.
TEST_F(SmsDeleteTest, StaleHandleFailsEveryCommandAfterItsWait) {
    Put("ME", 1, kReceivedRead, Deliver("+447700900001", u"Listed"));
    ASSERT_EQ(engine.ListMessages(sms::Status::ReceivedRead, sms::Box::Inbox), 1);
    session().Disconnect();
    Forget();

    const std::tuple<const char*, std::function<int()>, std::uint64_t> cases[] = {
        {"SelectStorage", [&] { return engine.SelectStorage(u"SM", u"SM", u"ME"); }, 1000},
        {"ListMessages",
         [&] { return engine.ListMessages(sms::Status::ReceivedRead, sms::Box::Inbox); }, 2000},
        {"SendPdu", [&] { return engine.SendPdu(5, u"000100"); }, 3000},
        {"LoadInbox", [&] { return sms::LoadInbox(engine, session()) ? 1 : 0; }, 0},
        {"DeleteRows",
         [&] { return sms::DeleteRows(engine, session(), sms::Box::Inbox, {0})[0] ? 1 : 0; }, 0}};
    for (const auto& [name, run, waitMs] : cases) {
        const std::uint64_t start = clock().NowMs();
        EXPECT_EQ(run(), 0) << name;
        EXPECT_EQ(clock().NowMs() - start, waitMs) << name;
    }
    EXPECT_TRUE(commands().empty());
    EXPECT_TRUE(ui().Boxes().empty());
    EXPECT_EQ(ui().CursorDepth(), 0);
    EXPECT_EQ(engine.GetInbox().Count(), 1);
}

}  // namespace
}  // namespace halvex::test
