#include "tests/support/ScriptedUi.h"

#include "text/Utf.h"

namespace platform {

std::string ToUtf8ForLog(const std::u16string& text) {
    return text::ToUtf8(text);
}

int ScriptedUi::MessageBox(HWND owner, const std::u16string& text, const std::u16string& caption,
                           UINT type) {
    // Unexpected, the safest answer.
    const UINT buttons = type & MB_TYPEMASK;
    const int safe = buttons == MB_YESNO              ? IDNO
                     : buttons == MB_OK               ? IDOK
                     : buttons == MB_ABORTRETRYIGNORE ? IDABORT
                                                      : IDCANCEL;
    MessageBoxRecord record{owner, text, caption, type, safe, cursorDepth_, false};
    log_.push_back("box: " + ToUtf8ForLog(text));
    const std::string box = "\"" + ToUtf8ForLog(text) + "\" caption \"" + ToUtf8ForLog(caption) +
                            "\" type " + std::to_string(type) + " owner " + std::to_string(owner);
    if (expected_.empty()) {
        unexpected_.push_back("unexpected box " + box);
    } else if (const ExpectedBox& next = expected_.front();
               next.text == text && next.type.value_or(type) == type &&
               next.caption.value_or(caption) == caption && next.owner.value_or(owner) == owner) {
        ExpectedBox taken = std::move(expected_.front());
        expected_.pop_front();
        record.expected = true;
        record.answer = taken.answer;
        if (taken.action)
            taken.action();
    } else {
        unexpected_.push_back("box " + box + " where the script expected \"" +
                              ToUtf8ForLog(next.text) + "\"");
    }
    boxes_.push_back(record);
    return record.answer;
}

std::vector<std::string> ScriptedUi::PendingDescriptions() const {
    std::vector<std::string> out;
    for (const auto& box : expected_)
        out.push_back("\"" + ToUtf8ForLog(box.text) + "\"");
    return out;
}

}  // namespace platform
