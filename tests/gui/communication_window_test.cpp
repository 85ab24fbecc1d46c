// The communication window against the simulated camera: transport, port and baud changes,
// the automatic search, line status, flash areas and the message list.
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <memory>
#include <numeric>

#include "core/comm/cl_serial_library.h"
#include "core/core_context.h"
#include "gui/app/window_list.h"
#include "gui/comm/communication_host.h"
#include "gui/comm/communication_window.h"
#include "sim/simulated_camera.h"
#include "support/recording_user_interface.h"

using namespace vk;
using namespace vk::gui;

namespace {

struct FakeHost : CommunicationHost {
    void ReadAllSettings() override { ++reads; }
    bool IsFactoryMode() const override { return factory; }
    void ChannelChanged() override {}
    int reads = 0;
    bool factory = false;
};

// A grabber library with two ports that never open; records which ports were tried.
class UnopenableGrabber : public ClSerialLibrary {
public:
    const std::string& LastError() const override { return reason; }
    std::string reason = "The grabber's port is taken.";
    bool OpenPort(int index) override {
        tried.push_back(index);
        return false;
    }
    bool SetBaudRate(std::uint32_t) override { return true; }
    void ClosePort() override {}
    bool IsOpen() const override { return false; }
    bool Write(const char*, int, int) override { return false; }
    int Read(char*, int, int) override { return 0; }
    int PortCount() override { return 2; }
    std::string PortName(int index) override { return "grabber port " + std::to_string(index); }

    std::vector<int> tried;
};

// The window over a core whose first COM port is the simulated camera.
struct Rig {
    vk::test::RecordingUserInterface ui;
    MemorySettingsBackend settings;
    UnopenableGrabber grabber;
    sim::SimulatedCamera camera;
    std::unique_ptr<CoreContext> core;
    FakeHost host;
    WindowList windows;
    std::unique_ptr<CommunicationWindow> dialog;

    Rig() {
        std::string error;
        if (!camera.Start(&error)) qFatal("simulated camera: %s", error.c_str());
        core = std::make_unique<CoreContext>(ui, settings,
                                             SerialChannel::Libraries{&grabber, nullptr, nullptr});
        core->port.PinPort(camera.DevicePath());
        core->channel.OpenChannel(ChannelMode::ComPort, 9600, 0);
        dialog = std::make_unique<CommunicationWindow>(*core, host, windows);
    }
    template <typename T>
    T* Find(const char* name) const {
        T* w = dialog->findChild<T*>(name);
        if (!w) qFatal("no widget %s", name);
        return w;
    }
    QComboBox* List(const char* name) const { return Find<QComboBox>(name); }
    QPushButton* Button(const char* name) const { return Find<QPushButton>(name); }
    QString LineText() const { return Find<QLabel>("lineStatusText")->text(); }

    // Picks an item as the user does.
    void Choose(const char* list, int index) {
        QComboBox* combo = List(list);
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }
    void Click(const char* button) { QTest::mouseClick(Button(button), Qt::LeftButton); }
};

QStringList Items(const QComboBox* combo) {
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

QStringList ListLines(const QListView* view) {
    QStringList lines;
    for (int i = 0; i < view->model()->rowCount(); ++i) {
        lines << view->model()->index(i, 0).data().toString();
    }
    return lines;
}

}  // namespace

class CommunicationDialogTest : public QObject {
    Q_OBJECT

private slots:
    void showsTheChannelAndTheTemplateTexts();
    void storeAndBaudRateFollowTheMode();
    void tabFollowsTheRows();
    void portAndBaudChangesCheckTheModelAndReadAgain();
    void categoryChangeRebuildsThePortList();
    void autoSearchFindsTheCamera();
    void autoSearchTriesSixteenPortsThenGivesUp();
    void getAreaNamesTheCurrentArea();
    void storeAndLoadUseTheSelectedArea();
    void messageListKeepsTheNewest4096Lines();
    void writeToFileSavesOldestFirst();
};

void CommunicationDialogTest::showsTheChannelAndTheTemplateTexts() {
    Rig rig;
    QCOMPARE(rig.List("category")->currentIndex(), 0);
    QCOMPARE(rig.List("portName")->itemText(0), QString::fromStdString(rig.camera.DevicePath()));
    QCOMPARE(rig.List("areaList")->currentText(), QString("User 1 Data"));
    QCOMPARE(rig.LineText(), QString("Offline"));

    // The setting-file buttons are there, not yet usable.
    QVERIFY(!rig.Button("writeSettingFile")->isEnabled());
    QVERIFY(!rig.Button("readSettingFile")->isEnabled());
    QCOMPARE(rig.windows.Count(), 1);
}

void CommunicationDialogTest::storeAndBaudRateFollowTheMode() {
    Rig rig;
    QPushButton* store = rig.Button("store");
    QVERIFY(rig.List("baudRate")->isHidden());
    QVERIFY(rig.Find<QLabel>("baudRateLabel")->isHidden());
    QVERIFY(store->isEnabled());
    rig.List("areaList")->setCurrentIndex(0);
    QVERIFY(!store->isEnabled());
    rig.List("areaList")->setCurrentIndex(1);
    QVERIFY(store->isEnabled());
    rig.List("areaList")->setCurrentIndex(0);

    rig.host.factory = true;
    rig.dialog->RefreshControlMode();
    QVERIFY(store->isEnabled());
    QVERIFY(!rig.List("baudRate")->isHidden());
    QVERIFY(rig.List("baudRate")->isEnabled());

    rig.host.factory = false;
    rig.dialog->RefreshControlMode();
    QVERIFY(!store->isEnabled());
    QVERIFY(rig.List("baudRate")->isHidden());
}

void CommunicationDialogTest::tabFollowsTheRows() {
    Rig rig;
    rig.host.factory = true;
    rig.dialog->RefreshControlMode();
    rig.dialog->show();
    QApplication::setActiveWindow(rig.dialog.get());
    QVERIFY(QTest::qWaitForWindowActive(rig.dialog.get()));
    rig.List("category")->setFocus();
    QStringList order;
    for (int i = 0; i < 6; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        order << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(order,
             QStringList({"portName", "autoSearch", "baudRate", "getArea", "areaList", "store"}));
}

void CommunicationDialogTest::portAndBaudChangesCheckTheModelAndReadAgain() {
    Rig rig;
    rig.camera.ClearReceivedLines();
    rig.Choose("portName", 0);
    QCOMPARE(rig.camera.ReceivedLines(), std::vector<std::string>{"MD?"});
    QCOMPARE(rig.host.reads, 1);
    QCOMPARE(rig.LineText(), QString("Online"));

    rig.host.factory = true;
    rig.dialog->RefreshControlMode();
    rig.Choose("baudRate", 1);
    QCOMPARE(rig.core->channel.BaudRate(), 19200u);
    QCOMPARE(rig.host.reads, 2);
    QVERIFY(rig.ui.messages.empty());
}

void CommunicationDialogTest::categoryChangeRebuildsThePortList() {
    Rig rig;
    rig.Choose("category", 1);
    QCOMPARE(rig.core->channel.GetMode(), ChannelMode::ClSerial2000);
    // The library's reason first, then the tool's own words.
    QCOMPARE(rig.ui.MessageTexts(),
             (std::vector<std::string>{"The grabber's port is taken.", "Failed to initialize!"}));
    QCOMPARE(rig.ui.messages[0].icon, MessageIcon::Exclamation);
    QCOMPARE(Items(rig.List("portName")), QStringList({"grabber port 0", "grabber port 1"}));
    QCOMPARE(rig.host.reads, 0);  // nothing answered
    QCOMPARE(rig.LineText(), QString("Offline"));

    rig.Choose("category", 0);
    QCOMPARE(rig.core->channel.GetMode(), ChannelMode::ComPort);
    QCOMPARE(rig.List("portName")->currentText(), QString::fromStdString(rig.camera.DevicePath()));
    QCOMPARE(rig.host.reads, 1);
    QCOMPARE(rig.ui.messages.size(), 2u);  // nothing more
}

void CommunicationDialogTest::autoSearchFindsTheCamera() {
    Rig rig;
    rig.core->channel.CloseChannel();
    rig.Click("autoSearch");
    QCOMPARE(rig.host.reads, 1);
    QCOMPARE(rig.List("portName")->currentIndex(), 0);
    QCOMPARE(rig.LineText(), QString("Online"));
    QVERIFY(rig.ui.messages.empty());
}

void CommunicationDialogTest::autoSearchTriesSixteenPortsThenGivesUp() {
    Rig rig;
    rig.Choose("category", 1);  // the grabber, whose two ports never open
    rig.grabber.tried.clear();
    rig.ui.messages.clear();
    rig.core->notifier.SetOnline();

    rig.Click("autoSearch");
    std::vector<int> all(16);
    std::iota(all.begin(), all.end(), 0);
    QCOMPARE(rig.grabber.tried, all);
    // One box for the whole search, naming the listed ports and what each did.
    QCOMPARE(rig.ui.messages.size(), 1u);
    const std::string& text = rig.ui.messages[0].text;
    QVERIFY(
        text.starts_with("No answer from Camera! (Timeout error)\n"
                         "Check power on Camera or serial cable connection.\n\nPorts tried:"));
    QCOMPARE(std::count(text.begin(), text.end(), '\n'), 5);  // two ports listed
    // Each port says why it did not open, in the words its library gave.
    QVERIFY(text.ends_with("grabber port 1 (cannot open: The grabber's port is taken.)"));
    QCOMPARE(rig.ui.messages[0].caption, std::string("Communication Error"));
    QCOMPARE(rig.ui.messages[0].icon, MessageIcon::Exclamation);
    QCOMPARE(rig.LineText(), QString("Offline"));
    QCOMPARE(rig.host.reads, 0);
    // The channel stays on the last index; the two-port list shows no port as selected.
    QCOMPARE(rig.core->channel.CurrentPortIndex(), 15u);
    QCOMPARE(rig.List("portName")->currentIndex(), -1);
}

void CommunicationDialogTest::getAreaNamesTheCurrentArea() {
    Rig rig;
    auto* name = rig.Find<QLabel>("areaName");
    const std::pair<const char*, const char*> cases[] = {
        {"0", "Factory Data"}, {"2", "User 2 Data"}, {"3", "User 3 Data"}, {"7", "Unkown"}};
    for (const auto& [area, shown] : cases) {
        rig.camera.SetValue("EA", area);
        rig.Click("getArea");
        QCOMPARE(name->text(), QString(shown));
    }
    rig.core->channel.CloseChannel();  // the query fails
    rig.camera.SetValue("EA", "1");
    rig.Click("getArea");
    QCOMPARE(name->text(), QString("Unkown"));
}

void CommunicationDialogTest::storeAndLoadUseTheSelectedArea() {
    Rig rig;
    rig.camera.ClearReceivedLines();
    rig.List("areaList")->setCurrentIndex(2);
    // Asked first: "No" writes nothing.
    rig.Click("store");
    QVERIFY(rig.camera.ReceivedLines().empty());
    QCOMPARE(rig.ui.questions.at(0).text,
             std::string("Store the camera's current settings into \"User 2 Data\"?\n"
                         "What the area holds now is overwritten."));
    rig.ui.answers.assign(3, true);
    rig.Click("store");
    QCOMPARE(rig.camera.ReceivedLines(), std::vector<std::string>{"SA=2"});
    QCOMPARE(rig.ui.progressTexts, std::vector<std::string>{"Now, Storing camera data."});
    QVERIFY(!rig.ui.progressOpen);
    QCOMPARE(rig.ui.MessageTexts(),
             std::vector<std::string>{"Completed to store current setting data!"});
    QCOMPARE(rig.ui.messages[0].icon, MessageIcon::Information);

    // The factory area has a command of its own, and only factory mode may write it.
    rig.host.factory = true;
    rig.dialog->RefreshControlMode();
    rig.List("areaList")->setCurrentIndex(0);
    rig.camera.ClearReceivedLines();
    rig.Click("store");
    QCOMPARE(rig.camera.ReceivedLines(), std::vector<std::string>{"SA00=0"});

    // A refused store: no completion message, and the progress window still closes.
    rig.ui.messages.clear();
    rig.camera.SetFault({sim::Fault::ErrorOnSet, 0, 1});
    rig.Click("store");
    QVERIFY(!rig.ui.progressOpen);
    QCOMPARE(rig.ui.messages.size(), 1u);
    QCOMPARE(rig.ui.messages[0].caption, std::string("Communication Error"));

    rig.List("areaList")->setCurrentIndex(2);
    rig.camera.ClearReceivedLines();
    rig.Click("load");
    QCOMPARE(rig.camera.ReceivedLines(), std::vector<std::string>{"LD=2"});
    QCOMPARE(rig.host.reads, 1);
}

void CommunicationDialogTest::messageListKeepsTheNewest4096Lines() {
    Rig rig;
    auto* view = rig.Find<QListView>("messageList");
    rig.core->logs.messages.Clear();
    for (int i = 1; i <= 4097; ++i)
        rig.core->logs.messages.Add("line " + std::to_string(i));
    QTRY_COMPARE(view->model()->rowCount(), 4096);
    QCOMPARE(view->model()->index(0, 0).data().toString(), QString("line 4097"));
    QCOMPARE(view->model()->index(4095, 0).data().toString(), QString("line 2"));

    // Lines sent and received appear bare, newest on top.
    rig.Choose("portName", 0);
    QTRY_COMPARE(ListLines(view).mid(0, 2),
                 QStringList({"MD=" + QString::fromStdString(rig.camera.Value("MD")), "MD?"}));

    rig.Click("clearMessages");
    QCOMPARE(view->model()->rowCount(), 0);
}

void CommunicationDialogTest::writeToFileSavesOldestFirst() {
    Rig rig;
    QTemporaryDir dir;
    const QString path = dir.filePath("messages.txt");
    QString offeredFolder;
    rig.dialog->chooseMessageFile = [&](const QString& folder) {
        offeredFolder = folder;
        return path;
    };
    auto readFile = [&path] {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    rig.core->logs.messages.Clear();
    for (const char* line : {"first", "second", "third"})
        rig.core->logs.messages.Add(line);

    rig.Click("writeMessages");
    QCOMPARE(readFile(), QByteArray("first\nsecond\nthird\n"));
    QCOMPARE(rig.core->logs.messages.At(0), std::string("Writing file has been done!"));
    std::string stored;
    QVERIFY(rig.core->settings.ReadText(9, stored));
    QCOMPARE(QString::fromStdString(stored), dir.path());
    QVERIFY(rig.ui.questions.empty());

    // The next save starts in the folder of the last one.
    rig.ui.answers = {true};
    rig.Click("writeMessages");
    QCOMPARE(offeredFolder, dir.path());

    // A file that cannot be written: a message, and the list gains nothing.
    const std::size_t lines = rig.core->logs.messages.Size();
    rig.dialog->chooseMessageFile = [&](const QString&) { return dir.filePath("no/such/x.txt"); };
    rig.Click("writeMessages");
    QCOMPARE(rig.ui.MessageTexts(),
             std::vector<std::string>{"File open error !\n" +
                                      dir.filePath("no/such/x.txt").toStdString() +
                                      ": No such file or directory"});
    QCOMPARE(rig.ui.messages[0].icon, MessageIcon::Stop);
    QCOMPARE(rig.core->logs.messages.Size(), lines);
}

QTEST_MAIN(CommunicationDialogTest)
#include "communication_window_test.moc"
