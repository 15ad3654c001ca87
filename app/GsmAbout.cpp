#include "app/GsmAbout.h"

#include "platform/Win32.h"
#include "platform/qt/Fonts.h"
#include "res/Resource.h"

using namespace platform;

namespace {

// Arial, 15 pixels, bold: one font object for every About page of the run.
const QFont& TitleFont() {
    static const QFont* font =
        new QFont(platform::qt::CreateFont({-15, 700, QStringLiteral("Arial")}));
    return *font;
}

}  // namespace

CGSM_About::CGSM_About(QWidget* parent) : CPropertyPage(res::IDD_ABOUT, parent) {
    setObjectName(QStringLiteral("CGSM_About"));
}

BOOL CGSM_About::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    ShellWindowState(GetSafeHwnd(), 2);
    GetDlgItem(res::IDC_ABOUT_TITLE)->setFont(TitleFont());
    return TRUE;
}
