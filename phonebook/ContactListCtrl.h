#pragma once
// The list of contact names on the phone book pages: one row per contact of the session's current
// book, in book order (row = book position), each with the contact icon, in a bold font; names
// are edited in place and the page checks them.

#include "phonebook/PhoneBooks.h"
#include "platform/qt/ListCtrl.h"

class CContactListCtrl : public platform::qt::CListCtrl {
public:
    explicit CContactListCtrl(CPhoneBooks& books);

    // Once, when the page is created: the icon, the one "User Name" column, label editing and the
    // bold font.
    void SetupList();
    // One row per contact of the current book (the caller deletes the old rows first).
    void FillList();
    // Gives the list the focus and scrolls the row into view.
    void FocusItem(int item);

private:
    CPhoneBooks& m_books;
    CContactBook* m_pBook = nullptr;
};
