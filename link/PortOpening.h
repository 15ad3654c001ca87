#pragma once
// Finding and opening the phone's port, for the window and halvex-cli alike: the "Port" value
// as it stands, the one place that opens the port, and the words that tell a user why it did not
// open and what to do about it.

#include <string>

#include "platform/Host.h"
#include "platform/PortSurvey.h"
#include "platform/Win32Types.h"

namespace ports {

inline constexpr const char16_t* kPortKey = u"ExtModems\\Bluetooth";
inline constexpr const char16_t* kPortValue = u"Port";

// "Port" under HKEY_LOCAL_MACHINE\ExtModems\Bluetooth, whole, as the settings file holds it at
// this moment (it may have been changed by another program since start-up); "" when unset. A
// port named for this run and not yet opened comes first.
std::u16string ReadPortName();
// Stores "Port" (and drops a port named for this run); false when the settings cannot be
// written.
bool StorePortName(const std::u16string& name);

// Opens the port; INVALID_HANDLE_VALUE, with the reason in `why`, when it does not open. A name
// that is no device name is refused before anything is opened.
platform::HANDLE OpenPort(const std::u16string& name, platform::PortFailure& why);

// The lines that follow "Open port error": the port's name and what a user can do.
std::u16string ExplainFailure(const std::u16string& name, const platform::PortFailure& why);
// One holder as a user knows it: "ModemManager (process 712)", "another Halvex (process 9)".
std::string HolderText(const platform::PortHolder& holder);
// A port's state in a few words: "free", "held by ModemManager (process 712)", "no permission
// (group dialout)", "not a serial device", "missing"; a pseudo-terminal is "made by" the program
// that keeps its other end.
std::string StateText(const platform::SerialPortInfo& port);
// "Quectel EG25 (if02)", "Bluetooth", "pseudo-terminal", or "".
std::string DeviceText(const platform::SerialPortInfo& port);
// Whether a holder is ModemManager.
bool IsModemManager(const platform::PortHolder& holder);

// UTF-8 and back, for the names the system gives: what is not UTF-8 becomes '?', a name that is
// not UTF-8 keeps its ASCII, and a lone surrogate goes there and back unchanged.
std::u16string Widen(const std::string& text);
std::string Narrow(const std::u16string& text);

}  // namespace ports
