// SMS commands in PDU mode: AT+CMGF, AT+CPMS, AT+CSCA, AT+CMGL, AT+CMGR, AT+CMGS, AT+CMGW,
// AT+CMSS, AT+CMGD, AT+CNMI, AT+CSMS.

#include "phonesim/Executor.h"
#include "phonesim/Pdu.h"
#include "phonesim/Phone.h"
#include "phonesim/Text.h"

namespace phonesim {

namespace {

std::string Counts(const SmsStorage* s) {
    return s ? std::to_string(s->Used()) + "," + std::to_string(s->capacity) : "0,0";
}

std::string Header(const char* prefix, int index, const SmsMessage& message) {
    std::string line = prefix;
    if (index > 0)
        line += std::to_string(index) + ",";
    return line + std::to_string(message.status) + ",," + std::to_string(TpduLength(message.pdu));
}

std::optional<long> IntArg(const std::vector<AtArg>& args, std::size_t i) {
    if (i >= args.size() || !args[i].present || args[i].quoted)
        return std::nullopt;
    return ParseInt(args[i].text);
}

}  // namespace

Executor::Result Executor::RunSms(const AtCommand& command, Lines& out, bool& handled,
                                  std::uint64_t nowMs) {
    using Form = AtCommand::Form;
    handled = true;
    const std::string& name = command.name;
    if (name == "+CMGF") {
        if (command.form == Form::Test)
            out.push_back("+CMGF: (0)");
        if (command.form == Form::Read)
            out.push_back("+CMGF: 0");
        if (command.form == Form::Set) {
            const auto mode =
                command.args.empty() ? std::optional<long>(0) : ParseInt(command.args);
            if (!mode)
                return Error();
            if (*mode != 0)
                return Cms(303);  // PDU mode only
        }
        return Ok();
    }
    if (name == "+CPMS")
        return SelectStorages(command, out);
    if (name == "+CSCA")
        return ServiceCentre(command, out);
    if (name == "+CMGL")
        return ListMessages(command, out);
    if (name == "+CMGR")
        return ReadMessage(command, out);
    if (name == "+CMGS" || name == "+CMGW") {
        if (command.form == Form::Test)
            return Ok();
        return StartPdu(command, name == "+CMGW");
    }
    if (name == "+CMSS")
        return SendStored(command, out, nowMs);
    if (name == "+CMGD")
        return DeleteMessages(command, out);
    if (name == "+CNMI")
        return NewMessageIndications(command, out);
    if (name == "+CSMS") {
        if (command.form == Form::Test)
            out.push_back("+CSMS: (0)");
        if (command.form == Form::Read)
            out.push_back("+CSMS: 0,1,1,1");
        if (command.form == Form::Set) {
            if (ParseInt(command.args) != std::optional<long>(0))
                return Cms(303);
            out.push_back("+CSMS: 1,1,1");
        }
        return Ok();
    }
    handled = false;
    return Error();
}

SmsStorage* Executor::StorageOf(int which) {
    return state_.FindStorage(state_.selectedStorages[static_cast<std::size_t>(which)]);
}

int Executor::NextReference() {
    state_.messageReference = (state_.messageReference + 1) % 256;
    return state_.messageReference;
}

Executor::Result Executor::SelectStorages(const AtCommand& command, Lines& out) {
    using Form = AtCommand::Form;
    if (command.form == Form::Test) {
        std::string list;
        for (const SmsStorage& s : state_.storages) {
            list += (list.empty() ? "\"" : ",\"") + s.name + "\"";
        }
        out.push_back("+CPMS: (" + list + "),(" + list + "),(" + list + ")");
        return Ok();
    }
    if (command.form == Form::Read) {
        std::string line = "+CPMS: ";
        for (int i = 0; i < 3; ++i) {
            const SmsStorage* s = StorageOf(i);
            if (i > 0)
                line += ",";
            line += "\"" + state_.selectedStorages[static_cast<std::size_t>(i)] + "\"," + Counts(s);
        }
        out.push_back(line);
        return Ok();
    }
    if (command.form != Form::Set)
        return Error();
    const auto args = SplitArgs(command.args);
    if (!args || args->empty() || args->size() > 3)
        return Error();
    std::array<std::string, 3> chosen = state_.selectedStorages;
    for (std::size_t i = 0; i < args->size(); ++i) {
        if (!(*args)[i].present) {
            if (i == 0)
                return Error();
            continue;
        }
        const SmsStorage* s = state_.FindStorage((*args)[i].text);
        if (!s)
            return Cms(302);
        chosen[i] = s->name;
    }
    state_.selectedStorages = chosen;
    out.push_back("+CPMS: " + Counts(StorageOf(0)) + "," + Counts(StorageOf(1)) + "," +
                  Counts(StorageOf(2)));
    return Ok();
}

Executor::Result Executor::ServiceCentre(const AtCommand& command, Lines& out) {
    using Form = AtCommand::Form;
    if (command.form == Form::Test)
        return Ok();
    if (command.form == Form::Read) {
        out.push_back("+CSCA: \"" + state_.serviceCentre + "\"," +
                      std::to_string(state_.serviceCentreType));
        return Ok();
    }
    if (command.form != Form::Set)
        return Error();
    const auto args = SplitArgs(command.args);
    if (!args || args->empty() || args->size() > 2 || !(*args)[0].present)
        return Error();
    const std::string& number = (*args)[0].text;
    if (number.empty() || number.size() > 21)
        return Cms(304);
    for (std::size_t i = 0; i < number.size(); ++i) {
        const char c = number[i];
        if (!((c >= '0' && c <= '9') || (c == '+' && i == 0)))
            return Cms(304);
    }
    int type = number[0] == '+' ? 145 : 129;
    if (args->size() == 2 && (*args)[1].present) {
        const auto parsed = IntArg(*args, 1);
        if (!parsed || *parsed < 128 || *parsed > 255)
            return Cms(304);
        type = static_cast<int>(*parsed);
    }
    state_.serviceCentre = number;
    state_.serviceCentreType = type;
    return Ok();
}

Executor::Result Executor::ListMessages(const AtCommand& command, Lines& out) {
    if (command.form == AtCommand::Form::Test) {
        out.push_back("+CMGL: (0-4)");
        return Ok();
    }
    if (command.form == AtCommand::Form::Read)
        return Error();
    long status = 0;
    if (command.form == AtCommand::Form::Set && !Trim(command.args).empty()) {
        const auto parsed = ParseInt(command.args);
        if (!parsed)
            return Error();
        status = *parsed;
    }
    if (status < 0 || status > 4)
        return Cms(304);
    SmsStorage* storage = StorageOf(0);
    if (!storage)
        return Cms(302);
    for (auto& [index, message] : storage->messages) {
        if (status != 4 && message.status != status)
            continue;
        out.push_back(Header("+CMGL: ", index, message));
        out.push_back(message.pdu);
        if (message.status == kReceivedUnread)
            message.status = kReceivedRead;
    }
    return Ok();
}

Executor::Result Executor::ReadMessage(const AtCommand& command, Lines& out) {
    if (command.form == AtCommand::Form::Test)
        return Ok();
    if (command.form != AtCommand::Form::Set)
        return Error();
    const auto index = ParseInt(command.args);
    if (!index)
        return Error();
    SmsStorage* storage = StorageOf(0);
    if (!storage)
        return Cms(302);
    auto it = storage->messages.find(static_cast<int>(*index));
    if (it == storage->messages.end())
        return Cms(321);
    out.push_back(Header("+CMGR: ", 0, it->second));
    out.push_back(it->second.pdu);
    if (it->second.status == kReceivedUnread)
        it->second.status = kReceivedRead;
    return Ok();
}

Executor::Result Executor::StartPdu(const AtCommand& command, bool store) {
    if (command.form != AtCommand::Form::Set)
        return Error();
    const auto args = SplitArgs(command.args);
    if (!args || args->empty() || args->size() > 2)
        return Error();
    const auto length = IntArg(*args, 0);
    if (!length)
        return Error();
    if (*length < 1 || *length > 180)
        return Cms(304);
    int status = kStoredUnsent;
    if (args->size() == 2 && (*args)[1].present) {
        if (!store)
            return Error();
        const auto parsed = IntArg(*args, 1);
        if (!parsed || *parsed < 0 || *parsed > 3)
            return Cms(304);
        status = static_cast<int>(*parsed);
    }
    if (store) {
        const SmsStorage* storage = StorageOf(1);
        if (!storage)
            return Cms(302);
        if (storage->FirstFree() == 0)
            return Cms(322);
    }
    pending_ = {true, store, static_cast<int>(*length), status};
    return Prompt();
}

std::string Executor::SubmitPdu(std::string_view text, std::uint64_t nowMs) {
    const PendingPdu pending = pending_;
    pending_ = {};
    if (!pending.active)
        return "";
    Lines out;
    Result result = Ok();
    const auto parts = SplitPdu(text);
    const bool typeFits = parts && (parts->type == TpduType::Submit ||
                                    (pending.store && parts->type == TpduType::Deliver));
    if (text.size() > kMaxPduText || !typeFits ||
        static_cast<int>(parts->tpdu.size()) != pending.length || !WellFormedTpdu(parts->tpdu)) {
        result = Cms(304);
    } else if (pending.store) {
        SmsStorage* storage = StorageOf(1);
        const int index = storage ? storage->FirstFree() : 0;
        if (!storage) {
            result = Cms(302);
        } else if (index == 0) {
            result = Cms(322);
        } else {
            storage->messages[index] = SmsMessage{pending.status, ToUpperAscii(text)};
            out.push_back("+CMGW: " + std::to_string(index));
        }
    } else {
        const int reference = NextReference();
        sent_.push_back(SentMessage{nowMs, ToUpperAscii(text), reference, -1});
        out.push_back("+CMGS: " + std::to_string(reference));
    }
    return FormatInfo(out) + FormatFinal(result);
}

std::string Executor::CancelPdu() {
    pending_ = {};
    return FormatFinal(Ok());
}

Executor::Result Executor::SendStored(const AtCommand& command, Lines& out, std::uint64_t nowMs) {
    if (command.form == AtCommand::Form::Test)
        return Ok();
    if (command.form != AtCommand::Form::Set)
        return Error();
    const auto args = SplitArgs(command.args);
    if (!args || args->empty() || args->size() > 3)
        return Error();
    const auto index = IntArg(*args, 0);
    if (!index)
        return Error();
    SmsStorage* storage = StorageOf(1);
    if (!storage)
        return Cms(302);
    auto it = storage->messages.find(static_cast<int>(*index));
    if (it == storage->messages.end())
        return Cms(321);
    const auto parts = SplitPdu(it->second.pdu);
    if (!parts || parts->type != TpduType::Submit)
        return Cms(302);
    const int reference = NextReference();
    sent_.push_back(SentMessage{nowMs, it->second.pdu, reference, it->first});
    if (it->second.status == kStoredUnsent)
        it->second.status = kStoredSent;
    out.push_back("+CMSS: " + std::to_string(reference));
    return Ok();
}

Executor::Result Executor::DeleteMessages(const AtCommand& command, Lines& out) {
    SmsStorage* storage = StorageOf(0);
    if (!storage)
        return Cms(302);
    if (command.form == AtCommand::Form::Test) {
        std::string used;
        for (const auto& [index, message] : storage->messages) {
            (void)message;
            used += (used.empty() ? "" : ",") + std::to_string(index);
        }
        out.push_back("+CMGD: (" + used + "),(0-4)");
        return Ok();
    }
    if (command.form != AtCommand::Form::Set)
        return Error();
    const auto args = SplitArgs(command.args);
    if (!args || args->empty() || args->size() > 2)
        return Error();
    const auto index = IntArg(*args, 0);
    if (!index)
        return Error();
    long flag = 0;
    if (args->size() == 2 && (*args)[1].present) {
        const auto parsed = IntArg(*args, 1);
        if (!parsed)
            return Error();
        flag = *parsed;
    }
    if (flag < 0 || flag > 4)
        return Cms(304);
    if (flag == 0) {
        if (storage->messages.erase(static_cast<int>(*index)) == 0)
            return Cms(321);
        return Ok();
    }
    // 1 read, 2 also sent, 3 also unsent, 4 everything.
    for (auto it = storage->messages.begin(); it != storage->messages.end();) {
        const int s = it->second.status;
        const bool remove = flag == 4 || s == kReceivedRead || (flag >= 2 && s == kStoredSent) ||
                            (flag >= 3 && s == kStoredUnsent);
        it = remove ? storage->messages.erase(it) : std::next(it);
    }
    return Ok();
}

Executor::Result Executor::NewMessageIndications(const AtCommand& command, Lines& out) {
    using Form = AtCommand::Form;
    static constexpr int kMax[5] = {2, 3, 2, 2, 1};
    if (command.form == Form::Test) {
        out.push_back("+CNMI: (0-2),(0-3),(0,2),(0-2),(0,1)");
        return Ok();
    }
    if (command.form == Form::Read) {
        std::string line = "+CNMI: ";
        for (std::size_t i = 0; i < 5; ++i) {
            line += (i ? "," : "") + std::to_string(state_.cnmi[i]);
        }
        out.push_back(line);
        return Ok();
    }
    if (command.form != Form::Set)
        return Error();
    const auto args = SplitArgs(command.args);
    if (!args || args->size() > 5)
        return Error();
    std::array<int, 5> values = state_.cnmi;
    for (std::size_t i = 0; i < args->size(); ++i) {
        if (!(*args)[i].present)
            continue;
        const auto v = IntArg(*args, i);
        if (!v)
            return Error();
        if (*v < 0 || *v > kMax[i])
            return Cms(303);
        values[i] = static_cast<int>(*v);
    }
    state_.cnmi = values;
    return Ok();
}

}  // namespace phonesim
