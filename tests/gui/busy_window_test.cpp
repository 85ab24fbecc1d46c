// The main window while a full read runs: it takes no keys, and the progress stands over it.
#include <QProgressBar>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

#include "app/qt_ui_port.h"
#include "gui_test_support.h"

namespace vk::gui::test {

class BusyWindowTest : public QObject {
    Q_OBJECT

private slots:
    void theModeSwitchIsIgnoredWhileReading();
    void theReadsProgressStandsOverTheMainWindow();
};

// Lets the window's events run between the read's queries, as the desktop's own port does.
struct PumpingUi : vk::test::RecordingUiPort {
    void PumpEvents() override {
        RecordingUiPort::PumpEvents();
        QCoreApplication::processEvents();
    }
};

void BusyWindowTest::theModeSwitchIsIgnoredWhileReading() {
    PumpingUi ui;
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
    QtUiPort ui;
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

}  // namespace vk::gui::test

QTEST_MAIN(vk::gui::test::BusyWindowTest)
#include "busy_window_test.moc"
