// The desktop program's start and end: its command line without a display, a stored channel
// that cannot open, an unsupported camera, and stop signals that end it the normal way.
#include <QLabel>
#include <QtTest>
#include <csignal>
#include <filesystem>
#include <fstream>

#include "gui/app/program_options.h"
#include "gui/comm/communication_window.h"
#include "gui/widgets/status_strip.h"
#include "gui_test_support.h"
#include "support/pty_peer.h"
#include "support/spawned_program.h"
#include "support/temp_dir.h"

using namespace vk;
using namespace vk::gui;
using vk::gui::test::ToolUnderTest;
using vk::test::ReadFile;
using vk::test::SpawnedProgram;

namespace {

// Answers the questions from the script, and first does what the user would do then.
class ActingUiPort : public vk::test::RecordingUserInterface {
public:
    bool AskYesNo(const std::string& text, const std::string& caption) override {
        if (beforeAnswer) beforeAnswer();
        return RecordingUserInterface::AskYesNo(text, caption);
    }
    std::function<void()> beforeAnswer;
};

std::string Stored(const MemorySettingsBackend& backend, const std::string& name) {
    const auto it = backend.values.find(name);
    if (it == backend.values.end()) return "(none)";
    if (const auto* n = std::get_if<std::uint32_t>(&it->second)) return std::to_string(*n);
    return std::get<std::string>(it->second);
}

}  // namespace

class StartUpTest : public QObject {
    Q_OBJECT

private slots:
    void theCommandLineIsJudgedWithoutADisplay();
    void aStoredChannelThatCannotOpenIsOfferedForCorrection();
    void anUnsupportedCameraIsToldOnceAndShownNotUsable();
    void stopSignalsEndTheProgramNormally();
};

void StartUpTest::theCommandLineIsJudgedWithoutADisplay() {
    struct Case {
        QStringList args;
        int code;
        QString starts;  // what the output starts with
    };
    const Case cases[] = {
        {{"--help"}, 0, "usage: vk4100-control-tool"},
        {{"-h"}, 0, "usage: vk4100-control-tool"},
        {{"--version"}, 0, "vk4100-control-tool 0.53\n"},
        {{"-platform", "offscreen", "--help"}, 0, "usage: vk4100-control-tool"},
        {{"--bogus"}, 2, "vk4100-control-tool: unknown argument: --bogus\nusage:"},
        {{"--port"}, 2, "vk4100-control-tool: --port needs a device path\nusage:"},
        {{"--simulate", "--port", "/dev/ttyS0"},
         2,
         "vk4100-control-tool: --port and --simulate exclude each other"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args;
        for (const QString& a : c.args)
            args.push_back(a.toStdString());
        // No DISPLAY, no QT_QPA_PLATFORM, nothing at all.
        SpawnedProgram program(VK4100_CONTROL_TOOL, args, {});
        const auto status = program.Wait(10000);
        QVERIFY2(status && WIFEXITED(*status), qPrintable(c.args.join(' ')));
        QCOMPARE(WEXITSTATUS(*status), c.code);
        const QString output = QString::fromStdString(program.Output());
        QVERIFY2(output.startsWith(c.starts), qPrintable(output));
    }

    // Qt's own options are left to Qt, in either spelling.
    ProgramOptions options;
    QString error;
    QVERIFY(ParseProgramOptions(
        {"-style=fusion", "--platform", "offscreen", "-reverse", "--simulate=VK-4100M-PMCL"},
        options, error));
    QCOMPARE(*options.simulateModel, QString("VK-4100M-PMCL"));
    QVERIFY(!ParseProgramOptions({"-stile=fusion"}, options, error));
}

// A rate or device that fails every start would otherwise lock a user out; the rate that
// helps is stored only once it has opened.
void StartUpTest::aStoredChannelThatCannotOpenIsOfferedForCorrection() {
    vk::test::TempDir dir;
    sim::SimulatedCamera camera;
    std::string reason;
    QVERIFY2(camera.Start(&reason), reason.c_str());
    const std::string link = dir / "camera";

    ActingUiPort ui;
    ui.answers = {true};
    ui.beforeAnswer = [&] { std::filesystem::create_symlink(camera.DevicePath(), link); };
    MemorySettingsBackend settings;
    settings.values["Previous Application Shutdown Status"] = 1u;
    settings.values["Baudrate"] = 115200u;
    settings.values["Com Port Name"] = link;  // not there yet
    {
        ToolApplication app(ProgramOptions{}, &ui, &settings);
        QVERIFY(app.Create(nullptr));
        app.Start();
        QCOMPARE(ui.MessageTexts(), (std::vector<std::string>{"Failed to initialize " + link +
                                                                  " port!\nError in open()\n"
                                                                  "No such file or directory",
                                                              "Failed to initialize!"}));
        QCOMPARE(ui.questions.size(), std::size_t{1});
        QCOMPARE(ui.questions[0].text,
                 std::string("The stored connection (Com Port, 115200 bit/s) did not open.\n"
                             "Try 9600 bit/s instead?"));
        // Opened at the default rate, and the camera was read.
        QVERIFY(app.Core()->channel.IsUsable());
        QCOMPARE(app.Core()->channel.BaudRate(), 9600u);
        QCOMPARE(app.Core()->modelCheck.modelIndex, 0);
        QVERIFY(camera.ReceivedLines().size() > 100);
        app.SaveAtNormalEnd();
    }
    QCOMPARE(Stored(settings, "Baudrate"), std::string("9600"));
    QCOMPARE(Stored(settings, "Com Port Name"), link);

    // Declined, or still failing: the communication window is there to choose another, and
    // nothing that failed is stored.
    settings.values["Baudrate"] = 57600u;
    settings.values["Com Port Name"] = dir / "gone";
    ActingUiPort declining;
    declining.answers = {false};
    {
        ToolApplication app(ProgramOptions{}, &declining, &settings);
        QVERIFY(app.Create(nullptr));
        app.Start();
        QCOMPARE(declining.questions.size(), std::size_t{1});
        QVERIFY(!app.Core()->channel.IsUsable());
        CommunicationWindow* communication = app.Window()->Communication();
        QVERIFY(communication->isVisible());
        QCOMPARE(app.Core()->channel.BaudRate(), 9600u);
        app.SaveAtNormalEnd();
    }
    QCOMPARE(Stored(settings, "Baudrate"), std::string("57600"));
    QCOMPARE(Stored(settings, "Com Port Name"), dir / "gone");
}

void StartUpTest::anUnsupportedCameraIsToldOnceAndShownNotUsable() {
    ToolUnderTest tool;
    QVERIFY(tool.CreateSimulated("VK-9999C-PMCL"));
    MainWindow* window = tool.Start();
    int told = 0;
    for (const auto& m : tool.ui.messages)
        told += m.text.starts_with("Unsupported model: \"VK-9999C-PMCL\"\nSupported models: ");
    QCOMPARE(told, 1);
    auto* strip = window->findChild<StatusStrip*>();
    QVERIFY(strip);
    QCOMPARE(strip->Text(), QString("Camera online, model not supported: not usable"));
    // The line itself is up: the communication window says so.
    QCOMPARE(window->Communication()->findChild<QLabel*>("lineStatusText")->text(),
             QString("Online"));
}

// The real program, offscreen, with a store of its own: a stop signal in the middle of a
// session, and one while a message box waits for an answer.
void StartUpTest::stopSignalsEndTheProgramNormally() {
    struct Case {
        int signal;
        QStringList args;
        std::string storedBefore;  // the store the run starts with
    };
    const Case cases[] = {
        {SIGTERM, {"--simulate"}, ""},
        {SIGINT, {"--simulate"}, ""},
        // "Failed to initialize!" is on the screen when the signal comes.
        {SIGHUP, {}, "[General]\nCom%20Port%20Name=/no/such/camera\nBaudrate=19200\n"},
    };
    for (const Case& c : cases) {
        vk::test::TempDir config;
        const std::string store = config / "Ostra/VK-4100 Camera Control Tool.conf";
        if (!c.storedBefore.empty()) {
            std::filesystem::create_directories(config / "Ostra");
            std::ofstream(store) << c.storedBefore;
        }
        std::vector<std::string> args;
        for (const QString& a : c.args)
            args.push_back(a.toStdString());
        SpawnedProgram program(
            VK4100_CONTROL_TOOL, args,
            SpawnedProgram::EnvironmentWith(
                {"QT_QPA_PLATFORM=offscreen", "XDG_CONFIG_HOME=" + config.Path().string()}));
        // Running once the store says so; then a moment for the start-up to get going.
        QVERIFY(vk::test::WaitUntil(
            [&] { return ReadFile(store).find("Shutdown%20Status=0") != std::string::npos; },
            15000));
        QTest::qWait(1500);
        QVERIFY2(program.Running(), program.Output().c_str());
        program.Signal(c.signal);
        const auto status = program.Wait(15000);
        QVERIFY2(status.has_value(), "still running after the signal");
        QVERIFY2(WIFEXITED(*status), program.Output().c_str());
        QCOMPARE(WEXITSTATUS(*status), 0);
        const std::string kept = ReadFile(store);
        QVERIFY2(kept.find("Previous%20Application%20Shutdown%20Status=1") != std::string::npos,
                 kept.c_str());
        QVERIFY2(kept.find("Control%20Mode=0") != std::string::npos, kept.c_str());
        if (!c.storedBefore.empty()) {
            // Nothing opened: the stored choice is the one it was.
            QVERIFY2(kept.find("Baudrate=19200") != std::string::npos, kept.c_str());
            QVERIFY2(kept.find("Com%20Port%20Name=/no/such/camera") != std::string::npos,
                     kept.c_str());
        }
    }
}

QTEST_MAIN(StartUpTest)
#include "start_up_test.moc"
