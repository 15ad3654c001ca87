// Phone book commands: AT+CPBS, AT+CPBR, AT+CPBW, AT+CPBF.

#include "phonesim/Charset.h"
#include "phonesim/Executor.h"
#include "phonesim/Text.h"

namespace phonesim {

namespace {

bool ValidDialChar(char c) {
    return (c >= '0' && c <= '9') || c == '*' || c == '#' || c == '+' || c == 'p' || c == 'P' ||
           c == 'w' || c == 'W';
}

// Dial strings are counted without their leading '+', as phones count digits.
std::size_t DialLength(const std::string& number) {
    return (!number.empty() && number[0] == '+') ? number.size() - 1 : number.size();
}

bool HasControl(const std::u16string& text) {
    for (char16_t c : text) {
        if (c < 0x20 || c == 0x7F)
            return true;
    }
    return false;
}

std::string Range(int capacity) {
    return "(1-" + std::to_string(capacity) + ")";
}

}  // namespace

Executor::Result Executor::RunPhonebook(const AtCommand& command, Lines& out, bool& handled) {
    handled = true;
    if (command.name == "+CPBS")
        return SelectPhonebook(command, out);
    if (command.name == "+CPBR")
        return ReadPhonebook(command, out);
    if (command.name == "+CPBW")
        return WritePhonebook(command, out);
    if (command.name == "+CPBF")
        return FindPhonebook(command, out);
    handled = false;
    return Error();
}

std::string Executor::EntryLine(const char* prefix, int index, const PhonebookEntry& entry) const {
    const Charset charset = CharsetByName(state_.charset).value_or(Charset::Ira);
    return std::string(prefix) + std::to_string(index) + ",\"" + entry.number + "\"," +
           std::to_string(entry.type) + ",\"" + EncodeText(entry.name, charset) + "\"";
}

Executor::Result Executor::SelectPhonebook(const AtCommand& command, Lines& out) {
    using Form = AtCommand::Form;
    if (command.form == Form::Test) {
        std::string list;
        for (const PhonebookMemory& m : state_.phonebooks) {
            list += (list.empty() ? "\"" : ",\"") + m.name + "\"";
        }
        out.push_back("+CPBS: (" + list + ")");
        return Ok();
    }
    if (command.form == Form::Read) {
        const PhonebookMemory* memory = state_.FindPhonebook(state_.phonebook);
        if (!memory)
            return Cme(3);
        out.push_back("+CPBS: \"" + memory->name + "\"," + std::to_string(memory->Used()) + "," +
                      std::to_string(memory->capacity));
        return Ok();
    }
    if (command.form != Form::Set)
        return Error();
    const auto args = SplitArgs(command.args);
    if (!args || args->empty() || !(*args)[0].present)
        return Error();
    const PhonebookMemory* memory = state_.FindPhonebook((*args)[0].text);
    if (!memory)
        return Cme(4);
    state_.phonebook = memory->name;
    return Ok();
}

Executor::Result Executor::ReadPhonebook(const AtCommand& command, Lines& out) {
    const PhonebookMemory* memory = state_.FindPhonebook(state_.phonebook);
    if (!memory)
        return Cme(3);
    if (command.form == AtCommand::Form::Test) {
        out.push_back("+CPBR: " + Range(memory->capacity) + "," +
                      std::to_string(memory->numberLength) + "," +
                      std::to_string(memory->textLength));
        return Ok();
    }
    if (command.form != AtCommand::Form::Set)
        return Error();
    const auto args = SplitArgs(command.args);
    if (!args || args->empty() || args->size() > 2 || !(*args)[0].present)
        return Error();
    const auto first = ParseInt((*args)[0].text);
    const auto last = args->size() == 2 ? ParseInt((*args)[1].text) : first;
    if (!first || !last)
        return Error();
    if (*first < 1 || *last > memory->capacity || *last < *first)
        return Cme(21);
    // Empty places in the range are skipped; a range without entries is just OK.
    for (auto it = memory->entries.lower_bound(static_cast<int>(*first));
         it != memory->entries.end() && it->first <= *last; ++it) {
        out.push_back(EntryLine("+CPBR: ", it->first, it->second));
    }
    return Ok();
}

Executor::Result Executor::WritePhonebook(const AtCommand& command, Lines& out) {
    PhonebookMemory* memory = state_.FindPhonebook(state_.phonebook);
    if (!memory)
        return Cme(3);
    if (command.form == AtCommand::Form::Test) {
        out.push_back("+CPBW: " + Range(memory->capacity) + "," +
                      std::to_string(memory->numberLength) + ",(129,145)," +
                      std::to_string(memory->textLength));
        return Ok();
    }
    if (command.form != AtCommand::Form::Set)
        return Error();
    const auto args = SplitArgs(command.args);
    if (!args || args->size() > 4)
        return Error();

    int index = 0;
    if ((*args)[0].present) {
        const auto parsed = ParseInt((*args)[0].text);
        if (!parsed || (*args)[0].quoted)
            return Error();
        if (*parsed < 1 || *parsed > memory->capacity)
            return Cme(21);
        index = static_cast<int>(*parsed);
    }
    bool onlyIndex = true;
    for (std::size_t i = 1; i < args->size(); ++i)
        onlyIndex = onlyIndex && !(*args)[i].present;
    if (onlyIndex) {
        if (index == 0)
            return Error();
        memory->entries.erase(index);
        return Ok();
    }

    PhonebookEntry entry;
    entry.number = args->size() > 1 ? (*args)[1].text : "";
    for (char c : entry.number) {
        if (!ValidDialChar(c))
            return Cme(27);
    }
    if (DialLength(entry.number) > static_cast<std::size_t>(memory->numberLength))
        return Cme(26);

    entry.type = (!entry.number.empty() && entry.number[0] == '+') ? 145 : 129;
    if (args->size() > 2 && (*args)[2].present) {
        const auto type = ParseInt((*args)[2].text);
        if (!type || (*args)[2].quoted)
            return Error();
        if (*type < 128 || *type > 255)
            return Cme(50);
        entry.type = static_cast<int>(*type);
    }

    if (args->size() > 3 && (*args)[3].present) {
        const Charset charset = CharsetByName(state_.charset).value_or(Charset::Ira);
        const auto name = DecodeText((*args)[3].text, charset);
        if (!name || HasControl(*name))
            return Cme(25);
        if (name->size() > static_cast<std::size_t>(memory->textLength))
            return Cme(24);
        entry.name = *name;
    }

    if (index == 0) {
        index = memory->FirstFree();
        if (index == 0)
            return Cme(20);
    }
    memory->entries[index] = std::move(entry);
    return Ok();
}

Executor::Result Executor::FindPhonebook(const AtCommand& command, Lines& out) {
    const PhonebookMemory* memory = state_.FindPhonebook(state_.phonebook);
    if (!memory)
        return Cme(3);
    if (command.form == AtCommand::Form::Test) {
        out.push_back("+CPBF: " + std::to_string(memory->numberLength) + "," +
                      std::to_string(memory->textLength));
        return Ok();
    }
    if (command.form != AtCommand::Form::Set)
        return Error();
    const auto args = SplitArgs(command.args);
    if (!args || args->size() != 1)
        return Error();
    const Charset charset = CharsetByName(state_.charset).value_or(Charset::Ira);
    const auto wanted = DecodeText((*args)[0].text, charset);
    if (!wanted)
        return Cme(25);
    const std::string key = ToUpperAscii(ToUtf8(*wanted));
    for (const auto& [index, entry] : memory->entries) {
        if (ToUpperAscii(ToUtf8(entry.name)).rfind(key, 0) == 0) {
            out.push_back(EntryLine("+CPBF: ", index, entry));
        }
    }
    return out.empty() ? Cme(22) : Ok();
}

}  // namespace phonesim
