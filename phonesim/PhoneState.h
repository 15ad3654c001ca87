#pragma once
// What the simulated phone holds: the contents of a profile, and the settings the AT commands
// change while it runs. Tests read and change it through phonesim::Phone::state().

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "phonesim/Charset.h"

namespace phonesim {

struct Identity {
    std::string maker = "Halvex Mobile";
    std::string model = "HM-100";
    std::string revision = "1.00";
    std::string serial = "350000000000000";
    std::string imsi = "234150000000000";
};

struct PhonebookEntry {
    std::string number;   // dial string as stored, e.g. "+447700900123"
    int type = 129;       // 129 national/unknown, 145 international
    std::u16string name;  // e.g. u"Ann/M"
};

struct PhonebookMemory {
    std::string name;  // "ME", "SM", ...
    int capacity = 0;  // indices 1..capacity
    int numberLength = 40;
    int textLength = 40;
    std::map<int, PhonebookEntry> entries;  // by index

    int Used() const { return static_cast<int>(entries.size()); }
    // The lowest index without an entry, or 0 when full.
    int FirstFree() const;
};

// 3GPP TS 27.005 message status.
enum MessageStatus : int {
    kReceivedUnread = 0,
    kReceivedRead = 1,
    kStoredUnsent = 2,
    kStoredSent = 3
};

struct SmsMessage {
    int status = kReceivedRead;
    std::string pdu;  // upper-case hex, service-centre field first
};

struct SmsStorage {
    std::string name;                    // "SM", "ME"
    int capacity = 0;                    // indices 1..capacity
    std::map<int, SmsMessage> messages;  // by index

    int Used() const { return static_cast<int>(messages.size()); }
    int FirstFree() const;
};

struct PhoneState {
    Identity identity;
    bool echo = true;
    bool verbose = true;  // ATV1: worded result codes framed with CR LF
    bool quiet = false;   // ATQ1: no result codes
    int cmee = 0;         // AT+CMEE: 0 plain ERROR, 1 numeric, 2 worded
    std::string charset = "IRA";
    // The sets AT+CSCS lists and takes, by their names; empty for every set the phone knows.
    std::vector<std::string> charsets;

    std::vector<PhonebookMemory> phonebooks;
    std::string phonebook = "ME";  // selected with AT+CPBS

    std::vector<SmsStorage> storages;
    // AT+CPMS: read/delete, write/send, receive.
    std::array<std::string, 3> selectedStorages = {"ME", "ME", "ME"};
    std::string serviceCentre = "+447802000332";
    int serviceCentreType = 145;
    int messageReference = 0;  // last TP-MR given out, 0..255
    std::array<int, 5> cnmi = {0, 0, 0, 0, 0};

    // nullptr when there is no such memory or storage (names compare case-insensitively).
    PhonebookMemory* FindPhonebook(const std::string& name);
    const PhonebookMemory* FindPhonebook(const std::string& name) const;
    // Whether AT+CSCS lists and takes the set.
    bool Offers(Charset charset) const;
    SmsStorage* FindStorage(const std::string& name);
    const SmsStorage* FindStorage(const std::string& name) const;
};

}  // namespace phonesim
