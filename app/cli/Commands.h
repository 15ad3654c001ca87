#pragma once
// The commands of halvex-cli, run on a connected session. Each returns the exit status.

#include <ostream>
#include <string>

#include "app/cli/Arguments.h"
#include "app/cli/backup/ContactCard.h"
#include "app/cli/backup/SmsArchive.h"
#include "link/PhoneSession.h"
#include "phonebook/PhoneBookEditor.h"
#include "phonebook/PhoneBooks.h"
#include "sms/SmsEngine.h"

namespace cli {

enum ExitStatus : int {
    kExitOk = 0,
    kExitFailed = 1,        // the phone or the link failed
    kExitBadArguments = 2,  // with one line saying what is wrong
};

struct Context {
    const Options& options;
    CPhoneSession& session;
    CPhoneBooks& books;
    CSmsEngine& engine;
    std::ostream& out;  // results
    std::ostream& err;  // "halvex-cli: ..." lines
    phone::Kind kind;   // found at connecting
    // What an import restores, read whole before the phone was connected.
    const backup::CardFile* cards = nullptr;
    const backup::MessageArchive* messages = nullptr;
};

int RunIdentify(Context& context);
// The serial ports here (and those given), with --probe what answers on each; no session.
int RunPorts(const Options& options, std::ostream& out, std::ostream& err);
int RunPhonebook(Context& context);
int RunSms(Context& context);
// The compose dialog's checks of `sms send`, made before connecting; false after its message
// (and, for a number, what a valid one is).
bool SendAccepted(const Options& options, CSmsEngine& engine, CPhoneSession& session,
                  std::ostream& err);

// LoadBook of the memory; false, with the reason told, when the phone book was not read.
bool ReadMemory(Context& context);
// Why a number of the last save is not on the phone as the save meant it: "" once the phone
// confirmed it, else "no free place in the memory", the phone's answer, or "not sent".
std::string SlotProblem(const CPhoneBookEngine::SlotReport& slot);

// Backup and restore (PhonebookBackup.cpp, SmsBackup.cpp).
int ExportPhonebook(Context& context);
int ImportPhonebook(Context& context, CPhoneBookEditor& editor);
int ExportMessages(Context& context);
int ImportMessages(Context& context);
// Their files (BackupFiles.cpp). Made before connecting, each false after its message: the file
// of an import read and found whole, the file of an export found writable.
bool ReadContactFile(const Options& options, backup::CardFile& cards, std::ostream& err);
bool ReadMessageFile(const Options& options, backup::MessageArchive& messages, std::ostream& err);
bool OutputWritable(const Options& options, std::ostream& err);
// The text of an export to its file, or to standard output without one.
bool WriteOutput(Context& context, const std::string& text);

}  // namespace cli
