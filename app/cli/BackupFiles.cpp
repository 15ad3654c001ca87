// The files of backup and restore: the file of an import read whole and found usable before the
// phone is connected, the text of an export written in one go.

#include <string>

#include "app/cli/Commands.h"
#include "app/cli/Output.h"
#include "app/cli/backup/FileIo.h"

namespace cli {

namespace {

bool ReadInput(const Options& options, std::string& bytes, std::ostream& err) {
    std::string error;
    if (!backup::ReadWholeFile(options.file, bytes, error)) {
        Complain(err, error);
        return false;
    }
    return true;
}

// Where and why the file of an import cannot be used; always false.
bool Unusable(const Options& options, int line, const std::string& problem, std::ostream& err) {
    Complain(err, options.file + " line " + std::to_string(line) + ": " + problem +
                      "; nothing was imported");
    return false;
}

}  // namespace

bool ReadContactFile(const Options& options, backup::CardFile& cards, std::ostream& err) {
    std::string bytes;
    if (!ReadInput(options, bytes, err)) {
        return false;
    }
    cards = backup::ReadContacts(bytes);
    return !cards.Failed() || Unusable(options, cards.errorLine, cards.error, err);
}

bool ReadMessageFile(const Options& options, backup::MessageArchive& messages, std::ostream& err) {
    std::string bytes;
    if (!ReadInput(options, bytes, err)) {
        return false;
    }
    messages = backup::ReadArchive(bytes);
    if (messages.Failed()) {
        return Unusable(options, messages.errorLine, messages.error, err);
    }
    for (const backup::ArchivedMessage& message : messages.messages) {
        // A received message stored as a sent one would be a different message.
        if (!message.outbox) {
            return Unusable(options, message.line,
                            "a message of the inbox; only the outbox is stored back", err);
        }
    }
    return true;
}

bool OutputWritable(const Options& options, std::ostream& err) {
    const bool exports =
        options.action == Action::PhonebookExport || options.action == Action::SmsExport;
    std::string error;
    if (exports && !options.file.empty() && !backup::CanReplace(options.file, error)) {
        Complain(err, error);
        return false;
    }
    return true;
}

bool WriteOutput(Context& c, const std::string& text) {
    if (c.options.file.empty()) {
        c.out << text << std::flush;
        return true;
    }
    std::string error;
    if (!backup::ReplaceFile(c.options.file, text, error)) {
        Complain(c.err, error);
        return false;
    }
    return true;
}

}  // namespace cli
