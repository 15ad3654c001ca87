#pragma once
// A GSM phone answering AT commands as 3GPP TS 27.007/27.005 phones do (SMS in PDU mode).
//
// The engine has no transport: a transport hands it the bytes the host wrote, with the time,
// and asks which answer bytes have arrived by a given time. Times are milliseconds of whatever
// clock the transport uses (virtual in tests). The phone hears a write at once; its answers
// leave after the command's latency and travel at the line speed, one byte in 10 bits.
//
//   phonesim::Phone phone(phonesim::ShippedProfile("nokia"));
//   phone.Receive("ATI\r", 0);
//   phone.Read(1000);   // "ATI\r\r\nNokia\r\nNokia 6310i\r\nV 5.10\r\n\r\nOK\r\n"
//
// Not thread-safe: one transport drives it from one thread.

#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "phonesim/Fault.h"
#include "phonesim/PhoneState.h"
#include "phonesim/Profile.h"

namespace phonesim {

struct TranscriptEntry {
    std::uint64_t timeMs = 0;  // when its final CR (or the Ctrl-Z/Esc of a PDU) arrived
    std::string line;          // without the CR; a PDU without Ctrl-Z/Esc
    bool pdu = false;          // text entered at the "> " prompt
};

// A message that went out to the network, by AT+CMGS or AT+CMSS.
struct SentMessage {
    std::uint64_t timeMs = 0;
    std::string pdu;  // as the host gave it (AT+CMGS) or as stored (AT+CMSS)
    int reference = 0;
    int storedIndex = -1;  // AT+CMSS: the index it was sent from
};

class Phone {
public:
    // The shipped "default" profile.
    Phone();
    explicit Phone(const Profile& profile);
    ~Phone();
    Phone(Phone&&) noexcept;
    Phone& operator=(Phone&&) noexcept;
    Phone(const Phone&) = delete;
    Phone& operator=(const Phone&) = delete;

    // Replaces state, timing and faults; clears the line, the transcript and the sent list.
    void Load(const Profile& profile);
    void LoadJson(const std::string& json);     // throws ProfileError
    void LoadFile(const std::string& path);     // throws ProfileError
    void LoadShipped(const std::string& name);  // throws ProfileError
    // The current state, timing and pending faults, ready to save.
    Profile ToProfile() const;

    // --- Transport side ---------------------------------------------------------------
    // Bytes the host wrote, heard at `nowMs`. Ignored while the link is down.
    void Receive(std::string_view bytes, std::uint64_t nowMs);
    // Takes up to `max` bytes that have arrived at the host by `nowMs`.
    std::string Read(std::uint64_t nowMs,
                     std::size_t max = std::numeric_limits<std::size_t>::max());
    // Discards what has arrived by `nowMs`; bytes still on the line arrive later. Returns the
    // count dropped.
    std::size_t Purge(std::uint64_t nowMs);
    std::size_t Arrived(std::uint64_t nowMs);    // readable now
    std::size_t OnTheLine(std::uint64_t nowMs);  // sent or scheduled, not yet arrived
    // False once the link has dropped (by DropLink or a Drop fault due by `nowMs`).
    bool LinkUp(std::uint64_t nowMs);
    // The next moment something changes for the host (a byte arrives, a scripted event is
    // due), if any; for transports that pace in real time.
    std::optional<std::uint64_t> NextChangeMs(std::uint64_t nowMs);
    void DropLink(std::uint64_t nowMs);
    // Brings the link back up with an empty line (the phone keeps its state).
    void RestoreLink();

    // --- Timing and faults ---------------------------------------------------------------
    void SetLatency(std::uint32_t ms);
    // `prefix` is a case-insensitive prefix of the command line; the longest match wins.
    void SetCommandLatency(const std::string& prefix, std::uint32_t ms);
    void SetBaud(std::uint32_t baud);  // 0: no line delay
    const Timing& GetTiming() const;
    void AddFault(const Fault& fault);
    void ClearFaults();

    // --- State -----------------------------------------------------------------------------
    PhoneState& State();
    const PhoneState& State() const;
    // Throw std::out_of_range for a memory or storage the phone does not have.
    PhonebookMemory& Phonebook(const std::string& name);
    SmsStorage& Storage(const std::string& name);

    // --- What happened ---------------------------------------------------------------------
    const std::vector<TranscriptEntry>& Transcript() const;
    std::vector<std::string> CommandLines() const;  // the transcript's lines, PDUs included
    void ClearTranscript();
    const std::vector<SentMessage>& Sent() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace phonesim
