#include "phonebook/PhoneBookEditor.h"

#include "phonebook/AtText.h"
#include "phonebook/NumberKind.h"
#include "platform/Win32.h"

using namespace platform;

namespace {

constexpr const char16_t* kCaption = u"Halvex";

bool ValidKind(int kind) {
    return kind >= 1 && kind <= CPhoneBookEditor::kKinds;
}

std::size_t Slot(int kind) {
    return static_cast<std::size_t>(kind - 1);
}

}  // namespace

CPhoneBookEditor::CPhoneBookEditor(CPhoneBooks& books, bool nokia)
    : m_books(books), m_bNokia(nokia) {}

bool CPhoneBookEditor::TakesKind(int kind) const {
    // The Nokia layout keeps one number per contact: its other boxes are disabled.
    return ValidKind(kind) && (!m_bNokia || kind == 1);
}

CContactEntry* CPhoneBookEditor::Current() {
    CContactBook* book = m_books.GetCurrentBook();
    return book != nullptr ? book->GetAt(m_nCurrent) : nullptr;
}

void CPhoneBookEditor::LoadStrings(const CContactEntry* contact) {
    for (const NumberKind& kind : NumberKind::All()) {
        m_strings[Slot(kind.kind)] = contact != nullptr ? contact->*kind.number : u"";
    }
    m_boxes = m_strings;
}

void CPhoneBookEditor::ClearEdits() {
    LoadStrings(nullptr);
}

bool CPhoneBookEditor::Select(int position) {
    CContactBook* book = m_books.GetCurrentBook();
    const CContactEntry* contact = book != nullptr ? book->GetAt(position) : nullptr;
    if (contact == nullptr) {
        return false;
    }
    m_nCurrent = position;
    m_bNewContact = false;
    m_label = contact->name;
    LoadStrings(contact);
    return true;
}

void CPhoneBookEditor::Deselect() {
    m_nCurrent = -1;
    m_bNewContact = false;
    m_label.clear();
    ClearEdits();
}

const std::u16string& CPhoneBookEditor::GetNumber(int kind) const {
    static const std::u16string kNone;
    return ValidKind(kind) ? m_boxes[Slot(kind)] : kNone;
}

bool CPhoneBookEditor::SetNumber(int kind, const std::u16string& text) {
    if (!TakesKind(kind)) {
        return false;
    }
    m_boxes[Slot(kind)] = text;
    return true;
}

bool CPhoneBookEditor::CheckName(const std::u16string& name) {
    if (name.empty()) {
        MessageBoxW(m_hOwner, u"Please Enter User Name", kCaption, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    CContactBook* book = m_books.GetCurrentBook();
    if (book != nullptr && !book->IsNameFree(name)) {
        const std::u16string text =
            u"The name \"" + name + u"\" you used already exists, Please use a different name.";
        MessageBoxW(m_hOwner, text.c_str(), kCaption, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    // These could end the command line early, so they are never written; better to say so
    // while the user is still typing.
    if (!phonebook::IsSafeName(name)) {
        MessageBoxW(m_hOwner, u"A name cannot hold double quotes or control characters.", kCaption,
                    MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    if (name.size() > kMaxNameLength) {
        MessageBoxW(m_hOwner, u"The name is too long, Please use at most 223 characters.", kCaption,
                    MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    return true;
}

bool CPhoneBookEditor::IsCurrentModified() const {
    CContactBook* book = m_books.GetCurrentBook();
    const CContactEntry* contact = book != nullptr ? book->GetAt(m_nCurrent) : nullptr;
    if (contact == nullptr) {
        return false;
    }
    // Marks left by a save or delete the phone did not confirm: the phone still differs.
    return m_label != contact->name || m_boxes != m_strings || contact->marks != 0;
}

std::uint32_t CPhoneBookEditor::StoreEdits() {
    CContactEntry* contact = Current();
    if (contact == nullptr) {
        return 0;
    }
    std::uint32_t added = 0;
    if (m_label != contact->name) {
        contact->name = m_label;
        added |= CContactEntry::MarkName;
    }
    for (const NumberKind& kind : NumberKind::All()) {
        const std::size_t slot = Slot(kind.kind);
        if (m_boxes[slot] != m_strings[slot]) {
            m_strings[slot] = m_boxes[slot];
            contact->*kind.number = m_boxes[slot];
            added |= kind.mark;
        }
    }
    contact->marks |= added;
    return added;
}

BOOL CPhoneBookEditor::Save() {
    if (Current() == nullptr) {
        return FALSE;
    }
    BeginWaitCursor();
    StoreEdits();
    const BOOL result = m_books.SaveContact(m_nCurrent);
    EndWaitCursor();
    m_bNewContact = false;
    if (!result) {
        // The contact keeps its edits and marks, so the next save sends them again. A name or
        // number the phone cannot take was refused before anything was sent: that is the news.
        const std::u16string& check = m_books.GetEngine().GetLastCheck();
        const std::u16string text =
            !check.empty()
                ? check
                : u"The phone did not save \"" + m_label +
                      (m_bKeepsRefusedEdits
                           ? u"\". Your changes are kept, and Save data sends them again."
                           : u"\".");
        MessageBoxW(m_hOwner, text.c_str(), kCaption, MB_OK | MB_ICONEXCLAMATION);
    }
    return result;
}

BOOL CPhoneBookEditor::AskAndSave() {
    if (MessageBoxW(m_hOwner, u"Save the Data?", kCaption, MB_YESNO | MB_ICONQUESTION) != IDYES) {
        return FALSE;
    }
    Save();
    return TRUE;
}

void CPhoneBookEditor::CommitCurrent(bool reload) {
    CContactBook* book = m_books.GetCurrentBook();
    if (book == nullptr || book->IsEmpty() || !IsCurrentModified() || AskAndSave()) {
        return;
    }
    if (m_bNewContact) {
        book->RemoveAt(m_nCurrent);
        m_nDropped = m_nCurrent;
        // No contact is shown in its place until the user selects one.
        Deselect();
        return;
    }
    CContactEntry* contact = Current();
    m_label = contact->name;
    if (reload) {
        LoadStrings(contact);
    }
}

int CPhoneBookEditor::AddUser() {
    if (!m_books.CheckDataRead()) {
        return -1;
    }
    CommitCurrent(false);
    CContactBook* book = m_books.GetCurrentBook();
    if (book == nullptr) {
        return -1;
    }
    const std::u16string name = book->MakeUniqueName();
    // The stored name stays empty, so the contact counts as changed from the start.
    book->Add();
    m_nCurrent = book->GetSize() - 1;
    m_bNewContact = true;
    m_label = name;
    ClearEdits();
    return m_nCurrent;
}

int CPhoneBookEditor::DeleteUser() {
    CContactBook* book = m_books.GetCurrentBook();
    if (book == nullptr || book->IsEmpty() || book->GetAt(m_nCurrent) == nullptr) {
        return FALSE;
    }
    if (MessageBoxW(m_hOwner, u"Selected item will be deleted, Continue?", kCaption,
                    MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) {
        return FALSE;
    }
    BeginWaitCursor();
    const BOOL deleted = m_books.DeleteContact(m_nCurrent);
    if (deleted) {
        book->RemoveAt(m_nCurrent);
    }
    EndWaitCursor();
    if (!deleted) {
        // Still (partly) on the phone: the contact stays, and its indices stay taken.
        const std::u16string text = u"The phone did not delete \"" + book->GetAt(m_nCurrent)->name +
                                    u"\". The contact stays in the list.";
        MessageBoxW(m_hOwner, text.c_str(), kCaption, MB_OK | MB_ICONEXCLAMATION);
        return -1;
    }
    // The mark belonged to the contact just deleted; left set, declining to save the contact
    // that moves into its place would drop that one from the book.
    m_bNewContact = false;
    if (book->IsEmpty()) {
        Deselect();
        return TRUE;
    }
    if (m_nCurrent >= book->GetSize()) {
        m_nCurrent = book->GetSize() - 1;
    }
    Select(m_nCurrent);
    return TRUE;
}
