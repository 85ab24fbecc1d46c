// The XML window in the whole desktop tool against the simulated camera: the page buttons
// download and open the description, Read All Data fills the grid from the registers, and
// an edit in the grid reaches the camera.
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include "core/protocol/command_mnemonics.h"
#include "gui/widgets/status_strip.h"
#include "gui/xml/feature_editor.h"
#include "gui/xml/feature_grid.h"
#include "gui/xml/feature_grid_model.h"
#include "gui/xml/feature_tree.h"
#include "gui/xml/xml_window.h"
#include "gui_test_support.h"
#include "sim/description_standard.h"
#include "sim/description_zip.h"

namespace vk::gui::test {
namespace {

constexpr int kReadFileFromCamera = 4913;
constexpr int kOpenFile = 4914;
constexpr const char* kComplete = "Complete, Please Unzip _download.zip";

int RecordNamed(const FeatureGridModel* model, const std::string& name) {
    const auto& records = model->Table().records;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (!records[i].IsCategory() && records[i].displayName == name) return static_cast<int>(i);
    }
    return -1;
}

QByteArray SimZip() {
    const auto zip = sim::SimDescriptionZip();
    return QByteArray(reinterpret_cast<const char*>(zip.data()),
                      static_cast<qsizetype>(zip.size()));
}

QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class XmlWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void thePageButtonsDownloadAndOpenTheDescription();
    void readAllDataAndAnEditReachTheCamera();
    void aSilentCameraEndsTheDownloadWithATimeOut();
    void aFileThatIsNoDescriptionChangesNothing();
    void anyMakersDescriptionOpensAsAFeatureTree();
    void aHexNumberIsEditedInHexadecimalWithinItsSteps();

private:
    QPushButton* PageButton(int controlId) const;

    std::unique_ptr<ToolUnderTest> tool_;
    std::unique_ptr<QTemporaryDir> folder_;
    MainWindow* window_ = nullptr;
    XmlWindow* xml_ = nullptr;
    QStringList asked_;
};

void XmlWindowTest::init() {
    tool_ = std::make_unique<ToolUnderTest>();
    QVERIFY(tool_->CreateSimulated());
    window_ = tool_->Start();
    xml_ = window_->findChild<XmlWindow*>();
    QVERIFY(xml_);
    folder_ = std::make_unique<QTemporaryDir>();
    xml_->SetDownloadFolder(folder_->path());
    asked_.clear();
    xml_->chooseDescriptionFile = [this](const QString& folder) {
        asked_ << folder;
        return folder_->filePath("_download.zip");
    };
    tool_->ui.messages.clear();
}

void XmlWindowTest::cleanup() {
    tool_.reset();
    folder_.reset();
}

QPushButton* XmlWindowTest::PageButton(int controlId) const {
    return qobject_cast<QPushButton*>(window_->FindControl(controlId));
}

void XmlWindowTest::thePageButtonsDownloadAndOpenTheDescription() {
    QPushButton* download = PageButton(kReadFileFromCamera);
    QPushButton* open = PageButton(kOpenFile);
    QVERIFY(download && open);
    QVERIFY(download->isEnabled());
    QVERIFY(open->isEnabled());
    QVERIFY(!xml_->isVisible());

    download->click();
    QCOMPARE(tool_->ui.MessageTexts(), std::vector<std::string>{std::string(kComplete) + " in " +
                                                                folder_->path().toStdString()});
    QCOMPARE(tool_->ui.messages[0].icon, MessageIcon::Information);
    QCOMPARE(Contents(xml_->DownloadPath()), SimZip());

    open->click();
    QCOMPARE(asked_, QStringList{QDir::currentPath()});
    QVERIFY(xml_->isVisible());
    QCOMPARE(xml_->windowTitle(), QString("XML"));
    QCOMPARE(xml_->OpenedFile(), folder_->filePath("_download.zip"));
    const FeatureGridModel* model = xml_->Grid()->Model();
    QVERIFY(model->SectionCount() >= 4);
    QVERIFY(RecordNamed(model, "Exposure Time") >= 0);
    QVERIFY(xml_->ReadAllButton()->isEnabled());
    QCOMPARE(xml_->findChild<StatusStrip*>()->Shown(), 1);
    QCOMPARE(tool_->ui.messages.size(), std::size_t{1});
}

void XmlWindowTest::readAllDataAndAnEditReachTheCamera() {
    xml_->DownloadDescriptionFile();
    QVERIFY(xml_->OpenFile(folder_->filePath("_download.zip")));
    tool_->ui.messages.clear();
    FeatureGridModel* model = xml_->Grid()->Model();
    const int exposure = RecordNamed(model, "Exposure Time");
    const int pixelFormat = RecordNamed(model, "Pixel Format");
    const int trigger = RecordNamed(model, "Trigger Software");
    QVERIFY(exposure >= 0 && pixelFormat >= 0 && trigger >= 0);

    tool_->Camera().SetValue("PE", "2500");
    tool_->Camera().SetValue("SBS", "1");
    tool_->ui.operations.clear();
    xml_->ReadAllButton()->click();
    QCOMPARE(tool_->ui.operations, std::vector<std::string>{"Reading the camera's registers."});
    QCOMPARE(model->data(model->ValueIndex(exposure)).toString(), QString("2500"));
    QCOMPARE(model->data(model->ValueIndex(pixelFormat)).toString(), QString("Mono 10"));
    QVERIFY(!model->ShownValue(trigger).has_value());  // write only: not read
    for (std::size_t i = 0; i < model->Table().records.size(); ++i) {
        QVERIFY2(model->Failure(static_cast<int>(i)).isEmpty(),
                 model->Table().records[i].displayName.c_str());
    }

    // An edit writes the register at once; the text protocol reads the new value back.
    QVERIFY(model->setData(model->ValueIndex(exposure), 4321));
    std::int32_t pe = 0;
    QVERIFY(tool_->Core()
                .runner
                .Run({"PE"},
                     [&](Operation& op) {
                         const auto asked = op.exchange.QueryInt(Cmd("PE"), 500);
                         pe = asked.value;
                         return asked;
                     })
                .ok());
    QCOMPARE(pe, 4321);

    // A value the camera refuses marks the item and keeps what the camera has.
    tool_->Camera().SetFault({sim::Fault::Silent, 0, 4});  // the write and its 3 resends
    xml_->SetPacketTimeout(200);
    QVERIFY(!model->setData(model->ValueIndex(exposure), 99));
    QVERIFY(model->data(model->ValueIndex(exposure), FeatureGridModel::FailedRole).toBool());
    QCOMPARE(model->Failure(exposure),
             QString("Write failed: no acknowledgement within 200 ms (sent 4 times)"));
    QCOMPARE(tool_->Camera().Value("PE"), std::string("4321"));
    QVERIFY(tool_->ui.messages.empty());
}

void XmlWindowTest::aSilentCameraEndsTheDownloadWithATimeOut() {
    tool_->Camera().SetFault({sim::Fault::Silent});
    xml_->SetPacketTimeout(300);
    QElapsedTimer clock;
    clock.start();
    PageButton(kReadFileFromCamera)->click();
    // A guard against a wait without end, not a measurement.
    QVERIFY(clock.elapsed() < 10000);
    QCOMPARE(tool_->ui.messages.size(), std::size_t{1});
    QCOMPARE(tool_->ui.messages[0].text,
             std::string("Couldn't read the XML file from the camera:\n"
                         "the manifest address at 0x1D0: no acknowledgement within 300 ms "
                         "(sent 4 times)"));
    QCOMPARE(tool_->ui.messages[0].caption, std::string(kCommunicationErrorCaption));
    QVERIFY(!QFile::exists(xml_->DownloadPath()));
    QVERIFY(QDir(folder_->path()).entryList(QDir::Files).isEmpty());
}

void XmlWindowTest::aFileThatIsNoDescriptionChangesNothing() {
    xml_->DownloadDescriptionFile();
    QVERIFY(xml_->OpenFile(xml_->DownloadPath()));
    const int sections = xml_->Grid()->Model()->SectionCount();
    tool_->ui.messages.clear();

    const QString junk = folder_->filePath("junk.zip");
    QFile file(junk);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("PK\x03\x04 this is no zip archive");
    file.close();
    QVERIFY(!xml_->OpenFile(junk));
    QCOMPARE(tool_->ui.messages.size(), std::size_t{1});
    QVERIFY(tool_->ui.messages[0].text.starts_with(junk.toStdString() + "\n"));
    QCOMPARE(tool_->ui.messages[0].icon, MessageIcon::Stop);
    QCOMPARE(xml_->Grid()->Model()->SectionCount(), sections);
    QCOMPARE(xml_->OpenedFile(), xml_->DownloadPath());

    // Cancelling the file choice does nothing at all.
    xml_->chooseDescriptionFile = [](const QString&) { return QString(); };
    PageButton(kOpenFile)->click();
    QCOMPARE(tool_->ui.messages.size(), std::size_t{1});
}

void XmlWindowTest::anyMakersDescriptionOpensAsAFeatureTree() {
    const QString path = folder_->filePath("standard.xml");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::fromStdString(sim::StandardDescriptionXml()));
    file.close();
    QVERIFY(xml_->OpenFile(path));
    FeatureTree* tree = xml_->Tree();
    QCOMPARE(xml_->Tabs()->currentWidget(), tree);  // not in the family's layout

    // Values come as a category opens; Read All Data reads the rest.
    QTreeWidgetItem* gain = tree->ItemOf("Gain");
    QVERIFY(gain && gain->text(FeatureTree::kValue).isEmpty());
    tree->Tree()->expandItem(gain->parent());
    QCOMPARE(gain->text(FeatureTree::kValue), QString("0"));
    QVERIFY(tree->ItemOf("Width")->text(FeatureTree::kValue).isEmpty());
    xml_->ReadAllData();
    QCOMPARE(tree->ItemOf("Width")->text(FeatureTree::kValue), QString("1280"));
    QCOMPARE(tree->ItemOf("Timestamp")->text(FeatureTree::kValue), QString("0x102030405060708"));

    // A selector's change reads again what it selects; a refused value says why.
    QVERIFY(tree->SetValue("GainSelector", "Blue"));
    QCOMPARE(gain->text(FeatureTree::kValue), QString("3"));
    QString reason;
    QVERIFY(!tree->SetValue("Width", "1000", &reason));
    QCOMPARE(reason, QString("1000 is not 16 plus a multiple of 16"));
    QVERIFY(tree->SetValue("ExposureAuto", "Continuous"));
    tree->Refresh(tree->ItemOf("ExposureTime"));
    QVERIFY(tree->ItemOf("ExposureTime")->toolTip(FeatureTree::kValue).contains("not available"));

    // Visibility and search filter the tree.
    QVERIFY(tree->ItemOf("GainRaw")->isHidden());  // Guru
    tree->VisibilityFilter()->setCurrentIndex(2);
    QVERIFY(!tree->ItemOf("GainRaw")->isHidden());
    tree->SearchBox()->setText("gain");
    QVERIFY(tree->ItemOf("Width")->isHidden());
    QVERIFY(tree->ItemOf("Width")->parent()->isHidden());
    QVERIFY(!tree->ItemOf("GainSelector")->isHidden());
    QVERIFY(tool_->ui.messages.size() <= 1);  // the note on the unknown node type at most
    QVERIFY(!tree->NotesButton()->isHidden());
    QCOMPARE(tree->NotesList()->count(), 1);
}

void XmlWindowTest::aHexNumberIsEditedInHexadecimalWithinItsSteps() {
    std::string error;
    auto map = genicam::BuildNodeMap(R"(<RegisterDescription>
        <Integer Name="Mask"><Value>0xF0</Value><Min>0x10</Min><Max>0xFF</Max><Inc>8</Inc>
          <Representation>HexNumber</Representation></Integer></RegisterDescription>)",
                                     error);
    QVERIFY(map);
    QStringList committed;
    std::unique_ptr<QWidget> editor(
        MakeFeatureEditor(nullptr, *map, *map->Find("Mask"), "0xF0",
                          [&](const QString& text) { committed << text; }));
    auto* line = qobject_cast<QLineEdit*>(editor.get());
    QVERIFY(line);
    for (const auto& [key, shown] :
         {std::pair{Qt::Key_Up, "0xF8"}, {Qt::Key_Up, "0xF8"}, {Qt::Key_Down, "0xF0"}}) {
        QTest::keyClick(line, key);
        QCOMPARE(line->text(), QString(shown));
    }
    line->setText("0x");  // not yet a number: nothing is set
    emit line->editingFinished();
    line->setText("-0x1A");
    emit line->editingFinished();
    QCOMPARE(committed, QStringList{"-0x1A"});  // the node map judges the limits
    QCOMPARE(HexText(-26), QString("-0x1A"));
}

}  // namespace vk::gui::test

QTEST_MAIN(vk::gui::test::XmlWindowTest)
#include "xml_window_test.moc"
