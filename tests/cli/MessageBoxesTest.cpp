// The inbox and outbox pages' phone work: loaders and the delete sequence of selected rows.

#include <gtest/gtest.h>

#include "phonesim/Fault.h"
#include "phonesim/PduBuilder.h"
#include "sms/MessageBoxes.h"
#include "tests/support/SessionFixture.h"

namespace {

using halvex::test::SessionTest;
using Lines = std::vector<std::string>;
using namespace platform;

class MessageBoxesTest : public SessionTest {
protected:
    MessageBoxesTest() : SessionTest("empty") {}

    void Put(const std::string& storage, int index, int status, const std::string& to) {
        phonesim::SubmitSpec spec;
        spec.to = to;
        spec.text = u"to " + std::u16string(to.begin(), to.end());
        phone().Storage(storage).messages[index] =
            phonesim::SmsMessage{status, phonesim::BuildSubmit(spec).value()};
    }
    // Outbox rows 0..3: SIM 2, then phone 5, 7, 9 (in the loader's order).
    void LoadFourSent() {
        Put("SM", 2, 3, "100");
        Put("ME", 5, 3, "105");
        Put("ME", 7, 3, "107");
        Put("ME", 9, 3, "109");
        Connect();
        ASSERT_TRUE(sms::LoadOutbox(engine, session()));
        ASSERT_EQ(engine.GetOutbox().Count(), 4);
        phone().ClearTranscript();
    }
    std::vector<std::string> Deletes() const {
        Lines found;
        for (const std::string& c : commands()) {
            if (c.rfind("AT+CMGD", 0) == 0 || c.rfind("AT+CPMS=", 0) == 0) {
                found.push_back(c);
            }
        }
        return found;
    }
    void ExpectDeleteQuestion(int answer) {
        ExpectedBox box;
        box.text = u"Do you want to delete this message?";
        box.answer = answer;
        box.type = MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2;
        box.caption = u"Halvex";
        ui().Expect(box);
    }

    CSmsEngine engine;
};

TEST_F(MessageBoxesTest, LoadersListBothStoragesInThePagesOrder) {
    Connect();
    ASSERT_TRUE(sms::LoadInbox(engine, session()));
    EXPECT_EQ(commands(),
              (Lines{R"(AT+CPMS="SM","SM","ME")", "AT+CPMS?", "AT+CMGL=1",
                     R"(AT+CPMS="ME","ME","ME")", "AT+CPMS?", "AT+CMGL=0", "AT+CMGL=1"}));
    phone().ClearTranscript();
    ASSERT_TRUE(sms::LoadOutbox(engine, session()));
    EXPECT_EQ(commands(), (Lines{R"(AT+CPMS="SM","SM","ME")", "AT+CPMS?", "AT+CMGL=3",
                                 R"(AT+CPMS="ME","ME","ME")", "AT+CPMS?", "AT+CMGL=3"}));
    EXPECT_EQ(ui().CursorDepth(), 0);
}

TEST_F(MessageBoxesTest, NothingHappensWithoutAConnection) {
    EXPECT_FALSE(sms::LoadInbox(engine, session()));
    EXPECT_FALSE(sms::LoadOutbox(engine, session()));
    EXPECT_EQ(sms::DeleteRows(engine, session(), CSmsEngine::kOutbox, {0}),
              std::vector<bool>{false});
    EXPECT_TRUE(commands().empty());
    EXPECT_EQ(ui().CursorDepth(), 0);
}

TEST_F(MessageBoxesTest, EachDeletionAddressesItsOwnRowWhereverEarlierOnesMovedIt) {
    LoadFourSent();
    const std::vector<bool> deleted =
        sms::DeleteRows(engine, session(), CSmsEngine::kOutbox, {1, 3, 0});
    EXPECT_EQ(deleted, (std::vector<bool>{true, true, true}));
    // Row 0 lies on the SIM card: wrapped in the storage selections.
    EXPECT_EQ(Deletes(), (Lines{"AT+CMGD=5", "AT+CMGD=9", R"(AT+CPMS="SM","SM","ME")", "AT+CMGD=2",
                                R"(AT+CPMS="ME","ME","ME")"}));
    ASSERT_EQ(engine.GetOutbox().Count(), 1);
    EXPECT_EQ(engine.GetOutbox().Index(0), u"7");
}

TEST_F(MessageBoxesTest, ARefusedDeletionLeavesItsEntryWhereTheNextOneLooksPastIt) {
    LoadFourSent();
    phone().AddFault(phonesim::Fault::ErrorReply("AT+CMGD=5"));
    const std::vector<bool> deleted =
        sms::DeleteRows(engine, session(), CSmsEngine::kOutbox, {1, 2, 2, 9});
    EXPECT_EQ(deleted, (std::vector<bool>{false, true, false, false}));
    EXPECT_EQ(Deletes(), (Lines{"AT+CMGD=5", "AT+CMGD=7"}));
    EXPECT_EQ(engine.GetOutbox().Count(), 3);
    EXPECT_EQ(engine.GetOutbox().Index(1), u"5");
    EXPECT_EQ(engine.GetOutbox().Index(2), u"9");
}

TEST_F(MessageBoxesTest, PagesAskOnceAndTheInboxDeletesOnlyItsFirstSelectedRow) {
    ui().Expect(u"Please select a message first!");
    EXPECT_EQ(sms::DeleteSelected(engine, session(), CSmsEngine::kOutbox, {}), 0);

    LoadFourSent();
    ExpectDeleteQuestion(IDNO);
    EXPECT_EQ(sms::DeleteSelected(engine, session(), CSmsEngine::kOutbox, {2, 1}), 0);
    EXPECT_TRUE(Deletes().empty());

    ExpectDeleteQuestion(IDYES);
    EXPECT_EQ(sms::DeleteSelected(engine, session(), CSmsEngine::kOutbox, {3, 1}), 2);
    EXPECT_EQ(Deletes(), (Lines{"AT+CMGD=5", "AT+CMGD=9"}));

    // Inbox: two received messages on the phone, both selected, only the first goes.
    phonesim::DeliverSpec spec;
    spec.from = "123";
    spec.text = u"a";
    phone().Storage("ME").messages[20] = {1, phonesim::BuildDeliver(spec).value()};
    spec.text = u"b";
    phone().Storage("ME").messages[21] = {1, phonesim::BuildDeliver(spec).value()};
    ASSERT_TRUE(sms::LoadInbox(engine, session()));
    ASSERT_EQ(engine.GetInbox().Count(), 2);
    phone().ClearTranscript();
    ExpectDeleteQuestion(IDYES);
    EXPECT_EQ(sms::DeleteSelected(engine, session(), CSmsEngine::kInbox, {1, 0}), 1);
    EXPECT_EQ(Deletes(), Lines{"AT+CMGD=20"});
}

}  // namespace
