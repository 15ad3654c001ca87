#include "phonesim/Phone.h"

#include <algorithm>
#include <stdexcept>

#include "phonesim/Executor.h"
#include "phonesim/LineQueue.h"
#include "phonesim/Text.h"

namespace phonesim {

namespace {

constexpr std::uint64_t kNsPerMs = 1'000'000;
constexpr char kCtrlZ = 0x1A;
constexpr char kEsc = 0x1B;
constexpr char kBackspace = 0x08;

struct ActiveFault {
    Fault fault;
    int skipLeft = 0;
    int hitsLeft = 0;    // below 0: unlimited
    bool fired = false;  // timed events happen once
};

}  // namespace

struct Phone::Impl {
    Impl() : executor(state, sent) {}

    PhoneState state;
    Timing timing;
    std::vector<SentMessage> sent;
    Executor executor;
    LineQueue line;
    std::vector<ActiveFault> faults;
    std::vector<TranscriptEntry> transcript;
    std::string commandBuffer;
    std::string pduBuffer;
    std::string promptCommand;  // the command line that opened the prompt
    bool overflow = false;
    std::optional<std::uint64_t> downAtMs;

    void Load(const Profile& profile) {
        state = profile.state;
        timing = profile.timing;
        executor.SetPowerOnSettings(state);
        executor.Reset();
        line.SetBaud(timing.baud);
        line.Clear();
        faults.clear();
        for (const Fault& f : profile.faults)
            AddFault(f);
        transcript.clear();
        sent.clear();
        commandBuffer.clear();
        pduBuffer.clear();
        overflow = false;
        downAtMs.reset();
    }

    void AddFault(const Fault& f) {
        ActiveFault active;
        active.fault = f;
        active.skipLeft = std::max(0, f.skip);
        active.hitsLeft = f.times <= 0 ? -1 : f.times;
        faults.push_back(active);
    }

    bool IsTimed(const Fault& f) const {
        return f.command.empty() && f.atMs &&
               (f.action == Fault::Action::Unsolicited || f.action == Fault::Action::Drop);
    }

    bool Down(std::uint64_t nowMs) const { return downAtMs && nowMs >= *downAtMs; }

    // Carries out the scripted events due by `untilMs`, in time order.
    void Advance(std::uint64_t untilMs) {
        while (true) {
            ActiveFault* next = nullptr;
            for (ActiveFault& a : faults) {
                if (!a.fired && IsTimed(a.fault) && *a.fault.atMs <= untilMs &&
                    (!next || *a.fault.atMs < *next->fault.atMs)) {
                    next = &a;
                }
            }
            if (!next)
                break;
            next->fired = true;
            const std::uint64_t at = *next->fault.atMs;
            if (Down(at))
                continue;
            if (next->fault.action == Fault::Action::Drop) {
                downAtMs = at;
            } else {
                line.Send("\r\n" + next->fault.bytes + "\r\n", at * kNsPerMs);
            }
        }
        std::erase_if(faults, [](const ActiveFault& a) { return a.fired; });
    }

    // The first command fault for this line (or this PDU step) that is due, used up by one hit.
    std::optional<Fault> TakeFault(const std::string& commandLine, bool pduStep,
                                   std::uint64_t nowMs) {
        for (auto it = faults.begin(); it != faults.end(); ++it) {
            const Fault& f = it->fault;
            if (IsTimed(f) || f.pdu != pduStep)
                continue;
            if (f.atMs && nowMs < *f.atMs)
                continue;
            if (!StartsWithIgnoringCase(commandLine, f.command))
                continue;
            if (it->skipLeft > 0) {
                --it->skipLeft;
                continue;
            }
            Fault hit = f;
            if (it->hitsLeft > 0 && --it->hitsLeft == 0)
                faults.erase(it);
            return hit;
        }
        return std::nullopt;
    }

    std::uint32_t LatencyFor(const std::string& commandLine) const {
        std::uint32_t latency = timing.latencyMs;
        std::size_t best = 0;
        for (const auto& [prefix, ms] : timing.commandLatencyMs) {
            if (prefix.size() >= best && StartsWithIgnoringCase(commandLine, prefix)) {
                best = prefix.size();
                latency = ms;
            }
        }
        return latency;
    }

    // Sends an answer after the latency, as the fault (if any) shapes it.
    void Answer(std::string answer, const std::optional<Fault>& fault, std::uint32_t latencyMs,
                std::uint64_t nowMs) {
        const std::uint64_t readyMs = nowMs + latencyMs;
        Advance(readyMs);
        if (Down(readyMs))
            return;
        if (fault && fault->action == Fault::Action::Corrupt) {
            const std::size_t at =
                std::min(fault->offset.value_or(answer.size() / 2), answer.size());
            answer.insert(at, fault->bytes.empty() ? std::string("\xFF") : fault->bytes);
        }
        std::uint64_t endNs = 0;
        if (fault && fault->action == Fault::Action::Pause) {
            const std::size_t at =
                std::min(fault->offset.value_or(answer.size() / 2), answer.size());
            endNs = line.Send(std::string_view(answer).substr(0, at), readyMs * kNsPerMs);
            endNs = line.Send(std::string_view(answer).substr(at),
                              std::max(endNs, readyMs * kNsPerMs) + fault->pauseMs * kNsPerMs);
        } else {
            endNs = line.Send(answer, readyMs * kNsPerMs);
        }
        if (fault && fault->action == Fault::Action::Unsolicited) {
            line.Send("\r\n" + fault->bytes + "\r\n", std::max(endNs, readyMs * kNsPerMs));
        }
    }

    // Returns false when the link dropped on this line.
    bool CompleteLine(std::string& echo, std::uint64_t nowMs) {
        const std::string text = commandBuffer;
        const bool tooLong = overflow;
        commandBuffer.clear();
        overflow = false;
        if (Trim(text).empty()) {
            Flush(echo, nowMs);
            return true;
        }
        transcript.push_back({nowMs, text, false});
        const std::optional<Fault> fault = TakeFault(text, false, nowMs);
        if (fault && fault->action == Fault::Action::Silent) {
            echo.clear();
            return true;
        }
        if (fault && fault->action == Fault::Action::Drop) {
            Flush(echo, nowMs);
            downAtMs = nowMs;
            return false;
        }
        Flush(echo, nowMs);
        std::string answer;
        if (fault && fault->action == Fault::Action::Error) {
            answer = "\r\nERROR\r\n";
        } else if (fault && fault->action == Fault::Action::Reply) {
            answer = fault->bytes;
        } else if (tooLong) {
            answer = "\r\nERROR\r\n";
        } else {
            answer = executor.ExecuteLine(text, nowMs);
            if (executor.AwaitingPdu())
                promptCommand = text;
        }
        Answer(std::move(answer), fault, LatencyFor(text), nowMs);
        return true;
    }

    bool CompletePdu(bool cancelled, std::string& echo, std::uint64_t nowMs) {
        const std::string text = pduBuffer;
        pduBuffer.clear();
        Flush(echo, nowMs);
        transcript.push_back({nowMs, text, true});
        if (cancelled) {
            Answer(executor.CancelPdu(), std::nullopt, LatencyFor(promptCommand), nowMs);
            return true;
        }
        const std::optional<Fault> fault = TakeFault(promptCommand, true, nowMs);
        if (fault && fault->action == Fault::Action::Silent) {
            executor.Reset();
            return true;
        }
        if (fault && fault->action == Fault::Action::Drop) {
            executor.Reset();
            downAtMs = nowMs;
            return false;
        }
        std::string answer;
        if (fault && fault->action == Fault::Action::Error) {
            executor.Reset();
            answer = "\r\nERROR\r\n";
        } else if (fault && fault->action == Fault::Action::Reply) {
            executor.Reset();
            answer = fault->bytes;
        } else {
            answer = executor.SubmitPdu(text, nowMs);
        }
        Answer(std::move(answer), fault, LatencyFor(promptCommand), nowMs);
        return true;
    }

    bool InString() const {
        return std::count(commandBuffer.begin(), commandBuffer.end(), '"') % 2 == 1;
    }

    void Flush(std::string& echo, std::uint64_t nowMs) {
        if (!echo.empty())
            line.Send(echo, nowMs * kNsPerMs);
        echo.clear();
    }

    void Receive(std::string_view bytes, std::uint64_t nowMs) {
        Advance(nowMs);
        if (Down(nowMs))
            return;
        std::string echo;
        for (char c : bytes) {
            if (executor.AwaitingPdu()) {
                if (c == kCtrlZ || c == kEsc) {
                    if (!CompletePdu(c == kEsc, echo, nowMs))
                        return;
                } else if (c != '\r' && c != '\n') {
                    if (state.echo)
                        echo += c;
                    if (pduBuffer.size() <= Executor::kMaxPduText)
                        pduBuffer += c;
                }
                continue;
            }
            if (state.echo)
                echo += c;
            if (c == '\r') {
                if (!CompleteLine(echo, nowMs))
                    return;
            } else if (c == kBackspace) {
                if (!commandBuffer.empty())
                    commandBuffer.pop_back();
            } else if (static_cast<unsigned char>(c) < 0x20 && !InString()) {
                // Control characters outside a string (the LF of a terminal's CR LF, a stray
                // Ctrl-Z or Esc) are no part of a command; inside one they may be GSM codes.
            } else if (commandBuffer.size() < Executor::kMaxPduText) {
                commandBuffer += c;
            } else {
                overflow = true;
            }
        }
        Flush(echo, nowMs);
    }
};

Phone::Phone() : Phone(ShippedProfile("default")) {}

Phone::Phone(const Profile& profile) : impl_(std::make_unique<Impl>()) {
    impl_->Load(profile);
}

Phone::~Phone() = default;
Phone::Phone(Phone&&) noexcept = default;
Phone& Phone::operator=(Phone&&) noexcept = default;

void Phone::Load(const Profile& profile) {
    impl_->Load(profile);
}
void Phone::LoadJson(const std::string& json) {
    Load(ProfileFromJson(json));
}
void Phone::LoadFile(const std::string& path) {
    Load(LoadProfileFile(path));
}
void Phone::LoadShipped(const std::string& name) {
    Load(ShippedProfile(name));
}

Profile Phone::ToProfile() const {
    Profile profile;
    profile.state = impl_->state;
    profile.timing = impl_->timing;
    for (const ActiveFault& a : impl_->faults) {
        Fault f = a.fault;
        f.skip = a.skipLeft;
        f.times = a.hitsLeft < 0 ? 0 : a.hitsLeft;
        profile.faults.push_back(f);
    }
    return profile;
}

void Phone::Receive(std::string_view bytes, std::uint64_t nowMs) {
    impl_->Receive(bytes, nowMs);
}

std::string Phone::Read(std::uint64_t nowMs, std::size_t max) {
    impl_->Advance(nowMs);
    if (impl_->Down(nowMs))
        return "";
    return impl_->line.Take(nowMs * kNsPerMs, max);
}

std::size_t Phone::Purge(std::uint64_t nowMs) {
    impl_->Advance(nowMs);
    return impl_->line.Discard(nowMs * kNsPerMs);
}

std::size_t Phone::Arrived(std::uint64_t nowMs) {
    impl_->Advance(nowMs);
    return impl_->Down(nowMs) ? 0 : impl_->line.Arrived(nowMs * kNsPerMs);
}

std::size_t Phone::OnTheLine(std::uint64_t nowMs) {
    impl_->Advance(nowMs);
    return impl_->line.Pending(nowMs * kNsPerMs);
}

bool Phone::LinkUp(std::uint64_t nowMs) {
    impl_->Advance(nowMs);
    return !impl_->Down(nowMs);
}

std::optional<std::uint64_t> Phone::NextChangeMs(std::uint64_t nowMs) {
    impl_->Advance(nowMs);
    std::optional<std::uint64_t> next;
    if (impl_->line.Pending(nowMs * kNsPerMs) > 0 || impl_->line.Arrived(nowMs * kNsPerMs) > 0) {
        const std::uint64_t ns = impl_->line.NextArrivalNs();
        next = (ns + kNsPerMs - 1) / kNsPerMs;
    }
    for (const ActiveFault& a : impl_->faults) {
        if (impl_->IsTimed(a.fault) && !a.fired && (!next || *a.fault.atMs < *next)) {
            next = *a.fault.atMs;
        }
    }
    if (impl_->downAtMs && *impl_->downAtMs > nowMs && (!next || *impl_->downAtMs < *next)) {
        next = impl_->downAtMs;
    }
    return next;
}

void Phone::DropLink(std::uint64_t nowMs) {
    if (!impl_->downAtMs || *impl_->downAtMs > nowMs)
        impl_->downAtMs = nowMs;
}

void Phone::RestoreLink() {
    impl_->downAtMs.reset();
    impl_->line.Clear();
    impl_->commandBuffer.clear();
    impl_->pduBuffer.clear();
    impl_->executor.Reset();
}

void Phone::SetLatency(std::uint32_t ms) {
    impl_->timing.latencyMs = ms;
}

void Phone::SetCommandLatency(const std::string& prefix, std::uint32_t ms) {
    impl_->timing.commandLatencyMs[prefix] = ms;
}

void Phone::SetBaud(std::uint32_t baud) {
    impl_->timing.baud = baud;
    impl_->line.SetBaud(baud);
}

const Timing& Phone::GetTiming() const {
    return impl_->timing;
}
void Phone::AddFault(const Fault& fault) {
    impl_->AddFault(fault);
}
void Phone::ClearFaults() {
    impl_->faults.clear();
}

PhoneState& Phone::State() {
    return impl_->state;
}
const PhoneState& Phone::State() const {
    return impl_->state;
}

PhonebookMemory& Phone::Phonebook(const std::string& name) {
    PhonebookMemory* memory = impl_->state.FindPhonebook(name);
    if (!memory)
        throw std::out_of_range("no phone book memory " + name);
    return *memory;
}

SmsStorage& Phone::Storage(const std::string& name) {
    SmsStorage* storage = impl_->state.FindStorage(name);
    if (!storage)
        throw std::out_of_range("no message storage " + name);
    return *storage;
}

const std::vector<TranscriptEntry>& Phone::Transcript() const {
    return impl_->transcript;
}

std::vector<std::string> Phone::CommandLines() const {
    std::vector<std::string> lines;
    for (const TranscriptEntry& e : impl_->transcript)
        lines.push_back(e.line);
    return lines;
}

void Phone::ClearTranscript() {
    impl_->transcript.clear();
}
const std::vector<SentMessage>& Phone::Sent() const {
    return impl_->sent;
}

}  // namespace phonesim
