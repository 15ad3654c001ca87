#include "app/cli/backup/ImportPlan.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>

#include "app/Utf8Text.h"
#include "app/cli/backup/PhoneNumber.h"
#include "phonebook/AtText.h"
#include "phonebook/NumberKind.h"
#include "phonebook/PhoneBookEditor.h"

namespace backup {

namespace {

struct Candidate {
    std::u16string number;
    std::u16string text;
    std::string note;
};

using Slots = std::array<std::optional<Candidate>, 5>;

std::size_t Slot(int kind) {
    return static_cast<std::size_t>(kind - 1);
}

class Planner {
public:
    Planner(const CContactBook& book, const PlanOptions& options)
        : book_(book), options_(options), free_(options.freePlaces) {}

    PlanItem Plan(const ContactCard& card) {
        PlanItem item;
        item.line = card.line;
        item.name = card.name;
        if (card.name.empty()) {
            return Skip(item, "no name");
        }
        if (std::string problem = NameProblem(card.name); !problem.empty()) {
            return Skip(item, "the name " + problem);
        }
        if (auto [it, added] = seen_.emplace(card.name, card.line); !added) {
            return Skip(item,
                        "the file gave this name before, on line " + std::to_string(it->second));
        }
        if (card.numbers.empty()) {
            return Skip(item, "no number");
        }
        std::array<bool, 5> given{};
        const Slots slots = Place(card, item, given);
        if (std::none_of(slots.begin(), slots.end(), [](const auto& s) { return s.has_value(); })) {
            return Skip(item, "no number the phone book can hold");
        }
        item.position = book_.Find(card.name);
        if (item.position < 0) {
            return Add(item, slots);
        }
        return Update(item, slots, given, *book_.GetAt(item.position));
    }

private:
    bool Holds(int kind) const { return !options_.nokia || kind == kHome; }

    static PlanItem Skip(PlanItem& item, std::string reason) {
        item.step = Step::Skip;
        item.reason = std::move(reason);
        item.numbers.clear();
        return item;
    }

    // The card's numbers by kind; those the memory cannot take go to `leftOut`. A second number
    // of a kind goes to other while other is free, so that it is not lost.
    Slots Place(const ContactCard& card, PlanItem& item, std::array<bool, 5>& given) const {
        Slots slots;
        std::vector<std::pair<const CardNumber*, Candidate>> extra;
        for (const CardNumber& number : card.numbers) {
            const int kind = number.kind >= 1 && number.kind <= 5 ? number.kind : kOther;
            given[Slot(kind)] = true;
            const NumberForm form = PhonebookNumber(number.text);
            if (!form.problem.empty()) {
                item.leftOut.push_back({kind, number.text, "it holds " + form.problem});
                continue;
            }
            if (!Holds(kind)) {
                item.leftOut.push_back(
                    {kind, number.text, "this phone keeps one number per contact, the home one"});
                continue;
            }
            Candidate candidate{
                form.number, number.text,
                form.trunkZeroDropped ? "the (0) after the country code left out" : ""};
            std::optional<Candidate>& slot = slots[Slot(kind)];
            if (!slot) {
                slot = std::move(candidate);
            } else if (slot->number != candidate.number) {
                extra.emplace_back(&number, std::move(candidate));
            }
        }
        for (auto& [number, candidate] : extra) {
            const int kind = number->kind >= 1 && number->kind <= 5 ? number->kind : kOther;
            std::optional<Candidate>& other = slots[Slot(kOther)];
            if (Holds(kOther) && !other) {
                candidate.note =
                    std::string("a second ") + KindName(kind) + " number, kept as other";
                other = std::move(candidate);
            } else {
                item.leftOut.push_back({kind, number->text,
                                        std::string("a second ") + KindName(kind) +
                                            " number; a contact holds one of each kind"});
            }
        }
        return slots;
    }

    // One more number goes to a place of its own, if one is left.
    bool TakePlace() {
        if (free_ <= 0) {
            return false;
        }
        --free_;
        return true;
    }

    PlanItem Add(PlanItem& item, const Slots& slots) {
        for (int kind = 1; kind <= 5; ++kind) {
            const std::optional<Candidate>& slot = slots[Slot(kind)];
            if (!slot) {
                continue;
            }
            if (TakePlace()) {
                item.numbers.push_back({kind, slot->number, u"", slot->note});
            } else {
                item.leftOut.push_back({kind, slot->text, kNoFreePlace});
            }
        }
        if (item.numbers.empty()) {
            return Skip(item, kNoFreePlace);
        }
        item.step = Step::Add;
        return item;
    }

    PlanItem Update(PlanItem& item, const Slots& slots, const std::array<bool, 5>& given,
                    const CContactEntry& contact) {
        bool replaces = false;
        for (const NumberKind& kind : NumberKind::All()) {
            if (!Holds(kind.kind)) {
                continue;
            }
            const std::u16string& phone = contact.*kind.number;
            const std::optional<Candidate>& slot = slots[Slot(kind.kind)];
            if (!slot) {
                // With --replace a kind the card does not give at all is removed; one it gives
                // in a form the phone cannot take stays as it is.
                if (options_.replace && !given[Slot(kind.kind)] && !phone.empty()) {
                    item.numbers.push_back({kind.kind, u"", phone, ""});
                    replaces = true;
                }
                continue;
            }
            if (slot->number == phone) {
                continue;
            }
            if (!phone.empty() && !options_.replace) {
                item.leftOut.push_back({kind.kind, slot->text,
                                        "the contact has " + app::ToUtf8(phone) +
                                            " there (--replace takes the file's)"});
                continue;
            }
            if (contact.*kind.index <= 0 && !TakePlace()) {
                item.leftOut.push_back({kind.kind, slot->text, kNoFreePlace});
                continue;
            }
            item.numbers.push_back({kind.kind, slot->number, phone, slot->note});
            replaces = replaces || !phone.empty();
        }
        if (item.numbers.empty()) {
            if (item.leftOut.empty()) {
                item.step = Step::Unchanged;
                return item;
            }
            return Skip(item, "nothing on the phone it can change");
        }
        item.step = replaces ? Step::Replace : Step::Fill;
        return item;
    }

    const CContactBook& book_;
    const PlanOptions& options_;
    int free_;
    std::map<std::u16string, int> seen_;
};

}  // namespace

std::string NameProblem(const std::u16string& name) {
    if (name.size() > CPhoneBookEditor::kMaxNameLength) {
        return "is longer than 223 characters";
    }
    if (!phonebook::IsSafeName(name)) {
        return "holds a double quote or a control character";
    }
    if (name.find(u'/') != std::u16string::npos) {
        // The phone's entries mark the kind of number after a "/": the name would come back cut.
        return "holds \"/\", which the phone book uses to mark the kind of number";
    }
    return "";
}

int FreePlaces(const CContactBook& book, int highest) {
    int free = 0;
    for (int index = 1; index <= highest; ++index) {
        free += book.IsIndexTaken(index) ? 0 : 1;
    }
    return free;
}

std::vector<PlanItem> MakePlan(const std::vector<ContactCard>& cards, const CContactBook& book,
                               const PlanOptions& options) {
    Planner planner(book, options);
    std::vector<PlanItem> plan;
    plan.reserve(cards.size());
    for (const ContactCard& card : cards) {
        plan.push_back(planner.Plan(card));
    }
    return plan;
}

}  // namespace backup
