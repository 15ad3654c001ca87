#include "link/PortProbe.h"

#include <string_view>
#include <vector>

#include "link/PortOpening.h"
#include "platform/Win32.h"
#include "text/Trim.h"

using namespace platform;

namespace ports {

namespace {

constexpr std::size_t kMostBytes = 4096;
constexpr DWORD kPollMs = 5;

bool IsFinal(std::string_view line) {
    return line == "OK" || line == "ERROR" || line.starts_with("+CME ERROR") ||
           line.starts_with("+CMS ERROR");
}

std::vector<std::string> Lines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::string line;
    for (char c : bytes) {
        if (c == '\r' || c == '\n') {
            if (!line.empty())
                lines.push_back(line);
            line.clear();
        } else {
            line += c;
        }
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

bool Printable(const std::string& line) {
    for (unsigned char c : line) {
        if (c < 0x20 || c == 0x7F)
            return false;
    }
    return true;
}

// The answer's lines without the echo and the final result; false when no final OK came in time
// (silence, garbage, an endless stream, or ERROR).
bool Ask(HANDLE port, const std::string& command, DWORD boundMs, std::vector<std::string>& answer) {
    answer.clear();
    PurgeComm(port, PURGE_TXCLEAR | PURGE_RXCLEAR);
    const std::string line = command + "\r";
    DWORD written = 0;
    if (!WriteFile(port, reinterpret_cast<const BYTE*>(line.data()),
                   static_cast<DWORD>(line.size()), &written, nullptr) ||
        written != line.size())
        return false;
    std::string received;
    const DWORD start = GetTickCount();
    while (received.size() < kMostBytes) {
        BYTE chunk[256];
        DWORD got = 0;
        if (!ReadFile(port, chunk, sizeof chunk, &got, nullptr))
            return false;
        received.append(reinterpret_cast<const char*>(chunk), got);
        for (const std::string& l : Lines(received)) {
            if (!IsFinal(l))
                continue;
            if (l != "OK")
                return false;
            for (const std::string& a : Lines(received)) {
                if (IsFinal(a))
                    break;
                if (a != command && Printable(a))
                    answer.push_back(a);
            }
            return true;
        }
        if (GetTickCount() - start >= boundMs)
            return false;
        if (got == 0)
            Sleep(kPollMs);
    }
    return false;
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& l : lines)
        text += (text.empty() ? "" : "; ") + l;
    return text;
}

}  // namespace

ProbeResult Probe(const std::u16string& name, DWORD boundMs) {
    ProbeResult result;
    const HANDLE port = OpenPort(name, result.failure);
    if (port == INVALID_HANDLE_VALUE)
        return result;
    result.opened = true;
    // The link's own line settings, without its messages: a probe says nothing in boxes.
    DCB dcb;
    dcb.DCBlength = sizeof(DCB);
    if (GetCommState(port, &dcb)) {
        dcb.BaudRate = 9600;
        dcb.ByteSize = 8;
        dcb.Parity = NOPARITY;
        dcb.StopBits = ONESTOPBIT;
        SetCommState(port, &dcb);
    }
    COMMTIMEOUTS timeouts{};
    GetCommTimeouts(port, &timeouts);
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.ReadTotalTimeoutMultiplier = 0;
    timeouts.ReadTotalTimeoutConstant = 0;
    timeouts.WriteTotalTimeoutMultiplier = 10;
    timeouts.WriteTotalTimeoutConstant = 1000;
    SetCommTimeouts(port, &timeouts);

    std::vector<std::string> answer;
    result.answered = Ask(port, "AT", boundMs, answer);
    if (result.answered) {
        if (Ask(port, "ATI", boundMs, answer)) {
            result.identity = Joined(answer);
            // As the session decides it: "Nokia", in that case, anywhere in the answer.
            result.nokia = result.identity.find("Nokia") != std::string::npos ? 1 : 0;
        }
        if (Ask(port, "AT+CGMI", boundMs, answer)) {
            std::string maker = Joined(answer);
            if (maker.starts_with("+CGMI:"))
                maker.erase(0, 6);
            maker = std::string(text::TrimStart(maker, " "));
            if (maker.size() >= 2 && maker.front() == '"' && maker.back() == '"')
                maker = maker.substr(1, maker.size() - 2);
            result.maker = maker;
        }
    }
    CloseHandle(port);
    return result;
}

std::string ProbeSummary(const ProbeResult& result) {
    if (!result.opened)
        return "not opened";
    if (!result.answered)
        return "no answer";
    const std::string maker = result.maker.empty() ? result.identity : result.maker;
    if (result.nokia == 1)
        return "Nokia" + (maker.empty() ? "" : " (" + maker + ")");
    return "phone, not Nokia" + (maker.empty() ? "" : " (" + maker + ")");
}

}  // namespace ports
