#pragma once
// Commands, posted messages and the waits for the phone on the one user-interface thread.
//
// A command is the handling of one thing that happened: a user's action, a posted message or an
// outside notice. A command runs its exchanges with the phone to the end before the next one is
// handled: posted messages wait until no command is running (also while a message box or a
// dialog of that command is open), and while the command waits for the phone only the windows'
// painting goes on.

#include <QObject>
#include <functional>
#include <type_traits>
#include <utility>

#include "platform/Host.h"

namespace platform::qt {

// Marks a command as running for its lifetime. Scopes nest (a dialog's button inside the command
// that opened the dialog).
class CommandScope {
public:
    CommandScope();
    ~CommandScope();
    CommandScope(const CommandScope&) = delete;
    CommandScope& operator=(const CommandScope&) = delete;

    static bool Active();
};

// Runs `handler` as a command, with the arguments when it takes them.
template <typename F, typename... Args>
void RunAsCommand(const F& handler, Args&&... args) {
    CommandScope scope;
    if constexpr (std::is_invocable_v<const F&, Args...>) {
        handler(std::forward<Args>(args)...);
    } else {
        handler();
    }
}

// A handler that runs as a command, for connecting to a widget's signal; it gets the signal's
// arguments when it takes them. (The choice is made outside the lambda: clang 14 checks both
// branches of an `if constexpr` inside a generic lambda of a template.)
template <typename F>
auto AsCommand(F handler) {
    return [handler = std::move(handler)](auto&&... args) {
        RunAsCommand(handler, std::forward<decltype(args)>(args)...);
    };
}

// Posts a message to a window: `handler` runs after the current command has ended, as a command
// of its own, in the order posted; not at all if `target` is gone by then.
void PostMessage(QObject* target, std::function<void()> handler);
// Messages posted and not handled yet.
int PendingMessages();
// Handles the posted messages now, unless a command is running (for tests; the event loop does
// it by itself).
void DispatchPostedMessages();

// The clock of the program with windows: a wait for the phone sleeps in short steps and lets
// the windows repaint in between (paint, expose and other window-system events; no user input,
// no timer, no socket and no posted message), so the desktop never takes the program for hung.
class RepaintingClock : public Clock {
public:
    explicit RepaintingClock(Clock& inner) : inner_(inner) {}
    std::uint64_t NowMs() override { return inner_.NowMs(); }
    void Sleep(DWORD ms) override;

    // True while some wait is in progress.
    static bool Waiting();

private:
    Clock& inner_;
};

}  // namespace platform::qt
