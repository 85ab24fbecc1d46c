// The page buttons, the automatic functions' combo boxes and the flash areas of the desktop
// tool against the simulated camera, through the real widgets.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

#include "core/camera/actions/camera_action_table.h"
#include "core/persist/flash_areas.h"
#include "gui/app/main_menu.h"
#include "gui/comm/flash_area_dialog.h"
#include "gui/pages/camera_actions_feature.h"
#include "gui/pages/control_binding.h"
#include "gui/pages/page_table.h"
#include "gui_test_support.h"

using namespace vk;
using namespace vk::gui;
using vk::gui::test::Concat;
using vk::gui::test::FullReadQueries;
using vk::gui::test::ToolUnderTest;
using Lines = std::vector<std::string>;

namespace {

// The tool started against the simulated camera, its polls shortened.
struct StartedTool {
    ToolUnderTest tool;
    MainWindow* window = nullptr;
    CameraActionsFeature* actions = nullptr;

    bool Start(bool factory = false) {
        if (!tool.CreateSimulated()) return false;
        window = tool.Start();
        actions = window->findChild<CameraActionsFeature*>();
        if (!actions) return false;
        actions->SetTiming({20, 120000});
        if (factory) window->ToggleControlMode();
        tool.Camera().ClearReceivedLines();
        tool.ui.messages.clear();
        return true;
    }

    template <class T>
    T* Control(int id) {
        return qobject_cast<T*>(window->FindControl(id));
    }

    Lines Wire() { return tool.Camera().ReceivedLines(); }
};

bool IsWindowButton(const PlacedControl& placed) {
    return placed.cell.kind == WidgetKind::Button && !FindActionByControl(placed.cell.controlId);
}

void Choose(QComboBox* box, int index) {
    box->setCurrentIndex(index);
    emit box->activated(index);
}

}  // namespace

class CameraActionsTest : public QObject {
    Q_OBJECT

private slots:
    void everyActionButtonWorksInItsModeAndSaysWhyOtherwise();
    void aButtonRunsItsActionAndShowsTheResult();
    void aReadFillsItsDisplayField();
    void anIndexedReadStoresAndCommitsTheValue();
    void onceRunsTheFunctionAndSetsTheComboBackToOff();
    void continuousHandsTheRelatedControlsToTheCamera();
    void cameraResetClosesWithoutAsking();
    void storeAllAsksFirstAndReportsOnce();
    void loadSettingsLoadsThenReadsEverything();
    void storeSettingsStoresOrSaysTheAreaIsInvalid();
    void theAreaDialogListsTheAreasOfItsMode();
};

void CameraActionsTest::everyActionButtonWorksInItsModeAndSaysWhyOtherwise() {
    StartedTool t;
    QVERIFY(t.Start());
    for (const PlacedControl& placed : PlacedControls()) {
        if (placed.cell.kind != WidgetKind::Button) continue;
        auto* button = t.Control<QPushButton>(placed.cell.controlId);
        const CameraAction* action = FindActionByControl(placed.cell.controlId);
        const bool factoryPage = PageInfos()[static_cast<std::size_t>(placed.page)].factoryOnly;
        if (action) QCOMPARE(action->factoryOnly, factoryPage);
        if (button->isEnabled()) continue;
        // A disabled button says what it waits for, below its own tooltip.
        QVERIFY2(button->toolTip().contains('\n'), qPrintable(button->toolTip()));
        if (action) {
            QVERIFY(factoryPage);
            QVERIFY(button->toolTip().endsWith("Needs factory mode."));
        } else {
            QVERIFY(IsWindowButton(placed));
        }
    }
    QVERIFY(t.Control<QPushButton>(2047)->isEnabled());

    t.window->ToggleControlMode();
    for (const CameraAction& action : CameraActions()) {
        auto* button = t.Control<QPushButton>(action.controlId);
        if (button) QVERIFY2(button->isEnabled(), action.name.data());
    }

    // The LUT rule and the line state say so too.
    auto* openLut = t.Control<QPushButton>(2214);
    t.window->Binding()->SetActionAvailable(2214, true);
    Choose(t.Control<QComboBox>(2015), 1);  // "Gamma"
    QVERIFY(!openLut->isEnabled());
    QVERIFY(openLut->toolTip().endsWith("Needs the LUT selector on \"LUT\"."));
    t.tool.Core().notifier.SetOffline();
    QVERIFY(!t.Control<QPushButton>(2047)->isEnabled());
    QVERIFY(t.Control<QPushButton>(2047)->toolTip().endsWith("Needs the camera online."));
    t.tool.Core().notifier.SetOnline();
    QVERIFY(t.Control<QPushButton>(2047)->isEnabled());
    QVERIFY(!t.Control<QPushButton>(2047)->toolTip().contains("Needs"));
}

void CameraActionsTest::aButtonRunsItsActionAndShowsTheResult() {
    StartedTool t;
    QVERIFY(t.Start());
    t.tool.Camera().SetValue("SDRS", "3");
    t.Control<QPushButton>(2047)->click();
    QCOMPARE(t.tool.ui.messages.size(), 1u);
    QCOMPARE(t.tool.ui.messages[0].text, std::string("Timeout Error"));
    QCOMPARE(t.tool.ui.messages[0].caption, std::string("Recalibrate FFC (User)"));
    QVERIFY(t.tool.ui.messages[0].icon == MessageIcon::None);
    QCOMPARE(t.tool.ui.operations.back(), std::string("Recalibrate Shading"));

    t.tool.Camera().ClearReceivedLines();
    t.tool.ui.messages.clear();
    t.Control<QPushButton>(2051)->click();
    QCOMPARE(t.tool.ui.MessageTexts(), Lines{"Completed"});
    QVERIFY(t.tool.ui.messages[0].icon == MessageIcon::Information);

    // Gain Reset asks first; "No" sends nothing.
    t.window->ToggleControlMode();
    t.tool.Camera().ClearReceivedLines();
    t.Control<QPushButton>(2545)->click();
    QCOMPARE(t.tool.ui.questions.size(), 1u);
    QVERIFY(t.Wire().empty());
}

void CameraActionsTest::aReadFillsItsDisplayField() {
    StartedTool t;
    QVERIFY(t.Start());
    t.tool.Camera().SetValue("TMP0", "41");
    t.tool.Camera().SetValue("PCV", "11");
    t.Control<QPushButton>(2070)->click();
    t.Control<QPushButton>(4632)->click();
    QCOMPARE(t.Wire(), (Lines{"TMP0?", "PCV?"}));
    QCOMPARE(t.Control<QLineEdit>(1440)->text(), QString("41"));
    QCOMPARE(t.Control<QLineEdit>(4633)->text(), QString("CLOSE"));
    QVERIFY(t.tool.ui.messages.empty());

    // A failed read leaves the field as it was.
    t.tool.Camera().SetFault({sim::Fault::WrongMnemonic, 0, 1, {}});
    t.Control<QPushButton>(2070)->click();
    QCOMPARE(t.Control<QLineEdit>(1440)->text(), QString("41"));
}

void CameraActionsTest::anIndexedReadStoresAndCommitsTheValue() {
    StartedTool t;
    QVERIFY(t.Start());
    t.tool.Camera().SetValue("BMPXW?5", "321");
    t.Control<QSpinBox>(2056)->setValue(5);
    t.Control<QPushButton>(2146)->click();
    QCOMPARE(t.Wire(), Lines{"BMPXW?5"});
    QCOMPARE(t.Control<QSpinBox>(2062)->value(), 321);
    QCOMPARE(t.tool.Core().exchange.Values().CameraValue(2062).value_or(-1), 321);

    // Write sends "index,value" from the two fields.
    t.tool.Camera().ClearReceivedLines();
    t.Control<QSpinBox>(2062)->setValue(400);
    QCOMPARE(t.Control<QSpinBox>(2056)->value(), 5);  // the index stays as typed
    t.Control<QPushButton>(2068)->click();
    QCOMPARE(t.Wire(), Lines{"BMPXW=5,400"});
    QCOMPARE(t.tool.Camera().Value("BMPXW?5"), std::string("400"));
    QVERIFY(t.tool.ui.messages.empty());
}

void CameraActionsTest::onceRunsTheFunctionAndSetsTheComboBackToOff() {
    StartedTool t;
    QVERIFY(t.Start());
    auto* balance = t.Control<QComboBox>(2241);
    Choose(balance, 1);  // "Once"
    const Lines wire = t.Wire();
    QCOMPARE(wire.front(), std::string("AWB=1"));
    QCOMPARE(wire.back(), std::string("AWB?"));  // the white balance gains read back, then the row
    QCOMPARE(t.tool.ui.MessageTexts(), Lines{"Complete"});
    QCOMPARE(t.tool.ui.messages[0].caption, std::string("Balance White Auto Result"));
    QCOMPARE(balance->currentText(), QString("Off"));
    QVERIFY(t.Control<QSpinBox>(2470)->isEnabled());
}

void CameraActionsTest::continuousHandsTheRelatedControlsToTheCamera() {
    StartedTool t;
    QVERIFY(t.Start());
    auto* balance = t.Control<QComboBox>(2241);
    Choose(balance, 2);  // "Continuous"
    QCOMPARE(t.Wire(), Lines{"AWB=2"});
    auto* redGain = t.Control<QSpinBox>(2470);
    QVERIFY(!redGain->isEnabled());
    QVERIFY(redGain->toolTip().endsWith("Set by Balance White Auto while it is on."));
    Choose(balance, 0);
    QVERIFY(redGain->isEnabled());
    QVERIFY(!redGain->toolTip().contains("Set by"));

    // A value the camera refuses leaves them as they were.
    t.tool.Camera().SetFault({sim::Fault::ErrorOnSet, 0, 1, "ERROR"});
    Choose(balance, 3);
    QVERIFY(redGain->isEnabled());
    QCOMPARE(balance->currentText(), QString("Off"));
}

void CameraActionsTest::cameraResetClosesWithoutAsking() {
    StartedTool t;
    QVERIFY(t.Start(true));
    QVERIFY(t.window->isVisible());
    t.Control<QPushButton>(1018)->click();
    QCOMPARE(t.Wire(), Lines{"CRS00=1"});
    QVERIFY(t.tool.ui.questions.empty());
    QVERIFY(!t.window->isVisible());
}

void CameraActionsTest::storeAllAsksFirstAndReportsOnce() {
    StartedTool t;
    QVERIFY(t.Start(true));
    t.tool.ui.answers = {false};
    t.Control<QPushButton>(1105)->click();
    QCOMPARE(t.tool.ui.questions.size(), 1u);
    QCOMPARE(t.tool.ui.questions[0].text, std::string(kStoreAllQuestion));
    QVERIFY(t.Wire().empty());

    t.tool.ui.answers = {true};
    t.tool.Camera().SetFault({sim::Fault::ErrorOnSet, 0, 1, "ERROR"});
    t.Control<QPushButton>(1105)->click();
    QCOMPARE(t.Wire(), (Lines{"SA=3", "SA=2", "SA=1", "SA00=0"}));
    QCOMPARE(t.tool.ui.MessageTexts(), Lines{kStoreAllFailed});
}

void CameraActionsTest::loadSettingsLoadsThenReadsEverything() {
    StartedTool t;
    QVERIFY(t.Start());
    std::vector<FlashAreaDialog::Mode> asked;
    std::optional<int> choice;
    t.actions->chooseArea = [&](FlashAreaDialog::Mode mode) {
        asked.push_back(mode);
        return choice;
    };
    t.window->Menu()->Action(kMenuLoadSettings)->trigger();  // cancelled
    QVERIFY(t.Wire().empty());

    choice = 2;
    t.window->Menu()->Action(kMenuLoadSettings)->trigger();
    QCOMPARE(asked.size(), 2u);
    QVERIFY(asked[1] == FlashAreaDialog::Mode::Load);
    QCOMPARE(t.Wire(), Concat({"LD=2", "MD?"}, FullReadQueries(t.tool.Core(), 0, false)));
    QCOMPARE(t.window->CurrentArea(), 2u);
}

void CameraActionsTest::storeSettingsStoresOrSaysTheAreaIsInvalid() {
    StartedTool t;
    QVERIFY(t.Start());
    int choice = 3;
    t.actions->chooseArea = [&](FlashAreaDialog::Mode) { return std::optional<int>(choice); };
    t.window->Menu()->Action(kMenuStoreSettings)->trigger();
    QCOMPARE(t.Wire(), Lines{"SA=3"});
    QCOMPARE(t.tool.ui.MessageTexts(), Lines{"Completed saving current setting data !"});
    QCOMPARE(t.window->CurrentArea(), 3u);

    for (int bad : {-1, 0}) {  // none of the names; the factory area in user mode
        t.tool.Camera().ClearReceivedLines();
        t.tool.ui.messages.clear();
        choice = bad;
        t.window->Menu()->Action(kMenuStoreSettings)->trigger();
        QVERIFY(t.Wire().empty());
        QCOMPARE(t.tool.ui.MessageTexts(), Lines{"Selected invalid area !"});
        QVERIFY(t.tool.ui.messages[0].icon == MessageIcon::Stop);
    }
}

void CameraActionsTest::theAreaDialogListsTheAreasOfItsMode() {
    OnlineStatusNotifier notifier;
    WindowList windows;
    const struct {
        FlashAreaDialog::Mode mode;
        bool factory;
        QStringList items;
    } cases[] = {
        {FlashAreaDialog::Mode::Store, false, {"User 1", "User 2", "User 3"}},
        {FlashAreaDialog::Mode::Store, true, {"Factory", "User 1", "User 2", "User 3"}},
        {FlashAreaDialog::Mode::Load, false, {"Factory", "User 1", "User 2", "User 3"}},
    };
    for (const auto& c : cases) {
        FlashAreaDialog dialog(c.mode, c.factory, notifier, windows);
        QStringList items;
        for (int i = 0; i < dialog.AreaList()->count(); ++i)
            items << dialog.AreaList()->itemText(i);
        QCOMPARE(items, c.items);
        const bool store = c.mode == FlashAreaDialog::Mode::Store;
        QVERIFY(dialog.windowTitle().startsWith(store ? "Store" : "Load"));
        QCOMPARE(windows.Count(), 1);
        dialog.Preselect(3);  // "User 3", in every list
        QCOMPARE(dialog.AreaList()->currentText(), QString("User 3"));
        dialog.AreaList()->setCurrentIndex(1);
        dialog.accept();
        QCOMPARE(dialog.SelectedArea(), FlashAreas::AreaOfName(c.items[1].toStdString()));
    }
    QCOMPARE(windows.Count(), 0);
}

QTEST_MAIN(CameraActionsTest)
#include "camera_actions_test.moc"
