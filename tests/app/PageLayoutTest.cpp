// Every page at the window's smallest size and on a large desktop, in the desktop's usual font
// and in a 12-point one: no control covers another or leaves its page, every label, button and
// choice shows its whole text, a number box shows all the digits it takes, and the lists show
// every name, date and number whole.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTableWidget>

#include "app/MainFrame.h"
#include "app/OrvGSMApp.h"
#include "app/PropPgFormView.h"
#include "res/Resource.h"
#include "sms/SmsEngine.h"
#include "tests/support/SimPhoneFixture.h"
#include "tests/support/WindowFixture.h"

namespace {

using halvex::test::Settle;

// The phone's profile, and the desktop's font size (0: as it is).
using Desktop = std::pair<const char*, double>;

class PageLayoutTest : public halvex::test::WindowTest<halvex::test::SimPhoneTest>,
                       public ::testing::WithParamInterface<Desktop> {
protected:
    PageLayoutTest() : WindowTest(GetParam().first) {}

    void SetUp() override {
        WindowTest::SetUp();
        FreshDesktop();
        QFont font = QApplication::font();
        font.setPointSizeF(GetParam().second > 0 ? GetParam().second : font.pointSizeF());
        QApplication::setFont(font);
    }
    void TearDown() override {
        app_.ExitInstance();
        QApplication::setFont(desktopFont_);
        WindowTest::TearDown();
    }

    QFont desktopFont_ = QApplication::font();
    COrvGSMApp app_;
};

// What is wrong with the page as it is drawn now; empty when nothing is.
std::vector<std::string> Faults(QWidget* page, bool large) {
    std::vector<std::string> faults;
    const auto fault = [&](const QWidget* control, const std::string& what) {
        faults.push_back(control->objectName().toStdString() + ": " + what);
    };
    std::vector<QWidget*> shown;
    for (QWidget* control : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (control->isVisibleTo(page))
            shown.push_back(control);
    for (std::size_t i = 0; i < shown.size(); ++i) {
        QWidget* control = shown[i];
        if (!page->rect().contains(control->geometry()))
            fault(control, "leaves the page");
        for (std::size_t j = i + 1; j < shown.size(); ++j)
            if (control->geometry().intersects(shown[j]->geometry()))
                fault(control, "covers " + shown[j]->objectName().toStdString());
        const QFontMetrics metrics(control->font());
        if (auto* label = qobject_cast<QLabel*>(control)) {
            if (!label->pixmap().isNull()) {
                if (label->pixmap().deviceIndependentSize().toSize().width() > label->width())
                    fault(control, "picture cut");
            } else if (metrics.horizontalAdvance(label->text()) > label->contentsRect().width() ||
                       metrics.height() > label->contentsRect().height()) {
                fault(control, "text cut: " + label->text().toStdString());
            }
        } else if (auto* box = qobject_cast<QLineEdit*>(control)) {
            QStyleOptionFrame option;
            option.initFrom(box);
            option.lineWidth = box->hasFrame() ? 1 : 0;
            const QRect text =
                box->style()->subElementRect(QStyle::SE_LineEditContents, &option, box);
            // The pages' one-line edits are the number boxes: 20 digits each.
            if (metrics.horizontalAdvance(QString(20, QLatin1Char('0'))) + 4 > text.width())
                fault(control, "cannot show 20 digits");
        } else if (qobject_cast<QAbstractButton*>(control) != nullptr ||
                   qobject_cast<QComboBox*>(control) != nullptr) {
            if (control->sizeHint().width() > control->width())
                fault(control, "text cut");
        } else if (auto* list = qobject_cast<QTableWidget*>(control)) {
            // Names, dates and numbers whole; a message may end in "..." (it opens whole).
            const QFontMetrics cells(list->font());
            const int margins =
                2 * (list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1);
            const int columns = list->columnCount() > 1 ? list->columnCount() - 1 : 1;
            for (int column = 0; column < columns; ++column) {
                // The heading: as wide as the header itself finds it needs.
                if (list->horizontalHeader()->sectionSizeHint(column) > list->columnWidth(column))
                    fault(control, "heading cut: " +
                                       list->horizontalHeaderItem(column)->text().toStdString());
                // A name list is as wide as the template makes it at the smallest size.
                if (list->columnCount() == 1 && !large)
                    continue;
                for (int row = 0; row < list->rowCount(); ++row) {
                    const QTableWidgetItem* cell = list->item(row, column);
                    const int icon = cell->icon().isNull() ? 0 : list->iconSize().width() + 4;
                    // Beside a number, a contact's name may give way on a narrow page.
                    const QString text = list->columnCount() > 1 && column == columns - 1 && !large
                                             ? cell->text().section(QStringLiteral(" ("), 0, 0)
                                             : cell->text();
                    if (cells.horizontalAdvance(text) + icon + margins > list->columnWidth(column))
                        fault(control, "cell cut: " + cell->text().toStdString());
                }
            }
            if (list->horizontalHeader()->length() > list->viewport()->width())
                fault(control, "wider than the list");
        }
    }
    return faults;
}

TEST_P(PageLayoutTest, EveryPageShowsEveryControlWholeAtTheSmallestAndALargeSize) {
    ASSERT_TRUE(app_.InitInstance());
    Settle();
    CMainFrame& frame = *app_.GetMainFrame();
    CViewPropertySheet& sheet = app_.GetView()->GetSheet();
    ASSERT_EQ(sheet.GetPageCount(), 4);
    for (int page = 0; page < 3; ++page) {
        sheet.SetActivePage(page);
        app_.GetView()->OnCommand(res::ID_GET_DATA);
        Settle();
    }
    for (const auto& [name, size] :
         {std::pair("smallest", frame.minimumSizeHint()), std::pair("large", QSize(1280, 800))}) {
        frame.resize(size);
        for (int page = 0; page < sheet.GetPageCount(); ++page) {
            sheet.SetActivePage(page);
            Settle();
            SCOPED_TRACE(std::string(name) + " window, page " + std::to_string(page));
            // At the desktop's font size or larger (a title), the lists' bold font included.
            for (const QWidget* control : sheet.GetPage(page)->findChildren<QWidget*>())
                EXPECT_GE(control->font().pointSizeF(), QApplication::font().pointSizeF())
                    << control->objectName().toStdString();
            EXPECT_EQ(Faults(sheet.GetPage(page), size.width() > 1000), std::vector<std::string>{});
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Desktops, PageLayoutTest,
                         ::testing::Values(Desktop{"default", 0}, Desktop{"default", 12},
                                           Desktop{"nokia", 0}, Desktop{"nokia", 12}),
                         [](const auto& info) {
                             return std::string(info.param.first) +
                                    (info.param.second > 0 ? "_12pt" : "_desktopFont");
                         });

}  // namespace
