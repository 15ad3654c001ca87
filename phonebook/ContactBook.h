#pragma once
// The contacts of one memory (the phone's own or the SIM), in the order they were created, and
// the phone indices the last read of that memory found in use.

#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "phonebook/ContactEntry.h"

class CContactBook {
public:
    CContactBook() = default;
    CContactBook(const CContactBook&) = delete;
    CContactBook& operator=(const CContactBook&) = delete;

    int GetSize() const { return static_cast<int>(m_contacts.size()); }
    bool IsEmpty() const { return m_contacts.empty(); }
    // Null for a position outside the book.
    CContactEntry* GetAt(int position);
    const CContactEntry* GetAt(int position) const;

    // Appends a new zero-filled contact and returns it.
    CContactEntry* Add();
    CContactEntry* Add(const std::u16string& name);
    // Takes the contact out (later ones move down) and releases it; false for a bad position.
    bool RemoveAt(int position);
    // Releases every contact and forgets the indices seen in use.
    void Clear();

    // Position of the first contact with exactly this name, or -1.
    int Find(const std::u16string& name) const;
    // True when no contact has exactly this name (case-sensitive, whole string).
    bool IsNameFree(const std::u16string& name) const { return Find(name) < 0; }
    // "New User", else the first free "New User1", "New User2", ...
    std::u16string MakeUniqueName() const;

    // Phone indices known to hold an entry, whether or not a contact still refers to them: an
    // entry of unknown kind, or one whose number a later entry of the same name replaced, must
    // not be handed out again and overwritten.
    void MarkIndexUsed(int index);
    void MarkIndexFree(int index);
    // True when a contact refers to the index or the phone was seen holding an entry there.
    bool IsIndexTaken(int index) const;

private:
    std::vector<std::unique_ptr<CContactEntry>> m_contacts;
    std::unordered_set<int> m_usedIndices;
};
