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
    // The box gets a line of its own; the next step of the read writes its line again.
    ClearProgressLine();
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

// Back to the start of the line, the text, then away with what a longer text left there.
void ConsoleUi::ShowProgress(const std::u16string& text) {
    if (!progress_) {
        return;
    }
    out_ << '\r' << app::Printable(app::ToUtf8(text)) << "\x1b[K" << std::flush;
    lineShown_ = true;
}

void ConsoleUi::EndProgress() {
    ClearProgressLine();
}

void ConsoleUi::ClearProgressLine() {
    if (lineShown_) {
        out_ << "\r\x1b[K" << std::flush;
        lineShown_ = false;
    }
}

}  // namespace cli
