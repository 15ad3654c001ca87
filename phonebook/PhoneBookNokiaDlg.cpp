#include "phonebook/PhoneBookNokiaDlg.h"

#include "res/Resource.h"

using namespace platform;

BOOL CPhoneBookNokiaDlg::s_bInputPanel = FALSE;

CPhoneBookNokiaDlg::CPhoneBookNokiaDlg(CPhoneBooks& books, QWidget* parent)
    : CPhoneBookDlg(res::IDD_PHONEBOOK_NOKIA, true, books, parent) {}

BOOL& CPhoneBookNokiaDlg::InputPanelFlag() {
    return s_bInputPanel;
}

BOOL CPhoneBookNokiaDlg::OnInitDialog() {
    CPhoneBookDlg::OnInitDialog();
    // Only the General number, the list and the memory stay open.
    for (int id :
         {res::IDC_WORK_LABEL, res::IDC_MOBILE_LABEL, res::IDC_FAX_LABEL, res::IDC_OTHER_LABEL,
          res::IDC_OTHER, res::IDC_WORK, res::IDC_MOBILE, res::IDC_FAX}) {
        if (QWidget* control = GetDlgItem(id)) {
            control->setEnabled(false);
        }
    }
    return TRUE;
}
