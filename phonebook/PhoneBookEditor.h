#pragma once
// What the phone book page does with the user's input, without its window: the contact being
// edited, the name typed into its list label and the texts of its five number boxes, and the
// operations the page runs on them (the name check, storing the edits with their change marks,
// saving, adding and deleting a contact). The page and the command-line front end both drive it.
//
// The page keeps, per number box, the text last loaded into it or stored from it ("the page's
// strings"); a box whose text differs from its string has been changed by the user. The Nokia
// layout lets the user change only the first number (kind 1).

#include <array>
#include <string>
#include <utility>

#include "phonebook/PhoneBooks.h"
#include "platform/Win32Types.h"

class CPhoneBookEditor {
public:
    static constexpr int kKinds = 5;
    // What the number boxes accept; the names what a contact can hold.
    static constexpr std::size_t kMaxNumberLength = 20;
    static constexpr std::size_t kMaxNameLength = 223;

    CPhoneBookEditor(CPhoneBooks& books, bool nokia);

    bool IsNokia() const { return m_bNokia; }
    // Whether the layout lets the user type a number of this kind (1 to 5).
    bool TakesKind(int kind) const;
    // Owner window of the boxes the editor shows (0: none).
    void SetOwner(platform::HWND owner) { m_hOwner = owner; }
    // Whether the front end keeps a refused contact's edits for a later Save data (the page
    // does; a one-shot command does not, and then the refusal says only what failed).
    void SetKeepsRefusedEdits(bool keeps) { m_bKeepsRefusedEdits = keeps; }

    // Position of the contact being edited in the current book, -1 for none.
    int GetCurrent() const { return m_nCurrent; }
    bool IsNewContact() const { return m_bNewContact; }
    // Makes the contact at `position` the one being edited: its name and numbers become the
    // label, the page's strings and the box texts. False, and nothing changes, for a position
    // outside the current book.
    bool Select(int position);
    // No contact is edited any more: empty label and boxes.
    void Deselect();

    // What the user typed. SetNumber is refused (false) for a kind the layout does not take.
    const std::u16string& GetLabel() const { return m_label; }
    void SetLabel(const std::u16string& label) { m_label = label; }
    const std::u16string& GetNumber(int kind) const;
    bool SetNumber(int kind, const std::u16string& text);

    // The label editor's check of a new name: empty, already used in the current book (the
    // contact's own stored name counts as used), or not storable on the phone. Shows the reason
    // and returns false; true when the name may be taken as the label.
    bool CheckName(const std::u16string& name);

    // True when the label or any box differs from what the contact holds, or the contact has
    // changes the phone has not confirmed yet.
    bool IsCurrentModified() const;
    // Copies the label and the changed boxes into the contact and adds their change marks.
    // Returns the marks added.
    std::uint32_t StoreEdits();
    // The Yes of "Save the Data?": stores the edits and has the session write the contact.
    // The session's result; when the phone did not confirm every write it says so in a box, and
    // the contact keeps its changes for the next save.
    platform::BOOL Save();
    // Asks "Save the Data?"; 1 after a save on Yes, 0 on No.
    platform::BOOL AskAndSave();
    // When the current contact was changed and the user declines to save it: a new contact is
    // dropped, an existing one gets its stored name back; with `reload` the boxes show its
    // stored numbers again.
    void CommitCurrent(bool reload);
    // The position of the new contact the last CommitCurrent dropped from the book, once; -1
    // when none was dropped since the last call.
    int TakeDropped() { return std::exchange(m_nDropped, -1); }

    // Add User: needs the memory read since connecting, then appends a contact named by
    // MakeUniqueName and makes it the current, new contact with empty boxes. Its position, or
    // -1 when nothing was added.
    int AddUser();
    // Delete: asks "Selected item will be deleted, Continue?" (No by default) and on Yes deletes
    // the current contact's entries from the phone and the contact from the book, then edits the
    // contact now at that place (or the last one; none when the book is empty). 1 deleted, 0 not
    // asked or declined, -1 when the phone did not confirm it: a box says so and the contact
    // stays.
    int DeleteUser();

private:
    CContactEntry* Current();
    void LoadStrings(const CContactEntry* contact);
    void ClearEdits();

    CPhoneBooks& m_books;
    bool m_bNokia;
    platform::HWND m_hOwner = 0;
    bool m_bKeepsRefusedEdits = true;
    int m_nCurrent = -1;
    bool m_bNewContact = false;
    int m_nDropped = -1;
    std::u16string m_label;
    std::array<std::u16string, kKinds> m_strings;  // as last loaded or stored, by kind - 1
    std::array<std::u16string, kKinds> m_boxes;    // as the user typed them
};
