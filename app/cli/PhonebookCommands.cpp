// phonebook list, add, edit and delete: read the memory, then do what the phone book page does.

#include <array>
#include <string>

#include "app/Utf8Text.h"
#include "app/cli/Commands.h"
#include "app/cli/Output.h"
#include "app/cli/backup/ImportPlan.h"
#include "link/RegSettings.h"
#include "phonebook/NumberKind.h"
#include "phonebook/PhoneBookEditor.h"

namespace cli {

namespace {

std::string Quoted(const std::u16string& name) {
    return "\"" + app::ToUtf8(name) + "\"";
}

nlohmann::ordered_json ContactJson(const CContactEntry& contact) {
    nlohmann::ordered_json object = nlohmann::ordered_json::object();
    object["name"] = app::ToUtf8(contact.name);
    for (const NumberKind& kind : NumberKind::All()) {
        const std::u16string& number = contact.*kind.number;
        if (!number.empty()) {
            object[kKindNames[kind.kind - 1]] = {{"number", app::ToUtf8(number)},
                                                 {"index", contact.*kind.index}};
        }
    }
    return object;
}

void PrintContact(std::ostream& out, const CContactEntry& contact) {
    out << app::ToUtf8(contact.name) << '\n';
    for (const NumberKind& kind : NumberKind::All()) {
        const std::u16string& number = contact.*kind.number;
        if (!number.empty()) {
            std::string label = kKindNames[kind.kind - 1];
            label.resize(8, ' ');
            out << "  " << label << app::ToUtf8(number) << "  #" << contact.*kind.index << '\n';
        }
    }
}

void Show(Context& c, const CContactEntry& contact) {
    if (c.options.json) {
        PrintJson(c.out, ContactJson(contact));
    } else {
        PrintContact(c.out, contact);
        c.out << std::flush;
    }
}

}  // namespace

std::string SlotProblem(const CPhoneBookEngine::SlotReport& slot) {
    using Outcome = CPhoneBookEngine::SlotOutcome;
    switch (slot.outcome) {
        case Outcome::Written:
            return "";
        case Outcome::NoIndex:
            return backup::kNoFreePlace;
        case Outcome::Refused:
            return app::Printable(app::ToUtf8(slot.reason));
        default:
            return "not sent";
    }
}

bool ReadMemory(Context& c) {
    const phone::Memory memory = c.options.memory;
    c.books.LoadBook(memory);
    const bool read = c.session.IsRead(memory) != 0;
    if (!c.session.IsConnected() || !read) {
        Complain(c.err, std::string("the phone book ") + MemoryName(memory) + " could not be read");
        return false;
    }
    return true;
}

namespace {

// What the save did with each number it touched, when the phone did not take them all:
// "home 456 written; mobile 123 not written: +CME ERROR: 26 (dial string too long)"; "" when
// every number went.
std::string UnsavedReport(const CContactEntry& contact,
                          const std::array<CPhoneBookEngine::SlotReport, 5>& report) {
    using Outcome = CPhoneBookEngine::SlotOutcome;
    std::string text;
    bool missing = false;
    for (const NumberKind& kind : NumberKind::All()) {
        const CPhoneBookEngine::SlotReport& slot = report[static_cast<std::size_t>(kind.kind - 1)];
        const std::u16string& number = contact.*kind.number;
        // A box left empty is taken without anything sent when it held no entry.
        if (slot.outcome == Outcome::Untouched ||
            (slot.outcome == Outcome::Written && number.empty())) {
            continue;
        }
        const std::string what = std::string(kKindNames[kind.kind - 1]) +
                                 (number.empty() ? "" : " " + app::Printable(app::ToUtf8(number)));
        const std::string problem = SlotProblem(slot);
        std::string item = what + " written";
        if (!problem.empty()) {
            item = what + (number.empty() ? " not cleared: " : " not written: ") + problem;
        }
        missing = missing || !problem.empty();
        text += (text.empty() ? "" : "; ") + item;
    }
    return missing ? text : "";
}

int List(Context& c) {
    if (!ReadMemory(c)) {
        return kExitFailed;
    }
    const CContactBook* book = c.books.GetCurrentBook();
    if (c.options.json) {
        nlohmann::ordered_json contacts = nlohmann::ordered_json::array();
        for (int i = 0; i < book->GetSize(); ++i) {
            contacts.push_back(ContactJson(*book->GetAt(i)));
        }
        PrintJson(c.out, contacts);
        return kExitOk;
    }
    for (int i = 0; i < book->GetSize(); ++i) {
        PrintContact(c.out, *book->GetAt(i));
    }
    c.out << std::flush;
    return kExitOk;
}

// The Nokia layout has one number box; told before anything is read from the phone.
bool LayoutTakesNumbers(Context& c, const CPhoneBookEditor& editor) {
    for (int kind = 1; kind <= CPhoneBookEditor::kKinds; ++kind) {
        if (c.options.numbers[static_cast<std::size_t>(kind - 1)] && !editor.TakesKind(kind)) {
            Complain(c.err, std::string("this phone keeps one number per contact: --") +
                                kKindNames[kind - 1] + " is not taken (only --home)");
            return false;
        }
    }
    return true;
}

// Types the numbers of the command line into the editor's boxes.
void TypeNumbers(Context& c, CPhoneBookEditor& editor) {
    for (int kind = 1; kind <= CPhoneBookEditor::kKinds; ++kind) {
        if (const auto& number = c.options.numbers[static_cast<std::size_t>(kind - 1)]) {
            editor.SetNumber(kind, *number);
        }
    }
}

int SaveCurrent(Context& c, CPhoneBookEditor& editor) {
    const std::u16string name = editor.GetLabel();
    editor.Save();
    const CContactEntry* contact = c.books.GetCurrentBook()->GetAt(editor.GetCurrent());
    const std::string unsaved = contact == nullptr
                                    ? "not written"
                                    : UnsavedReport(*contact, c.books.GetEngine().GetLastWrite());
    if (!unsaved.empty()) {
        // Nothing is kept for later: the line says what the phone holds now.
        Complain(c.err, Quoted(name) + " in " + MemoryName(c.options.memory) + ": " + unsaved);
        return kExitFailed;
    }
    Show(c, *contact);
    return kExitOk;
}

int Add(Context& c, CPhoneBookEditor& editor) {
    if (!ReadMemory(c)) {
        return kExitFailed;
    }
    if (editor.AddUser() < 0) {
        return kExitFailed;
    }
    // What the user types into the label editor of the new contact.
    if (!editor.CheckName(c.options.name)) {
        return kExitBadArguments;
    }
    editor.SetLabel(c.options.name);
    TypeNumbers(c, editor);
    return SaveCurrent(c, editor);
}

// Reads the memory and makes the named contact the one being edited; kExitOk when it is there.
int SelectNamed(Context& c, CPhoneBookEditor& editor) {
    if (!ReadMemory(c)) {
        return kExitFailed;
    }
    const int position = c.books.GetCurrentBook()->Find(c.options.name);
    if (position < 0) {
        Complain(c.err, "no contact named " + Quoted(c.options.name) + " in " +
                            MemoryName(c.options.memory));
        return kExitBadArguments;
    }
    editor.Select(position);
    return kExitOk;
}

int Edit(Context& c, CPhoneBookEditor& editor) {
    if (const int status = SelectNamed(c, editor); status != kExitOk) {
        return status;
    }
    if (c.options.rename) {
        if (!editor.CheckName(*c.options.rename)) {
            return kExitBadArguments;
        }
        editor.SetLabel(*c.options.rename);
    }
    TypeNumbers(c, editor);
    if (!editor.IsCurrentModified()) {
        // Nothing differs from the phone: nothing to write.
        Show(c, *c.books.GetCurrentBook()->GetAt(editor.GetCurrent()));
        return kExitOk;
    }
    return SaveCurrent(c, editor);
}

int Delete(Context& c, CPhoneBookEditor& editor) {
    if (const int status = SelectNamed(c, editor); status != kExitOk) {
        return status;
    }
    const int deleted = editor.DeleteUser();
    if (deleted < 0) {
        // The editor's box has said so.
        return kExitFailed;
    }
    if (deleted == 0) {
        Complain(c.err, "nothing deleted; confirm with --yes");
        return kExitBadArguments;
    }
    if (c.options.json) {
        PrintJson(c.out, {{"deleted", app::ToUtf8(c.options.name)},
                          {"memory", MemoryName(c.options.memory)}});
    }
    return kExitOk;
}

}  // namespace

int RunPhonebook(Context& c) {
    // The main view picks the page by the stored kind of phone, and does nothing on the phone
    // book without it.
    const std::optional<phone::Kind> kind = c.session.GetPhoneKind();
    if (!kind) {
        Complain(c.err, "the kind of phone is not known, so its phone book cannot be used");
        return kExitFailed;
    }
    CPhoneBookEditor editor(c.books, *kind == phone::Kind::Nokia);
    editor.SetKeepsRefusedEdits(false);
    if (!LayoutTakesNumbers(c, editor)) {
        return kExitBadArguments;
    }
    switch (c.options.action) {
        case Action::PhonebookList:
            return List(c);
        case Action::PhonebookAdd:
            return Add(c, editor);
        case Action::PhonebookEdit:
            return Edit(c, editor);
        case Action::PhonebookDelete:
            return Delete(c, editor);
        case Action::PhonebookExport:
            return ExportPhonebook(c);
        case Action::PhonebookImport:
            return ImportPhonebook(c, editor);
        default:
            return kExitBadArguments;
    }
}

}  // namespace cli
