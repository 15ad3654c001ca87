#include "app/cli/backup/Csv.h"

#include <algorithm>
#include <array>
#include <optional>

#include "app/Utf8Text.h"
#include "text/Ascii.h"
#include "text/Trim.h"

namespace backup {

namespace {

struct Record {
    int line = 0;
    std::vector<std::string> fields;
};

struct Failure {
    int line;
    std::string message;
};

// The records of the file, each with the line it begins on. Blank lines are left out.
std::vector<Record> Records(std::string_view bytes) {
    std::vector<Record> records;
    int line = 1;
    std::size_t i = 0;
    while (i < bytes.size()) {
        Record record{line, {""}};
        bool blank = true;
        while (i < bytes.size()) {
            const char c = bytes[i];
            if (c == '\r' || c == '\n') {
                i += (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ? 2 : 1;
                ++line;
                break;
            }
            blank = false;
            if (c == ',') {
                record.fields.emplace_back();
                ++i;
                continue;
            }
            std::string& field = record.fields.back();
            if (c != '"') {
                field.push_back(c);
                ++i;
                continue;
            }
            if (!field.empty()) {
                throw Failure{line, "a double quote inside a field that is not quoted"};
            }
            const int opened = line;
            ++i;
            for (;;) {
                if (i >= bytes.size()) {
                    throw Failure{opened, "a quoted field that begins here is never closed"};
                }
                if (bytes[i] == '"') {
                    if (i + 1 < bytes.size() && bytes[i + 1] == '"') {
                        field.push_back('"');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                if (bytes[i] == '\n' ||
                    (bytes[i] == '\r' && (i + 1 >= bytes.size() || bytes[i + 1] != '\n'))) {
                    ++line;
                }
                field.push_back(bytes[i]);
                ++i;
            }
            if (i < bytes.size() && bytes[i] != ',' && bytes[i] != '\r' && bytes[i] != '\n') {
                throw Failure{line, "text after the closing quote of a field"};
            }
        }
        if (!blank) {
            records.push_back(std::move(record));
        }
    }
    return records;
}

std::u16string Text(const std::string& bytes, int line) {
    std::optional<std::u16string> text = app::FromUtf8(bytes);
    if (!text) {
        throw Failure{line, "not UTF-8 text"};
    }
    return std::u16string(text::Trim(*text));
}

std::string LowerAscii(std::u16string_view text) {
    std::string lower;
    for (char16_t c : text) {
        lower.push_back(c < 0x80 ? static_cast<char>(text::LowerAscii(c)) : '?');
    }
    return lower;
}

CardFile Read(std::string_view bytes) {
    const std::vector<Record> records = Records(bytes);
    CardFile file;
    if (records.empty()) {
        throw Failure{1, "no header line (name,home,work,mobile,fax,other)"};
    }
    // Column of the name, and the kind of each other column.
    const Record& header = records.front();
    int nameColumn = -1;
    std::vector<int> kinds(header.fields.size(), 0);
    for (std::size_t c = 0; c < header.fields.size(); ++c) {
        const std::string column = LowerAscii(Text(header.fields[c], header.line));
        int kind = -1;
        if (column == "name") {
            kind = 0;
        }
        for (std::size_t k = 0; k < kKindNames.size(); ++k) {
            if (column == kKindNames[k]) {
                kind = static_cast<int>(k) + 1;
            }
        }
        if (kind < 0) {
            throw Failure{header.line, "unknown column \"" + column +
                                           "\" (name, home, work, mobile, fax, other)"};
        }
        const bool twice =
            kind == 0 ? nameColumn >= 0
                      : std::find(kinds.begin(), kinds.begin() + c, kind) != kinds.begin() + c;
        if (twice) {
            throw Failure{header.line, "the column \"" + column + "\" is given twice"};
        }
        if (kind == 0) {
            nameColumn = static_cast<int>(c);
        }
        kinds[c] = kind;
    }
    if (nameColumn < 0) {
        throw Failure{header.line, "no \"name\" column"};
    }
    for (std::size_t r = 1; r < records.size(); ++r) {
        const Record& record = records[r];
        if (record.fields.size() != header.fields.size()) {
            throw Failure{record.line, std::to_string(record.fields.size()) +
                                           " fields where the header has " +
                                           std::to_string(header.fields.size())};
        }
        ContactCard card;
        card.line = record.line;
        for (std::size_t c = 0; c < record.fields.size(); ++c) {
            std::u16string text = Text(record.fields[c], record.line);
            if (static_cast<int>(c) == nameColumn) {
                card.name = std::move(text);
            } else if (!text.empty()) {
                card.numbers.push_back({kinds[c], std::move(text)});
            }
        }
        file.cards.push_back(std::move(card));
    }
    return file;
}

}  // namespace

std::string CsvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        return std::string(text);
    }
    std::string quoted = "\"";
    for (char c : text) {
        quoted += c == '"' ? "\"\"" : std::string(1, c);
    }
    return quoted + "\"";
}

std::string WriteCsv(const std::vector<ContactCard>& cards) {
    std::string out = "name";
    for (const char* column : kKindNames) {
        out += std::string(",") + column;
    }
    out += "\r\n";
    for (const ContactCard& card : cards) {
        std::array<std::u16string, 5> numbers;
        for (const CardNumber& number : card.numbers) {
            if (number.kind >= 1 && number.kind <= 5) {
                numbers[static_cast<std::size_t>(number.kind - 1)] = number.text;
            }
        }
        out += CsvField(app::ToUtf8(card.name));
        for (const std::u16string& number : numbers) {
            out += "," + CsvField(app::ToUtf8(number));
        }
        out += "\r\n";
    }
    return out;
}

CardFile ReadCsv(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        bytes.remove_prefix(3);
    }
    try {
        return Read(bytes);
    } catch (const Failure& failure) {
        CardFile file;
        file.errorLine = failure.line;
        file.error = failure.message;
        return file;
    }
}

}  // namespace backup
