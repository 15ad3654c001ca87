#pragma once
// The phone book as vCard 3.0: one card per contact with FN and N from the name (the phone keeps
// one name, so N holds it whole as the family name rather than guessing where it splits), one
// TEL per number typed home, work, cell, fax or voice (other); UTF-8, CR LF line ends, lines
// folded at 75 octets without cutting a character, and "\", "," and ";" escaped.

#include <string>
#include <vector>

#include "app/cli/backup/ContactCard.h"

namespace backup {

std::string WriteVCards(const std::vector<ContactCard>& cards);

// One content line, folded: at most 75 octets before each CR LF, continuation lines beginning
// with a blank.
std::string FoldLine(std::string_view line);

}  // namespace backup
