#include "phonebook/NumberKind.h"

#include <array>

namespace {

// The label typo "Moblie" is what the page has always shown.
const std::array<NumberKind, 5> kKinds = {{
    {1, u"/H", u'H', &CContactEntry::home, &CContactEntry::homeIndex, CContactEntry::MarkHome,
     u"Home Number:", u"General Number:"},
    {2, u"/W", u'W', &CContactEntry::work, &CContactEntry::workIndex, CContactEntry::MarkWork,
     u"Work Number:", u"Home Number:"},
    {3, u"/M", u'M', &CContactEntry::mobile, &CContactEntry::mobileIndex, CContactEntry::MarkMobile,
     u"Moblie Number:", u"Office Number:"},
    {4, u"/F", u'F', &CContactEntry::fax, &CContactEntry::faxIndex, CContactEntry::MarkFax,
     u"Fax Number:", u"Mobile Number:"},
    {5, u"/O", u'O', &CContactEntry::other, &CContactEntry::otherIndex, CContactEntry::MarkOther,
     u"Other Number:", u"Fax Number:"},
}};

}  // namespace

std::span<const NumberKind> NumberKind::All() {
    return kKinds;
}

const NumberKind* NumberKind::Of(int kind) {
    if (kind < 1 || kind > static_cast<int>(kKinds.size())) {
        return nullptr;
    }
    return &kKinds[static_cast<std::size_t>(kind - 1)];
}

int NumberKind::FromLetter(char16_t letter) {
    for (const NumberKind& k : kKinds) {
        if (k.letter == letter) {
            return k.kind;
        }
    }
    return 0;
}
