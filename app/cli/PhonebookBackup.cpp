// phonebook export and import: a memory to a vCard or CSV file, and such a file back into it
// through the phone book page's own operations.

#include <algorithm>
#include <string>
#include <vector>

#include "app/Utf8Text.h"
#include "app/cli/Commands.h"
#include "app/cli/Output.h"
#include "app/cli/backup/Csv.h"
#include "app/cli/backup/ImportPlan.h"
#include "app/cli/backup/VCardWriter.h"
#include "phonebook/NumberKind.h"
#include "text/Ascii.h"

namespace cli {

namespace {

using backup::PlanItem;
using backup::Step;
using Outcome = CPhoneBookEngine::SlotOutcome;

std::string Utf8(const std::u16string& text) {
    return app::Printable(app::ToUtf8(text));
}

// Letters compared without case first, so that a backup reads like an address book.
bool NameOrder(const backup::ContactCard& a, const backup::ContactCard& b) {
    const std::u16string foldedA = text::ToLowerAscii(a.name);
    const std::u16string foldedB = text::ToLowerAscii(b.name);
    return foldedA != foldedB ? foldedA < foldedB : a.name < b.name;
}

// The contacts by name: the order in which the phone returns them follows the indices it gave
// them, which a restore cannot choose, and a backup should not change with them.
std::vector<backup::ContactCard> CardsOf(const CContactBook& book) {
    std::vector<backup::ContactCard> cards;
    for (int i = 0; i < book.GetSize(); ++i) {
        const CContactEntry& contact = *book.GetAt(i);
        backup::ContactCard card{0, contact.name, {}};
        for (const NumberKind& kind : NumberKind::All()) {
            if (!(contact.*kind.number).empty()) {
                card.numbers.push_back({kind.kind, contact.*kind.number});
            }
        }
        // A name with no number of a known kind has nothing a restore could write back.
        if (!card.numbers.empty()) {
            cards.push_back(std::move(card));
        }
    }
    std::sort(cards.begin(), cards.end(), NameOrder);
    return cards;
}

// Indices the last read found in use that no contact shows: an entry of a kind the phone book
// does not know ("Bob/X"), or one whose number a later entry of the same name and kind replaced.
std::vector<int> EntriesNotShown(const CContactBook& book, int highest) {
    std::vector<int> indices;
    for (int index = 1; index <= highest; ++index) {
        bool shown = false;
        for (int i = 0; i < book.GetSize() && !shown; ++i) {
            shown = book.GetAt(i)->HoldsIndex(index);
        }
        if (!shown && book.IsIndexTaken(index)) {
            indices.push_back(index);
        }
    }
    return indices;
}

// What became of one planned number.
struct NumberResult {
    bool written = false;  // the writes were attempted
    bool confirmed = false;
    std::string reason;  // why not, when not confirmed
};

using ItemResults = std::vector<NumberResult>;  // by the item's numbers

const char* StepName(Step step) {
    switch (step) {
        case Step::Add:
            return "add";
        case Step::Fill:
            return "fill in";
        case Step::Replace:
            return "replace";
        case Step::Unchanged:
            return "keep";
        default:
            return "skip";
    }
}

std::string NumberText(const backup::PlannedNumber& number) {
    std::string text = backup::KindName(number.kind);
    if (number.number.empty()) {
        text += " removed";
    } else {
        text += " " + Utf8(number.number);
    }
    if (!number.previous.empty()) {
        text += " (was " + Utf8(number.previous) + ")";
    }
    if (!number.note.empty()) {
        text += " (" + number.note + ")";
    }
    return text;
}

void PrintPlanItem(std::ostream& out, const PlanItem& item) {
    std::string step = StepName(item.step);
    step.resize(9, ' ');
    out << "  " << step << (item.name.empty() ? "(no name)" : Utf8(item.name)) << " (line "
        << item.line << ")";
    if (item.step == Step::Skip) {
        out << ": " << item.reason;
    } else if (item.step == Step::Unchanged) {
        out << ": already on the phone";
    }
    for (std::size_t i = 0; i < item.numbers.size(); ++i) {
        out << (i == 0 ? ": " : ", ") << NumberText(item.numbers[i]);
    }
    out << '\n';
    for (const backup::LeftOut& left : item.leftOut) {
        out << "             left out: " << backup::KindName(left.kind) << " \"" << Utf8(left.text)
            << "\": " << left.reason << '\n';
    }
}

std::string PlanCounts(const std::vector<PlanItem>& plan) {
    int counts[5] = {};
    for (const PlanItem& item : plan) {
        ++counts[static_cast<int>(item.step)];
    }
    return std::to_string(counts[0]) + " to add, " + std::to_string(counts[1]) + " to fill in, " +
           std::to_string(counts[2]) + " to replace, " + std::to_string(counts[3]) +
           " already on the phone, " + std::to_string(counts[4]) + " skipped";
}

bool LacksPlace(const std::vector<PlanItem>& plan) {
    for (const PlanItem& item : plan) {
        if (item.reason == backup::kNoFreePlace) {
            return true;
        }
        for (const backup::LeftOut& left : item.leftOut) {
            if (left.reason == backup::kNoFreePlace) {
                return true;
            }
        }
    }
    return false;
}

// Writes one planned contact as the page would: the new contact added and named, or the
// existing one selected; the numbers typed into its boxes; the session's save.
ItemResults Write(Context& c, CPhoneBookEditor& editor, const PlanItem& item) {
    ItemResults results(item.numbers.size(), NumberResult{true, false, "not sent"});
    if (item.step == Step::Add) {
        if (editor.AddUser() < 0 || !editor.CheckName(item.name)) {
            editor.Deselect();
            return results;
        }
        editor.SetLabel(item.name);
    } else if (!editor.Select(item.position)) {
        return results;
    }
    for (const backup::PlannedNumber& number : item.numbers) {
        editor.SetNumber(number.kind, number.number);
    }
    editor.StoreEdits();
    c.books.SaveContact(editor.GetCurrent());
    const auto& report = c.books.GetEngine().GetLastWrite();
    for (std::size_t i = 0; i < item.numbers.size(); ++i) {
        const CPhoneBookEngine::SlotReport& slot =
            report[static_cast<std::size_t>(item.numbers[i].kind - 1)];
        results[i].confirmed = slot.outcome == Outcome::Written;
        results[i].reason = SlotProblem(slot);
    }
    // Nothing stays selected: adding the next contact must not ask about this one.
    editor.Deselect();
    return results;
}

nlohmann::ordered_json PlanJson(const PlanItem& item, const ItemResults& results) {
    nlohmann::ordered_json object = {
        {"line", item.line},
        {"name", app::ToUtf8(item.name)},
        // "fill" where the plan says "fill in".
        {"action", item.step == Step::Fill ? "fill" : StepName(item.step)}};
    if (!item.reason.empty()) {
        object["reason"] = item.reason;
    }
    nlohmann::ordered_json numbers = nlohmann::ordered_json::array();
    for (std::size_t i = 0; i < item.numbers.size(); ++i) {
        const backup::PlannedNumber& number = item.numbers[i];
        nlohmann::ordered_json entry = {{"kind", backup::KindName(number.kind)},
                                        {"number", app::ToUtf8(number.number)}};
        if (!number.previous.empty()) {
            entry["previous"] = app::ToUtf8(number.previous);
        }
        if (!number.note.empty()) {
            entry["note"] = number.note;
        }
        if (i < results.size() && results[i].written) {
            entry["confirmed"] = results[i].confirmed;
            if (!results[i].confirmed) {
                entry["reason"] = results[i].reason;
            }
        }
        numbers.push_back(std::move(entry));
    }
    if (!numbers.empty()) {
        object["numbers"] = std::move(numbers);
    }
    nlohmann::ordered_json leftOut = nlohmann::ordered_json::array();
    for (const backup::LeftOut& left : item.leftOut) {
        leftOut.push_back({{"kind", backup::KindName(left.kind)},
                           {"text", app::ToUtf8(left.text)},
                           {"reason", left.reason}});
    }
    if (!leftOut.empty()) {
        object["leftOut"] = std::move(leftOut);
    }
    return object;
}

// The plan with a skip for each card the reader could not read, all in the file's order.
std::vector<PlanItem> WithUnreadable(std::vector<PlanItem> plan,
                                     const std::vector<backup::UnreadableCard>& unreadable) {
    for (const backup::UnreadableCard& card : unreadable) {
        PlanItem item;
        item.line = card.line;
        item.name = card.name;
        item.reason = "cannot be read: line " + std::to_string(card.faultLine) + ": " + card.reason;
        plan.push_back(std::move(item));
    }
    if (!unreadable.empty()) {
        std::stable_sort(plan.begin(), plan.end(),
                         [](const PlanItem& a, const PlanItem& b) { return a.line < b.line; });
    }
    return plan;
}

}  // namespace

int ExportPhonebook(Context& c) {
    if (!ReadMemory(c)) {
        return kExitFailed;
    }
    const CContactBook& book = *c.books.GetCurrentBook();
    const std::vector<backup::ContactCard> cards = CardsOf(book);
    if (!WriteOutput(c, c.options.csv ? backup::WriteCsv(cards) : backup::WriteVCards(cards))) {
        return kExitFailed;
    }
    const std::vector<int> missing = EntriesNotShown(book, c.session.GetMaxIndex());
    if (!missing.empty()) {
        std::string indices;
        for (int index : missing) {
            indices += (indices.empty() ? "" : ", ") + std::to_string(index);
        }
        Complain(c.err, "not in the backup: the entries of " +
                            std::string(MemoryName(c.options.memory)) + " at " + indices +
                            " (the phone book shows one number of each known kind per name)");
    }
    if (!c.options.file.empty()) {
        std::size_t numbers = 0;
        for (const backup::ContactCard& card : cards) {
            numbers += card.numbers.size();
        }
        c.out << cards.size() << " contacts with " << numbers << " numbers of "
              << MemoryName(c.options.memory) << " written to " << c.options.file << '\n'
              << std::flush;
    }
    return kExitOk;
}

int ImportPhonebook(Context& c, CPhoneBookEditor& editor) {
    if (!ReadMemory(c)) {
        return kExitFailed;
    }
    const char* memory = MemoryName(c.options.memory);
    const CContactBook& book = *c.books.GetCurrentBook();
    const backup::PlanOptions planOptions{editor.IsNokia(), c.options.replace,
                                          backup::FreePlaces(book, c.session.GetMaxIndex())};
    const std::vector<PlanItem> plan =
        WithUnreadable(backup::MakePlan(c.cards->cards, book, planOptions), c.cards->unreadable);
    if (!c.options.json) {
        c.out << "Plan for " << memory << " from " << c.options.file << ":\n";
        for (const PlanItem& item : plan) {
            PrintPlanItem(c.out, item);
        }
        c.out << PlanCounts(plan) << ".\n" << std::flush;
    }

    std::vector<ItemResults> results(plan.size());
    int confirmed = 0;
    int refused = 0;
    if (!c.options.dryRun) {
        for (std::size_t i = 0; i < plan.size(); ++i) {
            const PlanItem& item = plan[i];
            if (item.step != Step::Add && item.step != Step::Fill && item.step != Step::Replace) {
                continue;
            }
            results[i] = Write(c, editor, item);
            for (const NumberResult& result : results[i]) {
                ++(result.confirmed ? confirmed : refused);
            }
        }
    }

    if (c.options.json) {
        nlohmann::ordered_json contacts = nlohmann::ordered_json::array();
        for (std::size_t i = 0; i < plan.size(); ++i) {
            contacts.push_back(PlanJson(plan[i], results[i]));
        }
        PrintJson(c.out, {{"memory", memory},
                          {"dryRun", c.options.dryRun},
                          {"contacts", std::move(contacts)},
                          {"confirmed", confirmed},
                          {"refused", refused}});
    } else if (c.options.dryRun) {
        c.out << "Dry run: nothing was written.\n" << std::flush;
    } else {
        c.out << "The phone confirmed " << confirmed << (confirmed == 1 ? " number" : " numbers")
              << " and refused " << refused << (refused == 0 ? ".\n" : ":\n");
        for (std::size_t i = 0; i < plan.size(); ++i) {
            for (std::size_t n = 0; n < results[i].size(); ++n) {
                if (!results[i][n].confirmed) {
                    c.out << "  " << Utf8(plan[i].name) << ": " << NumberText(plan[i].numbers[n])
                          << ": " << results[i][n].reason << '\n';
                }
            }
        }
        c.out << std::flush;
    }
    // Cards the file holds but that could not be read are not restored, with --dry-run too.
    const std::vector<backup::UnreadableCard>& unreadable = c.cards->unreadable;
    if (!unreadable.empty()) {
        std::string lines;
        for (const backup::UnreadableCard& card : unreadable) {
            lines += (lines.empty() ? "" : ", ") + std::to_string(card.line);
        }
        Complain(c.err,
                 std::to_string(unreadable.size()) + (unreadable.size() == 1 ? " card" : " cards") +
                     " of " + c.options.file + " could not be read and " +
                     (unreadable.size() == 1 ? "was skipped (line " : "were skipped (lines ") +
                     lines + ")");
        return kExitFailed;
    }
    if (c.options.dryRun) {
        return kExitOk;
    }
    // A number the phone refused, or one there was no room for, is not restored.
    return refused == 0 && !LacksPlace(plan) ? kExitOk : kExitFailed;
}

}  // namespace cli
