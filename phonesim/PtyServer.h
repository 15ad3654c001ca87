#pragma once
// The simulated phone on a pseudo-terminal, in real time: what a program writes to the
// terminal's slave side (e.g. /dev/pts/3) reaches the phone, and the phone's answers come back
// paced at its line speed. The server runs on a thread of its own and owns the phone while it
// runs.

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

#include "phonesim/Phone.h"

namespace phonesim {

class PtyServer {
public:
    explicit PtyServer(Phone& phone);
    ~PtyServer();
    PtyServer(const PtyServer&) = delete;
    PtyServer& operator=(const PtyServer&) = delete;

    // Creates the pseudo-terminal (raw, so that bytes pass untouched). False with `error` set
    // when the system refuses.
    bool Open(std::string& error);
    // "/dev/pts/N" once open.
    const std::string& SlavePath() const { return slavePath_; }
    void Start();
    // Stops the thread and closes the terminal; the phone may be used again afterwards.
    void Stop();
    // True once the scripted link drop has happened (the terminal is then hung up).
    bool LinkDropped() const { return dropped_; }
    // Bytes that went to the program on the terminal, and that came from it.
    std::uint64_t BytesToHost() const { return toHost_; }
    std::uint64_t BytesFromHost() const { return fromHost_; }

private:
    void Loop();
    std::uint64_t NowMs() const;
    void CloseAll();

    Phone& phone_;
    int master_ = -1;
    int slave_ = -1;  // kept open so the master never sees a hang-up between clients
    int wake_[2] = {-1, -1};
    std::string slavePath_;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> dropped_{false};
    std::atomic<std::uint64_t> toHost_{0};
    std::atomic<std::uint64_t> fromHost_{0};
    std::uint64_t startMs_ = 0;
};

}  // namespace phonesim
