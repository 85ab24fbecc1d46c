// The tool while camera operations run: the windows keep repainting, take no second
// operation, can cancel, and come back enabled; the progress stands over the main window.
#include <QCheckBox>
#include <QElapsedTimer>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

#include "gui/app/qt_user_interface.h"
#include "gui/comm/communication_window.h"
#include "gui_test_support.h"
#include "identity_rig.h"

namespace vk::gui::test {

class BusyWindowTest : public QObject {
    Q_OBJECT

private slots:
    void theModeSwitchIsIgnoredWhileReading();
    void theReadsProgressStandsOverTheMainWindow();
    void aSlowStoreKeepsTheWindowsAliveAndTakesNoSecondOperation();
    void cancelStopsAFullReadAtTheNextRow();
};

void BusyWindowTest::theModeSwitchIsIgnoredWhileReading() {
    vk::gui::test::PumpingUiPort ui;
    MemorySettingsBackend settings;
    ProgramOptions options;
    options.simulateModel = QString();
    ToolApplication app(options, &ui, &settings);
    QVERIFY(app.Create(nullptr));
    // Answers come late enough that the read is still running when the keys arrive.
    app.Camera()->SetFault({sim::Fault::Delay, 3, -1, {}});
    MainWindow* window = app.Window();
    bool typedWhileReading = false;
    QTimer::singleShot(150, window, [&] {
        typedWhileReading = !window->isEnabled();
        QTest::keyClick(window, Qt::Key_F12, Qt::ShiftModifier | Qt::ControlModifier);
        for (Qt::Key k : {Qt::Key_V, Qt::Key_K, Qt::Key_F})
            QTest::keyClick(window, k);
    });
    window->show();
    window->Initialize();
    QVERIFY(typedWhileReading);
    QVERIFY(!window->IsFactoryMode());
    QCOMPARE(window->findChild<QTabWidget*>("tabControl")->count(), 6);
}

void BusyWindowTest::theReadsProgressStandsOverTheMainWindow() {
    // Whichever window would be chosen otherwise (active, or the fallback), the owner wins.
    QtUserInterface ui;
    QWidget main;
    QWidget other;
    ui.SetMainWindow(&other);
    other.show();
    other.activateWindow();
    {
        const ProgressOwner over(ui, &main);
        ui.ShowProgress("Now, reading camera settings.");
        QCOMPARE(ui.Progress()->parentWidget(), &main);
        ui.CloseProgress();
    }
    ui.ShowProgress("Now, Storing camera data.");
    QCOMPARE(ui.Progress()->parentWidget(), &other);
    ui.CloseProgress();
}

void BusyWindowTest::aSlowStoreKeepsTheWindowsAliveAndTakesNoSecondOperation() {
    ToolUnderTest tool;
    QVERIFY(tool.CreateSimulated());
    MainWindow* window = tool.Start();
    tool.Camera().ClearReceivedLines();
    tool.Camera().SetFault({sim::Fault::Delay, 3000, 1, {}});

    int ticks = 0;
    QTimer beat;
    QObject::connect(&beat, &QTimer::timeout, [&] { ++ticks; });
    beat.start(50);
    bool disabledWhileWaiting = false;
    QTimer::singleShot(1000, window, [&] {
        disabledWhileWaiting = !window->isEnabled() && !window->Communication()->isEnabled();
        // A click on a page while the store runs starts nothing.
        auto* check = qobject_cast<QCheckBox*>(window->FindControl(4626));
        if (check) check->click();
    });
    tool.ui.answers = {true};  // overwrite the area
    window->Communication()->findChild<QPushButton*>("store")->click();
    beat.stop();

    // Three seconds of waiting for one reply, and the loop turned all along.
    QVERIFY2(ticks >= 20, qPrintable(QString::number(ticks)));
    QVERIFY(disabledWhileWaiting);
    QCOMPARE(tool.Camera().ReceivedLines(), std::vector<std::string>{"SA=1"});
    QVERIFY(window->isEnabled());
    QVERIFY(window->Communication()->isEnabled());
    QVERIFY(tool.HasMessage("Completed to store current setting data!"));
}

void BusyWindowTest::cancelStopsAFullReadAtTheNextRow() {
    ToolUnderTest tool;
    QVERIFY(tool.CreateSimulated());
    MainWindow* window = tool.Start();
    CoreContext& core = tool.Core();
    const ControlId htl = 1984;  // late in the read
    const std::int32_t before = core.exchange.Values().CameraValue(htl).value_or(-1);
    tool.Camera().SetValue("HTL", "99");
    tool.Camera().ClearReceivedLines();
    tool.Camera().SetFault({sim::Fault::Delay, 20, -1, {}});

    std::size_t sentAtCancel = 0;
    QTimer::singleShot(600, window, [&] {
        QtUserInterface* ui = &window->Desktop();
        QVERIFY(ui && ui->Progress() && ui->Progress()->isVisible());
        sentAtCancel = tool.Camera().ReceivedLines().size();
        ui->Progress()->findChild<QPushButton*>("cancelOperation")->click();
    });
    window->ReadAllSettings();

    // The query on the wire may finish; no further one is sent.
    QVERIFY(sentAtCancel > 1);
    QVERIFY(tool.Camera().ReceivedLines().size() <= sentAtCancel + 2);
    QCOMPARE(core.exchange.Values().CameraValue(htl).value_or(-1), before);
    QVERIFY(window->isEnabled());
    QVERIFY(window->Communication()->isEnabled());
    QVERIFY(!core.runner.Running());
}

}  // namespace vk::gui::test

QTEST_MAIN(vk::gui::test::BusyWindowTest)
#include "busy_window_test.moc"
