#pragma once
// A contact as a backup file holds it: a name and numbers by kind, with the line of the file it
// came from, so that the plan and the errors can point at it.

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace backup {

// The kinds of number, as the phone book counts them.
inline constexpr int kHome = 1;
inline constexpr int kWork = 2;
inline constexpr int kMobile = 3;
inline constexpr int kFax = 4;
inline constexpr int kOther = 5;

// The kinds by kind - 1 as halvex-cli names them: its options, its JSON keys, the CSV columns.
inline constexpr std::array<const char*, 5> kKindNames = {"home", "work", "mobile", "fax", "other"};

// The name of a kind; "number" for anything else.
inline const char* KindName(int kind) {
    return kind >= 1 && kind <= 5 ? kKindNames[static_cast<std::size_t>(kind - 1)] : "number";
}

struct CardNumber {
    int kind = kOther;
    std::u16string text;  // as the file gives it, before it is made a phone book number
};

struct ContactCard {
    int line = 0;                     // where the card begins in the file
    std::u16string name;              // empty when the card names nobody
    std::vector<CardNumber> numbers;  // in the file's order
};

// A card a reader could not make sense of: it is passed over so that the others can be restored.
struct UnreadableCard {
    int line = 0;         // where it begins
    int faultLine = 0;    // where the reader gave up
    std::u16string name;  // as far as it was read before that, often empty
    std::string reason;
};

// What a reader makes of a file: its cards and those it passed over, or, when not one card could
// be read, the first fault and its line.
struct CardFile {
    std::vector<ContactCard> cards;
    std::vector<UnreadableCard> unreadable;  // in the file's order
    int errorLine = 0;
    std::string error;  // empty when the file was read

    bool Failed() const { return !error.empty(); }
};

// A vCard file (it begins with BEGIN:VCARD) or else the CSV of WriteCsv.
CardFile ReadContacts(std::string_view bytes);

}  // namespace backup
