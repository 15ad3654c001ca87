#pragma once
// Asks a port whether a phone answers there: "AT", "ATI" and "AT+CGMI", each bounded in time
// and in length, none of them changing anything on the phone. Used by "halvex-cli ports
// --probe" and the window's port chooser.

#include <string>

#include "platform/Host.h"
#include "platform/Win32Types.h"

namespace ports {

struct ProbeResult {
    bool opened = false;
    platform::PortFailure failure;  // when it did not open
    bool answered = false;          // "AT" had its OK
    std::string identity;           // "ATI"'s lines, joined by "; "
    std::string maker;              // "AT+CGMI"'s answer
    // The session's maker detection on "ATI": 1 Nokia, 0 another maker, -1 no answer.
    int nokia = -1;
};

// Each command gets at most `boundMs` for its answer and at most 4 KB of it.
ProbeResult Probe(const std::u16string& name, platform::DWORD boundMs = 1500);

// "Nokia 6310i", "other maker (Quectel)", "no answer", or why the port did not open.
std::string ProbeSummary(const ProbeResult& result);

}  // namespace ports
