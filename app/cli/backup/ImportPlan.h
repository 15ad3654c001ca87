#pragma once
// What an import does with each card of a file, decided against the phone book as read before
// anything is written: a new contact is added; a contact of the same name gets the numbers it
// lacks, or with `replace` takes the file's numbers (a kind the card does not give at all is
// removed); nothing else on the phone changes. Numbers the memory cannot take are left out with
// the reason, and so are cards: no name, a name the phone cannot store, a name the file gave
// before, no number, no free place.

#include <string>
#include <vector>

#include "app/cli/backup/ContactCard.h"
#include "phonebook/ContactBook.h"

namespace backup {

enum class Step { Add, Fill, Replace, Unchanged, Skip };

// The reason given for a number or a card when the memory has no place left for it.
inline constexpr const char* kNoFreePlace = "no free place in the memory";

struct PlannedNumber {
    int kind = 0;
    std::u16string number;    // empty: the contact's number of this kind is removed
    std::u16string previous;  // what the phone holds now
    std::string note;         // how the file's number became this one, when not plainly
};

struct LeftOut {
    int kind = 0;
    std::u16string text;  // as the file gives it
    std::string reason;
};

struct PlanItem {
    Step step = Step::Skip;
    int line = 0;
    std::u16string name;
    int position = -1;                   // of the same-named contact in the book; -1 for none
    std::vector<PlannedNumber> numbers;  // what is written, by kind
    std::vector<LeftOut> leftOut;        // numbers of the card not taken
    std::string reason;                  // why a card is skipped
};

struct PlanOptions {
    bool nokia = false;  // the memory keeps one number per contact, of kind 1
    bool replace = false;
    int freePlaces = 0;
};

std::vector<PlanItem> MakePlan(const std::vector<ContactCard>& cards, const CContactBook& book,
                               const PlanOptions& options);

// Indices from 1 to `highest` that neither a contact nor the last read holds: the places new
// numbers can go to.
int FreePlaces(const CContactBook& book, int highest);

// Empty when the phone book can store the name, else why not.
std::string NameProblem(const std::u16string& name);

}  // namespace backup
