// The dialog templates of the pages and dialogs.

#include "res/DialogTemplate.h"
#include "res/Resource.h"

namespace res {

namespace {

using K = ControlKind;
namespace s = style;

constexpr std::uint32_t kNumberBox = s::AutoHScroll | s::Border;

// The phone book page: the contact names on the left, five number boxes on the right, the
// memory under the names.
constexpr ControlTemplate kPhoneBook[] = {
    {IDC_CONTACT_LIST, K::ListView, u"",
     s::SingleSel | s::ShowSelAlways | s::EditLabels | s::Border, 1, 2, 66, 100},
    {IDC_HOME_LABEL, K::Static, u"Home Number:", 0, 70, 1, 62, 8},
    {IDC_HOME, K::Edit, u"", kNumberBox, 71, 12, 66, 12},
    {IDC_WORK_LABEL, K::Static, u"Work Number:", 0, 70, 28, 62, 9},
    {IDC_WORK, K::Edit, u"", kNumberBox, 71, 40, 66, 12},
    {IDC_MOBILE_LABEL, K::Static, u"Moblie Number:", 0, 70, 55, 63, 8},
    {IDC_MOBILE, K::Edit, u"", kNumberBox, 71, 67, 66, 12},
    {IDC_FAX_LABEL, K::Static, u"Fax Number:", 0, 70, 81, 56, 9},
    {IDC_FAX, K::Edit, u"", kNumberBox, 71, 92, 66, 12},
    {IDC_STATIC, K::Static, u"Other Number:", 0, 70, 107, 50, 9},
    {IDC_OTHER, K::Edit, u"", kNumberBox, 71, 119, 66, 12},
    {IDC_MEMORY_LABEL, K::Static, u"Select memory:", 0, 3, 108, 62, 8},
    {IDC_MEMORY, K::ComboBox, u"Phone Book\nSIM Book", s::DropDownList, 1, 120, 66, 44},
};

// The Nokia phone book page: the same controls, labelled for a phone that keeps one number.
constexpr ControlTemplate kPhoneBookNokia[] = {
    {IDC_CONTACT_LIST, K::ListView, u"",
     s::SingleSel | s::ShowSelAlways | s::EditLabels | s::Border, 1, 2, 66, 100},
    {IDC_HOME_LABEL, K::Static, u"General Number:", 0, 70, 1, 62, 8},
    {IDC_HOME, K::Edit, u"", kNumberBox, 71, 12, 66, 12},
    {IDC_WORK_LABEL, K::Static, u"Home Number:", 0, 70, 28, 62, 9},
    {IDC_WORK, K::Edit, u"", kNumberBox, 71, 40, 66, 12},
    {IDC_MOBILE_LABEL, K::Static, u"Office Number:", 0, 70, 55, 63, 8},
    {IDC_MOBILE, K::Edit, u"", kNumberBox, 71, 65, 66, 12},
    {IDC_FAX_LABEL, K::Static, u"Mobile Number:", 0, 70, 81, 56, 9},
    {IDC_FAX, K::Edit, u"", kNumberBox, 71, 92, 66, 12},
    {IDC_OTHER_LABEL, K::Static, u"Fax Number:", 0, 70, 108, 50, 9},
    {IDC_OTHER, K::Edit, u"", kNumberBox, 71, 119, 66, 12},
    {IDC_MEMORY_LABEL, K::Static, u"Select memory:", 0, 3, 108, 62, 8},
    {IDC_MEMORY, K::ComboBox, u"Phone Book\nSIM Book", s::DropDownList, 1, 120, 66, 44},
};

constexpr DialogTemplate kDialogs[] = {
    {IDD_PHONEBOOK, u"", 143, 141, u"System", 8, kPhoneBook},
    {IDD_PHONEBOOK_NOKIA, u"", 143, 141, u"System", 8, kPhoneBookNokia},
};

}  // namespace

const DialogTemplate* FindDialog(int id) {
    for (const DialogTemplate& dialog : kDialogs) {
        if (dialog.id == id) {
            return &dialog;
        }
    }
    return nullptr;
}

}  // namespace res
