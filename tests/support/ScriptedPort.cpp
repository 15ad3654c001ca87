#include "tests/support/ScriptedPort.h"

#include <algorithm>
#include <mutex>

namespace platform {

struct ScriptedPort::Shared {
    struct Rule {
        std::string command;
        std::vector<Piece> pieces;
        int times = -1;
    };

    explicit Shared(Clock& c) : clock(c) {}

    std::uint64_t NowUs() const { return clock.NowMs() * 1000; }

    void Log(std::string what) { events.push_back(Event{clock.NowMs(), std::move(what)}); }

    void Schedule(const std::string& bytes, std::uint64_t startUs) {
        std::uint64_t at = startUs;
        for (char c : bytes) {
            at += byteTimeUs;
            incoming.emplace(at, static_cast<BYTE>(c));
        }
    }

    void LineArrived(const std::string& line) {
        commands.push_back(line);
        for (auto& rule : rules) {
            if (rule.times == 0 || rule.command != line)
                continue;
            if (rule.times > 0)
                --rule.times;
            for (const auto& piece : rule.pieces)
                Schedule(piece.bytes, NowUs() + piece.delayMs * 1000);
            return;
        }
    }

    Clock& clock;
    mutable std::mutex mutex;
    std::vector<Rule> rules;
    std::multimap<std::uint64_t, BYTE> incoming;  // arrival time in microseconds -> byte
    std::string written;
    std::string line;
    std::vector<std::string> commands;
    std::vector<Event> events;
    DCB dcb;
    COMMTIMEOUTS timeouts;
    std::uint32_t byteTimeUs = 0;
    std::uint32_t writeLimit = 0;
    int failWrites = 0;
    bool echo = false;
    bool failOpen = false;
    bool failReads = false;
    bool failSetState = false;
    bool refuseModemLines = false;
    bool dtr = false;
    bool rts = false;
    bool open = false;
    int opens = 0;
};

namespace {

class ScriptedDevice : public SerialDevice {
public:
    explicit ScriptedDevice(std::shared_ptr<ScriptedPort::Shared> state) : s_(std::move(state)) {}

    ~ScriptedDevice() override {
        std::lock_guard lock(s_->mutex);
        s_->open = false;
        s_->Log("close");
    }

    bool GetState(DCB& dcb) override {
        std::lock_guard lock(s_->mutex);
        dcb = s_->dcb;
        return true;
    }
    bool SetState(const DCB& dcb) override {
        std::lock_guard lock(s_->mutex);
        s_->Log("state");
        if (s_->failSetState)
            return false;
        s_->dcb = dcb;
        return true;
    }
    bool GetTimeouts(COMMTIMEOUTS& timeouts) override {
        std::lock_guard lock(s_->mutex);
        timeouts = s_->timeouts;
        return true;
    }
    bool SetTimeouts(const COMMTIMEOUTS& timeouts) override {
        std::lock_guard lock(s_->mutex);
        s_->Log("timeouts");
        s_->timeouts = timeouts;
        return true;
    }
    bool EscapeFunction(DWORD function) override {
        std::lock_guard lock(s_->mutex);
        switch (function) {
            case SETDTR:
            case CLRDTR:
                s_->Log("dtr");
                if (s_->refuseModemLines)
                    return false;
                s_->dtr = function == SETDTR;
                return true;
            case SETRTS:
            case CLRRTS:
                s_->Log("rts");
                if (s_->refuseModemLines)
                    return false;
                s_->rts = function == SETRTS;
                return true;
            default:
                return false;
        }
    }
    bool Purge(DWORD flags) override {
        std::lock_guard lock(s_->mutex);
        s_->Log("purge");
        if (flags & PURGE_RXCLEAR) {
            // Only what has arrived is in the buffer; the rest is still on its way.
            s_->incoming.erase(s_->incoming.begin(), s_->incoming.upper_bound(s_->NowUs()));
        }
        return true;
    }
    bool Write(const BYTE* data, DWORD size, DWORD& written) override {
        std::lock_guard lock(s_->mutex);
        written = 0;
        std::string bytes(reinterpret_cast<const char*>(data), size);
        s_->Log("write " + bytes);
        if (s_->failWrites != 0) {
            if (s_->failWrites > 0)
                --s_->failWrites;
            return false;
        }
        if (s_->writeLimit && size > s_->writeLimit)
            bytes.resize(s_->writeLimit);
        written = static_cast<DWORD>(bytes.size());
        s_->written += bytes;
        if (s_->echo)
            s_->Schedule(bytes, s_->NowUs());
        for (char c : bytes) {
            if (c == '\r' || c == '\x1A') {
                std::string line;
                line.swap(s_->line);
                s_->LineArrived(line);
            } else {
                s_->line += c;
            }
        }
        return true;
    }
    bool Flush() override {
        std::lock_guard lock(s_->mutex);
        s_->Log("flush");
        return true;
    }
    bool ClearError(DWORD& errors) override {
        std::lock_guard lock(s_->mutex);
        s_->Log("clear");
        errors = 0;
        return true;
    }
    bool Read(BYTE* buffer, DWORD capacity, DWORD& read) override {
        std::lock_guard lock(s_->mutex);
        read = 0;
        if (s_->failReads) {
            s_->Log("read failed");
            return false;
        }
        const std::uint64_t now = s_->NowUs();
        auto it = s_->incoming.begin();
        while (read < capacity && it != s_->incoming.end() && it->first <= now) {
            buffer[read++] = it->second;
            it = s_->incoming.erase(it);
        }
        s_->Log("read " + std::to_string(read));
        return true;
    }

private:
    std::shared_ptr<ScriptedPort::Shared> s_;
};

}  // namespace

ScriptedPort::ScriptedPort(Clock& clock) : state_(std::make_shared<Shared>(clock)) {}

FakeSerialPorts::Factory ScriptedPort::Factory() {
    std::weak_ptr<Shared> weak = state_;
    return [weak]() -> std::unique_ptr<SerialDevice> {
        auto state = weak.lock();
        if (!state)
            return nullptr;
        std::lock_guard lock(state->mutex);
        if (state->open || state->failOpen)
            return nullptr;
        state->open = true;
        ++state->opens;
        state->Log("open");
        return std::make_unique<ScriptedDevice>(state);
    };
}

void ScriptedPort::On(std::string command, std::string reply, std::uint64_t delayMs, int times) {
    On(std::move(command), std::vector<Piece>{Piece{delayMs, std::move(reply)}}, times);
}

void ScriptedPort::On(std::string command, std::vector<Piece> pieces, int times) {
    std::lock_guard lock(state_->mutex);
    state_->rules.push_back(Shared::Rule{std::move(command), std::move(pieces), times});
}

void ScriptedPort::Arrive(std::string bytes, std::uint64_t atMs) {
    std::lock_guard lock(state_->mutex);
    state_->Schedule(bytes, atMs * 1000);
}

void ScriptedPort::SetByteTimeUs(std::uint32_t us) {
    std::lock_guard lock(state_->mutex);
    state_->byteTimeUs = us;
}

void ScriptedPort::SetEcho(bool echo) {
    std::lock_guard lock(state_->mutex);
    state_->echo = echo;
}

void ScriptedPort::FailOpen(bool fail) {
    std::lock_guard lock(state_->mutex);
    state_->failOpen = fail;
}

void ScriptedPort::FailNextWrites(int count) {
    std::lock_guard lock(state_->mutex);
    state_->failWrites = count;
}

void ScriptedPort::LimitWrites(std::uint32_t bytes) {
    std::lock_guard lock(state_->mutex);
    state_->writeLimit = bytes;
}

void ScriptedPort::FailReads(bool fail) {
    std::lock_guard lock(state_->mutex);
    state_->failReads = fail;
}

void ScriptedPort::FailSetState(bool fail) {
    std::lock_guard lock(state_->mutex);
    state_->failSetState = fail;
}

void ScriptedPort::RefuseModemLines(bool refuse) {
    std::lock_guard lock(state_->mutex);
    state_->refuseModemLines = refuse;
}

std::string ScriptedPort::Written() const {
    std::lock_guard lock(state_->mutex);
    return state_->written;
}

std::vector<std::string> ScriptedPort::Commands() const {
    std::lock_guard lock(state_->mutex);
    return state_->commands;
}

std::vector<ScriptedPort::Event> ScriptedPort::Events() const {
    std::lock_guard lock(state_->mutex);
    return state_->events;
}

std::vector<std::string> ScriptedPort::EventNames() const {
    std::vector<std::string> out;
    for (const auto& e : Events())
        out.push_back(e.what);
    return out;
}

DCB ScriptedPort::LineState() const {
    std::lock_guard lock(state_->mutex);
    return state_->dcb;
}

COMMTIMEOUTS ScriptedPort::Timeouts() const {
    std::lock_guard lock(state_->mutex);
    return state_->timeouts;
}

bool ScriptedPort::Dtr() const {
    std::lock_guard lock(state_->mutex);
    return state_->dtr;
}

bool ScriptedPort::Rts() const {
    std::lock_guard lock(state_->mutex);
    return state_->rts;
}

int ScriptedPort::Opens() const {
    std::lock_guard lock(state_->mutex);
    return state_->opens;
}

bool ScriptedPort::IsOpen() const {
    std::lock_guard lock(state_->mutex);
    return state_->open;
}

std::size_t ScriptedPort::Unread() const {
    std::lock_guard lock(state_->mutex);
    const std::uint64_t now = state_->NowUs();
    return static_cast<std::size_t>(
        std::distance(state_->incoming.begin(), state_->incoming.upper_bound(now)));
}

}  // namespace platform
