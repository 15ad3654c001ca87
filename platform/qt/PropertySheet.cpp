#include "platform/qt/PropertySheet.h"

#include <QKeySequence>
#include <QShortcut>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>

#include "platform/qt/Commands.h"
#include "platform/qt/PropertyPage.h"
#include "platform/qt/Text.h"
#include "platform/qt/Windows.h"

namespace platform::qt {

CPropertySheet::CPropertySheet(QWidget* parent)
    : QWidget(parent), tabs_(new QTabBar(this)), stack_(new QStackedWidget(this)) {
    tabs_->setObjectName(QStringLiteral("tabs"));
    tabs_->setAccessibleName(QStringLiteral("Pages"));
    tabs_->setExpanding(false);
    tabs_->setDrawBase(true);
    stack_->setObjectName(QStringLiteral("pages"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(tabs_);
    layout->addWidget(stack_, 1);
    connect(tabs_, &QTabBar::currentChanged, this, [this](int index) { OnTabChanged(index); });
    // The keys of any tabbed window.
    const auto step = [this](int delta) {
        const int count = GetPageCount();
        if (count > 0) {
            SetActivePage((active_ + delta + count) % count);
        }
    };
    for (const QKeySequence& key :
         {QKeySequence(Qt::CTRL | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageDown)}) {
        auto* next = new QShortcut(key, this, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
        connect(next, &QShortcut::activated, this, [step] { step(1); });
    }
    for (const QKeySequence& key : {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
                                    QKeySequence(Qt::CTRL | Qt::Key_PageUp)}) {
        auto* previous = new QShortcut(key, this, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
        connect(previous, &QShortcut::activated, this, [step] { step(-1); });
    }
}

CPropertySheet::~CPropertySheet() {
    // The pages belong to whoever added them, not to the sheet's widgets.
    for (CPropertyPage* page : pages_) {
        if (page != nullptr && page->parent() != nullptr) {
            page->setParent(nullptr);
        }
    }
}

void CPropertySheet::AddPage(CPropertyPage* page) {
    if (page == nullptr) {
        return;
    }
    pages_.push_back(page);
    if (created_ && AddTab(page) && active_ < 0) {
        Activate(0);
    }
}

bool CPropertySheet::AddTab(CPropertyPage* page) {
    if (!page->CreatePage(stack_)) {
        return false;
    }
    page->SetSheet(this);
    stack_->addWidget(page);
    const QSignalBlocker quiet(tabs_);
    tabs_->addTab(page->windowTitle());
    return true;
}

BOOL CPropertySheet::Create(QWidget* parent) {
    if (created_) {
        return FALSE;
    }
    if (parent != nullptr) {
        setParent(parent);
    }
    for (CPropertyPage* page : pages_) {
        if (page == nullptr || !AddTab(page)) {
            return FALSE;
        }
    }
    created_ = true;
    OnInitDialog();
    if (!pages_.empty()) {
        Activate(0);
    }
    return TRUE;
}

CPropertyPage* CPropertySheet::GetPage(int index) const {
    return index >= 0 && index < GetPageCount() ? pages_[static_cast<std::size_t>(index)] : nullptr;
}

BOOL CPropertySheet::SetActivePage(int index) {
    if (GetPage(index) == nullptr) {
        return FALSE;
    }
    if (index != active_) {
        tabs_->setCurrentIndex(index);
    }
    return active_ == index ? TRUE : FALSE;
}

BOOL CPropertySheet::SetTabLabel(int index, const std::u16string& label) {
    if (index < 0 || index >= tabs_->count()) {
        return FALSE;
    }
    tabs_->setTabText(index, ToQString(label));
    return TRUE;
}

std::u16string CPropertySheet::GetTabLabel(int index) const {
    return FromQString(tabs_->tabText(index));
}

HWND CPropertySheet::GetSafeHwnd() {
    return HandleOf(this);
}

void CPropertySheet::OnTabChanged(int index) {
    if (reverting_ || index == active_) {
        return;
    }
    CommandScope scope;
    CPropertyPage* leaving = GetActivePage();
    if (leaving != nullptr && !leaving->OnKillActive()) {
        reverting_ = true;
        tabs_->setCurrentIndex(active_);
        reverting_ = false;
        return;
    }
    Activate(index);
}

void CPropertySheet::Activate(int index) {
    CPropertyPage* page = GetPage(index);
    if (page == nullptr) {
        return;
    }
    active_ = index;
    stack_->setCurrentWidget(page);
    {
        const QSignalBlocker quiet(tabs_);
        tabs_->setCurrentIndex(index);
    }
    page->OnSetActive();
}

}  // namespace platform::qt
