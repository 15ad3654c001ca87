#include "app/cli/Arguments.h"

#include <map>
#include <set>
#include <string_view>

#include "app/Utf8Text.h"
#include "text/Ascii.h"
#include "text/Decimal.h"

namespace cli {

namespace {

const std::set<std::string> kValueOptions = {"port", "simulate-save", "home",   "work",   "mobile",
                                             "fax",  "other",         "memory", "rename", "format"};
const std::set<std::string> kFlagOptions = {"transcript", "yes",        "json",    "save",
                                            "report",     "reply-path", "dry-run", "replace",
                                            "fast",       "probe",      "parts"};

struct Failure {
    std::string message;
};

std::u16string Text(const std::string& bytes, const std::string& what) {
    std::optional<std::u16string> text = app::FromUtf8(bytes);
    if (!text) {
        throw Failure{what + " is not UTF-8 text"};
    }
    return *text;
}

phone::Memory Memory(const std::string& word) {
    const std::string name = text::ToUpperAscii(word);
    if (name == "ME") {
        return phone::Memory::Phone;
    }
    if (name == "SM") {
        return phone::Memory::Sim;
    }
    throw Failure{"unknown memory \"" + word + "\" (ME or SM)"};
}

sms::Box Box(const std::string& word) {
    if (word == "inbox") {
        return sms::Box::Inbox;
    }
    if (word == "outbox") {
        return sms::Box::Outbox;
    }
    throw Failure{"unknown box \"" + word + "\" (inbox or outbox)"};
}

int MessageId(const std::string& word) {
    const std::optional<std::uint32_t> id = text::ParseDigits(word, 3);
    if (!id || *id == 0) {
        throw Failure{"\"" + word + "\" is not a message id (1, 2, ...)"};
    }
    return static_cast<int>(*id);
}

class Parser {
public:
    explicit Parser(const std::vector<std::string>& args) {
        bool endOfOptions = false;
        for (std::size_t i = 0; i < args.size(); ++i) {
            const std::string& arg = args[i];
            if (endOfOptions || arg.size() < 3 || arg.compare(0, 2, "--") != 0) {
                if (arg == "--" && !endOfOptions) {
                    endOfOptions = true;
                    continue;
                }
                words_.push_back(arg);
                continue;
            }
            const std::size_t equals = arg.find('=');
            const std::string name = arg.substr(2, equals == arg.npos ? arg.npos : equals - 2);
            std::optional<std::string> value;
            if (equals != arg.npos) {
                value = arg.substr(equals + 1);
            }
            if (options_.count(name) != 0) {
                throw Failure{"--" + name + " is given twice"};
            }
            if (name == "simulate") {
                // The profile only ever comes with "=", so a command word is never taken for one.
                options_[name] = value;
            } else if (kFlagOptions.count(name) != 0) {
                if (value) {
                    throw Failure{"--" + name + " takes no value"};
                }
                options_[name] = std::nullopt;
            } else if (kValueOptions.count(name) != 0) {
                if (!value) {
                    if (i + 1 >= args.size()) {
                        throw Failure{"--" + name + " needs a value"};
                    }
                    value = args[++i];
                }
                options_[name] = value;
            } else {
                throw Failure{"unknown option --" + name};
            }
        }
    }

    Options Parse() {
        Options o;
        ParseConnection(o);
        o.transcript = Take("transcript");
        o.fast = Take("fast");
        o.yes = Take("yes");
        o.json = Take("json");
        if (words_.empty()) {
            throw Failure{"no command given (halvex-cli --help lists them)"};
        }
        const std::string command = words_[0];
        const std::string action = words_.size() > 1 ? words_[1] : "";
        if (command == "identify") {
            Positional(1, 1, "identify");
            o.action = Action::Identify;
        } else if (command == "phonebook") {
            ParsePhonebook(o, action);
        } else if (command == "sms") {
            ParseSms(o, action);
        } else if (command == "ports") {
            o.action = Action::Ports;
            o.probe = Take("probe");
            o.paths.assign(words_.begin() + 1, words_.end());
            if (o.connection != Connection::Registry) {
                throw Failure{
                    "ports looks at this computer's ports: give them as arguments, "
                    "without --port or --simulate"};
            }
        } else {
            throw Failure{"unknown command \"" + command + "\" (identify, phonebook, sms, ports)"};
        }
        if (!options_.empty()) {
            throw Failure{"--" + options_.begin()->first + " does not go with this command"};
        }
        if (o.json && (o.action == Action::PhonebookExport || o.action == Action::SmsExport)) {
            throw Failure{"--json does not go with export: the file is what it writes"};
        }
        return o;
    }

private:
    bool Take(const std::string& name) { return options_.erase(name) != 0; }

    std::optional<std::string> TakeValue(const std::string& name) {
        auto it = options_.find(name);
        if (it == options_.end()) {
            return std::nullopt;
        }
        std::optional<std::string> value = it->second;
        options_.erase(it);
        return value.value_or("");
    }

    void Positional(std::size_t least, std::size_t most, const std::string& usage) const {
        if (words_.size() < least) {
            throw Failure{"missing arguments: " + usage};
        }
        if (words_.size() > most) {
            throw Failure{"unexpected argument \"" + words_[most] + "\": " + usage};
        }
    }

    void ParseConnection(Options& o) {
        std::optional<std::optional<std::string>> simulate;
        if (auto it = options_.find("simulate"); it != options_.end()) {
            simulate = it->second;
            options_.erase(it);
        }
        const std::optional<std::string> port = TakeValue("port");
        const std::optional<std::string> save = TakeValue("simulate-save");
        app::HostOptions host;
        const std::string problem =
            app::ReadConnectionOptions(simulate, port, save, host, o.simulateSave);
        if (!problem.empty()) {
            throw Failure{problem};
        }
        o.connection = host.connection;
        o.port = host.port;
        o.profile = host.profile;
    }

    void TakeNumbers(Options& o) {
        for (std::size_t k = 0; k < kKindNames.size(); ++k) {
            if (std::optional<std::string> value = TakeValue(kKindNames[k])) {
                std::u16string number = Text(*value, std::string("--") + kKindNames[k]);
                if (!IsPhonebookNumber(number)) {
                    throw Failure{std::string("--") + kKindNames[k] + " \"" + *value +
                                  "\" is not a number a phone stores (digits, * and #, with + "
                                  "only in front, at most 20)"};
                }
                o.numbers[k] = std::move(number);
            }
        }
    }

    void TakeMemory(Options& o) {
        if (std::optional<std::string> memory = TakeValue("memory")) {
            o.memory = Memory(*memory);
        }
    }

    void ParsePhonebook(Options& o, const std::string& action) {
        if (action == "list") {
            Positional(2, 3, "phonebook list [ME|SM]");
            o.action = Action::PhonebookList;
            if (words_.size() == 3) {
                o.memory = Memory(words_[2]);
            }
            return;
        }
        if (action == "export" || action == "import") {
            ParseBackup(o, action);
            return;
        }
        if (action != "add" && action != "edit" && action != "delete") {
            throw Failure{"unknown phonebook action \"" + action +
                          "\" (list, add, edit, delete, export, import)"};
        }
        Positional(3, 3, "phonebook " + action + " NAME");
        o.name = Text(words_[2], "the name");
        TakeMemory(o);
        if (action == "delete") {
            o.action = Action::PhonebookDelete;
            return;
        }
        TakeNumbers(o);
        bool anyNumber = false;
        for (const auto& number : o.numbers) {
            anyNumber = anyNumber || (number && !number->empty());
        }
        if (action == "add") {
            o.action = Action::PhonebookAdd;
            // A contact without a number is never written to the phone.
            if (!anyNumber) {
                throw Failure{"phonebook add needs at least one number (--home, --work, ...)"};
            }
            return;
        }
        o.action = Action::PhonebookEdit;
        if (std::optional<std::string> rename = TakeValue("rename")) {
            o.rename = Text(*rename, "--rename");
        }
        bool anyChange = o.rename.has_value();
        for (const auto& number : o.numbers) {
            anyChange = anyChange || number.has_value();
        }
        if (!anyChange) {
            throw Failure{"phonebook edit needs --rename or a number to change"};
        }
    }

    void ParseBackup(Options& o, const std::string& action) {
        TakeMemory(o);
        if (action == "export") {
            Positional(2, 3, "phonebook export [--memory ME|SM] [--format vcard|csv] [FILE]");
            o.action = Action::PhonebookExport;
            if (std::optional<std::string> format = TakeValue("format")) {
                if (*format != "vcard" && *format != "csv") {
                    throw Failure{"unknown format \"" + *format + "\" (vcard or csv)"};
                }
                o.csv = *format == "csv";
            }
            o.file = words_.size() == 3 ? words_[2] : "";
            return;
        }
        Positional(3, 3, "phonebook import [--memory ME|SM] [--dry-run] [--replace] FILE");
        o.action = Action::PhonebookImport;
        o.dryRun = Take("dry-run");
        o.replace = Take("replace");
        o.file = words_[2];
    }

    void ParseSms(Options& o, const std::string& action) {
        if (action == "list") {
            Positional(3, 3, "sms list inbox|outbox [--parts]");
            o.action = Action::SmsList;
            o.box = Box(words_[2]);
            o.parts = Take("parts");
        } else if (action == "send") {
            Positional(4, 4, "sms send NUMBER TEXT");
            o.action = Action::SmsSend;
            o.recipient = Text(words_[2], "the number");
            o.text = Text(words_[3], "the text");
            o.save = Take("save");
            o.report = Take("report");
            o.replyPath = Take("reply-path");
        } else if (action == "delete") {
            Positional(4, words_.size(), "sms delete inbox|outbox ID...");
            o.action = Action::SmsDelete;
            o.box = Box(words_[2]);
            for (std::size_t i = 3; i < words_.size(); ++i) {
                o.ids.push_back(MessageId(words_[i]));
            }
        } else if (action == "export") {
            Positional(3, 4, "sms export inbox|outbox [FILE]");
            o.action = Action::SmsExport;
            o.box = Box(words_[2]);
            o.file = words_.size() == 4 ? words_[3] : "";
        } else if (action == "import") {
            Positional(4, 4, "sms import outbox [--dry-run] FILE");
            if (Box(words_[2]) != sms::Box::Outbox) {
                throw Failure{"only the outbox can be stored back: sms import outbox FILE"};
            }
            o.action = Action::SmsImport;
            o.box = sms::Box::Outbox;
            o.dryRun = Take("dry-run");
            o.file = words_[3];
        } else {
            throw Failure{"unknown sms action \"" + action +
                          "\" (list, send, delete, export, import)"};
        }
    }

    std::vector<std::string> words_;
    std::map<std::string, std::optional<std::string>> options_;
};

}  // namespace

bool IsPhonebookNumber(const std::u16string& number) {
    if (number.size() > 20) {
        return false;
    }
    for (std::size_t i = 0; i < number.size(); ++i) {
        const char16_t c = number[i];
        const bool digit = c >= u'0' && c <= u'9';
        // The page's boxes also let parentheses through, but phones refuse them in a number.
        if (!digit && c != u'*' && c != u'#' && !(c == u'+' && i == 0)) {
            return false;
        }
    }
    return true;
}

ParseResult ParseArguments(const std::vector<std::string>& args) {
    ParseResult result;
    try {
        Parser parser(args);
        result.options = parser.Parse();
    } catch (const Failure& failure) {
        result.error = failure.message;
    }
    return result;
}

const char* Usage() {
    return "usage: halvex-cli [--port NAME | --simulate[=PROFILE]] [--simulate-save FILE]\n"
           "                  [--fast] [--transcript] [--yes] [--json] COMMAND ARGS\n"
           "       halvex-cli --help\n"
           "\n"
           "The phone book and the short messages of a GSM phone, from a terminal or a script.\n"
           "\n"
           "Commands:\n"
           "  identify\n"
           "      connect, and say the phone's maker (nokia, other or unknown)\n"
           "  phonebook list [ME|SM]\n"
           "      the contacts of the phone memory (ME, the default) or of the SIM (SM)\n"
           "  phonebook add NAME [--home N] [--work N] [--mobile N] [--fax N] [--other N]"
           " [--memory ME|SM]\n"
           "      a new contact, with at least one number\n"
           "  phonebook edit NAME [--rename NEW] [--home N] ... [--memory ME|SM]\n"
           "      rename a contact or change its numbers (an empty number clears it)\n"
           "  phonebook delete NAME [--memory ME|SM]\n"
           "      delete a contact with all its numbers (needs --yes)\n"
           "  phonebook export [--memory ME|SM] [--format vcard|csv] [FILE]\n"
           "      write the contacts to FILE (standard output without one)\n"
           "  phonebook import [--memory ME|SM] [--dry-run] [--replace] FILE\n"
           "      add the contacts of a vCard or CSV file, after showing the plan\n"
           "  sms list inbox|outbox [--parts]\n"
           "      the received messages, or the sent ones the phone stored; the parts of a long\n"
           "      message as one, with the ids of all its parts\n"
           "  sms send NUMBER TEXT [--save] [--report] [--reply-path]\n"
           "      send TEXT (at most 70 characters) to NUMBER\n"
           "  sms delete inbox|outbox ID...\n"
           "      delete messages by the ids sms list shows (needs --yes)\n"
           "  sms export inbox|outbox [FILE]\n"
           "      write the messages as JSON lines to FILE (standard output without one)\n"
           "  sms import outbox [--dry-run] FILE\n"
           "      store the messages of an export in the phone's outbox, after the plan\n"
           "  ports [--probe] [PORT...]\n"
           "      the serial ports a phone can be on, who may open them and who holds them\n"
           "\n"
           "Options (they may stand anywhere; after \"--\" every word is an argument):\n"
           "  --port NAME           the phone's port: a name below /dev (rfcomm0, ttyUSB0, ...) "
           "or\n"
           "                        a full path; kept in the registry file once it opened\n"
           "  --simulate[=PROFILE]  a simulated phone in virtual time: default, nokia, small-sim,\n"
           "                        empty, full, modem, gsm-only, or a profile file\n"
           "  --simulate-save FILE  write the simulated phone's state to FILE at the end\n"
           "  --fast                read each reply as soon as the phone has ended it, instead of\n"
           "                        the fixed waits (also: registry value FastLink = 1)\n"
           "  --transcript          after the output, every line sent to the phone with its time,\n"
           "                        on standard error\n"
           "  --yes                 answer Yes to the questions (deleting needs it)\n"
           "  --json                print the results as JSON\n"
           "  --help, -h            this text\n"
           "  --home N, --work N, --mobile N, --fax N, --other N\n"
           "                        the contact's number of that kind: digits, * and #, with +\n"
           "                        only in front, at most 20 (\"\" clears it)\n"
           "  --memory ME|SM        the phone memory (the default) or the SIM\n"
           "  --rename NEW          the contact's new name\n"
           "  --format vcard|csv    the export's format (vcard when left out)\n"
           "  --dry-run             show the import's plan and change nothing\n"
           "  --replace             a contact of the same name takes the file's numbers\n"
           "  --save                keep a copy of the sent message in the phone's outbox\n"
           "  --report              ask the network for a status report\n"
           "  --reply-path          ask for a reply path\n"
           "  --parts               list each stored part of a long message on its own\n"
           "  --probe               ask each port's phone who made it (AT, ATI, AT+CGMI; never\n"
           "                        changes the phone)\n"
           "\n"
           "Without --port or --simulate, the port named in the registry file is used:\n"
           "$HALVEX_REGISTRY, else $XDG_CONFIG_HOME/halvex/registry.reg, else\n"
           "~/.config/halvex/registry.reg.\n"
           "Exit status: 0 done, 1 the phone or the link failed, 2 bad arguments.\n"
           "More, with examples: man halvex-cli.\n";
}

}  // namespace cli
