#include "app/cli/backup/PhoneNumber.h"

#include "app/Utf8Text.h"
#include "phonebook/PhoneBookEditor.h"

namespace backup {

namespace {

bool IsLayout(char16_t c) {
    switch (c) {
        case u' ':
        case u'\t':
        case u'\u00A0':  // no-break space
        case u'\u2007':  // figure space
        case u'\u202F':  // narrow no-break space
        case u'-':
        case u'\u2010':  // hyphen
        case u'\u2011':  // non-breaking hyphen
        case u'\u2012':  // figure dash
        case u'\u2013':  // en dash
        case u'.':
        case u'/':
        case u'(':
        case u')':
            return true;
        default:
            return false;
    }
}

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

}  // namespace

NumberForm PhonebookNumber(std::u16string_view text) {
    NumberForm form;
    std::u16string kept;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        // "+44 (0)20 ...": the 0 is for calls from inside the country only.
        if (c == u'(' && text.substr(i, 3) == u"(0)" && !kept.empty() && kept[0] == u'+' &&
            kept.size() > 1) {
            form.trunkZeroDropped = true;
            i += 2;
            continue;
        }
        if (IsLayout(c)) {
            continue;
        }
        const bool allowed = IsDigit(c) || c == u'*' || c == u'#' || (c == u'+' && kept.empty());
        if (!allowed) {
            form.problem = c == u'+' ? "a \"+\" that does not lead"
                                     : "\"" + app::ToUtf8(std::u16string(1, c)) +
                                           "\", which a phone book number cannot hold";
            return form;
        }
        kept += c;
    }
    if (kept.empty() || kept == u"+") {
        form.problem = "no digits";
        return form;
    }
    if (kept.size() > CPhoneBookEditor::kMaxNumberLength) {
        form.problem = "longer than 20 characters";
        return form;
    }
    form.number = std::move(kept);
    return form;
}

}  // namespace backup
