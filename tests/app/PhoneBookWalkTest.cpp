// The phone book page walked by a user who does anything, in any order: a seeded random sequence
// of clicks, typing, name edits and commands on the real window, on the simulated phone, with
// every question answered Yes or No at random. After each step the list, the boxes, the book and
// the phone must agree.
//
// HALVEX_WALK_SEED picks the first seed, HALVEX_WALK_SEEDS how many seeds and HALVEX_WALK_STEPS
// the steps of each; a failure names the seed and the step.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <array>
#include <random>
#include <sstream>

#include "app/MainFrame.h"
#include "app/OrvGSMApp.h"
#include "app/PortChooserDlg.h"
#include "app/PropPgFormView.h"
#include "phonebook/NumberKind.h"
#include "platform/qt/Text.h"
#include "res/Resource.h"
#include "sms/SmsEngine.h"
#include "tests/support/SimPhoneFixture.h"
#include "tests/support/WindowFixture.h"

namespace {

using namespace platform;
using namespace res;
using halvex::test::Settle;

unsigned EnvOr(const char* name, unsigned fallback) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? static_cast<unsigned>(std::stoul(value)) : fallback;
}

// Answers every question at random and every notice with OK; keeps what it was asked.
class RandomUi : public UserInterface {
public:
    explicit RandomUi(std::mt19937& random) : random_(random) {}
    int MessageBox(HWND, const std::u16string& text, const std::u16string&, UINT type) override {
        const bool question = (type & MB_TYPEMASK) == MB_YESNO;
        asked.emplace_back(text, !question ? IDOK : (random_() % 2 != 0 ? IDYES : IDNO));
        return asked.back().second;
    }
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    std::vector<std::pair<std::u16string, int>> asked;

private:
    std::mt19937& random_;
};

// A Connect while the phone is out of reach offers the port chooser: the walker cancels it.
class CancelsThePortChooser : public QObject {
public:
    CancelsThePortChooser() { qApp->installEventFilter(this); }
    ~CancelsThePortChooser() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (auto* chooser = qobject_cast<CPortChooserDlg*>(watched);
            chooser != nullptr && event->type() == QEvent::Show)
            QTimer::singleShot(0, chooser, [chooser] { chooser->reject(); });
        return false;
    }
};

class PhoneBookWalkTest : public halvex::test::WindowTest<halvex::test::SimPhoneTest> {
protected:
    PhoneBookWalkTest() : WindowTest("empty") {}

    CPropPgFormView& view() { return *app_->GetView(); }
    CPhoneBookDlg& page() { return view().GetPhoneBookPage(); }
    platform::qt::ListView* list() { return page().GetList().GetWidget(); }
    CPhoneSession& session() { return *app_->GetSession(); }
    CPhoneBooks& books() { return *app_->GetBooks(); }
    std::vector<std::u16string> Names() {
        std::vector<std::u16string> names;
        if (const CContactBook* book = books().GetCurrentBook())
            for (int i = 0; i < book->GetSize(); ++i)
                names.push_back(book->GetAt(i)->name);
        return names;
    }

    // Gives a command as the menu does; what the step was, "(closed)" when its rule kept it
    // from running.
    std::string Command(int id, const std::string& name) {
        const bool open = view().IsCommandEnabled(id);
        app_->GetMainFrame()->GetAction(id)->trigger();
        return open ? name : name + " (closed)";
    }

    // One thing a user does; what it was, for the report.
    std::string Step(std::mt19937& random) {
        const auto pick = [&](int n) { return int(random() % unsigned(n)); };
        const int rows = page().GetList().GetItemCount();
        const bool onBook = view().GetSheet().GetActiveIndex() == 0;
        switch (pick(14)) {
            case 0:
            case 1: {
                if (rows == 0 || !onBook)
                    return "no row to click";
                const int row = pick(rows);
                list()->scrollToItem(list()->item(row, 0));
                QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                                  list()->visualRect(list()->model()->index(row, 0)).center());
                return "click row " + std::to_string(row);
            }
            case 2:
            case 3: {
                if (!onBook)
                    return "no box in sight";
                QLineEdit* box = page().Box(1 + pick(5));
                const QString digits = QString::number(pick(1000));
                box->setFocus();
                box->end(false);
                QTest::keyClicks(box, digits);
                typed_ = true;
                return "type " + digits.toStdString() + " in " + box->objectName().toStdString();
            }
            case 4: {
                static const QString names[] = {"Ann", "Bob", "Cy", "Dee", "", "Zoë", "New User"};
                const QString name = names[pick(7)];
                if (!onBook || rows == 0)
                    return "no name to edit";
                if (list()->EditingRow() < 0) {
                    list()->setFocus();
                    QTest::keyClick(list(), Qt::Key_F2);
                }
                auto* editor = list()->findChild<QLineEdit*>("labelEditor");
                if (editor == nullptr)
                    return "no name editor";
                editor->selectAll();
                QTest::keyClick(editor, Qt::Key_Backspace);
                editor->insert(name);  // typed keys are ASCII only
                const int end = pick(3);
                if (end < 2)
                    QTest::keyClick(editor, end == 0 ? Qt::Key_Return : Qt::Key_Escape);
                return "rename to \"" + name.toStdString() + "\" " +
                       std::array{"Enter", "Escape", "left open"}[end];
            }
            case 5:
                return Command(ID_ADD_USER, "Add User");
            case 6:
                if (QWidget* focus = QApplication::focusWidget())
                    QTest::keyClick(focus, Qt::Key_Escape);
                return "Escape";
            case 7: {
                const auto highlighted = list()->selectionModel()->selectedRows();
                deleting_ = highlighted.size() == 1 ? highlighted.front().row() : -1;
                return Command(ID_DELETE,
                               "Delete (row " + std::to_string(deleting_) + " highlighted)");
            }
            case 8: {
                QComboBox* memory = halvex::test::Control<QComboBox>(&page(), IDC_MEMORY);
                const int item = pick(2);
                const std::string did = item == page().GetMemoryIndex()
                                            ? "same memory"
                                            : "memory " + std::to_string(item);
                memory->setCurrentIndex(item);
                emit memory->activated(item);
                return did;
            }
            case 9:
                view().GetSheet().SetActivePage(pick(4));
                return "tab " + std::to_string(view().GetSheet().GetActiveIndex());
            case 10:
                return Command(ID_GET_DATA, "Get data");
            case 11:
                return Command(ID_SAVE_DATA, "Save data");
            case 12:
                return Command(ID_TB_CONNECT, "Connect/Disconnect");
            default:
                // The phone goes out of reach (its port is gone) or comes back.
                if ((reachable_ = !reachable_))
                    SetPortName(kPortName);
                else
                    registry().DeleteValue(HKEY_LOCAL_MACHINE, u"ExtModems\\Bluetooth", u"Port");
                return reachable_ ? "phone back" : "phone out of reach";
        }
    }

    // What must hold after every step; empty when it does.
    std::string Check(std::vector<std::u16string> namesBefore) {
        std::ostringstream out;
        const CContactBook* book = books().GetCurrentBook();
        if (book == nullptr)
            return "no book";
        const CContactListCtrl& rows = page().GetList();
        const int current = page().GetCurrentPosition();
        if (rows.GetItemCount() != book->GetSize())
            out << rows.GetItemCount() << " rows for " << book->GetSize() << " contacts; ";
        // Leaving the page settles the contact: nothing typed outlives it.
        const bool away = view().GetSheet().GetActiveIndex() != 0;
        for (int i = 0; i < std::min(rows.GetItemCount(), book->GetSize()); ++i)
            if ((i != current || away) && rows.GetItemText(i, 0) != book->GetAt(i)->name)
                out << "row " << i << " names another contact; ";
        const std::vector<int> selected = rows.GetSelectedItems();
        if (current >= 0 && selected != std::vector<int>{current})
            out << "contact " << current << " is shown but not the one highlighted; ";
        if (current < 0 && !selected.empty())
            out << "row " << selected.front() << " is highlighted but no contact is shown; ";
        if (const CContactEntry* shown = book->GetAt(current);
            shown != nullptr && (!typed_ || away))
            for (const NumberKind& kind : NumberKind::All())
                if (page().Box(kind.kind)->text() != platform::qt::ToQString(shown->*kind.number))
                    out << "box " << kind.kind << " is not the contact's number; ";
        // Delete took the highlighted contact, and only it.
        if (deleting_ >= 0 && book->GetSize() + 1 == int(namesBefore.size()) &&
            (namesBefore.erase(namesBefore.begin() + deleting_), Names() != namesBefore))
            out << "Delete removed another contact than the highlighted one; ";
        // The phone holds what the confirmed contacts say, and every entry belongs to one.
        const bool phoneMemory = session().GetMemoryType() == phone::Memory::Phone;
        if (!session().IsConnected() ||
            !(phoneMemory ? session().IsPhoneRead() : session().IsSimRead()))
            return out.str();
        const std::string memory = phoneMemory ? "ME" : "SM";
        const auto& entries = phone().Phonebook(memory).entries;
        for (const auto& [index, entry] : entries) {
            bool held = false;
            for (int i = 0; i < book->GetSize(); ++i)
                held = held || book->GetAt(i)->HoldsIndex(index);
            if (!held)
                out << memory << " entry " << index << " belongs to no contact; ";
        }
        for (int i = 0; i < book->GetSize(); ++i)
            for (const CContactEntry& contact = *book->GetAt(i);
                 const NumberKind& kind : NumberKind::All()) {
                const std::u16string& number = contact.*kind.number;
                const auto it = entries.find(contact.*kind.index);
                if (contact.marks == 0 && !number.empty() &&
                    (it == entries.end() ||
                     platform::qt::ToQString(number).toStdString() != it->second.number ||
                     it->second.name != contact.name + kind.suffix))
                    out << "contact " << i << " kind " << kind.kind << " differs from the phone; ";
            }
        return out.str();
    }

    // Walks `steps` steps from `seed`; the first fault found, or empty.
    std::string Walk(unsigned seed, unsigned steps) {
        std::mt19937 random(seed);
        reachable_ = true;
        RandomUi ui(random);
        Host host = CurrentHost();
        host.ui = &ui;
        ScopedHost scoped(host);
        for (const auto& [memory, index, number, name] : {std::tuple{"ME", 1, "111", u"Ann/H"},
                                                          {"ME", 2, "222", u"Ann/M"},
                                                          {"ME", 3, "333", u"Ben/W"},
                                                          {"ME", 5, "444", u"Cat/H"},
                                                          {"SM", 1, "10", u"Sid/H"},
                                                          {"SM", 2, "20", u"Sue/O"}})
            phone().Phonebook(memory).entries[index] = {number, 129, name};
        app_ = std::make_unique<COrvGSMApp>();
        if (!app_->InitInstance())
            return "no start";
        // Focus moves as on a desktop only in the active window.
        QApplication::setActiveWindow(app_->GetMainFrame());
        Settle();
        std::string trail, fault;
        for (unsigned step = 0; step < steps && fault.empty(); ++step) {
            const std::vector<std::u16string> names = Names();
            const int before = page().GetCurrentPosition();
            deleting_ = -1;
            ui.asked.clear();
            const std::string did = Step(random);
            Settle();
            trail += "\n  " + std::to_string(step) + ": " + did;
            // The boxes show the contact again once it is settled or another is shown.
            for (const auto& [text, answer] : ui.asked) {
                trail += " [" + ToUtf8ForLog(text) +
                         (answer == IDYES  ? " Yes]"
                          : answer == IDNO ? " No]"
                                           : "]");
                typed_ = typed_ && !(text == u"Save the Data?" && answer == IDYES);
            }
            if (page().GetCurrentPosition() != before || did == "Get data" ||
                did.starts_with("memory"))
                typed_ = false;
            if (fault = Check(names); !fault.empty())
                fault = "seed " + std::to_string(seed) + ", step " + std::to_string(step) + ": " +
                        fault + "\nsteps:" + trail;
        }
        app_->ExitInstance();
        app_.reset();
        return fault;
    }

    std::unique_ptr<COrvGSMApp> app_;
    bool typed_ = false;
    bool reachable_ = true;
    int deleting_ = -1;
};

TEST_F(PhoneBookWalkTest, ListBoxesBookAndPhoneAgreeAfterEveryStep) {
    FreshDesktop();
    CancelsThePortChooser cancels;
    const unsigned first = EnvOr("HALVEX_WALK_SEED", 1);
    for (unsigned seed = first; seed < first + EnvOr("HALVEX_WALK_SEEDS", 3); ++seed) {
        UseProfile("empty");
        SetPortName(kPortName);
        ASSERT_EQ(Walk(seed, EnvOr("HALVEX_WALK_STEPS", 150)), "")
            << "HALVEX_WALK_SEED=" << seed << " reproduces it";
    }
}

}  // namespace
