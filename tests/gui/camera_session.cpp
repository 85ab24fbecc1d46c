// A user's session with the desktop tool against a camera outside the process: start-up
// with the model check and the full read, a page change and a set, a setting file saved
// and loaded, a LUT written and read back, Get Area. scripts/test-windows runs it under
// Wine against the Linux simulator, through a Wine COM port and through the fake Camera
// Link libraries, and the same on Linux, and compares what reached the camera.
//   CAMERA_SESSION_PORT=COM21 | /dev/pts/N  a COM port given as the tool's --port
//   CAMERA_SESSION_CL11_PORT=N           instead, port N of the Camera Link 1.1 libraries
// (Wine hands no VK_* or QT_* variables on to a Windows program.)
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "core/core_context.h"
#include "core/lut/standard_curve.h"
#include "core/persist/settings_backend.h"
#include "gui/app/main_menu.h"
#include "gui/app/main_window.h"
#include "gui/app/tool_application.h"
#include "gui/comm/communication_window.h"
#include "gui/comm/setting_file_feature.h"
#include "gui/lut/curve_view.h"
#include "gui/lut/lut_editor.h"
#include "gui/lut/lut_feature.h"
#include "support/recording_user_interface.h"

using namespace vk;
using namespace vk::gui;

namespace {

constexpr ControlId kRedBlackLevel = 2439;  // on the second page

}  // namespace

class CameraSession : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void startUpChecksTheModelAndReadsEverything();
    void aPageChangeAndASetReachTheCamera();
    void aSettingFileIsSavedAndLoaded();
    void aLutIsWrittenAndReadBack();
    void getAreaNamesTheCurrentArea();
    void cleanupTestCase();

private:
    // Notes are fine (a save's summary); a warning or an error box means a step failed.
    bool NothingWentWrong() const {
        for (const auto& m : ui_.messages) {
            if (m.icon == MessageIcon::Stop || m.icon == MessageIcon::Exclamation) {
                qWarning("%s", m.text.c_str());
                return false;
            }
        }
        return true;
    }
    ControlId IdOf(const char* mnemonic) {
        const CoreContext& core = *app_->Core();
        return core.exchange.Controls().ControlOf(core.exchange.FindCommand(mnemonic));
    }
    QSpinBox* Spin(ControlId id) {
        return qobject_cast<QSpinBox*>(window_->FindControl(static_cast<int>(id)));
    }
    QByteArray FileLine(ControlId id, int value) {
        const CoreContext& core = *app_->Core();
        const std::string mnemonic =
            core.exchange.GetMnemonic(core.exchange.Controls().CommandOf(id));
        return QByteArray("\r\n") + mnemonic.c_str() + "=" + QByteArray::number(value) + "\r\n";
    }
    std::optional<std::int32_t> CameraValue(ControlId id) {
        return app_->Core()->exchange.Values().CameraValue(id);
    }

    vk::test::RecordingUserInterface ui_;
    MemorySettingsBackend settings_;
    std::unique_ptr<ToolApplication> app_;
    MainWindow* window_ = nullptr;
    QTemporaryDir dir_;
};

void CameraSession::initTestCase() {
    ProgramOptions options;
    const QByteArray port = qgetenv("CAMERA_SESSION_PORT");
    const QByteArray cl11 = qgetenv("CAMERA_SESSION_CL11_PORT");
    QVERIFY2(port.isEmpty() != cl11.isEmpty(),
             "set CAMERA_SESSION_PORT or CAMERA_SESSION_CL11_PORT");
    if (!port.isEmpty()) {
        options.port = QString::fromLocal8Bit(port);
    } else {
        // As the selection a normal end of an earlier run kept: the mode and the port of
        // the libraries' list.
        settings_.values["Previous Application Shutdown Status"] = 1u;
        settings_.values["Communication Mode"] = 3u;
        settings_.values["Cameralink Ver11 Dll Index"] = cl11.toUInt();
    }
    app_ = std::make_unique<ToolApplication>(options, &ui_, &settings_);
    std::string error;
    QVERIFY2(app_->Create(&error), error.c_str());
    window_ = app_->Window();
}

void CameraSession::startUpChecksTheModelAndReadsEverything() {
    window_->show();
    window_->Initialize();
    QVERIFY(QTest::qWaitForWindowExposed(window_));
    QCOMPARE(ui_.MessageTexts(), std::vector<std::string>{});
    QCOMPARE(app_->Core()->modelCheck.modelIndex, 0);
    QCOMPARE(ui_.progressTexts, std::vector<std::string>{"Now, reading camera settings."});
    QCOMPARE(ui_.progress.back(), 100);
    QCOMPARE(window_->Communication()->findChild<QLabel*>("lineStatusText")->text(),
             QString("Online"));
    // The simulator's exposure time, as read.
    QCOMPARE(Spin(IdOf("PE"))->value(), CameraValue(IdOf("PE")));
    QVERIFY(NothingWentWrong());
}

void CameraSession::aPageChangeAndASetReachTheCamera() {
    QSpinBox* level = Spin(kRedBlackLevel);
    QVERIFY(level);
    QTabWidget* tabs = window_->Tabs();
    int page = -1;
    for (int i = 0; i < tabs->count(); ++i) {
        if (tabs->widget(i)->isAncestorOf(level)) page = i;
    }
    QVERIFY(page > 0);
    tabs->setCurrentIndex(page);
    QVERIFY(level->isVisible());
    const std::optional<std::int32_t> before = CameraValue(kRedBlackLevel);
    QVERIFY(before);
    QTest::keyClick(level, Qt::Key_PageUp);  // ten steps up
    QVERIFY(CameraValue(kRedBlackLevel) == *before + 10);
    QVERIFY(NothingWentWrong());
}

void CameraSession::aSettingFileIsSavedAndLoaded() {
    auto* feature = window_->findChild<SettingFileFeature*>("settingFiles");
    QVERIFY(feature);
    const QString path = dir_.filePath("camera.cam");
    feature->chooseFile = [&path](bool, const QString&) { return path; };
    window_->Menu()->Action(kMenuSaveAllData)->trigger();
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QByteArray text = file.readAll();
    const std::optional<std::int32_t> known = CameraValue(kRedBlackLevel);
    QVERIFY(known);
    const int level = *known;
    file.close();
    QVERIFY(text.startsWith("DVW=1000\r\nEM="));
    QVERIFY(text.contains(FileLine(kRedBlackLevel, level)));

    // The file with another black level, loaded whole: the camera gets its lines.
    text.replace(FileLine(kRedBlackLevel, level), FileLine(kRedBlackLevel, 12));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
    file.close();
    int compared = 0;
    feature->chooseLoad = [&compared](const QString&, const SettingFileComparison&) {
        ++compared;
        return SettingFileFeature::LoadChoice::All;
    };
    window_->Menu()->Action(kMenuOpen)->trigger();
    QCOMPARE(compared, 1);
    QCOMPARE(CameraValue(kRedBlackLevel), 12);
    QCOMPARE(Spin(kRedBlackLevel)->value(), 12);
    QVERIFY(NothingWentWrong());
}

void CameraSession::aLutIsWrittenAndReadBack() {
    auto* feature = window_->findChild<LutFeature*>("lutFeature");
    QVERIFY(feature);
    feature->ShowEditors(true);
    LutEditor* red = feature->Editor(0);
    QVERIFY(QTest::qWaitForWindowExposed(red));
    const QPoint at = red->View()->Transform().ToWidget(lut::GraphPoint{64, 60}).toPoint();
    QTest::mouseClick(red->View(), Qt::LeftButton, {}, at);
    const lut::Table curve = red->Values();
    QVERIFY(curve != lut::LinearTable());
    red->findChild<QPushButton*>("writeTable")->click();
    red->findChild<QPushButton*>("readTable")->click();
    QCOMPARE(red->Values(), curve);
    feature->ShowEditors(false);
    QVERIFY(NothingWentWrong());
}

void CameraSession::getAreaNamesTheCurrentArea() {
    CommunicationWindow* communication = window_->Communication();
    auto* name = communication->findChild<QLabel*>("areaName");
    name->clear();
    communication->findChild<QPushButton*>("getArea")->click();
    QCOMPARE(name->text(), QString("Factory Data"));
    QVERIFY(NothingWentWrong());
}

void CameraSession::cleanupTestCase() {
    app_.reset();
}

QTEST_MAIN(CameraSession)
#include "camera_session.moc"
