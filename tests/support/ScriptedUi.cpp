#include "tests/support/ScriptedUi.h"

#include <cstdio>

#include "text/Utf.h"

namespace platform {

std::string ToUtf8ForLog(const std::u16string& text) {
    return text::ToUtf8(text);
}

namespace {

std::string Describe(const std::u16string& text, const std::u16string& caption, UINT type,
                     HWND owner) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "\" type 0x%x owner %lu", unsigned(type),
                  static_cast<unsigned long>(owner));
    return "\"" + ToUtf8ForLog(text) + "\" caption \"" + ToUtf8ForLog(caption) + buf;
}

}  // namespace

ScriptedUi& ScriptedUi::Expect(ExpectedBox box) {
    expected_.push_back(std::move(box));
    return *this;
}

ScriptedUi& ScriptedUi::Expect(std::u16string text, int answer) {
    ExpectedBox box;
    box.text = std::move(text);
    box.answer = answer;
    return Expect(std::move(box));
}

int ScriptedUi::SafeAnswer(UINT type) {
    switch (type & MB_TYPEMASK) {
        case MB_YESNO:
            return IDNO;
        case MB_OK:
            return IDOK;
        case MB_ABORTRETRYIGNORE:
            return IDABORT;
        default:
            return IDCANCEL;
    }
}

int ScriptedUi::MessageBox(HWND owner, const std::u16string& text, const std::u16string& caption,
                           UINT type) {
    MessageBoxRecord record{owner, text, caption, type, SafeAnswer(type), cursorDepth_, false};
    log_.push_back("box: " + ToUtf8ForLog(text));
    if (expected_.empty()) {
        unexpected_.push_back("unexpected box " + Describe(text, caption, type, owner));
    } else {
        const ExpectedBox& next = expected_.front();
        bool matches = next.text == text && (!next.type || *next.type == type) &&
                       (!next.caption || *next.caption == caption) &&
                       (!next.owner || *next.owner == owner);
        if (matches) {
            ExpectedBox box = std::move(expected_.front());
            expected_.pop_front();
            record.expected = true;
            record.answer = box.answer;
            if (box.action)
                box.action();
        } else {
            unexpected_.push_back("box " + Describe(text, caption, type, owner) +
                                  " where the script expected \"" + ToUtf8ForLog(next.text) + "\"");
        }
    }
    boxes_.push_back(record);
    return record.answer;
}

void ScriptedUi::BeginWaitCursor() {
    ++cursorDepth_;
    log_.push_back("cursor on");
}

void ScriptedUi::EndWaitCursor() {
    if (cursorDepth_ == 0) {
        ++unbalancedEnds_;
        log_.push_back("cursor off (already off)");
        return;
    }
    --cursorDepth_;
    log_.push_back("cursor off");
}

std::vector<std::string> ScriptedUi::PendingDescriptions() const {
    std::vector<std::string> out;
    for (const auto& box : expected_)
        out.push_back("\"" + ToUtf8ForLog(box.text) + "\"");
    return out;
}

void ScriptedUi::Clear() {
    expected_.clear();
    boxes_.clear();
    unexpected_.clear();
    log_.clear();
    cursorDepth_ = 0;
    unbalancedEnds_ = 0;
}

}  // namespace platform
