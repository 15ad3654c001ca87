#pragma once
// The five kinds of number, tying together the name suffix on the phone, the fields of a contact,
// the change mark and the labels of both phone book pages.

#include <cstdint>
#include <span>
#include <string>

#include "phonebook/ContactEntry.h"

struct NumberKind {
    int kind;                // 1 Home, 2 Work, 3 Mobile, 4 Fax, 5 Other
    const char16_t* suffix;  // written after the name, e.g. u"/H"
    char16_t letter;         // read after the "/" of a phone entry's name
    std::u16string CContactEntry::*number;
    int CContactEntry::*index;
    std::uint32_t mark;          // change mark of the number
    const char16_t* label;       // label on the ordinary phone book page
    const char16_t* nokiaLabel;  // label on the Nokia phone book page

    // The five kinds in order 1 to 5.
    static std::span<const NumberKind> All();
    // The kind 1 to 5, or null (kind 0 and anything else gives no number).
    static const NumberKind* Of(int kind);
    // 1 to 5 for H, W, M, F, O (case-sensitive), 0 for any other letter.
    static int FromLetter(char16_t letter);
};
