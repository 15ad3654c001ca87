#include "platform/qt/PropertyPage.h"

#include "platform/qt/Commands.h"

namespace platform::qt {

CPropertyPage::CPropertyPage(int templateId, QWidget* parent)
    : QWidget(parent), templateId_(templateId), units_(std::make_unique<DialogUnits>(font())) {}

CPropertyPage::~CPropertyPage() = default;

BOOL CPropertyPage::CreatePage(QWidget* parent) {
    if (created_) {
        return TRUE;
    }
    const res::DialogTemplate* dialog = res::FindDialog(templateId_);
    if (dialog == nullptr) {
        return FALSE;
    }
    if (parent != nullptr) {
        setParent(parent);
    }
    const BuiltDialog built = BuildDialog(this, *dialog);
    controls_ = built.byId;
    templateSize_ = built.size;
    units_ = std::make_unique<DialogUnits>(font());
    growth_ = DialogGrowth(*dialog, built);
    setMinimumSize(templateSize_);
    created_ = true;
    {
        CommandScope scope;
        OnInitDialog();
    }
    // The fonts and texts are the page's own now: the room they need is known.
    setMinimumSize(growth_.MinimumSize());
    growth_.Apply(size());
    return TRUE;
}

void CPropertyPage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (created_) {
        growth_.Apply(size());
    }
}

QWidget* CPropertyPage::GetDlgItem(int id) const {
    const auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

void CPropertyPage::PostMessage(std::function<void()> handler) {
    platform::qt::PostMessage(this, std::move(handler));
}

}  // namespace platform::qt
