// The LUT editors in the desktop tool against the simulated camera: shown and hidden by the
// page, their buttons moving tables to and from the camera, and the LUT menu's files.
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "core/lut/lut_file.h"
#include "core/lut/standard_curve.h"
#include "gui/app/main_menu.h"
#include "gui/lut/curve_view.h"
#include "gui/lut/lut_editor.h"
#include "gui/lut/lut_feature.h"
#include "gui/widgets/control_kinds.h"
#include "gui/widgets/status_strip.h"
#include "gui_test_support.h"

namespace vk::gui::test {

class LutFeatureTest : public QObject {
    Q_OBJECT

private slots:
    void theSelectorAndTheButtonShowAndHideTheEditors();
    void aMonochromeCameraShowsOneEditor();
    void editorButtonsWriteAndReadTheCamerasTables();
    void loadAllReadsEveryTableIntoTheEditors();
    void saveReadsTheCameraFirstAndAsksBeforeReplacing();
    void openTakesAFileOnlyWhenItIsWhole();
    void aStoppedWriteSaysWhereAndWhatTheCameraHolds();
};

void Choose(QComboBox* box, int index) {
    box->setCurrentIndex(index);
    emit box->activated(index);  // what a user's pick in the list emits
}

LutFeature* Feature(MainWindow* window) {
    return window->findChild<LutFeature*>("lutFeature");
}

// The camera's table as it holds it, read past the protocol.
lut::Table CameraTable(ToolUnderTest& tool, int channel) {
    static constexpr const char* kIndexed[] = {"LUTR", "LUTG", "LUTB"};
    lut::Table table{};
    for (int i = 0; i < lut::kEntries; ++i) {
        table[std::size_t(i)] = std::stoi(
            tool.Camera().Value(std::string(kIndexed[channel]) + "?" + std::to_string(i)));
    }
    return table;
}

lut::Tables CameraTables(ToolUnderTest& tool) {
    return {CameraTable(tool, 0), CameraTable(tool, 1), CameraTable(tool, 2)};
}

void Trigger(MainWindow* window, int menuCommand) {
    QAction* action = window->Menu()->Action(menuCommand);
    QVERIFY(action && action->isEnabled());
    action->trigger();
}

QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

void LutFeatureTest::theSelectorAndTheButtonShowAndHideTheEditors() {
    ToolUnderTest tool;
    QVERIFY(tool.CreateSimulated());
    MainWindow* window = tool.Start();
    LutFeature* feature = Feature(window);
    QVERIFY(feature);
    auto* open = qobject_cast<QPushButton*>(window->FindControl(LutFeature::kOpenLutTable));
    auto* selector = qobject_cast<QComboBox*>(window->FindControl(LutFeature::kLutSelector));
    QVERIFY(open && selector);
    QVERIFY(!open->isEnabled());  // the camera starts with the selector "Off"

    Choose(selector, 2);  // "LUT"
    QVERIFY(open->isEnabled());
    for (int c = 0; c < 3; ++c)
        QVERIFY(!feature->Editor(c)->isVisible());
    open->click();
    for (int c = 0; c < 3; ++c) {
        LutEditor* editor = feature->Editor(c);
        QVERIFY(editor->isVisible());
        auto* strip = editor->findChild<StatusStrip*>();
        QVERIFY(strip);
        QCOMPARE(strip->Shown(), 1);  // the camera answered
    }

    for (int off : {1, 0}) {  // "Gamma", "Off"
        Choose(selector, off);
        QVERIFY(!open->isEnabled());
        for (int c = 0; c < 3; ++c)
            QVERIFY(!feature->Editor(c)->isVisible());
        Choose(selector, 2);
        open->click();
        QVERIFY(feature->Editor(1)->isVisible());
    }

    // A read that finds the camera's selector "Off" (a reset, another tool) closes them.
    tool.Camera().SetValue("LUTC", "0");
    window->ReadAllSettings();
    QCOMPARE(ControlKinds::ReadValue(selector), 0);
    for (int c = 0; c < 3; ++c)
        QVERIFY(!feature->Editor(c)->isVisible());
    QVERIFY(!open->isEnabled());
}

void LutFeatureTest::aMonochromeCameraShowsOneEditor() {
    ToolUnderTest tool;
    QVERIFY(tool.CreateSimulated("VK-4100M-PMCL"));
    MainWindow* window = tool.Start();
    LutFeature* feature = Feature(window);
    Choose(qobject_cast<QComboBox*>(window->FindControl(LutFeature::kLutSelector)), 2);
    qobject_cast<QPushButton*>(window->FindControl(LutFeature::kOpenLutTable))->click();
    QVERIFY(!feature->Editor(0)->isVisible());
    QVERIFY(feature->Editor(1)->isVisible());
    QVERIFY(!feature->Editor(2)->isVisible());
    QCOMPARE(feature->Editor(1)->windowTitle(), QString("LUT Setting for Monochrome"));
    feature->ShowEditors(false);
    QVERIFY(!feature->Editor(1)->isVisible());
}

void LutFeatureTest::editorButtonsWriteAndReadTheCamerasTables() {
    ToolUnderTest tool;
    QVERIFY(tool.CreateSimulated());
    MainWindow* window = tool.Start();
    LutFeature* feature = Feature(window);
    feature->ShowEditors(true);
    LutEditor* red = feature->Editor(0);
    LutEditor* green = feature->Editor(1);
    QVERIFY(QTest::qWaitForWindowExposed(red));

    // A curve shaped by a click, written under red.
    const QPoint at = red->View()->Transform().ToWidget(lut::GraphPoint{64, 60}).toPoint();
    QTest::mouseClick(red->View(), Qt::LeftButton, {}, at);
    const lut::Table curve = red->Values();
    QVERIFY(curve != lut::LinearTable());
    const lut::Table greenBefore = CameraTable(tool, 1);
    red->findChild<QPushButton*>("writeTable")->click();
    QCOMPARE(CameraTable(tool, 0), curve);
    QCOMPARE(CameraTable(tool, 1), greenBefore);

    // Read back, with one entry the camera holds above the range.
    tool.Camera().SetValue("LUTR?7", "5000");
    red->findChild<QPushButton*>("readTable")->click();
    QCOMPARE(red->Mode(), lut::EditorMode::View);
    lut::Table expected = curve;
    expected[7] = 4095;
    QCOMPARE(red->Values(), expected);
    // The value beyond the range is named, once, not passed off as the camera's.
    QCOMPARE(tool.ui.messages.size(), std::size_t{1});
    QVERIFY(tool.ui.messages[0].text.find("entry 7 = 5000") != std::string::npos);
    tool.ui.messages.clear();

    // The same table to every channel of the camera; the other editors keep theirs.
    const lut::Table greenEditor = green->Values();
    red->findChild<QPushButton*>("writeAllTables")->click();
    for (int c = 0; c < 3; ++c)
        QCOMPARE(CameraTable(tool, c), expected);
    QCOMPARE(green->Values(), greenEditor);
    QCOMPARE(green->Mode(), lut::EditorMode::Edit);
    QVERIFY(tool.ui.messages.empty());
}

void LutFeatureTest::loadAllReadsEveryTableIntoTheEditors() {
    ToolUnderTest tool;
    QVERIFY(tool.CreateSimulated());
    MainWindow* window = tool.Start();
    LutFeature* feature = Feature(window);
    tool.Camera().SetValue("LUTB?3", "77");
    Trigger(window, kMenuLoadAllLutTable);
    const lut::Tables camera = CameraTables(tool);
    for (int c = 0; c < 3; ++c) {
        QCOMPARE(feature->Editor(c)->Values(), camera[std::size_t(c)]);
        QCOMPARE(feature->Editor(c)->Mode(), lut::EditorMode::View);
    }
    QCOMPARE(feature->Editor(2)->Values()[3], 77);
}

void LutFeatureTest::saveReadsTheCameraFirstAndAsksBeforeReplacing() {
    ToolUnderTest tool;
    QVERIFY(tool.CreateSimulated());
    MainWindow* window = tool.Start();
    LutFeature* feature = Feature(window);
    QTemporaryDir dir;
    const QString path = dir.filePath("gamma.csv");
    QStringList asked;
    feature->chooseFile = [&](bool save, const QString&) {
        asked << (save ? "save" : "open");
        return path;
    };

    tool.Camera().SetValue("LUTG?0", "100");
    Trigger(window, kMenuSaveLutFile);
    QCOMPARE(asked, QStringList{"save"});
    const QByteArray saved = ReadBytes(path);
    QCOMPARE(saved.toStdString(), lut::FormatLutFile(CameraTables(tool)));
    QCOMPARE(feature->Editor(1)->Values()[0], 100);

    // The file exists now: "No" leaves it as it is.
    tool.Camera().SetValue("LUTG?0", "200");
    tool.ui.answers = {false};
    Trigger(window, kMenuSaveLutFile);
    QCOMPARE(tool.ui.questions.size(), std::size_t(1));
    QCOMPARE(tool.ui.questions[0].text,
             path.toStdString() + "\nThis file already exists.\nReplace existing file?");
    QCOMPARE(ReadBytes(path), saved);
    tool.ui.answers = {true};
    Trigger(window, kMenuSaveLutFile);
    QCOMPARE(ReadBytes(path).toStdString(), lut::FormatLutFile(CameraTables(tool)));

    // Edit points would be lost: asked first, and "No" reads and saves nothing.
    feature->Editor(0)->ClearTable();
    tool.Camera().SetValue("LUTG?0", "300");
    tool.ui.questions.clear();
    tool.ui.answers = {false};
    Trigger(window, kMenuSaveLutFile);
    QCOMPARE(tool.ui.questions.size(), std::size_t(1));
    QVERIFY(QString::fromStdString(tool.ui.questions[0].text).contains("edit points"));
    QCOMPARE(feature->Editor(1)->Values()[0], 200);
    QVERIFY(feature->Editor(0)->HasEdits());

    // A camera that does not answer: nothing is asked and nothing saved.
    asked.clear();
    tool.Camera().SetFault({sim::Fault::HangUp});
    Trigger(window, kMenuSaveLutFile);
    QVERIFY(asked.isEmpty());
}

void LutFeatureTest::openTakesAFileOnlyWhenItIsWhole() {
    ToolUnderTest tool;
    QVERIFY(tool.CreateSimulated());
    MainWindow* window = tool.Start();
    LutFeature* feature = Feature(window);
    QTemporaryDir dir;
    const QString good = dir.filePath("gamma für Zeile 3.csv");  // not plain ASCII
    const QString bad = dir.filePath("bad.csv");
    const QString shortFile = dir.filePath("short.csv");
    const QString empty = dir.filePath("empty.csv");
    std::string rows = "1,2,3\r\n5000,0,0\r\n";
    for (int i = 2; i < 256; ++i)
        rows += "7,7,7\r\n";
    WriteBytes(good, QByteArray::fromStdString("GammaData (R G B)\r\n" + rows));
    WriteBytes(bad, "GammaData (R G B)\r\n9,9,9\r\n1,2\r\n");
    WriteBytes(shortFile, QByteArray::fromStdString("GammaData (R G B)\r\n" +
                                                    rows.substr(0, rows.size() - 155 * 7)));
    WriteBytes(empty, "");
    QString next;
    feature->chooseFile = [&](bool, const QString&) { return next; };
    const lut::Table before = feature->Editor(0)->Values();
    tool.Camera().ClearReceivedLines();

    // Each is refused with its line; no table takes any of it.
    for (const QString& file : {bad, shortFile, empty}) {
        next = file;
        Trigger(window, kMenuOpenLutFile);
        QCOMPARE(feature->Editor(0)->Values(), before);
        QCOMPARE(feature->Editor(0)->Mode(), lut::EditorMode::Edit);
    }
    QCOMPARE(tool.ui.MessageTexts(),
             (std::vector<std::string>{
                 bad.toStdString() + "\nInvaild line format: Line(3)",
                 shortFile.toStdString() + "\nToo few data: Line(103): 101 of 256 entries",
                 empty.toStdString() + "\nNo header line \"GammaData (R G B)\": Line(1)"}));

    next = good;
    Trigger(window, kMenuOpenLutFile);
    QCOMPARE(tool.ui.messages.back().text,
             std::string("Invalid data value: Line(3) : Value(5000)"));
    QCOMPARE(tool.ui.messages.back().icon, MessageIcon::Exclamation);
    const int expected[3][2] = {{1, 4095}, {2, 0}, {3, 0}};
    for (int c = 0; c < 3; ++c) {
        const lut::Table& values = feature->Editor(c)->Values();
        QCOMPARE(feature->Editor(c)->Mode(), lut::EditorMode::View);
        QCOMPARE(values[0], expected[c][0]);
        QCOMPARE(values[1], expected[c][1]);
    }
    QCOMPARE(feature->Editor(0)->Values()[2], 7);
    // Opening a file talks to nobody.
    for (const std::string& line : tool.Camera().ReceivedLines())
        QVERIFY2(!line.starts_with("LUT"), line.c_str());
}

void LutFeatureTest::aStoppedWriteSaysWhereAndWhatTheCameraHolds() {
    ToolUnderTest tool;
    QVERIFY(tool.CreateSimulated());
    MainWindow* window = tool.Start();
    LutFeature* feature = Feature(window);
    LutEditor* red = feature->Editor(0);
    auto* write = red->findChild<QPushButton*>("writeTable");
    QVERIFY(write->isEnabled());
    feature->ShowEditors(true);
    QVERIFY(QTest::qWaitForWindowExposed(red));
    const QPoint at = red->View()->Transform().ToWidget(lut::GraphPoint{64, 200}).toPoint();
    QTest::mouseClick(red->View(), Qt::LeftButton, {}, at);
    const lut::Table curve = red->Values();
    const lut::Table before = CameraTable(tool, 0);
    QVERIFY(curve != before);

    // Cancel part-way: the camera holds the new values up to the entry named.
    tool.ui.cancelAfterPumps = tool.ui.pumps + 40;
    write->click();
    QCOMPARE(tool.ui.messages.size(), std::size_t{1});
    const QString cancelled = QString::fromStdString(tool.ui.messages[0].text);
    const QRegularExpressionMatch match =
        QRegularExpression("was cancelled at entry (\\d+) of 256 of the Red table")
            .match(cancelled);
    QVERIFY2(match.hasMatch(), qPrintable(cancelled));
    const int stopped = match.captured(1).toInt();
    QVERIFY(stopped > 0 && stopped < lut::kEntries);
    QVERIFY(cancelled.contains(QString("partly written: entries 0 to %1").arg(stopped - 1)));
    const lut::Table camera = CameraTable(tool, 0);
    for (int i = 0; i < lut::kEntries; ++i) {
        if (i != stopped)
            QCOMPARE(camera[std::size_t(i)], (i < stopped ? curve : before)[std::size_t(i)]);
    }
    tool.ui.cancelAfterPumps = -1;
    tool.ui.messages.clear();

    // Unplugged at entry 62 (the model query and 62 entries answered): one message, and the
    // buttons then say why they cannot work.
    tool.Camera().SetFault({sim::Fault::Unplug, 0, -1, "ERROR", 63});
    write->click();
    QCOMPARE(tool.ui.MessageTexts(),
             std::vector<std::string>{
                 "Writing camera gamma data stopped at entry 62 of 256 of the Red table: the line "
                 "to the camera is gone (unplugged or closed).\nThe camera's Red table is now "
                 "partly written: entries 0 to 61 hold the new values, the others its earlier "
                 "ones."});
    QVERIFY(!tool.ui.progressOpen);
    QVERIFY(!write->isEnabled());
    QVERIFY(write->toolTip().contains("Reconnect"));
}

}  // namespace vk::gui::test

QTEST_MAIN(vk::gui::test::LutFeatureTest)
#include "lut_feature_test.moc"
