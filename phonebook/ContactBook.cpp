#include "phonebook/ContactBook.h"

CContactEntry* CContactBook::GetAt(int position) {
    if (position < 0 || position >= GetSize()) {
        return nullptr;
    }
    return m_contacts[static_cast<std::size_t>(position)].get();
}

const CContactEntry* CContactBook::GetAt(int position) const {
    if (position < 0 || position >= GetSize()) {
        return nullptr;
    }
    return m_contacts[static_cast<std::size_t>(position)].get();
}

CContactEntry* CContactBook::Add() {
    m_contacts.push_back(std::make_unique<CContactEntry>());
    return m_contacts.back().get();
}

CContactEntry* CContactBook::Add(const std::u16string& name) {
    CContactEntry* contact = Add();
    contact->name = name;
    return contact;
}

bool CContactBook::RemoveAt(int position) {
    if (position < 0 || position >= GetSize()) {
        return false;
    }
    m_contacts.erase(m_contacts.begin() + position);
    return true;
}

void CContactBook::Clear() {
    m_contacts.clear();
    m_usedIndices.clear();
}

int CContactBook::Find(const std::u16string& name) const {
    for (std::size_t i = 0; i < m_contacts.size(); ++i) {
        if (m_contacts[i]->name == name) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::u16string CContactBook::MakeUniqueName() const {
    const std::u16string base = u"New User";
    std::u16string candidate = base;
    // Each candidate either is free or is held by one of the contacts, so this ends within
    // GetSize() + 1 rounds.
    for (int n = 1; !IsNameFree(candidate); ++n) {
        std::u16string digits;
        for (char c : std::to_string(n)) {
            digits.push_back(static_cast<char16_t>(c));
        }
        candidate = base + digits;
    }
    return candidate;
}

void CContactBook::MarkIndexUsed(int index) {
    if (index > 0) {
        m_usedIndices.insert(index);
    }
}

void CContactBook::MarkIndexFree(int index) {
    m_usedIndices.erase(index);
}

bool CContactBook::IsIndexTaken(int index) const {
    if (m_usedIndices.count(index) != 0) {
        return true;
    }
    for (const auto& contact : m_contacts) {
        if (contact->HoldsIndex(index)) {
            return true;
        }
    }
    return false;
}
