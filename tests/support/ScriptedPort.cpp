#include "tests/support/ScriptedPort.h"

#include <utility>

namespace platform {
namespace {

class ScriptedDevice : public SerialDevice {
public:
    explicit ScriptedDevice(std::shared_ptr<ScriptedPort::State> state) : s_(std::move(state)) {}
    ~ScriptedDevice() override {
        s_->open = false;
        s_->events.push_back("close");
    }

    bool GetState(DCB& dcb) override {
        dcb = s_->dcb;
        return true;
    }
    bool SetState(const DCB& dcb) override {
        s_->events.push_back("state");
        if (!s_->failSetState)
            s_->dcb = dcb;
        return !s_->failSetState;
    }
    bool GetTimeouts(COMMTIMEOUTS& timeouts) override {
        timeouts = s_->timeouts;
        return true;
    }
    bool SetTimeouts(const COMMTIMEOUTS& timeouts) override {
        s_->events.push_back("timeouts");
        s_->timeouts = timeouts;
        return true;
    }
    bool EscapeFunction(DWORD function) override {
        const bool dtr = function == SETDTR || function == CLRDTR;
        if (!dtr && function != SETRTS && function != CLRRTS)
            return false;
        s_->events.push_back(dtr ? "dtr" : "rts");
        if (s_->refuseModemLines)
            return false;
        (dtr ? s_->dtr : s_->rts) = function == SETDTR || function == SETRTS;
        return true;
    }
    bool Purge(DWORD flags) override {
        s_->events.push_back("purge");
        // Only what has arrived is in the buffer; the rest is still on its way.
        if (flags & PURGE_RXCLEAR)
            s_->incoming.erase(s_->incoming.begin(), s_->incoming.upper_bound(Now()));
        return true;
    }
    bool Write(const BYTE* data, DWORD size, DWORD& written) override {
        std::string bytes(reinterpret_cast<const char*>(data), size);
        s_->events.push_back("write " + bytes);
        written = 0;
        if (s_->failWrites != 0) {
            s_->failWrites -= s_->failWrites > 0;
            return false;
        }
        if (s_->writeLimit && size > s_->writeLimit)
            bytes.resize(s_->writeLimit);
        written = static_cast<DWORD>(bytes.size());
        s_->written += bytes;
        for (char c : bytes) {
            if (c == '\r' || c == '\x1A')
                LineArrived(std::exchange(s_->line, {}));
            else
                s_->line += c;
        }
        return true;
    }
    bool Flush() override {
        s_->events.push_back("flush");
        return true;
    }
    bool ClearError(DWORD& errors) override {
        s_->events.push_back("clear");
        errors = 0;
        return true;
    }
    bool Read(BYTE* buffer, DWORD capacity, DWORD& read) override {
        read = 0;
        if (s_->failReads) {
            s_->events.push_back("read failed");
            return false;
        }
        auto it = s_->incoming.begin();
        for (; read < capacity && it != s_->incoming.end() && it->first <= Now(); ++it)
            buffer[read++] = it->second;
        s_->incoming.erase(s_->incoming.begin(), it);
        s_->events.push_back("read " + std::to_string(read));
        return true;
    }

private:
    std::uint64_t Now() const { return s_->clock.NowMs(); }
    void LineArrived(const std::string& line) {
        s_->commands.push_back(line);
        for (auto& rule : s_->rules) {
            if (rule.times == 0 || rule.command != line)
                continue;
            rule.times -= rule.times > 0;
            for (char c : rule.reply)
                s_->incoming.emplace(Now() + rule.delayMs, static_cast<BYTE>(c));
            return;
        }
    }

    std::shared_ptr<ScriptedPort::State> s_;
};

}  // namespace

FakeSerialPorts::Factory ScriptedPort::Factory() {
    std::weak_ptr<State> weak = s_;
    return [weak]() -> std::unique_ptr<SerialDevice> {
        auto state = weak.lock();
        if (!state || state->open)
            return nullptr;
        state->open = true;
        state->events.push_back("open");
        return std::make_unique<ScriptedDevice>(state);
    };
}

}  // namespace platform
