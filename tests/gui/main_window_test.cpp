// The main window against the simulated camera: start-up, the full read, the mode switch,
// the Enter and Escape rules, the menu and the settings kept at the end.
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabBar>
#include <QtTest>
#include <algorithm>

#include "gui/app/main_menu.h"
#include "gui/comm/communication_window.h"
#include "gui/pages/control_binding.h"
#include "gui/pages/page_info.h"
#include "gui_test_support.h"
#include "support/pty_peer.h"

using namespace vk;
using namespace vk::gui;
using vk::gui::test::Concat;
using vk::gui::test::FullReadQueries;
using vk::gui::test::TabTitles;
using vk::gui::test::ToolUnderTest;

namespace {

const QStringList kUserTabs = {"User A", "User B", "User C", "User D", "User E", "User F"};
const QStringList kAllTabs = kUserTabs + QStringList{"Factory A", "Factory B", "Factory C"};
const std::vector<std::string> kConnectQueries = {"MD?", "EA?", "MD?"};

void PressModeSequence(QWidget* target, const QString& letters) {
    QTest::keyClick(target, Qt::Key_F12, Qt::ShiftModifier | Qt::ControlModifier);
    for (QChar c : letters)
        QTest::keyClick(target, static_cast<Qt::Key>(c.unicode()));
}

bool UtilityMenuEnabled(MainWindow* window) {
    return window->Menu()->TopMenu(kUtilityMenuPosition)->menuAction()->isEnabled();
}

// The page spin box that shows a parameter.
QSpinBox* ParameterSpin(MainWindow* window, CoreContext& core, const char* mnemonic) {
    const ControlId id = core.exchange.Controls().ControlOf(core.exchange.FindCommand(mnemonic));
    return qobject_cast<QSpinBox*>(window->FindControl(static_cast<int>(id)));
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void startUpReadsTheUserParametersAndShowsThem();
    void aModelOutsideTheFamilyIsReadWithoutQueries();
    void withoutACameraTheToolStillStarts();
    void keySequenceSwitchesModeAndReadsAgain();
    void aWrongKeyDisarmsTheSequence();
    void escapeOnTheTabControlAsksBeforeClosing();
    void enterAndEscapeOnControlsNeverClose();
    void menuRunsItsCommands();
    void controlModeIsKeptAcrossRuns();
    void offlineF5OffersTheReconnectWhichReadsAgain();
    void anUnpluggedFullReadEndsWithItsSummary();
};

void MainWindowTest::startUpReadsTheUserParametersAndShowsThem() {
    ToolUnderTest tool;
    QVERIFY(tool.CreateSimulated("VK-4100C-PMCL"));
    tool.Camera().SetValue("PE", "1234");
    MainWindow* window = tool.Start();

    QCOMPARE(window->windowTitle(), QString("VK-4100 Control Tool  Ver 0.53"));
    const std::vector<std::string> lines = tool.Camera().ReceivedLines();
    QCOMPARE(lines, Concat(kConnectQueries, FullReadQueries(tool.Core(), 0, false)));
    // Whatever the read's own filter says: a colour camera has no binning, and user mode
    // reads no factory parameter.
    const auto sent = [&lines](const char* line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    };
    QVERIFY(sent("PE?"));
    for (const char* line : {"HB?", "VB?", "GA01?", "FGAF?", "FGAFA?"}) {
        QVERIFY2(!sent(line), line);
    }
    QCOMPARE(tool.ui.progressTexts, std::vector<std::string>{"Now, reading camera settings."});
    QCOMPARE(tool.ui.progress.back(), 100);
    QVERIFY(!tool.ui.progressOpen);
    QVERIFY(tool.ui.messages.empty());

    QSpinBox* exposure = ParameterSpin(window, tool.Core(), "PE");
    QVERIFY(exposure);
    QCOMPARE(exposure->value(), 1234);
    QVERIFY(window->Communication()->isVisible());
    QCOMPARE(window->Communication()->findChild<QLabel*>("lineStatusText")->text(),
             QString("Online"));
}

void MainWindowTest::aModelOutsideTheFamilyIsReadWithoutQueries() {
    ToolUnderTest tool;
    QVERIFY(tool.CreateSimulated("VK-26000C-MCL"));
    tool.Start();

    QCOMPARE(tool.Core().modelCheck.modelIndex, 2);
    QCOMPARE(tool.Camera().ReceivedLines(), kConnectQueries);
    QCOMPARE(tool.ui.progressTexts, std::vector<std::string>{"Now, reading camera settings."});
    QVERIFY(!tool.ui.progressOpen);
}

void MainWindowTest::withoutACameraTheToolStillStarts() {
    {
        // The port itself cannot be opened.
        ToolUnderTest tool;
        ProgramOptions options;
        options.port = "/nonexistent/vk4100-port";
        QVERIFY(tool.Create(options));
        MainWindow* window = tool.Start();
        QVERIFY(tool.HasMessage("Failed to initialize!"));
        QCOMPARE(tool.ui.messages.back().icon, MessageIcon::Exclamation);
        QVERIFY(tool.ui.progressTexts.empty());
        QCOMPARE(window->windowTitle(), QString("VK-4100 Control Tool  Ver 0.53"));
        QCOMPARE(TabTitles(window->Tabs()), kUserTabs);

        // Reconnect says in one message why the port still does not open.
        tool.ui.messages.clear();
        window->Menu()->Action(kMenuReconnect)->trigger();
        QCOMPARE(tool.ui.messages.size(), 1u);
        QVERIFY2(tool.ui.messages[0].text.starts_with("Reconnect: /nonexistent/vk4100-port did "
                                                      "not open: "),
                 tool.ui.messages[0].text.c_str());
    }
    {
        // The port opens but nothing answers: no message of the main window, no read.
        vk::test::PtyPeer silent;
        ToolUnderTest tool;
        ProgramOptions options;
        options.port = QString::fromStdString(silent.Path());
        QVERIFY(tool.Create(options));
        MainWindow* window = tool.Start();
        QVERIFY(!tool.HasMessage("Failed to initialize!"));
        QVERIFY(tool.ui.progressTexts.empty());
        QCOMPARE(silent.Receive(10), std::string("MD?\r\nEA?\r\n"));
        QCOMPARE(window->Communication()->findChild<QLabel*>("lineStatusText")->text(),
                 QString("Offline"));
    }
}

void MainWindowTest::keySequenceSwitchesModeAndReadsAgain() {
    ToolUnderTest tool;
    QVERIFY(tool.CreateSimulated());
    MainWindow* window = tool.Start();
    QTabBar* tabBar = window->Tabs()->tabBar();
    auto* baudRate = window->Communication()->findChild<QComboBox*>("baudRate");

    QCOMPARE(TabTitles(window->Tabs()), kUserTabs);
    QVERIFY(!UtilityMenuEnabled(window));
    QVERIFY(baudRate->isHidden());

    window->Tabs()->setCurrentIndex(3);
    tool.Camera().ClearReceivedLines();
    PressModeSequence(tabBar, "VKF");
    QCOMPARE(window->ControlMode(), 1u);
    QCOMPARE(TabTitles(window->Tabs()), kAllTabs);
    QCOMPARE(window->Tabs()->currentIndex(), 0);
    QVERIFY(UtilityMenuEnabled(window));
    QVERIFY(!baudRate->isHidden());
    const std::vector<std::string> lines = tool.Camera().ReceivedLines();
    QCOMPARE(lines, Concat({"EA?", "MD?"}, FullReadQueries(tool.Core(), 0, true)));
    for (const char* line : {"PE?", "FGAF?"}) {
        QVERIFY2(std::find(lines.begin(), lines.end(), line) != lines.end(), line);
    }

    // Letters typed with Shift held count as well; the same sequence switches back.
    QTest::keyClick(tabBar, Qt::Key_F12, Qt::ShiftModifier | Qt::ControlModifier);
    QTest::keyClick(tabBar, Qt::Key_Shift, Qt::ShiftModifier);
    for (Qt::Key k : {Qt::Key_V, Qt::Key_K, Qt::Key_F})
        QTest::keyClick(tabBar, k, Qt::ShiftModifier);
    QCOMPARE(window->ControlMode(), 0u);
    QCOMPARE(TabTitles(window->Tabs()), kUserTabs);
    QVERIFY(!UtilityMenuEnabled(window));
}

void MainWindowTest::aWrongKeyDisarmsTheSequence() {
    ToolUnderTest tool;
    QVERIFY(tool.CreateSimulated("VK-26000C-MCL"));  // nothing to read: quick
    MainWindow* window = tool.Start();
    QTabBar* tabBar = window->Tabs()->tabBar();

    PressModeSequence(tabBar, "VXKF");
    PressModeSequence(tabBar, "VKXF");
    PressModeSequence(tabBar, "VK");
    QTest::keyClick(tabBar, Qt::Key_Right);
    QTest::keyClick(tabBar, Qt::Key_F);
    for (Qt::Key k : {Qt::Key_V, Qt::Key_K, Qt::Key_F})
        QTest::keyClick(tabBar, k);  // not armed
    QCOMPARE(window->ControlMode(), 0u);
    QCOMPARE(TabTitles(window->Tabs()), kUserTabs);

    PressModeSequence(tabBar, "VKF");  // still works after all that
    QCOMPARE(window->ControlMode(), 1u);
}

void MainWindowTest::escapeOnTheTabControlAsksBeforeClosing() {
    ToolUnderTest tool;
    QVERIFY(tool.CreateSimulated("VK-26000C-MCL"));
    MainWindow* window = tool.Start();
    QTabBar* tabBar = window->Tabs()->tabBar();

    tool.ui.answers = {false};
    QTest::keyClick(tabBar, Qt::Key_Escape);
    QCOMPARE(tool.ui.questions.size(), 1u);
    QCOMPARE(tool.ui.questions[0].text,
             std::string("Are you sure to terminate the Camera Control Tool ?"));
    QCOMPARE(tool.ui.questions[0].caption, std::string("Confirm"));
    QVERIFY(window->isVisible());

    tool.ui.answers = {true};
    QTest::keyClick(tabBar, Qt::Key_Escape);
    QCOMPARE(tool.ui.questions.size(), 2u);
    QVERIFY(!window->isVisible());
    QVERIFY(window->Ended());

    // After a camera reset the tool closes without asking.
    window->show();
    window->SetCloseWithoutConfirm();
    window->close();
    QCOMPARE(tool.ui.questions.size(), 2u);
    QVERIFY(!window->isVisible());
}

void MainWindowTest::enterAndEscapeOnControlsNeverClose() {
    ToolUnderTest tool;
    QVERIFY(tool.CreateSimulated());
    MainWindow* window = tool.Start();
    QApplication::setActiveWindow(window);
    QVERIFY(QTest::qWaitForWindowActive(window));

    QSpinBox* exposure = ParameterSpin(window, tool.Core(), "PE");
    QVERIFY(exposure);
    const int typed =
        exposure->value() == exposure->maximum() ? exposure->value() - 1 : exposure->value() + 1;
    exposure->setFocus();
    exposure->selectAll();
    tool.Camera().ClearReceivedLines();
    QTest::keyClicks(exposure, QString::number(typed));
    QTest::keyClick(exposure, Qt::Key_Return);
    QCOMPARE(tool.Camera().ReceivedLines(),
             std::vector<std::string>{"PE=" + std::to_string(typed)});
    QTest::keyClick(exposure, Qt::Key_Escape);

    auto* tabs = window->Tabs();
    QTest::keyClick(tabs->tabBar(), Qt::Key_Return);

    // A disabled button never sees a key, so the button must be one that works.
    auto* softTrigger = qobject_cast<QPushButton*>(window->FindControl(2598));
    QVERIFY(softTrigger);
    window->Binding()->SetActionAvailable(2598, true);
    QVERIFY(softTrigger->isEnabled());
    QVERIFY(softTrigger->isVisible());
    QSignalSpy actions(window->Binding(), &ControlBinding::actionRequested);
    softTrigger->setFocus();
    QTest::keyClick(softTrigger, Qt::Key_Return);
    QTest::keyClick(softTrigger, Qt::Key_Escape);
    QCOMPARE(actions.count(), 0);

    int combos = 0;
    for (auto* combo : tabs->currentWidget()->findChildren<QComboBox*>()) {
        if (!combo->isVisible() || !combo->isEnabled()) continue;
        const int index = combo->currentIndex();
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_Escape);
        QTest::keyClick(combo, Qt::Key_Return);
        QCOMPARE(combo->currentIndex(), index);
        ++combos;
    }
    QVERIFY(combos >= 3);
    QVERIFY(tool.ui.questions.empty());
    QVERIFY(window->isVisible());
}

void MainWindowTest::menuRunsItsCommands() {
    ToolUnderTest tool;
    QVERIFY(tool.CreateSimulated());
    MainWindow* window = tool.Start();
    MainMenu* menu = window->Menu();

    // Every item has its handler now.
    for (QAction* bar : menu->Bar()->actions()) {
        for (QAction* item : bar->menu()->actions()) {
            if (!item->isSeparator() && !item->menu()) {
                QVERIFY2(item->isEnabled() || bar->menu() == menu->TopMenu(kUtilityMenuPosition),
                         qPrintable(item->text()));
            }
        }
    }
    QCOMPARE(menu->Action(kMenuReload)->text(), QString("&Reload"));

    tool.Camera().SetValue("EA", "2");
    tool.Camera().ClearReceivedLines();
    menu->Action(kMenuReload)->trigger();
    QCOMPARE(window->CurrentArea(), 2u);
    QCOMPARE(tool.Camera().ReceivedLines(),
             Concat({"EA?", "MD?"}, FullReadQueries(tool.Core(), 0, false)));

    window->Communication()->hide();
    menu->Action(kMenuOpenCommunication)->trigger();
    QVERIFY(window->Communication()->isVisible());

    tool.ui.answers = {false};
    menu->Action(kMenuExit)->trigger();
    QCOMPARE(tool.ui.questions.size(), 1u);
    QVERIFY(window->isVisible());
}

void MainWindowTest::controlModeIsKeptAcrossRuns() {
    MemorySettingsBackend kept;
    kept.values["Communication Mode"] = 2u;  // a grabber, chosen in an earlier run
    kept.values["Com Port No"] = 5u;
    {
        ToolUnderTest tool;
        tool.settings = kept;
        QVERIFY(tool.CreateSimulated("VK-26000C-MCL"));
        QCOMPARE(tool.Core().channel.GetMode(), ChannelMode::ComPort);
        MainWindow* window = tool.Start();
        PressModeSequence(window->Tabs()->tabBar(), "VKF");
        tool.app->SaveAtNormalEnd();
        tool.app.reset();
        kept = tool.settings;
    }
    QCOMPARE(std::get<std::uint32_t>(kept.values.at("Control Mode")), 1u);
    QCOMPARE(std::get<std::uint32_t>(kept.values.at("Previous Application Shutdown Status")), 1u);
    // The simulated camera's session leaves the stored channel selection alone.
    QCOMPARE(std::get<std::uint32_t>(kept.values.at("Communication Mode")), 2u);
    QCOMPARE(std::get<std::uint32_t>(kept.values.at("Com Port No")), 5u);
    QVERIFY(!kept.values.contains("Baudrate"));

    ToolUnderTest again;
    again.settings = kept;
    QVERIFY(again.CreateSimulated("VK-26000C-MCL"));
    MainWindow* window = again.Start();
    QCOMPARE(TabTitles(window->Tabs()), kAllTabs);
    QVERIFY(UtilityMenuEnabled(window));
}

void MainWindowTest::offlineF5OffersTheReconnectWhichReadsAgain() {
    ToolUnderTest tool;
    QVERIFY(tool.CreateSimulated());
    tool.Camera().SetFault({sim::Fault::Silent});
    MainWindow* window = tool.Start();
    auto* status = window->Communication()->findChild<QLabel*>("lineStatusText");
    QCOMPARE(status->text(), QString("Offline"));
    QAction* reload = window->Menu()->Action(kMenuReload);

    // The camera is back; F5 says the tool is offline and offers the reconnect.
    tool.Camera().ClearFault();
    tool.Camera().ClearReceivedLines();
    tool.ui.answers = {false};
    reload->trigger();
    QCOMPARE(tool.ui.questions.size(), 1u);
    QVERIFY(tool.ui.questions[0].text.starts_with("The tool is offline"));
    QVERIFY(tool.Camera().ReceivedLines().empty());

    // Yes: the same port again, then the read a new port selection makes.
    tool.Camera().SetValue("PE", "2345");
    tool.ui.answers = {true};
    reload->trigger();
    QCOMPARE(tool.Camera().ReceivedLines(),
             Concat({"MD?", "MD?"}, FullReadQueries(tool.Core(), 0, false)));
    QCOMPARE(status->text(), QString("Online"));
    QCOMPARE(ParameterSpin(window, tool.Core(), "PE")->value(), 2345);
    QVERIFY(tool.ui.messages.empty());
}

void MainWindowTest::anUnpluggedFullReadEndsWithItsSummary() {
    ToolUnderTest tool;
    QVERIFY(tool.CreateSimulated());
    MainWindow* window = tool.Start();
    tool.Camera().SetFault({sim::Fault::Unplug, 0, -1, "ERROR", 20});
    window->Menu()->Action(kMenuReload)->trigger();
    QCOMPARE(tool.ui.messages.size(), 1u);
    QVERIFY2(tool.ui.messages[0].text.find("gone") != std::string::npos,
             tool.ui.messages[0].text.c_str());
    QVERIFY(!tool.ui.progressOpen);
}

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
