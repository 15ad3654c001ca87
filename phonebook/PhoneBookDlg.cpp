#include "phonebook/PhoneBookDlg.h"

#include <QComboBox>
#include <QEvent>

#include "phonebook/NumberFilter.h"
#include "platform/Win32.h"
#include "platform/qt/Commands.h"
#include "platform/qt/DialogBuilder.h"
#include "platform/qt/InputPanel.h"
#include "platform/qt/PropertySheet.h"
#include "platform/qt/Text.h"
#include "res/Resource.h"

using namespace platform;
using platform::qt::FromQString;
using platform::qt::ToQString;

BOOL CPhoneBookDlg::s_bInputPanel = FALSE;

namespace {

// The boxes of the five kinds, Home to Other.
constexpr std::array<int, CPhoneBookEditor::kKinds> kBoxIds = {
    res::IDC_HOME, res::IDC_WORK, res::IDC_MOBILE, res::IDC_FAX, res::IDC_OTHER};

constexpr int kMaxDigits = static_cast<int>(CPhoneBookEditor::kMaxNumberLength);

}  // namespace

CPhoneBookDlg::CPhoneBookDlg(CPhoneBooks& books, QWidget* parent)
    : CPhoneBookDlg(res::IDD_PHONEBOOK, false, books, parent) {}

CPhoneBookDlg::CPhoneBookDlg(int templateId, bool nokia, CPhoneBooks& books, QWidget* parent)
    : CPropertyPage(templateId, parent), m_list(books), m_books(books), m_editor(books, nokia) {
    setObjectName(nokia ? QStringLiteral("CPhoneBookNokiaDlg") : QStringLiteral("CPhoneBookDlg"));
}

CPhoneBookDlg::~CPhoneBookDlg() = default;

BOOL& CPhoneBookDlg::InputPanelFlag() {
    return s_bInputPanel;
}

QLineEdit* CPhoneBookDlg::Box(int kind) const {
    if (kind < 1 || kind > CPhoneBookEditor::kKinds) {
        return nullptr;
    }
    return GetItem<QLineEdit>(kBoxIds[static_cast<std::size_t>(kind - 1)]);
}

QComboBox* CPhoneBookDlg::MemoryBox() const {
    return GetItem<QComboBox>(res::IDC_MEMORY);
}

BOOL CPhoneBookDlg::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    m_editor.SetOwner(GetSafeHwnd());
    m_list.Attach(GetDlgItem(res::IDC_CONTACT_LIST));
    for (int kind = 1; kind <= CPhoneBookEditor::kKinds; ++kind) {
        QLineEdit* box = Box(kind);
        phonebook::InstallNumberFilter(box, kMaxDigits);
        // The page is never so narrow that a box hides some of the digits it takes.
        box->setProperty(platform::qt::kShownLength, kMaxDigits);
        box->installEventFilter(this);
    }
    MemoryBox()->setCurrentIndex(m_nMemoryIndex);
    m_list.DeleteAllItems();
    m_list.SetupList();

    m_list.OnRowSelected(this, [this](int row) { OnItemChanged(row); });
    m_list.OnLabelEditEnded(
        this, [this](int row, std::optional<std::u16string> text) { OnEndLabelEdit(row, text); });
    connect(MemoryBox(), &QComboBox::activated, this,
            platform::qt::AsCommand([this](int) { OnMemoryChange(); }));
    connect(&platform::qt::InputPanelEvents::Instance(),
            &platform::qt::InputPanelEvents::settingChanged, this,
            platform::qt::AsCommand([this] { OnSettingChange(); }));
    ShellWindowState(GetSafeHwnd(), 2);
    return TRUE;
}

bool CPhoneBookDlg::eventFilter(QObject* watched, QEvent* event) {
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (box == nullptr) {
        return CPropertyPage::eventFilter(watched, event);
    }
    const bool lower = box == Box(4) || box == Box(5);
    switch (event->type()) {
        case QEvent::FocusIn:
            if (lower) {
                m_bLowerBox = TRUE;
            }
            SipShowIM(SIPF_ON);
            break;
        case QEvent::FocusOut:
            if (lower) {
                m_bLowerBox = FALSE;
            }
            break;
        default:
            break;
    }
    return CPropertyPage::eventFilter(watched, event);
}

phone::Memory CPhoneBookDlg::GetSelectedMemory() {
    m_nMemoryIndex = MemoryBox()->currentIndex();
    return m_nMemoryIndex == 1 ? phone::Memory::Sim : phone::Memory::Phone;
}

void CPhoneBookDlg::EndLabelEdit() {
    const auto edit = m_list.TakeLabelEdit();
    if (!edit) {
        return;
    }
    const auto& [row, text] = *edit;
    // The contact's own name would be refused as already used; it is no new name anyway.
    if (text != m_list.GetItemText(row, 0) && m_editor.CheckName(text)) {
        m_list.SetItemText(row, 0, text);
    }
}

void CPhoneBookDlg::PullEdits() {
    EndLabelEdit();
    const int current = m_editor.GetCurrent();
    if (current >= 0 && current < m_list.GetItemCount()) {
        m_editor.SetLabel(m_list.GetItemText(current, 0));
    }
    for (int kind = 1; kind <= CPhoneBookEditor::kKinds; ++kind) {
        // The layout refuses kinds it does not take; their boxes cannot be typed into anyway.
        m_editor.SetNumber(kind, FromQString(Box(kind)->text()));
    }
}

void CPhoneBookDlg::ShowNumbers() {
    for (int kind = 1; kind <= CPhoneBookEditor::kKinds; ++kind) {
        Box(kind)->setText(ToQString(m_editor.GetNumber(kind)));
    }
}

void CPhoneBookDlg::ClearEdits() {
    m_list.SetFocus();
    m_editor.Deselect();
    ShowNumbers();
}

template <typename Operation>
void CPhoneBookDlg::Settle(Operation operation) {
    PullEdits();
    CContactBook* book = m_books.GetCurrentBook();
    const int before = m_editor.GetCurrent();
    m_editor.TakeDropped();
    operation();
    // Asked by the editor, not judged by the book's size: Add User drops one and appends one.
    if (const int dropped = m_editor.TakeDropped(); dropped >= 0) {
        m_list.DeleteItem(dropped);
        return;
    }
    if (book == nullptr || before < 0) {
        return;
    }
    // Saved, reverted or unchanged: the row shows the name the contact holds.
    if (const CContactEntry* contact = book->GetAt(before)) {
        m_list.SetItemText(before, 0, contact->name);
    }
}

void CPhoneBookDlg::ResetForConnect() {
    // Every attempt to connect empties both books, one that failed too: the list follows them.
    m_list.TakeLabelEdit();
    m_list.DeleteAllItems();
    ClearEdits();
    if (!m_books.GetSession().IsConnected()) {
        return;
    }
    m_books.GetCurrentBook()->Clear();
}

void CPhoneBookDlg::SaveBeforeDisconnect() {
    if (m_list.GetItemCount() == 0) {
        return;
    }
    PullEdits();
    if (m_editor.IsCurrentModified()) {
        Settle([this] { m_editor.AskAndSave(); });
    }
}

void CPhoneBookDlg::CommitCurrent(BOOL reload) {
    Settle([this, reload] { m_editor.CommitCurrent(reload != FALSE); });
    if (reload) {
        ShowNumbers();
    }
}

void CPhoneBookDlg::GetData() {
    CommitCurrent(FALSE);
    m_books.LoadBook(GetSelectedMemory());
    m_list.DeleteAllItems();
    m_list.FillList();
    if (m_editor.Select(0)) {
        ShowNumbers();
        m_list.SelectItem(0);
    } else {
        ClearEdits();
    }
}

void CPhoneBookDlg::AddUser() {
    int added = -1;
    Settle([this, &added] { added = m_editor.AddUser(); });
    if (added < 0) {
        return;
    }
    m_list.InsertItem(added, m_editor.GetLabel(), 0);
    m_list.SetFocus();
    ShowNumbers();
    m_list.SelectItem(added);
    m_list.FocusItem(added);
    m_list.EditLabel(added);
}

void CPhoneBookDlg::DeleteUser() {
    if (m_list.GetItemCount() == 0) {
        return;
    }
    EndLabelEdit();
    const int position = m_editor.GetCurrent();
    if (m_editor.DeleteUser() <= 0) {
        // Not asked, declined, or the phone did not confirm it (its box said so): the contact and
        // its row stay.
        return;
    }
    m_list.DeleteItem(position);
    if (m_editor.GetCurrent() < 0) {
        ClearEdits();
        return;
    }
    ShowNumbers();
    m_list.SelectItem(m_editor.GetCurrent());
}

void CPhoneBookDlg::OnItemChanged(int item) {
    if (!m_list.IsSelected(item) || item == m_editor.GetCurrent()) {
        return;
    }
    CommitCurrent(FALSE);
    if (m_editor.Select(item)) {
        ShowNumbers();
    }
}

void CPhoneBookDlg::OnEndLabelEdit(int item, const std::optional<std::u16string>& text) {
    SIPINFO info;
    SHSipInfo(SPI_GETSIPINFO, 0, &info, 0);
    InputPanelFlag() = (info.fdwFlags & SIPF_ON) ? TRUE : FALSE;
    if (!text) {
        return;  // cancelled
    }
    // The editor's check says why a name is refused; the label editor then opens again.
    if (m_editor.CheckName(*text)) {
        m_list.SetItemText(item, 0, *text);
        return;
    }
    PostMessage([this, item] { m_list.EditLabel(item); });
}

void CPhoneBookDlg::OnMemoryChange() {
    const int selection = MemoryBox()->currentIndex();
    if (selection == m_nMemoryIndex) {
        return;
    }
    m_nMemoryIndex = selection;
    CContactBook* book = m_books.GetCurrentBook();
    if (book == nullptr) {
        return;
    }
    // The contact being edited is settled before the other memory is shown.
    if (!book->IsEmpty()) {
        CommitCurrent(FALSE);
    }
    m_books.GetSession().SetMemoryType(GetSelectedMemory());
    book = m_books.GetCurrentBook();
    m_list.DeleteAllItems();
    m_list.FillList();
    const int current = m_editor.GetCurrent();
    if (book == nullptr || book->IsEmpty()) {
        ClearEdits();
        m_nRememberedPosition = current;
        return;
    }
    // Each memory keeps its own selection; one that no longer exists falls back into the book.
    const int remembered = std::clamp(m_nRememberedPosition, 0, book->GetSize() - 1);
    m_editor.Select(remembered);
    m_nRememberedPosition = current;
    m_list.SelectItem(remembered);
    ShowNumbers();
    m_list.FocusItem(remembered);
}

void CPhoneBookDlg::OnSettingChange() {
    SIPINFO info;
    SHSipInfo(SPI_GETSIPINFO, 0, &info, 0);
    if (m_bLowerBox && (info.fdwFlags & SIPF_ON)) {
        // Up by the panel's height, so the lower boxes stay in sight above it.
        if (!m_restingGeometry) {
            m_restingGeometry = geometry();
        }
        const int panel = info.rcSipRect.bottom - info.rcSipRect.top;
        setGeometry(m_restingGeometry->x(), -panel, m_restingGeometry->width(),
                    m_restingGeometry->height() + panel);
    } else if (m_restingGeometry) {
        setGeometry(*m_restingGeometry);
        m_restingGeometry.reset();
    }
    update();
}

void CPhoneBookDlg::OnOK() {
    if (m_list.GetItemCount() > 0) {
        PullEdits();
        if (m_editor.IsCurrentModified()) {
            Settle([this] { m_editor.AskAndSave(); });
        }
    }
    CPropertyPage::OnOK();
}

BOOL CPhoneBookDlg::OnSetActive() {
    QWidget* parent = GetSheet() != nullptr ? static_cast<QWidget*>(GetSheet()) : parentWidget();
    if (parent != nullptr) {
        parent->activateWindow();
        ShellWindowState(platform::qt::HandleOf(parent), 1);
    }
    return CPropertyPage::OnSetActive();
}

BOOL CPhoneBookDlg::OnKillActive() {
    CommitCurrent(TRUE);
    return CPropertyPage::OnKillActive();
}
