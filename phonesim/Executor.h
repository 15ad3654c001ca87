#pragma once
// Carries out command lines against the phone's state and frames the answers as a phone
// does: "\r\n" info lines "\r\n", then "\r\nOK\r\n" or an error result code.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "phonesim/AtCommand.h"
#include "phonesim/PhoneState.h"

namespace phonesim {

struct SentMessage;

class Executor {
public:
    Executor(PhoneState& state, std::vector<SentMessage>& sent);

    // The settings ATZ and AT&F go back to (those of the loaded profile).
    void SetPowerOnSettings(const PhoneState& settings);

    // The answer to one command line (without its CR); "" for a line that is no command.
    std::string ExecuteLine(std::string_view line, std::uint64_t nowMs);
    // After AT+CMGS/AT+CMGW answered with the "> " prompt, until Ctrl-Z or Esc.
    bool AwaitingPdu() const { return pending_.active; }
    std::string SubmitPdu(std::string_view text, std::uint64_t nowMs);
    std::string CancelPdu();
    // Back to command state, as after the link was re-established.
    void Reset() { pending_ = {}; }

    // Longest text the phone keeps between a prompt and Ctrl-Z, and on a command line.
    static constexpr std::size_t kMaxPduText = 1024;

private:
    struct Result {
        enum class Kind { Ok, Error, Cme, Cms, Prompt };
        Kind kind = Kind::Ok;
        int code = 0;
    };
    using Lines = std::vector<std::string>;

    static Result Ok() { return {}; }
    static Result Error() { return {Result::Kind::Error, 0}; }
    static Result Cme(int code) { return {Result::Kind::Cme, code}; }
    static Result Cms(int code) { return {Result::Kind::Cms, code}; }
    static Result Prompt() { return {Result::Kind::Prompt, 0}; }

    std::string FormatInfo(const Lines& lines) const;
    std::string FormatFinal(const Result& result) const;

    Result Run(const AtCommand& command, Lines& out, std::uint64_t nowMs);
    Result RunBasic(const AtCommand& command, Lines& out);
    Result RunGeneral(const AtCommand& command, Lines& out, bool& handled);
    Result RunPhonebook(const AtCommand& command, Lines& out, bool& handled);
    Result RunSms(const AtCommand& command, Lines& out, bool& handled, std::uint64_t nowMs);

    // Phone book commands.
    Result SelectPhonebook(const AtCommand& command, Lines& out);
    Result ReadPhonebook(const AtCommand& command, Lines& out);
    Result WritePhonebook(const AtCommand& command, Lines& out);
    Result FindPhonebook(const AtCommand& command, Lines& out);
    std::string EntryLine(const char* prefix, int index, const PhonebookEntry& entry) const;

    // SMS commands.
    Result SelectStorages(const AtCommand& command, Lines& out);
    Result ServiceCentre(const AtCommand& command, Lines& out);
    Result ListMessages(const AtCommand& command, Lines& out);
    Result ReadMessage(const AtCommand& command, Lines& out);
    Result StartPdu(const AtCommand& command, bool store);
    Result SendStored(const AtCommand& command, Lines& out, std::uint64_t nowMs);
    Result DeleteMessages(const AtCommand& command, Lines& out);
    Result NewMessageIndications(const AtCommand& command, Lines& out);
    SmsStorage* StorageOf(int which);  // 0 read/delete, 1 write/send, 2 receive
    int NextReference();

    struct PendingPdu {
        bool active = false;
        bool store = false;  // AT+CMGW rather than AT+CMGS
        int length = 0;
        int status = kStoredUnsent;
    };

    PhoneState& state_;
    std::vector<SentMessage>& sent_;
    PhoneState powerOn_;
    PendingPdu pending_;
};

}  // namespace phonesim
