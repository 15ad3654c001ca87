#pragma once
// A modal dialog built from its dialog template. DoModal shows it until it ends; OnInitDialog
// runs at every showing, as for a dialog window created anew each time, so the dialog's fields
// go into the controls then. Enter presses the focused button or else means OK (OnOK); Escape and
// closing the window mean Cancel (OnCancel).

#include <QDialog>
#include <map>

#include "platform/Win32Types.h"
#include "platform/qt/Windows.h"

namespace platform::qt {

class CDialog : public QDialog {
    Q_OBJECT
public:
    explicit CDialog(int templateId, QWidget* parent = nullptr);
    ~CDialog() override;

    // IDOK, IDCANCEL or what EndDialog was given; -1 when the template is unknown.
    int DoModal();
    void EndDialog(int result);

    QWidget* GetDlgItem(int id) const;
    template <typename T>
    T* GetItem(int id) const {
        return qobject_cast<T*>(GetDlgItem(id));
    }
    HWND GetSafeHwnd() { return HandleOf(this); }
    int GetTemplateId() const { return templateId_; }

protected:
    virtual BOOL OnInitDialog() { return TRUE; }
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }

    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;

private:
    bool Build();

    int templateId_;
    bool built_ = false;
    std::map<int, QWidget*> controls_;
};

}  // namespace platform::qt
