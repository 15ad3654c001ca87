#pragma once
// The command line of halvex-cli:
//
//   halvex-cli [--port NAME | --simulate[=PROFILE]] [--simulate-save FILE] [--fast]
//              [--transcript] [--yes] [--json] COMMAND ARGS
//
// Options may stand anywhere; "--" makes every later word an argument.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "app/ProgramHost.h"
#include "app/cli/backup/ContactCard.h"
#include "link/PhoneKinds.h"
#include "sms/MessageKinds.h"

namespace cli {

using app::Connection;

enum class Action {
    Identify,
    PhonebookList,
    PhonebookAdd,
    PhonebookEdit,
    PhonebookDelete,
    PhonebookExport,
    PhonebookImport,
    SmsList,
    SmsSend,
    SmsDelete,
    SmsExport,
    SmsImport,
    Ports,  // the serial ports here; no phone is connected
};

struct Options {
    Connection connection = Connection::Registry;
    std::u16string port;
    std::string profile = "default";
    std::optional<std::string> simulateSave;
    bool transcript = false;
    bool fast = false;  // the fast exchange (see link/PhoneLink.h)
    bool yes = false;
    bool json = false;

    Action action = Action::Identify;
    // Phone book: the contact's name and its memory.
    std::u16string name;
    phone::Memory memory = phone::Memory::Phone;
    std::optional<std::u16string> rename;
    // Numbers by kind - 1 (see kKindNames); an empty value clears the number.
    std::array<std::optional<std::u16string>, 5> numbers;
    // SMS: the box, the recipient and text, the flags, the ids to delete.
    sms::Box box = sms::Box::Inbox;
    std::u16string recipient;
    std::u16string text;
    bool save = false;
    bool report = false;
    bool replyPath = false;
    std::vector<int> ids;
    bool parts = false;  // sms list: every stored part a line of its own
    // Backup and restore: the file (empty: standard output), CSV rather than vCard, the plan
    // without the writes, and whether a same-named contact takes the file's numbers.
    std::string file;
    bool csv = false;
    bool dryRun = false;
    bool replace = false;
    // ports: ask each port for a phone, and ports to look at besides those found.
    bool probe = false;
    std::vector<std::string> paths;
};

// The five kinds of number by kind - 1, as their options and their keys in the output name them.
using backup::kKindNames;

struct ParseResult {
    std::optional<Options> options;
    std::string error;  // one line saying what is wrong, when there are no options
};

ParseResult ParseArguments(const std::vector<std::string>& args);

// A number the phone book takes from the command line: digits, "*", "#" and a leading "+", at
// most 20 characters. Empty is allowed (it clears the number).
bool IsPhonebookNumber(const std::u16string& number);

const char* Usage();

}  // namespace cli
