// The information, user id, camera id and lens windows against the simulated camera, and
// how the main window opens them.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

#include "gui/app/main_menu.h"
#include "gui/comm/line_log_model.h"
#include "gui/comm/terminal_window.h"
#include "gui/identity/about_dialog.h"
#include "gui/identity/camera_id_dialog.h"
#include "gui/identity/lens_window.h"
#include "gui/identity/user_id_dialog.h"
#include "gui/widgets/hold_button.h"
#include "gui_test_support.h"
#include "identity_rig.h"

namespace vk::gui::test {
namespace {

using Lines = std::vector<std::string>;

template <typename T>
T* Child(const QWidget* parent, const QString& name) {
    T* w = parent->findChild<T*>(name);
    if (!w) qFatal("no widget %s", qPrintable(name));
    return w;
}

QString Text(const QWidget* parent, const char* name) {
    if (auto* label = parent->findChild<QLabel*>(name)) return label->text();
    return Child<QLineEdit>(parent, name)->text();
}

// The information fields of the about window, then the four device version digits.
QStringList Fields(const QWidget* about) {
    QStringList fields;
    for (const char* name : {"firmwareVersion", "fpgaVersion", "modelName", "cameraId", "userId"})
        fields << Text(about, name);
    for (int i = 1; i <= 4; ++i)
        fields << Text(about, qPrintable(QString("deviceVersion%1").arg(i)));
    return fields;
}

// A mouse event on a widget at a point of its own, as the window system delivers it.
void Mouse(QWidget* w, QEvent::Type type, QPoint at) {
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, w->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

}  // namespace

class IdentityWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void aboutShowsTheCameraInFormattedFieldsOrPlaceholders();
    void aboutWritesUserIdOnlyWhenEnabledAndVersionOnlyInFactoryMode();
    void aboutListsHelpFilesOfTheCurrentFolder();
    void userIdWindowReadsAndWritesWithTheLengthCheck();
    void cameraIdWindowUnlocksBeforeWritingInFactoryModeOnly();
    void lensButtonsSendWhileHeldAndStopOnEveryRelease();
    void lensStopWaitsForAStartStillInFlight();
    void mainWindowOpensEveryWindow();
};

void IdentityWindowsTest::aboutShowsTheCameraInFormattedFieldsOrPlaceholders() {
    IdentityRig rig;
    rig.camera.SetValue("VN", "123");
    rig.camera.SetValue("FPVN", "5");
    rig.camera.SetValue("DVW", "1203");
    rig.camera.SetValue("UD", "left-bench");
    AboutDialog about(*rig.core, rig.windows, 0);
    QCOMPARE(Text(&about, "firmwareVersion"), QString("?.??"));
    about.Load();
    QCOMPARE(Fields(&about), QStringList({"1.23", "0.05", "VK-4100C-PMCL", "VK00000001",
                                          "left-bench", "1", "2", "0", "3"}));
    QVERIFY(rig.Messages().empty());

    // Without a camera the placeholders stay.
    rig.core->channel.CloseChannel();
    rig.Forget();
    AboutDialog gone(*rig.core, rig.windows, 1);
    gone.Load();
    QCOMPARE(Fields(&gone), QStringList({"?.??", "?.??", "??????????", "??????????",
                                         "????????????????", "?", "?", "?", "?"}));
    QVERIFY(rig.Sent().empty());
}

void IdentityWindowsTest::aboutWritesUserIdOnlyWhenEnabledAndVersionOnlyInFactoryMode() {
    IdentityRig rig;
    {
        AboutDialog user(*rig.core, rig.windows, 0);
        QVERIFY(Child<QPushButton>(&user, "saveDeviceVersion")->isHidden());
        QVERIFY(!Child<QLineEdit>(&user, "deviceVersion1")->isEnabled());
    }
    AboutDialog about(*rig.core, rig.windows, 1);
    about.Load();
    auto* edit = Child<QLineEdit>(&about, "userId");
    auto* save = Child<QPushButton>(&about, "saveUserId");
    QVERIFY(!edit->isEnabled() && !save->isEnabled());
    QVERIFY(Child<QRadioButton>(&about, "protectUserId")->isChecked());
    QTest::mouseClick(Child<QRadioButton>(&about, "enableUserId"), Qt::LeftButton);
    QVERIFY(edit->isEnabled() && save->isEnabled());
    QVERIFY(!Child<QRadioButton>(&about, "protectUserId")->isChecked());

    edit->setText("bench 7");
    QTest::mouseClick(save, Qt::LeftButton);
    QCOMPARE(rig.camera.Value("UD"), std::string("bench 7"));

    QTest::mouseClick(Child<QRadioButton>(&about, "protectUserId"), Qt::LeftButton);
    QVERIFY(!edit->isEnabled() && !save->isEnabled());

    const QStringList digits{"2", "1", "", "9"};
    for (int i = 0; i < 4; ++i)
        Child<QLineEdit>(&about, QString("deviceVersion%1").arg(i + 1))->setText(digits[i]);
    QTest::mouseClick(Child<QPushButton>(&about, "saveDeviceVersion"), Qt::LeftButton);
    QCOMPARE(rig.camera.Value("DVW"), std::string("219"));
    QCOMPARE(rig.Messages().back(), std::string("Writing the Device Version has been completed."));
    QCOMPARE(rig.ui.messages.back().icon, MessageIcon::Information);
}

void IdentityWindowsTest::aboutListsHelpFilesOfTheCurrentFolder() {
    IdentityRig rig;
    const QString home = QDir::currentPath();
    QTemporaryDir dir;
    QVERIFY(QDir::setCurrent(dir.path()));
    {
        AboutDialog about(*rig.core, rig.windows, 0);
        QCOMPARE(Child<QComboBox>(&about, "helpFiles")->count(), 0);
        QTest::mouseClick(Child<QPushButton>(&about, "viewHelpFile"), Qt::LeftButton);
        QCOMPARE(rig.Messages(), Lines{"No file was selected !!"});
    }
    for (const char* name : {"b manual.pdf", "a guide.pdf", "notes.txt"}) {
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    AboutDialog about(*rig.core, rig.windows, 0);
    auto* files = Child<QComboBox>(&about, "helpFiles");
    QCOMPARE(files->count(), 2);
    QCOMPARE(files->currentText(), QString("a guide.pdf"));
    QString opened;
    about.openFile = [&](const QString& path) {
        opened = path;
        return true;
    };
    QTest::mouseClick(Child<QPushButton>(&about, "viewHelpFile"), Qt::LeftButton);
    QCOMPARE(opened, QDir(dir.path()).absoluteFilePath("a guide.pdf"));
    QDir::setCurrent(home);
}

void IdentityWindowsTest::userIdWindowReadsAndWritesWithTheLengthCheck() {
    IdentityRig rig;
    rig.camera.SetValue("UD", "cell-3");
    UserIdDialog dialog(*rig.core, rig.windows);
    dialog.Load();
    QCOMPARE(dialog.Edit()->text(), QString("cell-3"));

    dialog.Edit()->setText("cell-4");
    QTest::mouseClick(Child<QPushButton>(&dialog, "save"), Qt::LeftButton);
    QCOMPARE(rig.camera.Value("UD"), std::string("cell-4"));
    QCOMPARE(rig.Messages().back(),
             std::string("Writing the User ID \"cell-4\" has been completed."));

    // Typing stops at the 16 characters the camera keeps.
    dialog.Edit()->clear();
    QTest::keyClicks(dialog.Edit(), QString(19, 'B'));
    QCOMPARE(dialog.Edit()->text(), QString(16, 'B'));

    rig.core->channel.CloseChannel();
    dialog.Load();
    QCOMPARE(dialog.Edit()->text(), QString(16, '?'));
}

void IdentityWindowsTest::cameraIdWindowUnlocksBeforeWritingInFactoryModeOnly() {
    IdentityRig rig;
    for (std::uint32_t mode : {0u, 2u}) {
        CameraIdDialog user(*rig.core, rig.windows, mode);
        QVERIFY(!user.SaveButton()->isEnabled());
    }
    CameraIdDialog dialog(*rig.core, rig.windows, 1);
    QVERIFY(dialog.SaveButton()->isEnabled());
    dialog.Load();
    QString shown;
    for (std::size_t i = 0; i < CameraIdDialog::kBoxes; ++i)
        shown += dialog.Box(i)->text();
    QCOMPARE(shown, QString("VK00000001"));

    // Typing walks on through the boxes, Backspace in an empty box walks back.
    const auto press = [&](const QString& keys) {
        for (const QChar key : keys) {
            if (key == '\b') {
                QTest::keyClick(dialog.focusWidget(), Qt::Key_Backspace);
            } else {
                QTest::keyClick(dialog.focusWidget(), key.toLatin1());
            }
        }
    };
    dialog.Box(0)->setFocus();
    dialog.Box(0)->selectAll();
    press("VB");
    QCOMPARE(dialog.Box(0)->text() + dialog.Box(1)->text(), QString("VB"));
    QCOMPARE(dialog.focusWidget(), dialog.Box(2));
    press("\b\b");  // the selected "0" of box 3, then back into box 2, deleting the "B"
    QCOMPARE(dialog.Box(1)->text(), QString());
    QCOMPARE(dialog.focusWidget(), dialog.Box(1));
    press("K0");

    dialog.Box(4)->clear();  // an empty box shortens the id
    dialog.Box(9)->setText("7");
    QTest::mouseClick(dialog.SaveButton(), Qt::LeftButton);
    QCOMPARE(rig.Messages(), Lines{"Completed saving camera id: VK0000007."});
    QCOMPARE(rig.camera.Value("ID"), std::string("VK0000007"));

    rig.camera.SetFault({sim::Fault::ErrorOnSet, 0, 1});
    QTest::mouseClick(dialog.SaveButton(), Qt::LeftButton);
    QCOMPARE(rig.Messages().back(), std::string("Couldn't save camera id."));
    QCOMPARE(rig.Messages().size(), std::size_t(2));  // one box per save
}

void IdentityWindowsTest::lensButtonsSendWhileHeldAndStopOnEveryRelease() {
    IdentityRig rig;
    LensWindow lens(*rig.core, rig.windows);
    lens.show();
    QVERIFY(QTest::qWaitForWindowExposed(&lens));

    const struct {
        int id;
        std::string press;
        QString label;
        std::string release;
    } cases[] = {
        {40001, "MLI=1", "Open", "MLI=0"}, {40002, "MLI=2", "Close", "MLI=0"},
        {40003, "MLZ=1", "Wide", "MLZ=0"}, {40004, "MLZ=2", "Tele", "MLZ=0"},
        {40005, "MLF=1", "Near", "MLF=0"}, {40006, "MLF=2", "Far", "MLF=0"},
    };
    for (const auto& c : cases) {
        HoldButton* button = lens.Button(c.id);
        QVERIFY(button);
        rig.Forget();
        const QPoint centre = button->rect().center();
        Mouse(button, QEvent::MouseButtonPress, centre);
        QCOMPARE(rig.Sent(), Lines{c.press});
        QCOMPARE(lens.Movement()->text(), c.label);
        // The cursor leaves the button and is let go far outside it: still a stop.
        Mouse(button, QEvent::MouseMove, centre + QPoint(500, 300));
        QCOMPARE(rig.Sent(), Lines{c.press});
        Mouse(button, QEvent::MouseButtonRelease, centre + QPoint(500, 300));
        QCOMPARE(rig.Sent(), (Lines{c.press, c.release}));
        QCOMPARE(lens.Movement()->text(), QString());
    }

    // Held while the window loses the focus, or while it is switched off.
    HoldButton* zoom = lens.Button(40004);
    for (const auto& lose : std::vector<std::function<void()>>{[&] { zoom->clearFocus(); },
                                                               [&] { rig.windows.DisableAll(); },
                                                               [&] { lens.hide(); }}) {
        lens.show();
        rig.windows.EnableAll();
        rig.Forget();
        Mouse(zoom, QEvent::MouseButtonPress, zoom->rect().center());
        lose();
        QCOMPARE(rig.Sent(), (Lines{"MLZ=2", "MLZ=0"}));
        Mouse(zoom, QEvent::MouseButtonRelease, zoom->rect().center());
        QCOMPARE(rig.Sent().size(), std::size_t(2));  // the stop goes once
    }
    QVERIFY(rig.Messages().empty());
}

void IdentityWindowsTest::lensStopWaitsForAStartStillInFlight() {
    IdentityRig rig;
    LensWindow lens(*rig.core, rig.windows);
    lens.show();
    HoldButton* focus = lens.Button(40005);
    // The camera is slow to answer the start; the release comes while it waits.
    rig.camera.SetFault({sim::Fault::Delay, 150, 1});
    QTimer::singleShot(30, focus,
                       [&] { Mouse(focus, QEvent::MouseButtonRelease, focus->rect().center()); });
    Mouse(focus, QEvent::MouseButtonPress, focus->rect().center());
    QTRY_COMPARE_WITH_TIMEOUT(rig.Sent(), (Lines{"MLF=1", "MLF=0"}), 3000);
    QCOMPARE(lens.OwedStops(), std::size_t(0));
    QVERIFY(rig.Messages().empty());
}

void IdentityWindowsTest::mainWindowOpensEveryWindow() {
    ToolUnderTest tool;
    QVERIFY(tool.CreateSimulated());
    MainWindow* window = tool.Start();
    window->ToggleControlMode();

    for (int id : {1016, 4922}) {
        auto* button = qobject_cast<QPushButton*>(window->FindControl(id));
        QVERIFY(button);
        QVERIFY(button->isEnabled());
        button->click();
    }
    auto* terminal = window->findChild<TerminalWindow*>();
    auto* lens = window->findChild<LensWindow*>();
    QVERIFY(terminal && terminal->isVisible());
    QVERIFY(lens && lens->isVisible());
    // The terminal shows the traffic of the start-up.
    terminal->LogModel()->CatchUp();
    QVERIFY(terminal->LogModel()->rowCount() > 300);
    QCOMPARE(static_cast<std::size_t>(terminal->LogModel()->rowCount()),
             tool.Core().logs.terminal.Size());

    tool.Camera().SetValue("UD", "bench");
    const struct {
        int command;
        const char* dialog;
        const char* field;
        QString expected;
    } menus[] = {
        {kMenuAbout, "aboutDialog", "firmwareVersion", "1.05"},
        {kMenuEditUserId, "userIdDialog", "userId", "bench"},
        {kMenuEditCameraId, "cameraIdDialog", "character1", "V"},
    };
    for (const auto& m : menus) {
        QAction* action = window->Menu()->Action(m.command);
        QVERIFY(action->isEnabled());
        QString seen;
        int looks = 0;
        // Looks at the modal window until it has asked the camera, then closes it.
        std::function<void()> look = [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal && modal->objectName() == m.dialog) {
                seen = Text(modal, m.field);
                if ((!seen.isEmpty() && !seen.contains('?')) || ++looks > 200) {
                    static_cast<QDialog*>(modal)->reject();
                    return;
                }
            }
            QTimer::singleShot(20, look);
        };
        QTimer::singleShot(0, look);
        action->trigger();
        QCOMPARE(seen, m.expected);
    }
}

}  // namespace vk::gui::test

QTEST_MAIN(vk::gui::test::IdentityWindowsTest)
#include "identity_windows_test.moc"
