// Any file text into the restore readers: the contact file (vCard or CSV, as import tells them
// apart), the message archive, and every number through the phone book's number rule. What a
// contact file yields and a restore would take (names and numbers the phone book can hold),
// written as vCard and read again, gives the same contacts; written as CSV
// (a column per kind, so one number of each kind, in the columns' order) the same where each
// contact has at most one number of a kind, as the phone book gives them.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "app/cli/backup/ContactCard.h"
#include "app/cli/backup/Csv.h"
#include "app/cli/backup/ImportPlan.h"
#include "app/cli/backup/PhoneNumber.h"
#include "app/cli/backup/SmsArchive.h"
#include "app/cli/backup/VCardReader.h"
#include "app/cli/backup/VCardWriter.h"

namespace {

using backup::CardFile;
using backup::ContactCard;

// The numbers of each card in the order of their kinds, or null when a card has two of a kind.
std::optional<std::vector<ContactCard>> ByKind(std::vector<ContactCard> cards) {
    for (ContactCard& card : cards) {
        std::ranges::stable_sort(card.numbers, {}, &backup::CardNumber::kind);
        if (std::ranges::adjacent_find(card.numbers, {}, &backup::CardNumber::kind) !=
            card.numbers.end())
            return std::nullopt;
    }
    return cards;
}

// Names and numbers, to compare: the file lines may differ.
using Contacts =
    std::vector<std::pair<std::u16string, std::vector<std::pair<int, std::u16string>>>>;
Contacts Of(const std::vector<ContactCard>& cards) {
    Contacts contacts;
    for (const ContactCard& card : cards) {
        contacts.push_back({card.name, {}});
        for (const backup::CardNumber& number : card.numbers)
            contacts.back().second.emplace_back(number.kind, number.text);
    }
    return contacts;
}

}  // namespace

#define CHECK(c) ((c) ? void() : std::abort())

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const CardFile file = backup::ReadContacts(bytes);
    if (!file.Failed()) {
        std::vector<ContactCard> taken;
        for (ContactCard card : file.cards) {
            std::erase_if(card.numbers, [](const backup::CardNumber& number) {
                const backup::NumberForm form = backup::PhonebookNumber(number.text);
                CHECK(form.number.empty() != form.problem.empty() && form.number.size() <= 20);
                return !form.problem.empty();
            });
            if (backup::NameProblem(card.name).empty())
                taken.push_back(std::move(card));
        }
        const CardFile vcards = backup::ReadVCards(backup::WriteVCards(taken));
        CHECK(!vcards.Failed() && Of(taken) == Of(vcards.cards));
        if (const auto byKind = ByKind(taken)) {
            const CardFile csv = backup::ReadCsv(backup::WriteCsv(*byKind));
            CHECK(!csv.Failed() && Of(*byKind) == Of(csv.cards));
        }
    }

    const backup::MessageArchive archive = backup::ReadArchive(bytes);
    for (const backup::ArchivedMessage& message : archive.messages)
        (void)backup::TpduLength(message.pdu);
    return 0;
}
