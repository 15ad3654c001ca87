#pragma once
// One reading of what the phone answered to a command: the final result, the information lines,
// and the unsolicited lines that arrived among them; and the fields of an information line.
// Every "did the phone take it" question of the program is answered here.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace at {

enum class Result {
    None,      // no final result (yet): silence, or a reply cut short
    Ok,        // "OK"
    Error,     // "ERROR"
    CmeError,  // "+CME ERROR: ..." (the phone's), numeric or text
    CmsError,  // "+CMS ERROR: ..." (the message service's)
    Prompt,    // "> ": the phone waits for a message's text
    Other,  // another final result of V.250: CONNECT..., NO CARRIER, BUSY, NO ANSWER, NO DIALTONE
};

// What a line is as a final result, blanks around it not counted; None for any other line.
Result ResultOf(std::u16string_view line);
Result ResultOf(std::string_view line);

// True for a line the phone sends of its own accord (a call, a new message, a status report,
// a registration, a cell broadcast, a USSD answer), wherever it falls.
bool IsUnsolicited(std::u16string_view line);

struct Reply {
    Result result = Result::None;
    std::u16string resultLine;                // the line that decided `result`
    std::vector<std::u16string> lines;        // information lines, in order, the echo left out
    std::vector<std::u16string> unsolicited;  // set apart, in order

    // The phone confirmed the command.
    bool Accepted() const { return result == Result::Ok; }
    // The phone refused it with an error result.
    bool Refused() const {
        return result == Result::Error || result == Result::CmeError || result == Result::CmsError;
    }
    bool Prompted() const { return result == Result::Prompt; }
    // The first information line that starts with `prefix` ("+CPBR:"), null when none does.
    const std::u16string* Line(std::u16string_view prefix) const;
};

// Reads a reply line by line (carriage returns and line feeds end lines; blanks around a line and
// empty lines do not count; a null ends the text). An error result anywhere decides the reply: it
// is accepted only with an OK and no error. Without an error a prompt decides it, else the first
// other final result. A line starting with "AT" is the command's echo.
Reply ReadReply(std::u16string_view text);

// One field of an information line.
struct Field {
    std::u16string_view raw;   // as it stands between the commas, blanks around it trimmed
    std::u16string_view text;  // the same without its double quotes, when it has them
    bool quoted = false;

    // The field as a whole decimal number; nothing for any other text or beyond 32 bits.
    std::optional<long long> Number() const;
    // A list "(a-b)" or "(a,b,...)" read as its lowest and highest number; nothing for another
    // text.
    std::optional<std::pair<long long, long long>> Range() const;
};

// The fields of an information line, after its "+NAME:" prefix when it has one. Fields are
// separated by commas outside double quotes and parentheses; the line ends at its first line
// end. An unclosed quote or parenthesis runs to the end of the line.
class Fields {
public:
    explicit Fields(std::u16string_view line);
    // The next field; false after the last.
    bool Next(Field& field);
    // Every field, in order.
    static std::vector<Field> All(std::u16string_view line);

private:
    std::u16string_view rest_;
    bool done_ = false;
};

}  // namespace at
