#include "phonesim/Executor.h"

#include "phonesim/Charset.h"
#include "phonesim/Phone.h"
#include "phonesim/Text.h"

namespace phonesim {

namespace {

const char* CmeText(int code) {
    switch (code) {
        case 3:
            return "operation not allowed";
        case 4:
            return "operation not supported";
        case 10:
            return "SIM not inserted";
        case 20:
            return "memory full";
        case 21:
            return "invalid index";
        case 22:
            return "not found";
        case 24:
            return "text string too long";
        case 25:
            return "invalid characters in text string";
        case 26:
            return "dial string too long";
        case 27:
            return "invalid characters in dial string";
        case 50:
            return "incorrect parameters";
        default:
            return "unknown";
    }
}

const char* CmsText(int code) {
    switch (code) {
        case 302:
            return "operation not allowed";
        case 303:
            return "operation not supported";
        case 304:
            return "invalid PDU mode parameter";
        case 321:
            return "invalid memory index";
        case 322:
            return "memory full";
        default:
            return "unknown error";
    }
}

}  // namespace

Executor::Executor(PhoneState& state, std::vector<SentMessage>& sent)
    : state_(state), sent_(sent), powerOn_(state) {}

void Executor::SetPowerOnSettings(const PhoneState& settings) {
    powerOn_ = settings;
}

std::string Executor::FormatInfo(const Lines& lines) const {
    std::string out;
    if (lines.empty())
        return out;
    if (state_.verbose)
        out += "\r\n";
    for (const std::string& line : lines)
        out += line + "\r\n";
    return out;
}

std::string Executor::FormatFinal(const Result& result) const {
    if (result.kind == Result::Kind::Prompt)
        return "\r\n> ";
    if (state_.quiet)
        return "";
    std::string text;
    int numeric = 4;
    switch (result.kind) {
        case Result::Kind::Ok:
            text = "OK";
            numeric = 0;
            break;
        case Result::Kind::Error:
            text = "ERROR";
            break;
        case Result::Kind::Cme:
        case Result::Kind::Cms: {
            const bool cme = result.kind == Result::Kind::Cme;
            if (state_.cmee == 0) {
                text = "ERROR";
            } else if (state_.cmee == 1) {
                text =
                    std::string(cme ? "+CME" : "+CMS") + " ERROR: " + std::to_string(result.code);
            } else {
                text = std::string(cme ? "+CME" : "+CMS") +
                       " ERROR: " + (cme ? CmeText(result.code) : CmsText(result.code));
            }
            if (state_.cmee != 0) {
                return state_.verbose ? "\r\n" + text + "\r\n" : text + "\r";
            }
            break;
        }
        case Result::Kind::Prompt:
            break;
    }
    if (!state_.verbose)
        return std::to_string(numeric) + "\r";
    return "\r\n" + text + "\r\n";
}

std::string Executor::ExecuteLine(std::string_view line, std::uint64_t nowMs) {
    const auto commands = SplitCommandLine(line);
    if (!commands) {
        // Text without the AT prefix is not a command at all; a broken AT line is an error.
        const std::string_view trimmed = Trim(line);
        if (trimmed.size() < 2 || !EqualsIgnoringCase(trimmed.substr(0, 2), "AT"))
            return "";
        return FormatFinal(Error());
    }
    if (line.size() > kMaxPduText)
        return FormatFinal(Error());
    std::string out;
    for (const AtCommand& command : *commands) {
        Lines info;
        const Result result = Run(command, info, nowMs);
        out += FormatInfo(info);
        if (result.kind != Result::Kind::Ok)
            return out + FormatFinal(result);
    }
    return out + FormatFinal(Ok());
}

Executor::Result Executor::Run(const AtCommand& command, Lines& out, std::uint64_t nowMs) {
    const char first = command.name.empty() ? '\0' : command.name[0];
    if (first != '+')
        return RunBasic(command, out);
    bool handled = false;
    Result result = RunGeneral(command, out, handled);
    if (!handled)
        result = RunPhonebook(command, out, handled);
    if (!handled)
        result = RunSms(command, out, handled, nowMs);
    return handled ? result : Error();
}

Executor::Result Executor::RunBasic(const AtCommand& command, Lines& out) {
    const std::string& name = command.name;
    const auto value = command.args.empty() ? std::optional<long>(0) : ParseInt(command.args);
    if (name == "E" || name == "V" || name == "Q") {
        if (!value || *value < 0 || *value > 1)
            return Error();
        bool& flag = name == "E" ? state_.echo : name == "V" ? state_.verbose : state_.quiet;
        flag = *value == 1;
        return Ok();
    }
    if (name == "Z" || name == "&F") {
        state_.echo = powerOn_.echo;
        state_.verbose = powerOn_.verbose;
        state_.quiet = powerOn_.quiet;
        state_.cmee = powerOn_.cmee;
        state_.charset = powerOn_.charset;
        pending_ = {};
        return Ok();
    }
    if (name == "I") {
        out.push_back(state_.identity.maker);
        out.push_back(state_.identity.model);
        out.push_back(state_.identity.revision);
        return Ok();
    }
    // Settings that mean nothing without a modem line; accepted so that set-up strings work.
    if (name == "&C" || name == "&D" || name == "&K" || name == "&W" || name == "X" ||
        name == "L" || name == "M") {
        return value ? Ok() : Error();
    }
    if (name.size() > 1 && name[0] == 'S') {
        if (command.form == AtCommand::Form::Read)
            out.push_back("000");
        return Ok();
    }
    return Error();
}

Executor::Result Executor::RunGeneral(const AtCommand& command, Lines& out, bool& handled) {
    handled = true;
    const std::string& name = command.name;
    using Form = AtCommand::Form;
    const Identity& id = state_.identity;

    const std::string* identification = nullptr;
    if (name == "+CGMI" || name == "+GMI")
        identification = &id.maker;
    if (name == "+CGMM" || name == "+GMM")
        identification = &id.model;
    if (name == "+CGMR" || name == "+GMR")
        identification = &id.revision;
    if (name == "+CGSN" || name == "+GSN")
        identification = &id.serial;
    if (name == "+CIMI")
        identification = &id.imsi;
    if (identification) {
        if (command.form == Form::Test)
            return Ok();
        if (command.form != Form::Execute)
            return Error();
        out.push_back(*identification);
        return Ok();
    }

    if (name == "+CMEE") {
        if (command.form == Form::Test) {
            out.push_back("+CMEE: (0-2)");
        } else if (command.form == Form::Read) {
            out.push_back("+CMEE: " + std::to_string(state_.cmee));
        } else {
            const auto value =
                command.args.empty() ? std::optional<long>(0) : ParseInt(command.args);
            if (!value || *value < 0 || *value > 2)
                return Cme(4);
            state_.cmee = static_cast<int>(*value);
        }
        return Ok();
    }

    if (name == "+CSCS") {
        if (command.form == Form::Test) {
            std::string list;
            for (Charset c : SupportedCharsets()) {
                if (state_.Offers(c))
                    list += (list.empty() ? "\"" : ",\"") + std::string(CharsetName(c)) + "\"";
            }
            out.push_back("+CSCS: (" + list + ")");
        } else if (command.form == Form::Read) {
            out.push_back("+CSCS: \"" + state_.charset + "\"");
        } else if (command.form == Form::Set) {
            const auto args = SplitArgs(command.args);
            if (!args || args->size() != 1 || !(*args)[0].present)
                return Error();
            const auto charset = CharsetByName((*args)[0].text);
            if (!charset || !state_.Offers(*charset))
                return Cme(4);
            state_.charset = CharsetName(*charset);
        }
        return Ok();
    }

    if (name == "+CPIN") {
        if (command.form == Form::Read)
            out.push_back("+CPIN: READY");
        return command.form == Form::Set ? Cme(3) : Ok();
    }
    if (name == "+CSQ") {
        if (command.form == Form::Test) {
            out.push_back("+CSQ: (0-31,99),(0-7,99)");
        } else {
            out.push_back("+CSQ: 21,99");
        }
        return Ok();
    }
    if (name == "+CREG") {
        if (command.form == Form::Read)
            out.push_back("+CREG: 0,1");
        if (command.form == Form::Test)
            out.push_back("+CREG: (0-2)");
        return Ok();
    }
    if (name == "+CBC") {
        if (command.form != Form::Test)
            out.push_back("+CBC: 0,80");
        return Ok();
    }
    if (name == "+CFUN") {
        if (command.form == Form::Read)
            out.push_back("+CFUN: 1");
        if (command.form == Form::Test)
            out.push_back("+CFUN: (0,1),(0,1)");
        return Ok();
    }
    handled = false;
    return Error();
}

}  // namespace phonesim
