#include "app/cli/backup/VCardWriter.h"

#include <array>

#include "app/Utf8Text.h"

namespace backup {

namespace {

constexpr std::size_t kLineOctets = 75;

// The TYPE of each kind by kind - 1.
constexpr std::array<const char*, 5> kTypes = {"home", "work", "cell", "fax", "voice"};

std::string Escaped(std::u16string_view text) {
    std::string escaped;
    for (char c : app::ToUtf8(text)) {
        switch (c) {
            case '\\':
                escaped += "\\\\";
                break;
            case ',':
                escaped += "\\,";
                break;
            case ';':
                escaped += "\\;";
                break;
            case '\n':
            case '\r':
                escaped += "\\n";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

bool IsContinuationOctet(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

}  // namespace

std::string FoldLine(std::string_view line) {
    std::string folded;
    std::size_t room = kLineOctets;
    while (line.size() > room) {
        std::size_t cut = room;
        // Back to the first octet of the character that would be cut.
        while (cut > 0 && IsContinuationOctet(line[cut])) {
            --cut;
        }
        if (cut == 0) {
            cut = room;  // not UTF-8 at all: any cut will do
        }
        folded.append(line.substr(0, cut));
        folded += "\r\n ";
        line.remove_prefix(cut);
        room = kLineOctets - 1;
    }
    folded.append(line);
    return folded + "\r\n";
}

std::string WriteVCards(const std::vector<ContactCard>& cards) {
    std::string out;
    for (const ContactCard& card : cards) {
        const std::string name = Escaped(card.name);
        out += "BEGIN:VCARD\r\nVERSION:3.0\r\n";
        out += FoldLine("FN:" + name);
        out += FoldLine("N:" + name + ";;;;");
        for (const CardNumber& number : card.numbers) {
            const char* type = number.kind >= 1 && number.kind <= 5
                                   ? kTypes[static_cast<std::size_t>(number.kind - 1)]
                                   : "voice";
            out += FoldLine(std::string("TEL;TYPE=") + type + ":" + Escaped(number.text));
        }
        out += "END:VCARD\r\n";
    }
    return out;
}

}  // namespace backup
