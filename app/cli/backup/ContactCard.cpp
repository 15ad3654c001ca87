#include "app/cli/backup/ContactCard.h"

#include "app/cli/backup/Csv.h"
#include "app/cli/backup/VCardReader.h"
#include "text/Ascii.h"
#include "text/Trim.h"

namespace backup {

CardFile ReadContacts(std::string_view bytes) {
    std::string_view start = bytes;
    if (start.substr(0, 3) == "\xEF\xBB\xBF") {
        start.remove_prefix(3);
    }
    const std::string head = text::ToUpperAscii(text::TrimStart(start, " \t\r\n").substr(0, 11));
    return head == "BEGIN:VCARD" ? ReadVCards(start) : ReadCsv(bytes);
}

}  // namespace backup
