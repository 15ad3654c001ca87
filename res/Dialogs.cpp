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

// The names take the height and half the width the page gains, the numbers the other half.
constexpr ControlAnchor kPhoneBookGrowth[] = {
    {IDC_CONTACT_LIST, 0, 0, 50, 100}, {IDC_HOME_LABEL, 50, 0, 50, 0},
    {IDC_HOME, 50, 0, 50, 0},          {IDC_WORK_LABEL, 50, 0, 50, 0},
    {IDC_WORK, 50, 0, 50, 0},          {IDC_MOBILE_LABEL, 50, 0, 50, 0},
    {IDC_MOBILE, 50, 0, 50, 0},        {IDC_FAX_LABEL, 50, 0, 50, 0},
    {IDC_FAX, 50, 0, 50, 0},           {IDC_STATIC, 50, 0, 50, 0},
    {IDC_OTHER, 50, 0, 50, 0},         {IDC_MEMORY_LABEL, 0, 100, 50, 0},
    {IDC_MEMORY, 0, 100, 50, 0},
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
constexpr ControlAnchor kPhoneBookNokiaGrowth[] = {
    {IDC_CONTACT_LIST, 0, 0, 50, 100}, {IDC_HOME_LABEL, 50, 0, 50, 0},
    {IDC_HOME, 50, 0, 50, 0},          {IDC_WORK_LABEL, 50, 0, 50, 0},
    {IDC_WORK, 50, 0, 50, 0},          {IDC_MOBILE_LABEL, 50, 0, 50, 0},
    {IDC_MOBILE, 50, 0, 50, 0},        {IDC_FAX_LABEL, 50, 0, 50, 0},
    {IDC_FAX, 50, 0, 50, 0},           {IDC_OTHER_LABEL, 50, 0, 50, 0},
    {IDC_OTHER, 50, 0, 50, 0},         {IDC_MEMORY_LABEL, 0, 100, 50, 0},
    {IDC_MEMORY, 0, 100, 50, 0},
};

// The inbox and outbox pages: a list that fills the page; the import and export buttons are
// never shown.
constexpr std::uint32_t kReport = s::ShowSelAlways | s::Border;
constexpr ControlTemplate kInbox[] = {
    {IDC_INBOX_LIST, K::ListView, u"", kReport, 0, 0, 138, 140},
    {IDC_INBOX_EXPORT, K::Button, u"Export", s::Hidden | s::Disabled, 4, 124, 50, 14},
    {IDC_INBOX_IMPORT, K::Button, u"Import", s::Hidden | s::Disabled, 84, 124, 50, 14},
};
constexpr ControlTemplate kOutbox[] = {
    {IDC_OUTBOX_LIST, K::ListView, u"", kReport, 0, 0, 138, 140},
    {IDC_OUTBOX_EXPORT, K::Button, u"Export", s::Hidden | s::Disabled, 4, 124, 50, 14},
    {IDC_OUTBOX_IMPORT, K::Button, u"Import", s::Hidden | s::Disabled, 84, 124, 50, 14},
};
// The list fills the page at any size.
constexpr ControlAnchor kInboxGrowth[] = {
    {IDC_INBOX_LIST, 0, 0, 100, 100},
    {IDC_INBOX_EXPORT, 0, 100, 0, 0},
    {IDC_INBOX_IMPORT, 0, 100, 0, 0},
};
constexpr ControlAnchor kOutboxGrowth[] = {
    {IDC_OUTBOX_LIST, 0, 0, 100, 100},
    {IDC_OUTBOX_EXPORT, 0, 100, 0, 0},
    {IDC_OUTBOX_IMPORT, 0, 100, 0, 0},
};

// The message view: number, date and text of a received message, Reply and Forward. The sender
// named in the text shows above the text when there is one; the two flags are kept in hidden
// controls.
constexpr ControlTemplate kInboxMessage[] = {
    {IDC_STATIC, K::Static, u"SMS Incoming Message", s::Center, 5, 4, 129, 9},
    {IDC_STATIC, K::Static, u"Number:", 0, 5, 17, 32, 8},
    {IDC_VIEW_NUMBER, K::Static, u"", 0, 38, 17, 96, 8},
    {IDC_STATIC, K::Static, u"Date:", 0, 5, 28, 32, 8},
    {IDC_VIEW_DATE, K::Static, u"", 0, 38, 28, 96, 8},
    {IDC_VIEW_TEXT, K::Edit, u"", s::MultiLine | s::ReadOnly | s::VScroll | s::Border, 5, 50, 129,
     75},
    {IDC_REPLY, K::Button, u"Reply", 0, 5, 131, 60, 14},
    {IDC_FORWARD, K::Button, u"Forward", 0, 74, 131, 60, 14},
    {IDC_VIEW_EXIT, K::Button, u"Exit", s::Hidden | s::Disabled, 40, 131, 60, 14},
    // "From: name <number>" when the text names its sender; hidden otherwise.
    {IDC_VIEW_SENDER, K::Static, u"", s::Hidden, 5, 39, 129, 8},
    {IDC_VIEW_MORE, K::CheckBox, u"More Message", s::Hidden, 5, 162, 62, 10},
    {IDC_VIEW_REPLY_PATH, K::CheckBox, u"Reply Path", s::Hidden, 70, 162, 62, 10},
};

// The compose dialog: recipient, text, Send and Save&Send. The validity and the two check boxes
// lie below the dialog's visible area.
constexpr ControlTemplate kOutboxMessage[] = {
    {IDC_TITLE, K::Static, u"SMS Outgoing Message", s::Center, 5, 4, 129, 12},
    {IDC_STATIC, K::Static, u"Recipient Phone Number:", 0, 5, 20, 129, 8},
    {IDC_RECIPIENT, K::Edit, u"", s::AutoHScroll | s::Border, 5, 30, 129, 12},
    {IDC_STATIC, K::Static, u"Message:", 0, 5, 46, 129, 8},
    {IDC_MESSAGE, K::Edit, u"", s::MultiLine | s::VScroll | s::WantReturn | s::Border, 5, 56, 129,
     69},
    {IDC_SEND, K::Button, u"Send", 0, 5, 131, 60, 14},
    {IDC_SAVE_SEND, K::Button, u"Save&&Send", 0, 74, 131, 60, 14},
    {IDC_COMPOSE_EXIT, K::Button, u"Exit", s::Hidden | s::Disabled, 40, 131, 60, 14},
    {IDC_VALIDITY_GROUP, K::GroupBox, u"Validity", 0, 5, 155, 129, 52},
    {IDC_RELATIVE, K::RadioButton, u"Relative", s::Group | s::Disabled, 10, 166, 50, 10},
    {IDC_VALIDITY, K::ComboBox, u"", s::DropDown | s::Sort | s::Disabled, 62, 165, 68, 60},
    {IDC_ABSOLUTE, K::RadioButton, u"Absolute", s::Disabled, 10, 186, 50, 10},
    {IDC_MONTH, K::Edit, u"", s::Border | s::Disabled, 62, 185, 14, 12},
    {IDC_STATIC, K::Static, u"/", 0, 77, 187, 4, 8},
    {IDC_DAY, K::Edit, u"", s::Border | s::Disabled, 82, 185, 14, 12},
    {IDC_STATIC, K::Static, u"/", 0, 97, 187, 4, 8},
    {IDC_YEAR, K::Edit, u"", s::Border | s::Disabled, 102, 185, 22, 12},
    {IDC_DELIVER_REPORT, K::CheckBox, u"Deliver Report", 0, 5, 212, 62, 10},
    {IDC_REPLY_PATH, K::CheckBox, u"Reply Path", 0, 70, 212, 62, 10},
};

// The About page: the icon, the title and the version.
constexpr ControlTemplate kAbout[] = {
    {IDC_STATIC, K::Icon, u"#128", 0, 60, 7, 20, 20},
    {IDC_ABOUT_TITLE, K::Static, u"Halvex", s::Center, 11, 33, 116, 13},
    {IDC_STATIC, K::Static, u"V1.35 Build 1135", s::Center, 5, 70, 136, 51},
};
// The three stay together in the middle of the page.
constexpr ControlAnchor kAboutGrowth[] = {
    {IDC_STATIC, 50, 50, 0, 0},
    {IDC_ABOUT_TITLE, 50, 50, 0, 0},
    {IDC_STATIC, 50, 50, 0, 0},
};

// Every anchor names the control at its place in the template.
constexpr bool AnchorsMatch(std::span<const ControlTemplate> controls,
                            std::span<const ControlAnchor> anchors) {
    if (anchors.size() != controls.size()) {
        return false;
    }
    for (std::size_t i = 0; i < anchors.size(); ++i) {
        if (anchors[i].id != controls[i].id) {
            return false;
        }
    }
    return true;
}
static_assert(AnchorsMatch(kPhoneBook, kPhoneBookGrowth));
static_assert(AnchorsMatch(kPhoneBookNokia, kPhoneBookNokiaGrowth));
static_assert(AnchorsMatch(kInbox, kInboxGrowth));
static_assert(AnchorsMatch(kOutbox, kOutboxGrowth));
static_assert(AnchorsMatch(kAbout, kAboutGrowth));

constexpr DialogTemplate kDialogs[] = {
    {IDD_PHONEBOOK, u"", 143, 141, u"System", 8, kPhoneBook, kPhoneBookGrowth},
    {IDD_PHONEBOOK_NOKIA, u"", 143, 141, u"System", 8, kPhoneBookNokia, kPhoneBookNokiaGrowth},
    {IDD_INBOX, u"", 138, 140, u"System", 8, kInbox, kInboxGrowth},
    {IDD_INBOX_MESSAGE, u"Inbox Message", 139, 150, u"System", 8, kInboxMessage, {}},
    {IDD_OUTBOX, u"", 138, 140, u"System", 8, kOutbox, kOutboxGrowth},
    {IDD_OUTBOX_MESSAGE, u"Outbox Message", 139, 150, u"System", 8, kOutboxMessage, {}},
    {IDD_ABOUT, u"", 154, 138, u"System", 8, kAbout, kAboutGrowth},
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
