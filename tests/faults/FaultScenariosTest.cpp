// Link faults in the middle of every operation that changes or reads the phone: the link drops,
// the phone goes silent, refuses, answers late, sends bytes that are not UTF-8 or an unsolicited
// result inside a reply, at each command the operation sends. After each:
//   1. nothing the user did not touch changed on the phone;
//   2. a failure was not reported as a success, nor told to the user as one; a send that failed
//      and a broken link were told;
//   3. reading again and doing it again brings the phone to what the user asked for, once;
//   4. it all ended (in virtual time, within bounds).

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>
#include <tuple>

#include "phonebook/NumberKind.h"
#include "sms/ComposeSender.h"
#include "sms/MessageBoxes.h"
#include "sms/codec/ShortMessage.h"
#include "tests/support/SessionFixture.h"

namespace {

using namespace platform;
using phonesim::Fault;
using Entries = std::map<int, std::pair<std::string, std::u16string>>;  // index: number, name
using Messages = std::map<std::string, std::map<int, std::string>>;     // storage: index: PDU

// The kinds of fault, by what they do to the command they strike.
using MakeFault = Fault (*)(const std::string&);
const std::pair<const char*, MakeFault> kKinds[] = {
    {"drop", [](const std::string& p) { return Fault::DropOn(p); }},
    {"silent", [](const std::string& p) { return Fault::NoReply(p); }},
    {"error", [](const std::string& p) { return Fault::ErrorReply(p); }},
    {"late", [](const std::string& p) { return Fault::PausedReply(p, 6000, 0); }},
    {"not UTF-8", [](const std::string& p) { return Fault::CorruptReply(p, "\xC3(\xFF"); }},
    {"unsolicited", [](const std::string& p) {
         return Fault::CorruptReply(p, "\r\n+CMTI: \"SM\",3\r\n\r\nRING\r\n", 2);
     }}};
constexpr int kDrop = 0;

std::u16string Base(const std::u16string& name) {
    return name.substr(0, name.find(u'/'));
}

// What an operation asks for, and the names or message PDUs it touches.
struct Operation {
    const char* name;
    std::set<std::u16string> contacts;  // names whose entries it may change
    // Carries it out as the pages do; true when the program reported it done.
    std::function<bool()> run;
    // True when the phone holds what the user asked for.
    std::function<bool()> done;
};

class FaultScenarios : public halvex::test::SessionTest {
protected:
    FaultScenarios() : SessionTest("default") {}

    // What the boxes since the last Clear told the user. The operations are driven below the
    // pages, so no question may come: the script's made-up answer would steer them.
    struct Told {
        bool question = false, sent = false, failure = false, linkLost = false;
    };
    Told WhatWasTold() {
        const std::set<std::u16string> linkLost = {u"Read port error",
                                                   u"Connection lost, Please Connect again"};
        // A send the phone never confirmed is told as such: not sent, maybe gone.
        const std::set<std::u16string> failures = {u"Message sent error!", u"Phone storage full!!",
                                                   u"Message saved error!!!",
                                                   sms::CComposeSender::kUnconfirmedText};
        Told told;
        for (const MessageBoxRecord& box : ui().Boxes()) {
            told.question |= (box.type & MB_TYPEMASK) != MB_OK;
            told.sent |= box.text == u"Message sent ok!";
            told.linkLost |= linkLost.count(box.text) != 0;
            told.failure |= told.linkLost || failures.count(box.text) != 0;
        }
        ui().Clear();
        return told;
    }

    // What the program shows is what the phone holds: every number of every contact at its
    // index under the contact's name and kind, and every entry of a kind the program knows.
    bool ShowsWhatThePhoneHolds() {
        Entries shown;
        const CContactBook& book = *books().GetCurrentBook();
        for (int i = 0; i < book.GetSize(); ++i)
            for (const CContactEntry& c = *book.GetAt(i);
                 const NumberKind& kind : NumberKind::All())
                if (const std::u16string& number = c.*kind.number;
                    (!number.empty() || c.*kind.index != 0) &&
                    !shown
                         .emplace(c.*kind.index,
                                  std::pair(std::string(number.begin(), number.end()),
                                            c.name + kind.suffix))
                         .second)
                    return false;
        Entries held = Phonebook();
        std::erase_if(held, [](const auto& entry) {
            const std::u16string& name = entry.second.second;
            const std::size_t slash = name.find(u'/');
            return slash == name.npos || slash + 2 != name.size() ||
                   NumberKind::FromLetter(name[slash + 1]) == 0;
        });
        return shown == held;
    }

    Entries Phonebook() {
        Entries entries;
        for (const auto& [index, entry] : phone().Phonebook("ME").entries)
            entries[index] = {entry.number, entry.name};
        return entries;
    }
    Messages Stored() {
        Messages stored;
        for (const char* storage : {"SM", "ME"})
            for (const auto& [index, message] : phone().Storage(storage).messages)
                stored[storage][index] = message.pdu;
        return stored;
    }
    // Entries of names not in `touched`.
    static Entries Untouched(Entries all, const std::set<std::u16string>& touched) {
        std::erase_if(all,
                      [&](const auto& entry) { return touched.count(Base(entry.second.second)); });
        return all;
    }
    // Whether the contact's entries are these by kind suffix ("/H"...), no kind twice.
    bool ContactIs(const std::u16string& name,
                   const std::map<std::u16string, std::string>& wanted) {
        std::map<std::u16string, std::string> kinds;
        for (const auto& [index, entry] : phone().Phonebook("ME").entries)
            if (Base(entry.name) == name &&
                !kinds.emplace(entry.name.substr(entry.name.find(u'/')), entry.number).second)
                return false;
        return kinds == wanted;
    }

    // The default profile on a new session, ready.
    void Fresh() {
        UseProfile("default");
        Renew();
        Ready();
    }
    // Connected, the phone memory read, whatever state the last fault left.
    void Ready() {
        phone().ClearFaults();
        phone().RestoreLink();
        if (!session().IsConnected() || !PortOpen()) {
            session().Disconnect();
            ASSERT_TRUE(books().Connect());
        }
        books().LoadBook(phone::Memory::Phone);
        ASSERT_TRUE(session().IsPhoneRead());
        sms().ClearInbox();
        sms().ClearOutbox();
        ASSERT_TRUE(sms::LoadInbox(sms(), session()));
        ui().Clear();
    }

    CContactEntry* Contact(const std::u16string& name) {
        CContactBook& book = *books().GetCurrentBook();
        return book.GetAt(book.Find(name));
    }
    int Position(const std::u16string& name) { return books().GetCurrentBook()->Find(name); }
    // The contact made to hold these numbers (added when missing), and saved.
    bool SaveNumbers(const std::u16string& name, const std::u16string& home,
                     const std::u16string& work, const std::u16string& mobile) {
        CContactEntry* contact =
            Contact(name) ? Contact(name) : books().GetCurrentBook()->Add(name);
        for (auto [number, value, mark] :
             {std::tuple{&CContactEntry::home, home, CContactEntry::MarkHome},
              std::tuple{&CContactEntry::work, work, CContactEntry::MarkWork},
              std::tuple{&CContactEntry::mobile, mobile, CContactEntry::MarkMobile}})
            if (contact->*number != value) {
                contact->*number = value;
                contact->marks |= mark;
            }
        return books().SaveContact(Position(name)) != FALSE;
    }

    std::vector<Operation> Operations() {
        const std::u16string text = u"Fault test";
        const auto isText = [text](const std::string& pdu) {
            const auto decoded = DecodeMessage(std::u16string(pdu.begin(), pdu.end()), false);
            return decoded && decoded->GetText() == text;
        };
        const auto wentOut = [this, isText](bool stored) {
            return std::ranges::any_of(sent(), [&](const auto& m) { return isText(m.pdu); }) &&
                   std::ranges::count_if(phone().Storage("ME").messages, [&](const auto& m) {
                       return isText(m.second.pdu);
                   }) == (stored ? 1 : 0);
        };
        const std::map<std::u16string, std::string> ann = {
            {u"/H", "01632960101"}, {u"/W", "02079460102"}, {u"/M", "+447700900103"}};
        std::vector<Operation> operations = {
            {"read",
             {},
             [this] {
                 books().LoadBook(phone::Memory::Phone);
                 return session().IsPhoneRead() && session().IsConnected();
             },
             [this] { return ShowsWhatThePhoneHolds(); }},
            {"save a contact with three numbers",
             {u"Zed"},
             [this] { return SaveNumbers(u"Zed", u"111", u"222", u"333"); },
             [this] {
                 return ContactIs(u"Zed", {{u"/H", "111"}, {u"/W", "222"}, {u"/M", "333"}});
             }},
            // Done again after a fault, a rename that went through is the contact saved whole.
            {"rename",
             {u"Ann Taylor", u"Ann T"},
             [this] {
                 CContactEntry* ann = Contact(u"Ann Taylor");
                 if (ann == nullptr)
                     return SaveNumbers(u"Ann T", u"01632960101", u"02079460102", u"+447700900103");
                 const int at = Position(u"Ann Taylor");
                 ann->name = u"Ann T";
                 ann->marks |= CContactEntry::MarkName;
                 return books().SaveContact(at) != FALSE;
             },
             [this, ann] { return ContactIs(u"Ann T", ann) && ContactIs(u"Ann Taylor", {}); }},
            {"delete",
             {u"Ben Carter"},
             [this] {
                 const int at = Position(u"Ben Carter");
                 return at < 0 || books().DeleteContact(at) != FALSE;
             },
             [this] { return ContactIs(u"Ben Carter", {}); }},
            {"delete a message on the SIM",
             {},
             [this] { return DeleteFirstInbox(); },
             [this] { return phone().Storage("SM").messages.count(1) == 0; }}};
        for (bool save : {false, true})
            operations.push_back({save ? "save and send" : "send",
                                  {},
                                  [this, text, save] { return Send(text, save); },
                                  [=] { return wentOut(save); }});
        return operations;
    }

    bool Send(const std::u16string& text, bool save) {
        return sms::CComposeSender(sms(), session())
                   .Send({u"+447700900555", text, false, false}, save) == sms::SendOutcome::Sent;
    }
    bool DeleteFirstInbox() {
        // The row of message 1 on the SIM ("Morning! ..."): where it lies depends on whether the
        // SIM's unread message was listed as unread yet.
        const sms::MessageList& inbox = sms().GetInbox();
        int row = 0;
        while (row < inbox.Count() &&
               !(inbox.Storage(row) == sms::Storage::Sim && inbox.Index(row) == u"1"))
            ++row;
        return sms::DeleteRows(sms(), session(), sms::Box::Inbox, {row})[0];
    }

    // One scenario: `op` with `kind` on its `at`-th command. Failures say which.
    void Scenario(Operation& op, int kind, std::size_t at, const std::vector<std::string>& lines,
                  const std::vector<bool>& pdus) {
        SCOPED_TRACE(std::string(op.name) + ", " + kKinds[kind].first + " at \"" + lines[at] +
                     "\"");
        Fresh();
        const Entries before = Phonebook();
        const Messages storedBefore = Stored();
        int skip = 0;
        for (std::size_t i = 0; i < at; ++i)
            skip += lines[i] == lines[at] && pdus[i] == pdus[at];
        // The fault on the (skip + 1)-th such command.
        Fault fault = kKinds[kind].second(lines[at]);
        std::tie(fault.skip, fault.pdu) = std::tuple(skip, pdus[at]);
        phone().AddFault(fault);
        const std::uint64_t start = clock().NowMs();
        const bool reported = op.run();
        EXPECT_LT(clock().NowMs() - start, 10u * 60 * 1000) << "bounded";
        const Told told = WhatWasTold();
        EXPECT_FALSE(told.question);
        EXPECT_TRUE(reported || !std::string(op.name).ends_with("send") || told.failure)
            << "a failed send not told";
        EXPECT_TRUE(kind != kDrop || told.linkLost) << "the broken link not told";
        EXPECT_EQ(Untouched(Phonebook(), op.contacts), Untouched(before, op.contacts));
        // Only the message asked for goes; a stored copy is what "save and send" asks for.
        Messages storedAfter = Stored(), expected = storedBefore;
        if (std::string(op.name) == "delete a message on the SIM") {
            storedAfter["SM"].erase(1);
            expected["SM"].erase(1);
        }
        if (std::string(op.name) != "save and send") {
            EXPECT_EQ(storedAfter, expected);
        }
        EXPECT_TRUE(!(reported || told.sent) || (reported && op.done()))
            << "reported or told done, and it is not";
        // Again, as the user would after a failure: the phone ends up as asked, once.
        Ready();
        if (!op.done()) {
            op.run();
            ui().Clear();
        }
        EXPECT_TRUE(op.done()) << "not done after doing it again";
    }
};

TEST_F(FaultScenarios, EveryFaultAtEveryCommandOfEveryOperationKeepsThePromises) {
    for (Operation& op : Operations()) {
        // The commands of the operation when nothing goes wrong.
        Fresh();
        phone().ClearTranscript();
        ASSERT_TRUE(op.run()) << op.name;
        ui().Clear();
        // A message's text is faulted through the command it follows (AT+CMGS, AT+CMGW).
        std::vector<std::string> lines;
        std::vector<bool> pdus;
        for (const phonesim::TranscriptEntry& entry : transcript()) {
            lines.push_back(entry.pdu && !lines.empty() ? lines.back() : entry.line);
            pdus.push_back(entry.pdu);
        }
        for (int kind = 0; kind < 6; ++kind)
            for (std::size_t at = 0; at < lines.size(); ++at)
                Scenario(op, kind, at, lines, pdus);
    }
}

}  // namespace
