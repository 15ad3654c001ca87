#include "app/cli/ConsoleUi.h"

#include "app/Utf8Text.h"

using namespace platform;

namespace cli {

int ConsoleUi::MessageBox(HWND, const std::u16string& text, const std::u16string&, UINT type) {
    // One line per box, whatever the text holds.
    out_ << "Halvex: " << app::Printable(app::ToUtf8(text)) << '\n' << std::flush;
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
