// The pages bound to a simulated camera: what a user's change sends, and what the pages show.
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <QVBoxLayout>

#include "gui/pages/row_info.h"
#include "gui/widgets/control_kinds.h"
#include "page_rig.h"

using namespace vk;
using namespace vk::gui;

namespace {

using Lines = std::vector<std::string>;

constexpr int kExposureTime = 1943;  // PE, 10..8000000
constexpr int kGain = 1218;          // GA, -84..672
constexpr int kMrh1 = 4475;          // MRH1, 1..2048, 0 at power-on

// Types text into a spin box as a user does: select all, then the keys.
void Type(QSpinBox* spin, const QString& text) {
    spin->setFocus();
    QTest::keyClick(spin, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(spin, text);
}

void Choose(QComboBox* box, int index) {
    box->setCurrentIndex(index);
    emit box->activated(index);  // what a user's pick in the list emits
}

// A valid value other than the camera's default, for every kind, so that a read that
// misses a row shows.
std::optional<int> OtherValue(const PlacedControl& placed, const ControlEntry& row) {
    switch (placed.cell.kind) {
        case WidgetKind::Spin:
            return row.defaultValue == row.maximum ? row.minimum : row.maximum;
        case WidgetKind::Check:
            return row.defaultValue == 0 ? 1 : 0;
        case WidgetKind::Radio:
            return static_cast<int>(placed.cell.items->size()) - 1;
        case WidgetKind::Combo: {
            const ItemList& items = *placed.cell.items;
            for (auto it = items.rbegin(); it != items.rend(); ++it) {
                if (it->value != row.defaultValue && it->value <= 3)
                    return it->value;  // grey ramps
            }
            return std::nullopt;
        }
        default:
            return std::nullopt;
    }
}

}  // namespace

class PagesBindingTest : public QObject {
    Q_OBJECT

private slots:
    void afterAFullReadEveryControlShowsTheCamerasValue() {
        test::PageRig rig;
        QVERIFY(rig.Connect());
        std::map<int, int> planted;
        for (const PlacedControl& placed : PlacedControls()) {
            const ControlEntry* row = RowOfControl(placed.cell.controlId);
            if (!row) continue;
            const int tableRow = rig.Table().RowOf(row->controlId);
            if (!IsReadInFullRead(rig.Table(), tableRow, rig.core.modelCheck.modelIndex, true)) {
                continue;
            }
            if (const auto value = OtherValue(placed, *row)) {
                rig.camera->SetValue(MnemonicOf(*row), std::to_string(*value));
                planted[placed.cell.controlId] = *value;
            }
        }
        QVERIFY(planted.size() > 300);

        rig.ReadAll();
        QVERIFY(rig.ui.messages.empty());
        for (const auto& [controlId, value] : planted) {
            QWidget* control = rig.binding->FindControl(controlId);
            QVERIFY2(ControlKinds::ReadValue(control) == value,
                     qPrintable(QString("control %1 shows %2, camera holds %3")
                                    .arg(controlId)
                                    .arg(ControlKinds::ReadValue(control))
                                    .arg(value)));
        }
        // Showing values sends nothing.
        rig.camera->ClearReceivedLines();
        rig.binding->RefreshAllControls();
        QCOMPARE(rig.camera->ReceivedLines(), Lines{});
    }

    void aSpinStepSendsTheSetLineClampedToTheRange() {
        test::PageRig rig;
        QVERIFY(rig.Connect());
        rig.ReadAll(false);
        QVERIFY(rig.ShowActive());
        auto* exposure = rig.Control<QSpinBox>(kExposureTime);
        Type(exposure, "15");
        QTest::keyClick(exposure, Qt::Key_Enter);
        rig.camera->ClearReceivedLines();

        QTest::keyClick(exposure, Qt::Key_PageDown);  // ten steps down from 15
        QCOMPARE(rig.camera->ReceivedLines(), Lines{"PE=10"});
        QCOMPARE(rig.CameraValue(kExposureTime).value_or(-1), 10);

        // At the bound a step has nothing left to change.
        rig.camera->ClearReceivedLines();
        QTest::keyClick(exposure, Qt::Key_Down);
        QCOMPARE(rig.camera->ReceivedLines(), Lines{});
        QCOMPARE(exposure->value(), 10);

        auto* gain = rig.Control<QSpinBox>(kGain);
        rig.ShowPageOf(gain);
        Type(gain, "670");
        QTest::keyClick(gain, Qt::Key_Return);
        QTest::keyClick(gain, Qt::Key_PageUp);
        QCOMPARE(rig.camera->ReceivedLines(), (Lines{"GA=670", "GA=672"}));
        QCOMPARE(rig.camera->Value("GA"), std::string("672"));
    }

    void aTypedValueIsSentWhenTheFieldLosesTheFocus() {
        test::PageRig rig;
        QVERIFY(rig.Connect());
        rig.ReadAll(false);
        QVERIFY(rig.ShowActive());
        auto* exposure = rig.Control<QSpinBox>(kExposureTime);
        rig.camera->ClearReceivedLines();

        Type(exposure, "2500");
        QCOMPARE(rig.camera->ReceivedLines(), Lines{});  // nothing while typing
        rig.Control<QSpinBox>(1992)->setFocus();
        QTRY_COMPARE(rig.camera->ReceivedLines(), Lines{"PE=2500"});

        // Below the range the value is corrected to the bound before it is sent.
        rig.camera->ClearReceivedLines();
        Type(exposure, "5");
        rig.Control<QSpinBox>(1992)->setFocus();
        QTRY_COMPARE(rig.camera->ReceivedLines(), Lines{"PE=10"});
        QCOMPARE(exposure->value(), 10);
    }

    // A camera value outside the row's range is shown as it is, never as the nearest bound;
    // a user's step or typed value still stays inside the range.
    void aCameraValueOutsideTheRangeIsShownAsItIs() {
        test::PageRig rig;
        QVERIFY(rig.Connect());
        QCOMPARE(rig.camera->Value("MRH1"), std::string("0"));
        rig.camera->SetValue("PE", "5");
        rig.ReadAll(false);
        QVERIFY(rig.ShowActive());
        auto* exposure = rig.Control<QSpinBox>(kExposureTime);
        auto* other = rig.Control<QSpinBox>(1992);
        QCOMPARE(exposure->text(), QString("5"));
        QCOMPARE(ControlKinds::ReadValue(exposure), 5);
        auto* mrh1 = rig.Control<QSpinBox>(kMrh1);
        QCOMPARE(mrh1->text(), QString("0"));
        QCOMPARE(ControlKinds::ReadValue(mrh1), 0);

        // Passing through the fields sends nothing and changes nothing shown.
        rig.camera->ClearReceivedLines();
        exposure->setFocus();
        other->setFocus();
        rig.ShowPageOf(mrh1);
        mrh1->setFocus();
        QTest::keyClick(mrh1, Qt::Key_Tab);
        QVERIFY(!mrh1->hasFocus());
        rig.ShowPageOf(exposure);
        QCOMPARE(rig.camera->ReceivedLines(), Lines{});
        QCOMPARE(exposure->text(), QString("5"));
        QCOMPARE(mrh1->text(), QString("0"));

        // A refused step leaves the camera's value shown, out of range as it is.
        rig.camera->SetFault({sim::Fault::ErrorOnSet, 0, -1, "ERROR"});
        exposure->setFocus();
        QTest::keyClick(exposure, Qt::Key_Up);
        QCOMPARE(rig.camera->ReceivedLines(), Lines{"PE=10"});
        QCOMPARE(exposure->text(), QString("5"));
        rig.camera->ClearFault();
        rig.ui.messages.clear();

        // From below the range a step lands on the lower bound, and the range is the row's again.
        rig.camera->ClearReceivedLines();
        QTest::keyClick(exposure, Qt::Key_Up);
        QCOMPARE(rig.camera->ReceivedLines(), Lines{"PE=10"});
        QCOMPARE(exposure->text(), QString("10"));
        QCOMPARE(exposure->minimum(), 10);

        // A typed value below the row's range goes as the bound, even while the box shows less.
        rig.camera->SetValue("PE", "5");
        rig.ReadAll(false);
        QCOMPARE(exposure->text(), QString("5"));
        rig.camera->ClearReceivedLines();
        Type(exposure, "7");
        QTest::keyClick(exposure, Qt::Key_Enter);
        QCOMPARE(rig.camera->ReceivedLines(), Lines{"PE=10"});
        QCOMPARE(exposure->text(), QString("10"));

        // Above the range a step down lands on the upper bound.
        rig.camera->SetValue("PE", "9000000");
        rig.ReadAll(false);
        QCOMPARE(exposure->text(), QString("9000000"));
        rig.camera->ClearReceivedLines();
        QTest::keyClick(exposure, Qt::Key_Down);
        QCOMPARE(rig.camera->ReceivedLines(), Lines{"PE=8000000"});
        QCOMPARE(exposure->text(), QString("8000000"));
        QVERIFY(rig.ui.messages.empty());
    }

    void enterInASpinBoxSendsAndDoesNotCloseTheWindow() {
        test::PageRig rig;
        QVERIFY(rig.Connect());
        rig.ReadAll(false);
        QDialog dialog;
        auto* layout = new QVBoxLayout(&dialog);
        rig.pages[0]->setParent(&dialog);
        layout->addWidget(rig.pages[0]);
        auto* ok = new QPushButton("OK", &dialog);
        ok->setDefault(true);
        QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
        layout->addWidget(ok);
        dialog.show();
        dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));

        auto* exposure = rig.Control<QSpinBox>(kExposureTime);
        rig.camera->ClearReceivedLines();
        Type(exposure, "777");
        QTest::keyClick(exposure, Qt::Key_Enter);
        QCOMPARE(rig.camera->ReceivedLines(), Lines{"PE=777"});
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.result(), 0);

        // The main window's own Enter handling commits the focused field the same way.
        Type(exposure, "778");
        QVERIFY(rig.binding->CommitFocusedEdit());
        QCOMPARE(rig.camera->ReceivedLines(), (Lines{"PE=777", "PE=778"}));
        ok->setFocus();
        QVERIFY(!rig.binding->CommitFocusedEdit());
    }

    void theThirdRadioButtonStoresTwoUnderTheFirstId() {
        test::PageRig rig;
        QVERIFY(rig.Connect());
        rig.ReadAll();
        rig.camera->ClearReceivedLines();
        const auto group = ControlKinds::RadioGroup(rig.Control<QRadioButton>(4503));
        QCOMPARE(group.size(), std::size_t{3});
        group[2]->click();
        QCOMPARE(rig.camera->ReceivedLines(), Lines{"CTCE=2"});
        QCOMPARE(rig.CameraValue(4503).value_or(-1), 2);
        QCOMPARE(ControlKinds::RadioGroupValue(group[0]), std::optional<int>(2));
    }

    void checkBoxesAndCombosSendTheirValue() {
        test::PageRig rig;
        QVERIFY(rig.Connect());
        rig.ReadAll();
        rig.camera->ClearReceivedLines();
        rig.Control<QCheckBox>(4021)->click();    // ALCLR, 1 by default
        Choose(rig.Control<QComboBox>(2048), 1);  // HB "2"
        Choose(rig.Control<QComboBox>(4925), 1);  // HES, the long time-out
        QCOMPARE(rig.camera->ReceivedLines(), (Lines{"ALCLR=0", "HB=2", "HES=1"}));
        QCOMPARE(rig.CameraValue(2048).value_or(-1), 2);
    }

    void aRefusedValueLeavesTheCamerasValueShown() {
        test::PageRig rig;
        QVERIFY(rig.Connect());
        rig.camera->SetValue("PE", "4000");
        rig.camera->SetValue("TA", "1");
        rig.ReadAll(false);
        QVERIFY(rig.ShowActive());

        rig.camera->SetFault({sim::Fault::ErrorOnSet, 0, -1, "ERROR"});
        auto* exposure = rig.Control<QSpinBox>(kExposureTime);
        Type(exposure, "5000");
        QTest::keyClick(exposure, Qt::Key_Enter);
        QCOMPARE(exposure->value(), 4000);
        QCOMPARE(rig.CameraValue(kExposureTime).value_or(-1), 4000);
        QCOMPARE(rig.ui.messages.size(), std::size_t{1});
        QCOMPARE(rig.ui.messages[0].caption, std::string("Communication Error"));

        auto* activation = rig.Control<QComboBox>(1977);
        Choose(activation, 3);
        QCOMPARE(ControlKinds::ReadValue(activation), 1);

        // Nothing is left pending: once the camera takes sets again, only new changes go.
        rig.camera->ClearFault();
        rig.camera->ClearReceivedLines();
        rig.Control<QCheckBox>(4021)->click();
        QCOMPARE(rig.camera->ReceivedLines(), Lines{"ALCLR=0"});
        QCOMPARE(rig.camera->Value("PE"), std::string("4000"));
    }

    void handlerOnlyCombosAndIndexedEntriesAreNotSentByTheBinding() {
        test::PageRig rig;
        QVERIFY(rig.Connect());
        rig.ReadAll();
        QVERIFY(rig.ShowActive());
        QSignalSpy combos(rig.binding.get(), &ControlBinding::comboSelected);
        rig.camera->ClearReceivedLines();

        auto* exposureMode = rig.Control<QComboBox>(1942);
        Choose(exposureMode, 2);
        QCOMPARE(combos.count(), 1);
        QCOMPARE(combos.at(0).at(0).toInt(), 1942);
        QCOMPARE(ControlKinds::ReadValue(exposureMode), 0);  // unsent, so the camera's value again

        auto* lutIndex = rig.Control<QSpinBox>(4603);
        rig.ShowPageOf(lutIndex);
        Type(lutIndex, "17");
        QTest::keyClick(lutIndex, Qt::Key_Enter);
        QTest::keyClick(rig.Control<QSpinBox>(2056), Qt::Key_Up);
        QCOMPARE(rig.camera->ReceivedLines(), Lines{});
        QCOMPARE(lutIndex->value(), 17);  // kept for its Read and Write buttons
    }

    void actionButtonsAndTheLutRule() {
        test::PageRig rig;
        QVERIFY(rig.Connect());
        rig.ReadAll();
        QSignalSpy actions(rig.binding.get(), &ControlBinding::actionRequested);
        auto* softTrigger = rig.Control<QPushButton>(2598);
        rig.binding->SetActionAvailable(2598, true);
        QVERIFY(softTrigger->isEnabled());
        softTrigger->click();
        QCOMPARE(actions.count(), 1);
        QCOMPARE(actions.at(0).at(0).toInt(), 2598);

        auto* open = rig.Control<QPushButton>(2214);
        auto* selector = rig.Control<QComboBox>(2015);
        Choose(selector, 2);  // "LUT", before the action exists
        QVERIFY(!open->isEnabled());
        rig.binding->SetActionAvailable(2214, true);
        QVERIFY(open->isEnabled());
        Choose(selector, 1);  // "Gamma"
        QVERIFY(!open->isEnabled());
        Choose(selector, 2);
        QVERIFY(open->isEnabled());
        Choose(selector, 0);  // "Off"
        QVERIFY(!open->isEnabled());
    }

    void modelAdjustments() {
        test::PageRig colour(test::kColourModel);
        QVERIFY(colour.Connect());
        colour.ReadAll(false);
        auto* pattern = colour.Control<QComboBox>(2018);
        QCOMPARE(pattern->count(), 7);
        QVERIFY(pattern->findText("Moving Colorbar") >= 0);
        QVERIFY(!colour.Control<QComboBox>(2048)->isEnabled());
        QVERIFY(!colour.Control<QComboBox>(2050)->isEnabled());

        colour.binding->ApplyModel(1);  // a monochrome camera now
        QCOMPARE(pattern->count(), 4);
        for (const char* text : {"Horizontal Colorbar", "Vertical Colorbar", "Moving Colorbar"}) {
            QCOMPARE(pattern->findText(text), -1);
        }
        QVERIFY(colour.Control<QComboBox>(2048)->isEnabled());
        QVERIFY(colour.Control<QComboBox>(2050)->isEnabled());
    }

    void combinedDisplaysFollowTheCamera() {
        test::PageRig rig;
        QVERIFY(rig.Connect());
        rig.camera->SetValue("PE", "18000");
        rig.camera->SetValue("FGA", "250");
        rig.ReadAll(false);
        auto* exposure = rig.pages[0]->findChild<QLineEdit*>("exposureDisplay");
        auto* gain = rig.pages[0]->findChild<QLineEdit*>("gainDisplay");
        QCOMPARE(exposure->text(), QString("18.000 ms"));
        QCOMPARE(gain->text(), QString("×2.50"));

        Choose(rig.Control<QComboBox>(4625), 1);  // gain auto continuous
        QVERIFY(gain->text().startsWith("Auto, "));
    }
};

QTEST_MAIN(PagesBindingTest)
#include "pages_binding_test.moc"
