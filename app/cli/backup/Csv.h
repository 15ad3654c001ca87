#pragma once
// The phone book as CSV (RFC 4180): a header "name,home,work,mobile,fax,other" and one record per
// contact, fields quoted when they hold a comma, a double quote or a line break, records ended
// with CR LF. The reader takes the columns in any order and any case, LF line ends too, and a
// UTF-8 byte order mark.

#include <string>
#include <string_view>
#include <vector>

#include "app/cli/backup/ContactCard.h"

namespace backup {

std::string WriteCsv(const std::vector<ContactCard>& cards);
CardFile ReadCsv(std::string_view bytes);

// One field as RFC 4180 writes it.
std::string CsvField(std::string_view text);

}  // namespace backup
