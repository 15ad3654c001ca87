#pragma once
// A page of a property sheet, built from its dialog template. The sheet creates it (controls,
// then OnInitDialog) and tells it when it is left (OnKillActive, which may refuse) and shown
// (OnSetActive).

#include <QWidget>
#include <functional>
#include <map>
#include <memory>

#include "platform/Win32Types.h"
#include "platform/qt/DialogBuilder.h"
#include "platform/qt/Windows.h"

namespace platform::qt {

class CPropertySheet;

class CPropertyPage : public QWidget {
    Q_OBJECT
public:
    explicit CPropertyPage(int templateId, QWidget* parent = nullptr);
    ~CPropertyPage() override;

    // Builds the controls and runs OnInitDialog, once; false when the template is unknown. The
    // page's minimum size is then the template's, or more where the desktop's font needs room.
    BOOL CreatePage(QWidget* parent);
    bool IsCreated() const { return created_; }
    int GetTemplateId() const { return templateId_; }
    // The template's area in pixels.
    QSize GetTemplateSize() const { return templateSize_; }
    const DialogUnits& GetUnits() const { return *units_; }

    // The control with this id, or null.
    QWidget* GetDlgItem(int id) const;
    template <typename T>
    T* GetItem(int id) const {
        return qobject_cast<T*>(GetDlgItem(id));
    }
    HWND GetSafeHwnd() { return HandleOf(this); }
    CPropertySheet* GetSheet() const { return sheet_; }
    void SetSheet(CPropertySheet* sheet) { sheet_ = sheet; }

    // Posts a message to this page: `handler` runs after the current command.
    void PostMessage(std::function<void()> handler);

    virtual BOOL OnInitDialog() { return TRUE; }
    virtual BOOL OnSetActive() { return TRUE; }
    // FALSE keeps the page in front.
    virtual BOOL OnKillActive() { return TRUE; }
    virtual void OnOK() {}
    virtual void OnCancel() {}

protected:
    // The controls follow the page's size by the template's anchors.
    void resizeEvent(QResizeEvent* event) override;

private:
    int templateId_;
    bool created_ = false;
    QSize templateSize_;
    std::unique_ptr<DialogUnits> units_;
    DialogGrowth growth_;
    std::map<int, QWidget*> controls_;
    CPropertySheet* sheet_ = nullptr;
};

}  // namespace platform::qt
