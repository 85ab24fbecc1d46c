// The page table and the pages built from it, without a camera.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTabBar>
#include <QTest>
#include <algorithm>
#include <map>

#include "gui/pages/combined_displays.h"
#include "gui/pages/row_info.h"
#include "gui/widgets/column_flow_layout.h"
#include "gui/widgets/control_kinds.h"
#include "page_rig.h"

using namespace vk;
using namespace vk::gui;

namespace {

ControlKinds::Kind WidgetKindOfRow(ControlKind kind) {
    switch (kind) {
        case ControlKind::Check:
            return ControlKinds::CheckBox;
        case ControlKind::Radio:
            return ControlKinds::RadioButton;
        case ControlKind::Combo:
            return ControlKinds::Combo;
        case ControlKind::Edit:
            return ControlKinds::Spin;
        case ControlKind::Button:
            return ControlKinds::PushButton;
        default:
            return ControlKinds::Other;
    }
}

std::vector<QWidget*> WidgetsWithId(const std::vector<QWidget*>& pages, int controlId) {
    std::vector<QWidget*> found;
    for (QWidget* page : pages) {
        for (QWidget* w : page->findChildren<QWidget*>()) {
            if (ControlKinds::ControlIdOf(w) == controlId) found.push_back(w);
        }
    }
    return found;
}

// A control, a button of a radio group, or a widget inside a control (a spin box's edit).
bool IsPartOfAControl(const QWidget* widget, const QWidget* page) {
    for (const QWidget* w = widget; w && w != page; w = w->parentWidget()) {
        if (ControlKinds::ControlIdOf(w) != 0 || w->property("radioGroup").isValid()) return true;
    }
    return false;
}

}  // namespace

class PagesLayoutTest : public QObject {
    Q_OBJECT

private slots:
    void everyRowHasOneWidgetOfItsKindOnAPageOfItsLevel() {
        test::PageRig rig;
        const auto& infos = PageInfos();
        for (const ControlEntry& row : rig.Table().Rows()) {
            const int id = static_cast<int>(row.controlId);
            const auto widgets = WidgetsWithId(rig.pages, id);
            QVERIFY2(widgets.size() == 1,
                     qPrintable(QString("control %1: %2 widgets").arg(id).arg(widgets.size())));
            QWidget* w = widgets.front();
            QCOMPARE(w->objectName(), QString("ctl%1").arg(id));
            QCOMPARE(ControlKinds::ClassifyFull(w), WidgetKindOfRow(row.controlKind));
            QCOMPARE(rig.binding->FindControl(id), w);

            // Buttons hold no value; they stand where their action belongs.
            if (row.controlKind == ControlKind::Button) continue;
            int page = -1;
            for (std::size_t p = 0; p < rig.pages.size(); ++p) {
                if (rig.pages[p]->isAncestorOf(w)) page = static_cast<int>(p);
            }
            QVERIFY(page >= 0);
            const bool factoryPage = infos[static_cast<std::size_t>(page)].factoryOnly;
            QVERIFY2(factoryPage == (row.level == ParamLevel::Factory),
                     qPrintable(QString("control %1 on %2").arg(id).arg(infos[page].title)));
        }
    }

    void comboWithValuesOneAndTwo() {
        test::PageRig rig;
        auto* binning = rig.Control<QComboBox>(2048);  // items "1" and "2"
        QVERIFY(ControlKinds::WriteValue(binning, 2));
        QCOMPARE(binning->currentIndex(), 1);
        QCOMPARE(ControlKinds::ReadValue(binning), 2);
        QVERIFY(ControlKinds::WriteValue(binning, 1));
        QCOMPARE(ControlKinds::ReadValue(binning), 1);

        // No item holds 0: nothing is shown rather than the first item.
        QVERIFY(ControlKinds::WriteValue(binning, 0));
        QCOMPARE(binning->currentIndex(), -1);
        QCOMPARE(ControlKinds::ReadValue(binning), -1);
    }

    void comboOfPlainTextsGoesByIndex() {
        test::PageRig rig;
        auto* model = rig.Control<QComboBox>(2548);  // model texts, no item data
        QVERIFY(ControlKinds::WriteValue(model, 1));
        QCOMPARE(model->currentText(), QString("VK-4100C-PMCL"));
        QCOMPARE(ControlKinds::ReadValue(model), 1);
        QVERIFY(ControlKinds::WriteValue(model, 5));
        QCOMPARE(model->currentIndex(), -1);
    }

    void otherKindsReadAndWrite() {
        test::PageRig rig;
        auto* check = rig.Control<QCheckBox>(4626);
        QVERIFY(ControlKinds::WriteValue(check, 1));
        QVERIFY(check->isChecked());
        QCOMPARE(ControlKinds::ReadValue(check), 1);

        auto* first = rig.Control<QRadioButton>(4503);
        const auto group = ControlKinds::RadioGroup(first);
        QCOMPARE(group.size(), std::size_t{3});
        QVERIFY(ControlKinds::WriteValue(group[1], 2));  // any button of a group writes the group
        QVERIFY(group[2]->isChecked());
        QCOMPARE(ControlKinds::ReadValue(first), 2);
        const auto position = ControlKinds::RadioGroupOf(group[2]);
        QVERIFY(position);
        QCOMPARE(position->index, 2);
        QCOMPARE(position->firstControlId, 4503);
        QVERIFY(!ControlKinds::SetRadioGroup(first, 7));  // outside the group: none checked
        QVERIFY(!ControlKinds::RadioGroupValue(first));

        QCOMPARE(ControlKinds::ReadValue(rig.Control<QPushButton>(2598)), -1);
        QVERIFY(!ControlKinds::WriteValue(rig.Control<QPushButton>(2598), 1));
        QVERIFY(!ControlKinds::WriteValue(nullptr, 1));
        QCOMPARE(ControlKinds::Classify(first), ControlKinds::Button);
    }

    void actionButtonsStartDisabled() {
        test::PageRig rig;
        for (const PlacedControl& placed : PlacedControls()) {
            if (placed.cell.kind != WidgetKind::Button) continue;
            auto* button = rig.Control<QPushButton>(placed.cell.controlId);
            QVERIFY(button);
            QVERIFY(!button->isEnabled());
            QVERIFY(!button->autoDefault());
        }
    }

    // Tab moves through a page as it reads: the focus chain holds the controls in table
    // order, and the groups stand down each column, then in the next column to the right.
    // The first Tab from the tab bar lands on the page's first control, and nothing but the
    // controls takes the focus on the way.
    void focusOrderFollowsTheLayout() {
        test::PageRig rig;
        QVERIFY(rig.ShowActive());
        for (std::size_t p = 0; p < rig.pages.size(); ++p) {
            rig.tabs.setCurrentIndex(static_cast<int>(p));
            QWidget* page = rig.pages[p];
            std::vector<int> expected;
            for (const PlacedControl& placed : PlacedControls()) {
                if (placed.page == static_cast<int>(p)) expected.push_back(placed.cell.controlId);
            }
            std::vector<int> chain;
            for (QWidget* w = page->nextInFocusChain(); w != page; w = w->nextInFocusChain()) {
                if (!page->isAncestorOf(w)) continue;
                const int id = ControlKinds::ControlIdOf(w);
                if (id != 0) chain.push_back(id);
            }
            QCOMPARE(chain, expected);

            for (QWidget* w : page->findChildren<QWidget*>()) {
                if (!(w->focusPolicy() & Qt::TabFocus) || !w->isVisibleTo(page)) continue;
                QVERIFY2(IsPartOfAControl(w, page),
                         qPrintable(QString("%1 on page %2 takes Tab")
                                        .arg(w->metaObject()->className())
                                        .arg(p)));
            }
            const auto first = std::find_if(expected.begin(), expected.end(), [&](int id) {
                return rig.binding->FindControl(id)->isEnabled();
            });
            QVERIFY(first != expected.end());
            QTabBar* bar = rig.tabs.tabBar();
            bar->setFocus();
            QVERIFY(bar->hasFocus());
            QTest::keyClick(bar, Qt::Key_Tab);
            QWidget* focus = QApplication::focusWidget();
            QVERIFY(focus);
            QVERIFY2(ControlKinds::ControlIdOf(focus) == *first,
                     qPrintable(QString("page %1: %2 \"%3\" has the focus, not control %4")
                                    .arg(p)
                                    .arg(focus->metaObject()->className())
                                    .arg(focus->objectName())
                                    .arg(*first)));

            const auto groups = page->findChildren<QGroupBox*>();
            for (int i = 1; i < groups.size(); ++i) {
                const QPoint a = groups[i - 1]->mapTo(page, QPoint(0, 0));
                const QPoint b = groups[i]->mapTo(page, QPoint(0, 0));
                QVERIFY2((b.x() == a.x() && b.y() > a.y()) || b.x() > a.x(),
                         qPrintable(groups[i]->title()));
            }
        }
    }

    // On a 1366 x 768 screen a page has about 1300 pixels of width: no page may need more,
    // whatever it needs in height it scrolls.
    void everyPageFitsTheWidthOfASmallScreen() {
        test::PageRig rig;
        for (QWidget* page : rig.pages) {
            auto* content = page->findChild<QWidget*>("pageContent");
            QVERIFY(content);
            QVERIFY2(content->layout()->minimumSize().width() <= 1280,
                     qPrintable(QString::number(content->layout()->minimumSize().width())));
        }
    }

    // The main window opens at what its pages ask for, within the screen: on a 1366 x 768
    // screen that is about 1300 x 600 for a page, and each page asks for no more.
    void pagesAskForRoomAScreenHas() {
        test::PageRig rig;
        for (QWidget* page : rig.pages) {
            const QSize hint = page->sizeHint();
            QVERIFY2(hint.width() <= 1300 && hint.height() <= 600,
                     qPrintable(QString("%1 x %2").arg(hint.width()).arg(hint.height())));
        }
    }

    void columnsBalanceAndKeepOrder() {
        const std::vector<BoxSize> boxes = {{100, 300}, {100, 100}, {100, 100}, {100, 100}};
        ColumnSplit two = PackColumns(boxes, 210, 10, 4);
        QCOMPARE(two.column, (std::vector<int>{0, 1, 1, 1}));
        QCOMPARE(two.height, 320);

        ColumnSplit narrow = PackColumns(boxes, 150, 10, 4);  // one column only
        QCOMPARE(narrow.column, (std::vector<int>{0, 0, 0, 0}));

        // More room spreads the boxes only as far as it lowers the page.
        ColumnSplit wide = PackColumns(boxes, 1000, 10, 4);
        QCOMPARE(wide.height, 300);
        QCOMPARE(wide.columnWidths.size(), std::size_t{3});
        QVERIFY(std::is_sorted(wide.column.begin(), wide.column.end()));
        QVERIFY(PackColumns({}, 100, 10, 4).column.empty());
    }

    void combinedDisplayTexts() {
        QCOMPARE(ExposureText(false, 850, 10, 100), std::string("850 µs"));
        QCOMPARE(ExposureText(false, 18000, 10, 100), std::string("18.000 ms"));
        QCOMPARE(ExposureText(true, 18000, 10, 1500000), std::string("Auto, 10 µs to 1.500 s"));
        QCOMPARE(GainText(false, 250, 100, 1600), std::string("×2.50"));
        QCOMPARE(GainText(true, 250, 100, 1600), std::string("Auto, ×1.00 to ×16.00"));
    }
};

QTEST_MAIN(PagesLayoutTest)
#include "pages_layout_test.moc"
