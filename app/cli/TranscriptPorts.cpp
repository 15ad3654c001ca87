#include "app/cli/TranscriptPorts.h"

#include <cstdio>

#include "app/Utf8Text.h"

using namespace platform;

namespace cli {

namespace {

class RecordingDevice : public SerialDevice {
public:
    RecordingDevice(std::unique_ptr<SerialDevice> inner, Transcript& transcript)
        : inner_(std::move(inner)), transcript_(transcript) {}

    bool GetState(DCB& dcb) override { return inner_->GetState(dcb); }
    bool SetState(const DCB& dcb) override { return inner_->SetState(dcb); }
    bool GetTimeouts(COMMTIMEOUTS& t) override { return inner_->GetTimeouts(t); }
    bool SetTimeouts(const COMMTIMEOUTS& t) override { return inner_->SetTimeouts(t); }
    bool EscapeFunction(DWORD function) override { return inner_->EscapeFunction(function); }
    bool Purge(DWORD flags) override { return inner_->Purge(flags); }
    bool Flush() override { return inner_->Flush(); }
    bool ClearError(DWORD& errors) override { return inner_->ClearError(errors); }
    bool Read(BYTE* buffer, DWORD capacity, DWORD& read) override {
        return inner_->Read(buffer, capacity, read);
    }

    bool Write(const BYTE* data, DWORD size, DWORD& written) override {
        Clock* clock = CurrentHost().clock;
        const std::uint64_t now = clock != nullptr ? clock->NowMs() : 0;
        const bool ok = inner_->Write(data, size, written);
        // Only what went out is part of the conversation.
        transcript_.Record(data, written <= size ? written : size, now);
        return ok;
    }

private:
    std::unique_ptr<SerialDevice> inner_;
    Transcript& transcript_;
};

}  // namespace

void Transcript::Record(const BYTE* data, DWORD size, std::uint64_t timeMs) {
    for (DWORD i = 0; i < size; ++i) {
        if (!hasPending_) {
            pending_ = WrittenLine{timeMs, {}};
            hasPending_ = true;
        }
        if (data[i] == '\r') {
            lines_.push_back(std::move(pending_));
            pending_ = WrittenLine{};
            hasPending_ = false;
        } else {
            pending_.bytes.push_back(static_cast<char>(data[i]));
        }
    }
}

std::vector<WrittenLine> Transcript::Lines() const {
    std::vector<WrittenLine> lines = lines_;
    if (hasPending_) {
        lines.push_back(pending_);
    }
    return lines;
}

void Transcript::Print(std::ostream& out, std::uint64_t startMs) const {
    for (const WrittenLine& line : Lines()) {
        const std::uint64_t ms = line.timeMs >= startMs ? line.timeMs - startMs : 0;
        char seconds[32];
        std::snprintf(seconds, sizeof seconds, "%4llu.%03u",
                      static_cast<unsigned long long>(ms / 1000), static_cast<unsigned>(ms % 1000));
        out << seconds << "  " << app::Printable(line.bytes) << '\n';
    }
    out << std::flush;
}

std::unique_ptr<SerialDevice> TranscriptPorts::Open(const std::u16string& name) {
    std::unique_ptr<SerialDevice> device = inner_.Open(name);
    if (!device) {
        return nullptr;
    }
    return std::make_unique<RecordingDevice>(std::move(device), transcript_);
}

}  // namespace cli
