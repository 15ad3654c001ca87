#pragma once
// A user interface for tests: message boxes are answered from a queue of expected boxes, every
// box and every change of the wait cursor is recorded. A box nobody expected is answered with
// the safest button (Cancel, No or OK) and recorded as unexpected, so the test fixture can fail.

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Host.h"

namespace platform {

struct MessageBoxRecord {
    HWND owner = 0;
    std::u16string text;
    std::u16string caption;
    UINT type = 0;
    int answer = 0;
    int cursorDepth = 0;  // wait cursor depth while the box was shown
    bool expected = false;
};

struct ExpectedBox {
    std::u16string text;
    int answer = IDOK;
    std::optional<UINT> type;  // checked when given (buttons | icon | default button)
    std::optional<std::u16string> caption;
    std::optional<HWND> owner;
    // Runs while the box is "shown", e.g. to change the world before the answer takes effect.
    std::function<void()> action;
};

class ScriptedUi : public UserInterface {
public:
    // Boxes are expected in the order queued.
    ScriptedUi& Expect(ExpectedBox box) {
        expected_.push_back(std::move(box));
        return *this;
    }
    ScriptedUi& Expect(std::u16string text, int answer = IDOK) {
        return Expect(ExpectedBox{std::move(text), answer, {}, {}, {}, {}});
    }

    int MessageBox(HWND owner, const std::u16string& text, const std::u16string& caption,
                   UINT type) override;
    void BeginWaitCursor() override {
        ++cursorDepth_;
        log_.push_back("cursor on");
    }
    // An end while the cursor is already off is ignored, as the toolkit does, and counted.
    void EndWaitCursor() override {
        log_.push_back(cursorDepth_ == 0 ? "cursor off (already off)" : "cursor off");
        if (cursorDepth_ == 0)
            ++unbalancedEnds_;
        else
            --cursorDepth_;
    }

    const std::vector<MessageBoxRecord>& Boxes() const { return boxes_; }
    // Human-readable descriptions of every box that was not expected or did not match.
    const std::vector<std::string>& Unexpected() const { return unexpected_; }
    std::vector<std::string> PendingDescriptions() const;

    int CursorDepth() const { return cursorDepth_; }
    int UnbalancedEnds() const { return unbalancedEnds_; }
    // Everything in order: "cursor on", "cursor off", "box: <text>".
    const std::vector<std::string>& Log() const { return log_; }

    void Clear() {
        expected_.clear();
        boxes_.clear();
        unexpected_.clear();
        log_.clear();
        cursorDepth_ = unbalancedEnds_ = 0;
    }

private:
    std::deque<ExpectedBox> expected_;
    std::vector<MessageBoxRecord> boxes_;
    std::vector<std::string> unexpected_;
    std::vector<std::string> log_;
    int cursorDepth_ = 0;
    int unbalancedEnds_ = 0;
};

// UTF-8 for test messages and logs.
std::string ToUtf8ForLog(const std::u16string& text);

}  // namespace platform
