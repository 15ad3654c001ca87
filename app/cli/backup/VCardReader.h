#pragma once
// Reads vCard 2.1, 3.0 and 4.0 as phones and address books write them: folded lines (a 2.1
// fold keeps its blank, a later one drops it), quoted-printable values with soft line breaks,
// CHARSET parameters, escapes, groups ("item1.TEL"), TYPE lists, quoted parameter values and
// the bare types of 2.1 ("TEL;CELL;HOME"), tel: URIs, and the quirks of some phones: a
// quoted-printable value broken without its "=", "END:VCARD." with a stray character. Only the
// name (FN, else N, else ORG) and the TEL lines are kept; every other property is passed over. A
// card that cannot be read is passed over and named, so that the others can be restored.

#include <string_view>

#include "app/cli/backup/ContactCard.h"

namespace backup {

// The kind of number a TEL line's types give: fax before cell before work before home, and
// other for anything else (voice, pref, pager, none).
int KindOfTypes(const std::vector<std::string>& lowerCaseTypes);

CardFile ReadVCards(std::string_view bytes);

}  // namespace backup
