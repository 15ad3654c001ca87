#include "phonebook/ContactListCtrl.h"

#include <QHeaderView>

#include "platform/qt/Fonts.h"
#include "platform/qt/Icons.h"
#include "res/DialogTemplate.h"
#include "res/Resource.h"

using namespace platform;
using namespace platform::qt;

CContactListCtrl::CContactListCtrl(CPhoneBooks& books)
    : m_books(books), m_pBook(books.GetCurrentBook()) {}

void CContactListCtrl::SetupList() {
    ListView* list = GetWidget();
    if (list == nullptr) {
        return;
    }
    SetImageList({LoadIcon(res::IDI_CONTACT)});
    InsertColumn(0, u"User Name", LVCFMT_LEFT, list->width());
    // The column keeps to the list's width when a scroll bar takes some of it, so no sideways
    // scrolling is ever needed to read a name.
    list->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setAccessibleName(QStringLiteral("User Name"));
    SetLabelEditing(true);
    SetFont(CreateFont({0, 800, QStringLiteral("Lucida Sans Unicode")}, list->font()));
}

void CContactListCtrl::FillList() {
    m_pBook = m_books.GetCurrentBook();
    if (m_pBook == nullptr) {
        return;
    }
    for (int i = 0; i < m_pBook->GetSize(); ++i) {
        InsertItem(i, m_pBook->GetAt(i)->name, 0);
    }
}

void CContactListCtrl::FocusItem(int item) {
    SetFocus();
    EnsureVisible(item, FALSE);
}
