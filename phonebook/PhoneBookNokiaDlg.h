#pragma once
// The "Phone Book" page for Nokia phones, which keep one number per entry and names without a
// kind suffix: the same page, with only the first box ("General Number:") open for typing. The
// other boxes still show numbers of other kinds that entries with a suffix brought.

#include "phonebook/PhoneBookDlg.h"

class CPhoneBookNokiaDlg : public CPhoneBookDlg {
    Q_OBJECT
public:
    explicit CPhoneBookNokiaDlg(CPhoneBooks& books, QWidget* parent = nullptr);

    platform::BOOL& InputPanelFlag() override;

protected:
    platform::BOOL OnInitDialog() override;

private:
    static platform::BOOL s_bInputPanel;
};
