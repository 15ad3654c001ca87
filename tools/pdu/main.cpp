// halvex-pdu: a PDU inspector for anyone debugging a phone.
//   halvex-pdu decode [--outgoing | --stored] HEX
//   halvex-pdu submit --to DIAL --text TEXT [--smsc DIAL] [--dcs N] [--srr] [--rp]
// Exit status: 0 done, 1 the PDU gives no record, 2 bad arguments.

#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sms/codec/DialNumber.h"
#include "sms/codec/ShortMessage.h"
#include "sms/codec/SmsSubmit.h"
#include "sms/codec/UserData.h"
#include "text/Decimal.h"
#include "text/Hex.h"
#include "text/Utf.h"
#include "tools/pdu/PduJson.h"

namespace {

constexpr int kBadArguments = 2;
constexpr int kNoRecord = 1;
// TP-DA and the service-centre field hold at most ten octets of digits.
constexpr std::size_t kMaxDialDigits = 20;
constexpr std::size_t kMaxUserDataOctets = 140;

constexpr const char* kUsage =
    "usage: halvex-pdu decode [--outgoing | --stored] HEX\n"
    "       halvex-pdu submit --to DIAL --text TEXT [--smsc DIAL] [--dcs N] [--srr] [--rp]\n"
    "       halvex-pdu --help\n"
    "\n"
    "A PDU inspector: short messages as the hex text of AT+CMGL, AT+CMGR and AT+CMGS carry\n"
    "them, in JSON.\n"
    "\n"
    "  decode HEX     the message of a PDU hex text (blanks between octets are allowed) as\n"
    "                 one JSON object with its TP fields; null when the PDU holds no message\n"
    "  --outgoing     decode HEX as a message to the network (SMS-SUBMIT, SMS-COMMAND), not\n"
    "                 one from it (SMS-DELIVER, SMS-STATUS-REPORT)\n"
    "  --stored       decode HEX as a phone's message storage keeps it: by its message\n"
    "                 type alone (SMS-DELIVER, SMS-SUBMIT, SMS-STATUS-REPORT)\n"
    "  submit         the PDU of one SMS-SUBMIT, as {\"pdu\": HEX, \"length\": N}, N being\n"
    "                 the length AT+CMGS takes\n"
    "  --to DIAL      the recipient: up to 20 digits, with an optional leading +\n"
    "  --text TEXT    the message; it must fit one message (70 characters in UCS2)\n"
    "  --smsc DIAL    the service centre (left out: the phone's own)\n"
    "  --dcs N        the data coding scheme, 0 to 255 or 0x..: 0 GSM 7-bit, 4 8-bit,\n"
    "                 8 UCS2 (the default)\n"
    "  --srr          ask for a status report\n"
    "  --rp           ask for a reply path\n"
    "  --help, -h     this text\n"
    "\n"
    "Exit status: 0 done, 1 the PDU holds no message, 2 bad arguments.\n"
    "More, with examples: man halvex-pdu.\n";

struct BadArguments {
    std::string message;
};

std::u16string Widen(std::string_view ascii) {
    return std::u16string(ascii.begin(), ascii.end());
}

// Blanks are allowed, so a PDU copied from a log with spaces between octets still works.
std::u16string PduArgument(std::string_view text) {
    std::string hex;
    for (char c : text) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
            continue;
        }
        if (text::HexValue(c) < 0) {
            throw BadArguments{"not a PDU hex text (a character is not a hex digit)"};
        }
        hex.push_back(c);
    }
    if (hex.empty() || hex.size() % 2 != 0) {
        throw BadArguments{"not a PDU hex text (it needs an even, nonzero number of digits)"};
    }
    return Widen(hex);
}

// The user's dial string, checked here because the codec writes any character it is given.
std::u16string DialArgument(const char* option, std::string_view text, bool mayBeEmpty) {
    const std::optional<std::u16string> wide = text::FromUtf8(text);
    const SmsAddress address = ParseDialNumber(wide.value_or(u"?"));
    bool digitsOnly = wide.has_value();
    for (char16_t c : address.number) {
        digitsOnly = digitsOnly && c >= u'0' && c <= u'9';
    }
    if (!digitsOnly || address.number.size() > kMaxDialDigits ||
        (address.number.empty() && !mayBeEmpty)) {
        throw BadArguments{std::string(option) + ": not a phone number (up to " +
                           std::to_string(kMaxDialDigits) + " digits, an optional '+')"};
    }
    return RemoveWhiteSpace(*wide);
}

std::uint8_t DcsArgument(std::string_view text) {
    unsigned base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    const std::optional<std::uint32_t> value = text::ParseDigits(text, text.size(), base);
    if (!value || *value > 255) {
        throw BadArguments{"--dcs: not a number from 0 to 255"};
    }
    return static_cast<std::uint8_t>(*value);
}

int Decode(const std::vector<std::string_view>& args) {
    bool incoming = true;
    bool stored = false;
    std::optional<std::u16string> pdu;
    for (std::string_view arg : args) {
        if (arg == "--outgoing") {
            incoming = false;
        } else if (arg == "--stored") {
            stored = true;
        } else if (arg.starts_with("--")) {
            throw BadArguments{"decode: unknown option " + std::string(arg)};
        } else if (pdu) {
            throw BadArguments{"decode: one PDU at a time"};
        } else {
            pdu = PduArgument(arg);
        }
    }
    if (!pdu) {
        throw BadArguments{"decode: the PDU hex text is missing"};
    }
    if (stored && !incoming) {
        throw BadArguments{"decode: --stored and --outgoing exclude each other"};
    }
    const std::unique_ptr<CShortMessage> message =
        stored ? DecodeStoredMessage(*pdu) : DecodeMessage(*pdu, incoming);
    if (!message) {
        std::cout << "null\n";
        return kNoRecord;
    }
    std::cout << pdutool::MessageToJson(*message).dump() << '\n';
    return 0;
}

int Submit(const std::vector<std::string_view>& args) {
    std::optional<std::u16string> to;
    std::optional<std::u16string> text;
    std::u16string smsc;
    std::uint8_t dcs = 0x08;  // UCS2, as the compose dialog sends
    bool statusReport = false;
    bool replyPath = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (arg == "--srr") {
            statusReport = true;
            continue;
        }
        if (arg == "--rp") {
            replyPath = true;
            continue;
        }
        if (arg != "--to" && arg != "--text" && arg != "--smsc" && arg != "--dcs") {
            throw BadArguments{"submit: unknown argument " + std::string(arg)};
        }
        if (i + 1 >= args.size()) {
            throw BadArguments{"submit: " + std::string(arg) + " needs a value"};
        }
        const std::string_view value = args[++i];
        if (arg == "--to") {
            to = DialArgument("--to", value, false);
        } else if (arg == "--smsc") {
            smsc = DialArgument("--smsc", value, true);
        } else if (arg == "--dcs") {
            dcs = DcsArgument(value);
        } else {
            text = text::FromUtf8(value);
            if (!text) {
                throw BadArguments{"--text: not UTF-8"};
            }
        }
    }
    if (!to) {
        throw BadArguments{"submit: --to is missing"};
    }
    if (!text) {
        throw BadArguments{"submit: --text is missing"};
    }

    CSmsSubmit message(*text, *to);
    message.SetServiceCentre(ParseDialNumber(smsc));
    message.SetStatusReportRequest(statusReport ? 1 : 0);
    message.SetReplyPath(replyPath ? 1 : 0);
    message.SetDcs(dcs);

    // One message, never split: the text must fit the 140 octets of user data.
    const std::uint8_t alphabet = dcs & sms::kAlphabetMask;
    const std::size_t limit = alphabet == sms::kAlphabet7Bit   ? kMaxUserDataOctets * 8 / 7
                              : alphabet == sms::kAlphabetUcs2 ? kMaxUserDataOctets / 2
                                                               : kMaxUserDataOctets;
    if (text->size() > limit) {
        throw BadArguments{"--text: " + std::to_string(text->size()) +
                           " characters, one message holds " + std::to_string(limit) +
                           " with this --dcs"};
    }

    const std::u16string pdu = message.Encode();
    nlohmann::ordered_json json;
    json["pdu"] = text::ToUtf8(pdu);
    json["length"] = sms::TpduLength(pdu);
    std::cout << json.dump() << '\n';
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> all(argv + (argc > 0 ? 1 : 0), argv + argc);
    try {
        if (all.empty()) {
            throw BadArguments{"missing command: decode or submit (see --help)"};
        }
        for (std::string_view arg : all) {
            if (arg == "--help" || arg == "-h") {
                std::cout << kUsage;
                return 0;
            }
        }
        const std::string_view command = all.front();
        const std::vector<std::string_view> rest(all.begin() + 1, all.end());
        if (command == "decode") {
            return Decode(rest);
        }
        if (command == "submit") {
            return Submit(rest);
        }
        throw BadArguments{"unknown command " + std::string(command) + " (decode or submit)"};
    } catch (const BadArguments& bad) {
        std::cerr << "halvex-pdu: " << bad.message << '\n';
        return kBadArguments;
    } catch (const std::exception& e) {
        std::cerr << "halvex-pdu: " << e.what() << '\n';
        return kBadArguments;
    }
}
