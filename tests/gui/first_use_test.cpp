// What a new user meets first in the desktop tool, through the real widgets against the
// simulated camera: typed values at the range's ends, page keys, a late answer, File >
// Compare with file, window places kept between runs, shortcuts and the small displays.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QtTest>
#include <algorithm>

#include "gui/app/main_menu.h"
#include "gui/app/window_geometry.h"
#include "gui/comm/communication_window.h"
#include "gui/comm/setting_file_diff_dialog.h"
#include "gui/comm/setting_file_feature.h"
#include "gui/pages/control_binding.h"
#include "gui/widgets/control_kinds.h"
#include "gui_test_support.h"

using namespace vk;
using namespace vk::gui;
using vk::gui::test::ToolUnderTest;

namespace {

constexpr int kExposureTime = 1943;  // PE, 10..8000000
constexpr int kCameraBaudRate = 2061;
constexpr int kModelIdList = 2548;

// The started tool, active, with a page control brought into view and focused.
struct StartedTool {
    ToolUnderTest tool;
    MainWindow* window = nullptr;

    bool Start(const QString& model = {}) {
        if (!tool.CreateSimulated(model)) return false;
        window = tool.Start();
        QApplication::setActiveWindow(window);
        return QTest::qWaitForWindowActive(window);
    }
    // Shows the page that holds the control and gives it the focus.
    QWidget* Focus(int controlId) {
        QWidget* control = window->FindControl(controlId);
        if (!control) return nullptr;
        QTabWidget* tabs = window->Tabs();
        for (int i = 0; i < tabs->count(); ++i) {
            if (tabs->widget(i)->isAncestorOf(control)) tabs->setCurrentIndex(i);
        }
        QApplication::setActiveWindow(window);  // a progress window may have had it
        control->setFocus();
        if (QApplication::focusWidget() == control) return control;
        qWarning() << "focus is on" << QApplication::focusWidget() << "active"
                   << QApplication::activeWindow();
        return nullptr;
    }
    std::vector<std::string> Sent() { return tool.Camera().ReceivedLines(); }
    QString LineStatus() {
        return window->Communication()->findChild<QLabel*>("lineStatusText")->text();
    }
};

void TypeInto(QWidget* spin, const QString& text) {
    static_cast<QSpinBox*>(spin)->selectAll();
    QTest::keyClicks(spin, text);
    QTest::keyClick(spin, Qt::Key_Return);
}

QByteArray Replaced(QByteArray text, const QByteArray& mnemonic, const QByteArray& value) {
    const int at = text.indexOf("\r\n" + mnemonic + "=");
    const int end = text.indexOf("\r\n", at + 2);
    return at < 0 ? QByteArray() : text.replace(at, end - at, "\r\n" + mnemonic + "=" + value);
}

}  // namespace

class FirstUseTest : public QObject {
    Q_OBJECT

private slots:
    void typedValuesOutsideTheRangeSendTheNearestBound_data();
    void typedValuesOutsideTheRangeSendTheNearestBound();
    void pageKeysSwitchPagesFromAnyControlAndSendNothing();
    void aLateCompleteBecomesTheShownValueAndTheLineOnline();
    void compareListsTheDifferingRowsAndLoadsOnlyThose();
    void windowPlacesAreKeptAndFitTheScreen();
    void shortcutsAndTheDisplaysAfterStart();
    void theCameraBaudRateIsAskedFirstAndGreyItemsSayWhy();
};

void FirstUseTest::typedValuesOutsideTheRangeSendTheNearestBound_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("sent");
    QTest::newRow("above the maximum, one digit too many") << "9000000"
                                                           << "PE=8000000";
    QTest::newRow("far above the maximum") << "123456789"
                                           << "PE=8000000";
}

void FirstUseTest::typedValuesOutsideTheRangeSendTheNearestBound() {
    QFETCH(QString, typed);
    QFETCH(QString, sent);
    StartedTool rig;
    QVERIFY(rig.Start());
    QWidget* exposure = rig.Focus(kExposureTime);
    QVERIFY(exposure);
    rig.tool.Camera().ClearReceivedLines();
    TypeInto(exposure, typed);
    QCOMPARE(rig.Sent(), std::vector<std::string>{sent.toStdString()});
    const int shown = sent.mid(3).toInt();
    QCOMPARE(static_cast<QSpinBox*>(exposure)->value(), shown);
    QCOMPARE(rig.tool.Core().exchange.Values().CameraValue(kExposureTime).value_or(-1), shown);
}

void FirstUseTest::pageKeysSwitchPagesFromAnyControlAndSendNothing() {
    StartedTool rig;
    QVERIFY(rig.Start());
    QTabWidget* tabs = rig.window->Tabs();
    const int pages = tabs->count();
    QVERIFY(pages > 2);

    // A spin box, a combo box and a check box each take these keys as steps of their own.
    QWidget* combo = nullptr;
    QWidget* check = nullptr;
    for (int i = 0; i < pages; ++i) {
        for (QWidget* w : tabs->widget(i)->findChildren<QWidget*>()) {
            if (ControlKinds::ControlIdOf(w) == 0 || !w->isEnabled()) continue;
            if (!combo && qobject_cast<QComboBox*>(w)) combo = w;
            if (!check && qobject_cast<QCheckBox*>(w)) check = w;
        }
    }
    QVERIFY(combo && check);

    struct Press {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int step;
    };
    const Press presses[] = {{Qt::Key_PageDown, Qt::ControlModifier, 1},
                             {Qt::Key_PageUp, Qt::ControlModifier, -1},
                             {Qt::Key_Tab, Qt::ControlModifier, 1},
                             {Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, -1}};
    for (const int controlId :
         {kExposureTime, ControlKinds::ControlIdOf(combo), ControlKinds::ControlIdOf(check)}) {
        for (const Press& press : presses) {
            QWidget* focused = rig.Focus(controlId);
            QVERIFY2(focused, qPrintable(QString::number(controlId)));
            const int before = tabs->currentIndex();
            const int value = ControlKinds::ReadValue(focused);
            rig.tool.Camera().ClearReceivedLines();
            QTest::keyClick(focused, press.key, press.modifiers);
            QCOMPARE(tabs->currentIndex(), (before + press.step + pages) % pages);
            QVERIFY(rig.Sent().empty());
            QCOMPARE(ControlKinds::ReadValue(focused), value);
        }
    }
    QVERIFY(rig.tool.ui.questions.empty());
}

void FirstUseTest::aLateCompleteBecomesTheShownValueAndTheLineOnline() {
    StartedTool rig;
    QVERIFY(rig.Start());
    QCOMPARE(rig.LineStatus(), QString("Online"));
    QWidget* exposure = rig.Focus(kExposureTime);
    QVERIFY(exposure);
    const int before = static_cast<QSpinBox*>(exposure)->value();

    // The camera takes the value but answers after the tool stopped waiting.
    rig.tool.Camera().SetFault({sim::Fault::Delay, ControlBinding::kSendTimeoutMs + 800, 1});
    TypeInto(exposure, "4321");
    QCOMPARE(rig.tool.Camera().Value("PE"), std::string("4321"));
    QCOMPARE(static_cast<QSpinBox*>(exposure)->value(), before);  // not known yet
    QCOMPARE(rig.LineStatus(), QString("Offline"));

    QTRY_COMPARE_WITH_TIMEOUT(static_cast<QSpinBox*>(exposure)->value(), 4321, 5000);
    QCOMPARE(rig.tool.Core().exchange.Values().CameraValue(kExposureTime).value_or(-1), 4321);
    QCOMPARE(rig.LineStatus(), QString("Online"));
    QCOMPARE(rig.tool.Core().exchange.OwedReplies(), 0u);

    // The next change is answered by its own COMPLETE.
    rig.tool.Camera().ClearReceivedLines();
    QVERIFY(rig.Focus(kExposureTime));
    TypeInto(exposure, "1234");
    QCOMPARE(rig.Sent(), std::vector<std::string>{"PE=1234"});
    QCOMPARE(static_cast<QSpinBox*>(exposure)->value(), 1234);
}

void FirstUseTest::compareListsTheDifferingRowsAndLoadsOnlyThose() {
    StartedTool rig;
    QVERIFY(rig.Start());
    QTemporaryDir dir;
    const QString path = dir.filePath("line.cam");
    auto* feature = rig.window->findChild<SettingFileFeature*>("settingFiles");
    QVERIFY(feature);
    feature->chooseFile = [&](bool, const QString&) { return path; };
    QAction* compare = rig.window->Menu()->Action(kMenuCompareWithFile);
    QVERIFY(compare && compare->isEnabled());

    rig.window->Menu()->Action(kMenuSaveAllData)->trigger();
    rig.tool.ui.messages.clear();  // the save's summary
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QByteArray text = Replaced(Replaced(file.readAll(), "PE", "2345"), "FGA", "300");
    file.close();
    QVERIFY(!text.isEmpty());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
    file.close();

    // The real window: read it, then press its load button.
    const QStringList expected = {
        "PE=2345/" + QString::fromStdString(rig.tool.Camera().Value("PE")),
        "FGA=300/" + QString::fromStdString(rig.tool.Camera().Value("FGA"))};
    QStringList rows;
    bool offeredAll = true;
    QTimer watch;
    watch.setInterval(50);
    connect(&watch, &QTimer::timeout, this, [&] {
        auto* dialog = qobject_cast<SettingFileDiffDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;  // the comparison still runs
        watch.stop();
        QTableWidget* table = dialog->Table();
        for (int r = 0; r < table->rowCount(); ++r) {
            rows << table->item(r, 3)->text() + "=" + table->item(r, 4)->text() + "/" +
                        table->item(r, 5)->text();
        }
        offeredAll = dialog->findChild<QPushButton*>("loadAll") != nullptr;
        dialog->findChild<QPushButton*>("loadDifferences")->click();
    });
    watch.start();
    rig.tool.Camera().ClearReceivedLines();
    compare->trigger();
    watch.stop();

    QCOMPARE(rows, expected);
    QVERIFY(!offeredAll);
    std::vector<std::string> sets;
    for (const std::string& line : rig.Sent()) {
        if (line.find('=') != std::string::npos) sets.push_back(line);
    }
    QCOMPARE(sets, (std::vector<std::string>{"PE=2345", "FGA=300"}));
    QCOMPARE(static_cast<QSpinBox*>(rig.window->FindControl(kExposureTime))->value(), 2345);
    QVERIFY(rig.tool.ui.messages.empty());
}

void FirstUseTest::windowPlacesAreKeptAndFitTheScreen() {
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect mainPlace(area.left() + 20, area.top() + 30, area.width() / 2, area.height() / 2);
    const QRect commPlace(area.left() + 60, area.top() + 50, 300, 220);
    MemorySettingsBackend kept;
    {
        StartedTool rig;
        QVERIFY(rig.Start());
        rig.window->setGeometry(mainPlace);
        rig.window->Communication()->setGeometry(commPlace);
        QVERIFY(rig.window->Communication()->width() <= 300);  // it can shrink
        rig.tool.app.reset();
        kept = rig.tool.settings;
    }
    QVERIFY(kept.values.contains(WindowGeometry::KeyOf("Main")));
    QVERIFY(kept.values.contains(WindowGeometry::KeyOf("Communication")));

    StartedTool again;
    again.tool.settings = kept;
    QVERIFY(again.Start());
    QCOMPARE(again.window->geometry(), mainPlace);
    QCOMPARE(again.window->Communication()->geometry(), commPlace);

    // A dialog or message box nobody placed opens over the middle of its parent, wide enough
    // for its caption; the progress window follows its owner.
    QMessageBox result(QMessageBox::Information, "Recalibrate FFC (User) has been completed now",
                       "Done.", QMessageBox::Ok, again.window);
    again.window->setGeometry(area.left() + 100, area.top() + 80, 800, 500);
    QDialog small(again.window);
    small.setWindowTitle("A caption much wider than the dialog's one button");
    auto* layout = new QVBoxLayout(&small);
    layout->addWidget(new QPushButton("OK"));
    layout->setSizeConstraint(QLayout::SetFixedSize);
    for (QWidget* dialog : {static_cast<QWidget*>(&result), static_cast<QWidget*>(&small)}) {
        dialog->show();
        QCoreApplication::processEvents();
        const QPoint off = dialog->geometry().center() - again.window->geometry().center();
        QVERIFY2(off.manhattanLength() < 40, qPrintable(dialog->windowTitle()));
        QVERIFY(dialog->width() >
                QFontMetrics(dialog->font()).horizontalAdvance(dialog->windowTitle()));
        dialog->hide();
    }

    // A place from a larger screen, or half off this one, is brought onto it whole.
    QWidget window;
    window.resize(area.width() + 400, area.height() + 300);
    window.move(area.left() - 200, area.bottom() - 50);
    FitOnScreen(window);
    QVERIFY(window.width() <= area.width() && window.height() <= area.height());
    QVERIFY(area.contains(window.pos()));
    QVERIFY(window.pos().y() + window.height() <= area.bottom() + 1);
}

void FirstUseTest::shortcutsAndTheDisplaysAfterStart() {
    StartedTool rig;
    QVERIFY(rig.Start());
    CommunicationWindow* comm = rig.window->Communication();
    QCOMPARE(comm->findChild<QComboBox*>("portName")->currentText(), QString("Simulated camera"));
    QCOMPARE(comm->findChild<QLabel*>("areaName")->text(), QString("Factory Data"));
    QCOMPARE(qobject_cast<QComboBox*>(rig.window->FindControl(kModelIdList))->currentText(),
             QString("VK-4100C-PMCL"));

    // F5 reads everything again, from wherever the focus is; the area follows.
    rig.tool.Camera().SetValue("EA", "3");
    QVERIFY(rig.Focus(kExposureTime));
    rig.tool.Camera().ClearReceivedLines();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F5);
    const auto sent = rig.Sent();
    QVERIFY(sent.size() > 100);
    QCOMPARE(sent.front(), std::string("EA?"));
    QCOMPARE(comm->findChild<QLabel*>("areaName")->text(), QString("User 3 Data"));

    // Ctrl+Q asks the exit question; No keeps the tool.
    rig.tool.ui.answers = {false};
    QVERIFY(rig.Focus(kExposureTime));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Q, Qt::ControlModifier);
    QCOMPARE(rig.tool.ui.questions.size(), 1u);
    QCOMPARE(rig.tool.ui.questions[0].text,
             std::string("Are you sure to terminate the Camera Control Tool ?"));
    QVERIFY(rig.window->isVisible());

    // The monochrome camera's list starts on its own model.
    StartedTool mono;
    QVERIFY(mono.Start("VK-4100M-PMCL"));
    QCOMPARE(qobject_cast<QComboBox*>(mono.window->FindControl(kModelIdList))->currentText(),
             QString("VK-4100M-PMCL"));
}

void FirstUseTest::theCameraBaudRateIsAskedFirstAndGreyItemsSayWhy() {
    StartedTool rig;
    QVERIFY(rig.Start());
    // Greyed menus and buttons say why.
    QAction* utility = rig.window->Menu()->TopMenu(kUtilityMenuPosition)->menuAction();
    QVERIFY(!utility->isEnabled());
    QCOMPARE(utility->toolTip(), QString("Needs factory mode."));
    for (const char* name : {"writeSettingFile", "readSettingFile", "writeMessages"}) {
        QVERIFY2(!rig.window->Communication()->findChild<QPushButton*>(name)->toolTip().isEmpty(),
                 name);
    }

    rig.window->ToggleControlMode();
    QVERIFY(utility->isEnabled());
    QVERIFY(utility->toolTip() != "Needs factory mode.");
    auto* baud = qobject_cast<QComboBox*>(rig.window->FindControl(kCameraBaudRate));
    QVERIFY(baud);
    const int before = baud->currentIndex();
    const int other = before == 0 ? 1 : 0;
    const std::string otherRate = baud->itemText(other).toStdString();

    for (const bool yes : {false, true}) {
        rig.tool.Camera().ClearReceivedLines();
        rig.tool.ui.answers = {yes};
        rig.tool.ui.questions.clear();
        baud->setCurrentIndex(other);
        emit baud->activated(other);
        QCOMPARE(rig.tool.ui.questions.size(), 1u);
        const std::string& question = rig.tool.ui.questions[0].text;
        QVERIFY(question.find(otherRate) != std::string::npos);
        QVERIFY(question.find("tool's baud rate") != std::string::npos);
        if (!yes) {
            QVERIFY(rig.Sent().empty());
            QCOMPARE(baud->currentIndex(), before);
        } else {
            QCOMPARE(rig.Sent().size(), 1u);
        }
    }
}

QTEST_MAIN(FirstUseTest)
#include "first_use_test.moc"
