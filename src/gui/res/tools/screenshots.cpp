// Writes pictures of the tool's windows against the simulated camera, for the README and
// for review: vk4100-screenshots DIR [--port PORT]. With --port, against the camera on that
// port (under Wine, the Linux simulator through a Wine COM port); builds without the
// simulator need it. Runs on any Qt platform, offscreen included; the tool's own settings
// are not touched.
#include <QApplication>
#include <QDir>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QWidget>
#include <cstdio>
#include <string>
#include <utility>

#include "core/comm/terminal_line.h"
#include "core/core_context.h"
#include "core/lut/standard_curve.h"
#include "core/persist/settings_backend.h"
#include "core/user_interface.h"
#include "gui/app/main_window.h"
#include "gui/app/progress_window.h"
#include "gui/app/tool_application.h"
#include "gui/app/window_geometry.h"
#include "gui/comm/communication_window.h"
#include "gui/comm/flash_area_dialog.h"
#include "gui/comm/line_log_model.h"
#include "gui/comm/terminal_window.h"
#include "gui/identity/about_dialog.h"
#include "gui/identity/camera_id_dialog.h"
#include "gui/identity/lens_window.h"
#include "gui/identity/user_id_dialog.h"
#include "gui/lut/curve_view.h"
#include "gui/lut/lut_editor.h"
#include "gui/xml/feature_tree.h"
#include "gui/xml/xml_window.h"
#include "sim/description_standard.h"

namespace {

// Shows nothing and answers no; reports every message so a surprise is visible.
class ReportingUiPort : public vk::SilentUserInterface {
public:
    void ShowMessage(const std::string& text, const std::string& caption,
                     vk::MessageIcon) override {
        std::fprintf(stderr, "message (%s): %s\n", caption.c_str(), text.c_str());
    }
    void PumpEvents() override { QCoreApplication::processEvents(); }
    // Halfway through the next full read, the main window as it looks meanwhile.
    void SetProgress(int percent) override {
        if (!readingPicture.isEmpty() && percent >= 50 && main) {
            const QString file = std::exchange(readingPicture, QString());
            QCoreApplication::processEvents();
            if (main->grab().save(file)) std::printf("%s\n", qPrintable(file));
        }
    }

    QWidget* main = nullptr;
    QString readingPicture;
};

bool Save(QWidget* window, const QString& file) {
    QCoreApplication::processEvents();
    if (!window->grab().save(file)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
        return false;
    }
    std::printf("%s\n", qPrintable(file));
    return true;
}

// The same window drawn at twice the pixel density, as on a high-resolution screen.
bool SaveAtDoubleDensity(QWidget* window, const QString& file) {
    QCoreApplication::processEvents();
    QPixmap picture(window->size() * 2);
    picture.setDevicePixelRatio(2.0);
    window->render(&picture);
    if (!picture.save(file)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
        return false;
    }
    std::printf("%s\n", qPrintable(file));
    return true;
}

// The whole screen as the window system shows it, window frames included; platforms
// without a screen to grab (offscreen) leave it out.
bool SaveDesktop(const QString& file) {
    // The window manager frames and places the windows on its own time.
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 1500)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    const QPixmap screen = QGuiApplication::primaryScreen()->grabWindow(0);
    if (screen.isNull() || QGuiApplication::platformName() == "offscreen") return true;
    if (!screen.save(file)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
        return false;
    }
    std::printf("%s\n", qPrintable(file));
    return true;
}

// A left click on the graph, as the mouse gives it.
void ClickGraph(vk::gui::LutCurveView* view, vk::lut::GraphPoint p) {
    const QPointF at = view->Transform().ToWidget(p);
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
        QMouseEvent event(type, at, view->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
        QCoreApplication::sendEvent(view, &event);
    }
}

// A red editor in Edit mode shaping an S-curve, and a green one in View mode showing a
// gamma table as read from a camera; each also at double density.
bool SaveLutEditors(const QString& dir, const QPalette& darkPalette) {
    vk::gui::LutEditor edit(0);
    edit.SetCameraOnline(true);  // as with a camera; the view editor shows the offline state
    edit.show();
    QCoreApplication::processEvents();
    for (const vk::lut::GraphPoint p : {vk::lut::GraphPoint{60, 222}, {128, 132}, {196, 40}})
        ClickGraph(edit.View(), p);
    vk::gui::LutEditor view(1);
    view.ShowTable(*vk::lut::GammaTable(0.45));
    view.show();
    bool ok = Save(&edit, dir + "/lut-editor-edit.png");
    ok &= SaveAtDoubleDensity(&edit, dir + "/lut-editor-edit@2x.png");
    ok &= Save(&view, dir + "/lut-editor-view.png");
    ok &= SaveAtDoubleDensity(&view, dir + "/lut-editor-view@2x.png");
    // The same with a dark palette: grid, handles and labels must stay readable.
    edit.setPalette(darkPalette);
    view.setPalette(darkPalette);
    ok &= Save(&edit, dir + "/lut-editor-edit-dark.png");
    ok &= Save(&view, dir + "/lut-editor-view-dark.png");
    return ok;
}

QPalette DarkPalette() {
    QPalette p;
    p.setColor(QPalette::Window, QColor(45, 45, 48));
    p.setColor(QPalette::WindowText, QColor(220, 220, 220));
    p.setColor(QPalette::Base, QColor(30, 30, 32));
    p.setColor(QPalette::AlternateBase, QColor(45, 45, 48));
    p.setColor(QPalette::Text, QColor(220, 220, 220));
    p.setColor(QPalette::Button, QColor(55, 55, 58));
    p.setColor(QPalette::ButtonText, QColor(220, 220, 220));
    p.setColor(QPalette::Mid, QColor(120, 120, 125));
    p.setColor(QPalette::ToolTipBase, QColor(60, 60, 64));
    p.setColor(QPalette::ToolTipText, QColor(230, 230, 230));
    return p;
}

// Dialogs as they open over the main window, on the whole screen with the window manager's
// frames: dialog-NAME.png. Left out where there is no screen to grab.
bool SaveDialogsOnParents(vk::gui::MainWindow* main, const QString& dir) {
    if (QGuiApplication::platformName() == "offscreen") return true;
    vk::CoreContext& core = main->Core();
    bool ok = true;
    const auto shot = [&](QWidget& dialog, const char* name) {
        dialog.show();
        ok &= SaveDesktop(dir + "/dialog-" + name + ".png");
        dialog.hide();
    };
    vk::gui::AboutDialog about(core, main->Windows(), main->ControlMode(), main);
    about.Load();
    shot(about, "about");
    vk::gui::CameraIdDialog cameraId(core, main->Windows(), main->ControlMode(), main);
    shot(cameraId, "camera-id");
    vk::gui::FlashAreaDialog store(vk::gui::FlashAreaDialog::Mode::Store, main->IsFactoryMode(),
                                   core.notifier, main->Windows(), main);
    shot(store, "store-area");
    QMessageBox result(QMessageBox::Information, "Recalibrate FFC (User)",
                       "The recalibration has been completed.", QMessageBox::Ok, main);
    shot(result, "result");
    vk::gui::ProgressWindow progress(main);
    progress.ShowProgress(main, "Now, reading all parameters.");
    progress.SetProgress(40);
    ok &= SaveDesktop(dir + "/dialog-progress.png");
    progress.CloseProgress();
    if (auto* lens = main->findChild<vk::gui::LensWindow*>()) shot(*lens, "motor-lens");
    return ok;
}

// One picture per page listed in the current mode, at the size the tool has on a
// 1366 x 768 screen: page-user-a.png and so on.
bool SavePages(vk::gui::MainWindow* main, const QString& dir) {
    auto* tabs = main->findChild<QTabWidget*>("tabControl");
    if (!tabs) return false;
    const QSize size = main->size();
    main->resize(1326, 668);
    vk::gui::FitOnScreen(*main);  // a scaled screen has less room
    bool ok = true;
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        const QString name = tabs->tabText(i).toLower().replace(' ', '-');
        ok &= Save(main, dir + "/page-" + name + ".png");
    }
    tabs->setCurrentIndex(0);
    main->resize(size);
    return ok;
}

// The terminal after a few typed lines, the information window (factory mode), both id
// windows and the lens window.
bool SaveIdentityWindows(vk::gui::MainWindow* main, const QString& dir) {
    vk::CoreContext& core = main->Core();
    auto* terminal = main->findChild<vk::gui::TerminalWindow*>();
    auto* lens = main->findChild<vk::gui::LensWindow*>();
    if (!terminal || !lens) return false;
    core.logs.terminal.Clear();
    for (const char* line : {"VN?", "PE=5000", "PE?", "ID?", "UD=LINE-4", "TMP0?"}) {
        core.runner.Run({"terminal"}, [&](vk::Operation& operation) {
            return vk::SendTerminalLine(operation.exchange, line);
        });
    }
    terminal->CommandEdit()->setText("EA?");
    terminal->show();
    terminal->LogModel()->CatchUp();
    bool ok = Save(terminal, dir + "/terminal-window.png");
    terminal->hide();

    vk::gui::AboutDialog about(core, main->Windows(), main->ControlMode(), main);
    about.show();
    about.Load();
    ok &= Save(&about, dir + "/about-window.png");
    vk::gui::UserIdDialog userId(core, main->Windows(), main);
    userId.show();
    userId.Load();
    ok &= Save(&userId, dir + "/user-id-window.png");
    vk::gui::CameraIdDialog cameraId(core, main->Windows(), main->ControlMode(), main);
    cameraId.show();
    cameraId.Load();
    ok &= Save(&cameraId, dir + "/camera-id-window.png");
    lens->show();
    ok &= Save(lens, dir + "/lens-window.png");
    lens->hide();
    return ok;
}

// The XML window with the simulated camera's description downloaded, opened and read.
bool SaveXmlWindow(vk::gui::MainWindow* main, const QString& dir) {
#ifndef VK_HAVE_DESCRIPTION
    (void)main;
    (void)dir;
    return true;  // this build reads no descriptions
#endif
    auto* xml = main->findChild<vk::gui::XmlWindow*>();
    const QTemporaryDir folder;
    if (!xml || !folder.isValid()) return false;
    xml->SetDownloadFolder(folder.path());
    xml->DownloadDescriptionFile();
    if (!xml->OpenFile(xml->DownloadPath())) return false;
    xml->ReadAllData();
    bool ok = Save(xml, dir + "/xml-window.png");
    // The same file as a feature tree, then a file written the way most makers write theirs.
    xml->Tabs()->setCurrentWidget(xml->Tree());
    xml->Tree()->Tree()->expandAll();
    ok &= Save(xml, dir + "/xml-window-tree.png");
    const QString standard = folder.filePath("standard.xml");
    QFile file(standard);
    ok &= file.open(QIODevice::WriteOnly) &&
          file.write(QByteArray::fromStdString(vk::sim::StandardDescriptionXml())) > 0;
    file.close();
    ok &= xml->OpenFile(standard);
    xml->Tree()->VisibilityFilter()->setCurrentIndex(1);  // Expert
    xml->ReadAllData();
    xml->Tree()->Tree()->expandAll();
    ok &= Save(xml, dir + "/xml-window-standard.png");
    xml->hide();
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const bool port = argc == 4 && std::string(argv[2]) == "--port";
#ifdef VK_HAVE_SIMULATOR
    const bool usage = argc != 2 && !port;
#else
    const bool usage = !port;
#endif
    if (usage) {
        std::fprintf(stderr, "usage: vk4100-screenshots DIR [--port PORT]\n");
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(dir);

    ReportingUiPort ui;
    vk::MemorySettingsBackend settings;
    vk::gui::ProgramOptions options;
    if (port) {
        options.port = QString::fromLocal8Bit(argv[3]);
    } else {
        options.simulateModel = QString();
    }
    vk::gui::ToolApplication tool(options, &ui, &settings);
    std::string error;
    if (!tool.Create(&error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    vk::gui::MainWindow* main = tool.Window();
    main->show();
    main->Initialize();

    bool ok = SaveDesktop(dir + "/desktop.png");
    ok &= Save(main, dir + "/main-window.png");
    ok &= Save(main->Communication(), dir + "/communication-window.png");
    ui.main = main;
    ui.readingPicture = dir + "/main-window-reading.png";
    main->ReadAllSettings();
    main->ToggleControlMode();
    ok &= Save(main, dir + "/main-window-factory.png");
    ok &= Save(main->Communication(), dir + "/communication-window-factory.png");
    ok &= SavePages(main, dir);  // factory mode: all nine
    ok &= SaveLutEditors(dir, DarkPalette());
    ok &= SaveDialogsOnParents(main, dir);
    ok &= SaveIdentityWindows(main, dir);  // factory mode
    ok &= SaveXmlWindow(main, dir);
    return ok ? 0 : 1;
}
