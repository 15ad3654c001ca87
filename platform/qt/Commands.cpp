#include "platform/qt/Commands.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <algorithm>
#include <deque>

namespace platform::qt {

namespace {

int g_commandDepth = 0;
int g_waitDepth = 0;

const QEvent::Type kDispatchEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

// The posted messages, and one pending event that has the event loop hand out the next.
class MessageQueue : public QObject {
public:
    static MessageQueue& Instance() {
        static MessageQueue* queue = new MessageQueue;  // lives as long as the program
        return *queue;
    }

    void Post(QObject* target, std::function<void()> handler) {
        messages_.push_back({QPointer<QObject>(target), std::move(handler)});
        Schedule();
    }

    int Pending() const { return static_cast<int>(messages_.size()); }

    // One message per event, so the loop handles other events in between, as it would have.
    void DispatchOne() {
        if (CommandScope::Active() || messages_.empty()) {
            return;  // the scope's end schedules again
        }
        Message message = std::move(messages_.front());
        messages_.pop_front();
        if (message.target) {
            CommandScope scope;
            message.handler();
        }
        Schedule();
    }

    void Schedule() {
        if (scheduled_ || messages_.empty() || QCoreApplication::instance() == nullptr) {
            return;
        }
        scheduled_ = true;
        QCoreApplication::postEvent(this, new QEvent(kDispatchEvent));
    }

protected:
    void customEvent(QEvent* event) override {
        if (event->type() == kDispatchEvent) {
            scheduled_ = false;
            DispatchOne();
        }
    }

private:
    struct Message {
        QPointer<QObject> target;
        std::function<void()> handler;
    };
    std::deque<Message> messages_;
    bool scheduled_ = false;
};

void Repaint() {
    if (QCoreApplication::instance() == nullptr) {
        return;
    }
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents |
                                    QEventLoop::ExcludeSocketNotifiers |
                                    QEventLoop::X11ExcludeTimers);
}

}  // namespace

CommandScope::CommandScope() {
    ++g_commandDepth;
}

CommandScope::~CommandScope() {
    if (--g_commandDepth == 0) {
        MessageQueue::Instance().Schedule();
    }
}

bool CommandScope::Active() {
    return g_commandDepth > 0;
}

void PostMessage(QObject* target, std::function<void()> handler) {
    MessageQueue::Instance().Post(target, std::move(handler));
}

int PendingMessages() {
    return MessageQueue::Instance().Pending();
}

void DispatchPostedMessages() {
    while (!CommandScope::Active() && PendingMessages() > 0) {
        MessageQueue::Instance().DispatchOne();
    }
}

void RepaintingClock::Sleep(DWORD ms) {
    // Short enough that the desktop sees the windows answer; a virtual clock gets the same steps.
    constexpr DWORD kStepMs = 25;
    ++g_waitDepth;
    Repaint();
    for (DWORD left = ms; left > 0;) {
        const DWORD step = std::min(left, kStepMs);
        inner_.Sleep(step);
        left -= step;
        Repaint();
    }
    --g_waitDepth;
}

bool RepaintingClock::Waiting() {
    return g_waitDepth > 0;
}

}  // namespace platform::qt
