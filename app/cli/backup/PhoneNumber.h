#pragma once
// A number from an address book as the phone book can hold it. Address books write numbers for
// people to read ("+44 (0)20 7946-0102", "tel:+1-555-0100"); phones store dial strings. Only
// what is plainly layout goes: blanks, dashes, dots, slashes and parentheses, and the "(0)" that
// follows a country code, which is never dialled with it. What is left must be digits, "*", "#"
// and at most a leading "+", 20 characters at most: a letter, a pause or an extension is not
// stored as something else, the number is left out and the plan says why.

#include <string>
#include <string_view>

namespace backup {

struct NumberForm {
    std::u16string number;          // as the phone book will hold it; empty when it cannot
    std::string problem;            // why it cannot; empty when it can
    bool trunkZeroDropped = false;  // a "(0)" after the country code was left out
};

NumberForm PhonebookNumber(std::u16string_view text);

}  // namespace backup
