// Setting files in the desktop tool against the simulated camera: the menu items and the
// communication window's buttons, the overwrite question, the comparison before a load,
// the summary after it and the pages afterwards.
#include <QAction>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "gui/app/main_menu.h"
#include "gui/comm/communication_window.h"
#include "gui/comm/setting_file_diff_dialog.h"
#include "gui/comm/setting_file_feature.h"
#include "gui/xml/feature_grid.h"
#include "gui/xml/feature_grid_model.h"
#include "gui/xml/xml_window.h"
#include "gui_test_support.h"

using namespace vk;
using namespace vk::gui;
using vk::gui::test::ToolUnderTest;

namespace {

constexpr ControlId kPe = 1943;
constexpr ControlId kGain = 1218;  // manual gain

QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// The started tool with its setting-file feature choosing `path` for every dialog.
struct FileRig {
    ToolUnderTest tool;
    QTemporaryDir dir;
    MainWindow* window = nullptr;
    SettingFileFeature* feature = nullptr;
    QString path;
    std::vector<SettingFileComparison> comparisons;
    SettingFileFeature::LoadChoice choice = SettingFileFeature::LoadChoice::All;

    bool Start() {
        if (!tool.CreateSimulated()) return false;
        window = tool.Start();
        feature = window->findChild<SettingFileFeature*>("settingFiles");
        if (!feature) return false;
        path = dir.filePath("camera.cam");
        feature->chooseFile = [this](bool, const QString&) { return path; };
        feature->chooseLoad = [this](const QString&, const SettingFileComparison& c) {
            comparisons.push_back(c);
            return choice;
        };
        return true;
    }
    void Trigger(int menuCommand) { window->Menu()->Action(menuCommand)->trigger(); }
    QPushButton* Button(const char* name) {
        return window->Communication()->findChild<QPushButton*>(name);
    }
    int PageValue(ControlId id) {
        auto* spin = qobject_cast<QSpinBox*>(window->FindControl(static_cast<int>(id)));
        return spin ? spin->value() : -1;
    }
    std::vector<std::string> SetsSent() {
        std::vector<std::string> sets;
        for (const std::string& line : tool.Camera().ReceivedLines()) {
            if (line.find('=') != std::string::npos) sets.push_back(line);
        }
        return sets;
    }
};

}  // namespace

class SettingFileFeatureTest : public QObject {
    Q_OBJECT

private slots:
    void menuAndButtonsSaveTheVariantsAndKeepTheFolder();
    void replacingAFileIsAskedFirst();
    void refusedLinesEndInOneSummaryAndAreNotShown();
    void cancellingTheComparisonOrTheChoiceLoadsNothing();
    void aFileThatIsNoSettingFileIsRefusedBeforeAnythingIsSent();
    void differenceDialogNamesPageLabelAndValues();
    void aRegisterWriteLeavesNoStaleValueToSave();
};

void SettingFileFeatureTest::menuAndButtonsSaveTheVariantsAndKeepTheFolder() {
    FileRig rig;
    QVERIFY(rig.Start());
    for (int id : {kMenuOpen, kMenuSaveAllData, kMenuSaveShippingData}) {
        QVERIFY(rig.window->Menu()->Action(id)->isEnabled());
    }
    QVERIFY(rig.Button("writeSettingFile")->isEnabled());
    QVERIFY(rig.Button("readSettingFile")->isEnabled());

    rig.Trigger(kMenuSaveAllData);
    const QByteArray all = Contents(rig.path);
    QVERIFY(all.startsWith("DVW=1000\r\nEM="));  // user mode: no model line
    QVERIFY(!all.contains("FBMTHB="));
    QCOMPARE(std::get<std::string>(rig.tool.settings.values["Camera File Path"]),
             rig.dir.path().toStdString());

    rig.path = rig.dir.filePath("shipping.cam");
    rig.Trigger(kMenuSaveShippingData);
    QVERIFY(Contents(rig.path).startsWith("EM="));

    rig.path = rig.dir.filePath("button.cam");
    rig.Button("writeSettingFile")->click();
    QCOMPARE(Contents(rig.path), all);  // the button saves All Data

    // Each save says how many values it kept and how many page values no file keeps; the
    // rows left out say so in their tooltips.
    const auto lines = all.count("\r\n") - 1;  // without the device-version line
    const QStringList summaries = {QString::fromStdString(rig.tool.ui.messages.at(0).text),
                                   QString::fromStdString(rig.tool.ui.messages.at(2).text)};
    static const QRegularExpression summary(
        "^(\\d+) values saved; ([1-9]\\d*) page values are not kept in setting files$");
    for (const QString& text : summaries) {
        const QRegularExpressionMatch match = summary.match(text);
        QVERIFY2(match.hasMatch(), qPrintable(text));
        QCOMPARE(match.captured(1).toLongLong(), lines);
    }
    QCOMPARE(rig.tool.ui.messages.size(), 3u);
    QVERIFY(!all.contains("\r\nGA="));  // manual gain: not in setting files
    QVERIFY(rig.window->FindControl(kGain)->toolTip().contains("\nNot kept in setting files."));
    QVERIFY(!rig.window->FindControl(kPe)->toolTip().contains("Not kept"));
}

void SettingFileFeatureTest::replacingAFileIsAskedFirst() {
    FileRig rig;
    QVERIFY(rig.Start());
    Write(rig.path, "kept\r\n");
    rig.tool.ui.answers = {false};
    rig.Trigger(kMenuSaveShippingData);
    QCOMPARE(Contents(rig.path), QByteArray("kept\r\n"));
    QCOMPARE(rig.tool.ui.questions.size(), 1u);
    QCOMPARE(rig.tool.ui.questions[0].text,
             rig.path.toStdString() + "\nThis file already exists.\nReplace existing file?");

    rig.tool.ui.answers = {true};
    rig.Trigger(kMenuSaveShippingData);
    QVERIFY(Contents(rig.path).startsWith("EM="));
}

void SettingFileFeatureTest::refusedLinesEndInOneSummaryAndAreNotShown() {
    FileRig rig;
    QVERIFY(rig.Start());
    Write(rig.path, "PE=5\r\nFGA=200\r\nNOSUCH=1\r\n");
    rig.Trigger(kMenuOpen);
    QCOMPARE(rig.SetsSent(), (std::vector<std::string>{"PE=5", "FGA=200"}));
    QCOMPARE(rig.tool.ui.messages.size(), 1u);
    const auto& summary = rig.tool.ui.messages[0];
    QCOMPARE(summary.caption, std::string("Camera setting file"));
    QVERIFY(summary.text.find("line 1: PE=5 (ERROR)") != std::string::npos);
    QVERIFY(summary.text.find("line 3: NOSUCH=1 (unknown command)") != std::string::npos);
    QCOMPARE(rig.PageValue(kPe), 10);  // the camera kept its value, and so does the page
    QCOMPARE(rig.tool.Core().exchange.Values().CameraValue(1220).value_or(-1), 200);
}

void SettingFileFeatureTest::cancellingTheComparisonOrTheChoiceLoadsNothing() {
    FileRig rig;
    QVERIFY(rig.Start());
    Write(rig.path, "PE=2000\r\nFGA=300\r\n");
    rig.choice = SettingFileFeature::LoadChoice::Cancel;
    rig.tool.Camera().ClearReceivedLines();
    rig.Button("readSettingFile")->click();
    QCOMPARE(rig.comparisons.size(), 1u);
    QCOMPARE(rig.comparisons[0].differences.size(), 2u);
    QVERIFY(rig.SetsSent().empty());

    rig.choice = SettingFileFeature::LoadChoice::All;
    rig.tool.ui.cancelAfterPumps = rig.tool.ui.pumps;  // Cancel pressed at once
    rig.Trigger(kMenuOpen);
    QCOMPARE(rig.comparisons.size(), 1u);  // no choice offered after a cancelled comparison
    QVERIFY(rig.SetsSent().empty());
    QCOMPARE(rig.PageValue(kPe), 10);
}

void SettingFileFeatureTest::aFileThatIsNoSettingFileIsRefusedBeforeAnythingIsSent() {
    FileRig rig;
    QVERIFY(rig.Start());
    // A binary file, and an empty one (nothing to load is no load either).
    for (const QByteArray& bytes : {QByteArray("PE=20\n\0\x01\x02", 9), QByteArray()}) {
        Write(rig.path, bytes);
        rig.tool.Camera().ClearReceivedLines();
        rig.tool.ui.messages.clear();
        rig.Trigger(kMenuOpen);
        QVERIFY(rig.tool.Camera().ReceivedLines().empty());
        QVERIFY(rig.comparisons.empty());
        QCOMPARE(rig.tool.ui.messages.size(), 1u);
        QCOMPARE(rig.tool.ui.messages[0].text,
                 rig.path.toStdString() + "\nThis is not a camera setting file.");
        QCOMPARE(rig.PageValue(kPe), 10);
    }
}

void SettingFileFeatureTest::differenceDialogNamesPageLabelAndValues() {
    SettingFileComparison comparison;
    comparison.compared = 7;
    comparison.differences = {{3, "PE", kPe, "2345", "10", true},
                              {5, "DVW", kNoControl, "1001", "", false}};
    SettingFileDiffDialog dialog("/tmp/a.cam", comparison);
    QTableWidget* table = dialog.Table();
    QCOMPARE(table->rowCount(), 2);
    QCOMPARE(table->item(0, 0)->text(), QString("3"));
    QVERIFY(!table->item(0, 1)->text().isEmpty());  // the page of PE
    QVERIFY(!table->item(0, 2)->text().isEmpty());  // its label
    QCOMPARE(table->item(0, 3)->text(), QString("PE"));
    QCOMPARE(table->item(0, 4)->text(), QString("2345"));
    QCOMPARE(table->item(0, 5)->text(), QString("10"));
    QVERIFY(table->item(1, 1)->text().isEmpty());
    QCOMPARE(table->item(1, 5)->text(), QString("(no answer)"));
    QCOMPARE(dialog.findChild<QLabel*>("summary")->text(),
             QString("2 of 7 values in this file differ from the camera."));

    dialog.show();
    dialog.findChild<QPushButton*>("loadDifferences")->click();
    QCOMPARE(dialog.result(), int(SettingFileDiffDialog::LoadDifferences));

    SettingFileDiffDialog same("/tmp/a.cam", SettingFileComparison{});
    QVERIFY(!same.findChild<QPushButton*>("loadDifferences")->isEnabled());
}

void SettingFileFeatureTest::aRegisterWriteLeavesNoStaleValueToSave() {
    FileRig rig;
    QVERIFY(rig.Start());
    auto* xml = rig.window->findChild<XmlWindow*>();
    xml->SetDownloadFolder(rig.dir.path());
    xml->DownloadDescriptionFile();
    QVERIFY(xml->OpenFile(xml->DownloadPath()));
    FeatureGridModel* grid = xml->Grid()->Model();
    int exposure = -1;
    for (std::size_t i = 0; i < grid->Table().records.size(); ++i) {
        if (grid->Table().records[i].displayName == "Exposure Time") exposure = int(i);
    }
    QVERIFY(exposure >= 0);
    QVERIFY(rig.PageValue(kPe) != 4321);

    // Exposure Time written as a register: the page no longer claims the old value...
    QVERIFY(grid->setData(grid->ValueIndex(exposure), 4321));
    QTRY_VERIFY(rig.window->FindControl(static_cast<int>(kPe))->toolTip().contains("not known"));
    QVERIFY(!rig.tool.Core().exchange.Values().CameraValue(kPe));

    // ...and a save reads the camera first, so the file holds what the camera holds.
    rig.tool.ui.messages.clear();
    rig.Trigger(kMenuSaveAllData);
    QVERIFY(Contents(rig.path).contains("\r\nPE=4321\r\n"));
    QCOMPARE(rig.PageValue(kPe), 4321);
    QCOMPARE(rig.tool.ui.messages.size(), 1u);  // the summary alone
}

QTEST_MAIN(SettingFileFeatureTest)
#include "setting_file_feature_test.moc"
