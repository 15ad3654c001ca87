#include "app/cli/ConsoleUi.h"

#include <algorithm>

#include "app/Utf8Text.h"

using namespace platform;

namespace cli {

int ConsoleUi::MessageBox(HWND, const std::u16string& text, const std::u16string&, UINT type) {
    // One line per box, whatever the text holds: a box's paragraphs follow its first after ": ".
    std::string line = app::ToUtf8(text);
    for (std::size_t at; (at = line.find("\n\n")) != std::string::npos;) {
        line.replace(at, 2, ": ");
    }
    std::replace(line.begin(), line.end(), '\n', ' ');
    out_ << "Halvex: " << app::Printable(line) << '\n' << std::flush;
    switch (type & MB_TYPEMASK) {
        case MB_YESNO:
        case MB_YESNOCANCEL:
            return yes_ ? IDYES : IDNO;
        case MB_OKCANCEL:
            return yes_ ? IDOK : IDCANCEL;
        case MB_RETRYCANCEL:
            return IDCANCEL;
        case MB_ABORTRETRYIGNORE:
            return IDABORT;
        default:
            return IDOK;
    }
}

}  // namespace cli
