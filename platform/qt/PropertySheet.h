#pragma once
// A property sheet: tabs over a stack of pages. Leaving a tab asks its page (OnKillActive, which
// may keep it in front) before the new page is shown and told (OnSetActive).

#include <QPointer>
#include <QWidget>
#include <string>
#include <vector>

#include "platform/Win32Types.h"

class QStackedWidget;
class QTabBar;

namespace platform::qt {

class CPropertyPage;

class CPropertySheet : public QWidget {
    Q_OBJECT
public:
    explicit CPropertySheet(QWidget* parent = nullptr);
    ~CPropertySheet() override;

    // Pages are added before Create, or afterwards, when they are created at once; the sheet
    // does not own them.
    void AddPage(CPropertyPage* page);
    // Creates the pages and their tabs inside `parent` and shows the first page; FALSE when a
    // page cannot be built.
    virtual BOOL Create(QWidget* parent);
    bool IsCreated() const { return created_; }

    int GetPageCount() const { return static_cast<int>(pages_.size()); }
    CPropertyPage* GetPage(int index) const;
    int GetActiveIndex() const { return active_; }
    CPropertyPage* GetActivePage() const { return GetPage(active_); }
    // Switches as a click on the tab would; FALSE when the page in front refused to go.
    BOOL SetActivePage(int index);

    // The label of a tab (the pages' own captions are not used).
    BOOL SetTabLabel(int index, const std::u16string& label);
    std::u16string GetTabLabel(int index) const;
    void SetTitle(const std::u16string& title) { title_ = title; }
    const std::u16string& GetTitle() const { return title_; }

    QTabBar* GetTabControl() const { return tabs_; }
    HWND GetSafeHwnd();

protected:
    // After the pages exist, before the first is activated.
    virtual BOOL OnInitDialog() { return TRUE; }

private:
    bool AddTab(CPropertyPage* page);
    void OnTabChanged(int index);
    void Activate(int index);

    QTabBar* tabs_;
    QStackedWidget* stack_;
    std::vector<QPointer<CPropertyPage>> pages_;
    std::u16string title_;
    int active_ = -1;
    bool created_ = false;
    bool reverting_ = false;
};

}  // namespace platform::qt
