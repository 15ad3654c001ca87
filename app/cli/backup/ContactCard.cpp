#include "app/cli/backup/ContactCard.h"

#include "app/cli/backup/AsciiText.h"
#include "app/cli/backup/Csv.h"
#include "app/cli/backup/VCardReader.h"

namespace backup {

CardFile ReadContacts(std::string_view bytes) {
    std::string_view start = bytes;
    if (start.substr(0, 3) == "\xEF\xBB\xBF") {
        start.remove_prefix(3);
    }
    const std::size_t first = start.find_first_not_of(" \t\r\n");
    const std::string head =
        UpperCase(start.substr(first == std::string_view::npos ? start.size() : first, 11));
    return head == "BEGIN:VCARD" ? ReadVCards(start) : ReadCsv(bytes);
}

}  // namespace backup
