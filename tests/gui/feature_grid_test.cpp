// The XML window's property grid over the simulated camera's own description, its values
// read and written through GenCP packets to an in-process simulated camera.
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QSpinBox>
#include <QTreeView>
#include <QtTest>

#include "core/genicam/description_file.h"
#include "gui/xml/feature_grid.h"
#include "gui/xml/feature_grid_model.h"
#include "sim/camera_model.h"
#include "sim/description_zip.h"
#include "support/sim_register_port.h"

namespace vk::gui::test {

class FeatureGridTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void showsASectionPerCategoryAndAnItemPerFeature();
    void onlyWritableFeaturesCanBeEdited();
    void editorsFollowTheFeaturesKind();
    void valuesAreShownByTheirKind();
    void anEditWritesTheRegisterAtOnce();
    void aRefusedWriteIsShownAndKeepsTheCamerasValue();
    void theCommandButtonRunsTheCommand();

private:
    int Record(const QString& name) const;
    QWidget* OpenEditor(int record);

    sim::CameraModel* camera_ = nullptr;
    vk::test::SimRegisterPort* port_ = nullptr;
    FeatureGrid* grid_ = nullptr;
    FeatureTable table_;
};

void FeatureGridTest::init() {
    const DescriptionText text = XmlFromZip(sim::SimDescriptionZip());
    QVERIFY(text.ok);
    DescriptionParse parse = ParseDescription(text.text);
    QVERIFY(parse.ok);
    table_ = parse.table;
    camera_ = new sim::CameraModel();
    port_ = new vk::test::SimRegisterPort(*camera_);
    grid_ = new FeatureGrid();
    grid_->SetPort(port_);
    grid_->SetTable(table_);
    grid_->resize(520, 460);
    grid_->show();
    QVERIFY(QTest::qWaitForWindowExposed(grid_));
}

void FeatureGridTest::cleanup() {
    delete grid_;
    delete port_;
    delete camera_;
}

int FeatureGridTest::Record(const QString& name) const {
    for (std::size_t i = 0; i < table_.records.size(); ++i) {
        if (QString::fromStdString(table_.records[i].displayName) == name)
            return static_cast<int>(i);
    }
    return -1;
}

QWidget* FeatureGridTest::OpenEditor(int record) {
    QTreeView* view = grid_->View();
    const QModelIndex index = grid_->Model()->ValueIndex(record);
    view->setCurrentIndex(index);  // opens the editor of an editable cell
    return view->indexWidget(index);
}

void FeatureGridTest::showsASectionPerCategoryAndAnItemPerFeature() {
    FeatureGridModel* model = grid_->Model();
    QStringList sections;
    QStringList features;
    for (int s = 0; s < model->rowCount(); ++s) {
        const QModelIndex section = model->index(s, 0);
        sections << section.data().toString();
        QVERIFY(grid_->View()->isExpanded(section));
        QVERIFY(grid_->View()->isFirstColumnSpanned(s, {}));
        for (int f = 0; f < model->rowCount(section); ++f) {
            features << model->index(f, 0, section).data().toString();
        }
    }
    QCOMPARE(sections, (QStringList{"Root", "Device Control", "Image Format Control",
                                    "Acquisition Control", "Analog Control"}));
    QCOMPARE(features, (QStringList{"Device User ID", "Device Temperature", "Pixel Format",
                                    "Defect Pixel Correction", "Exposure Time",
                                    "Exposure Time (float)", "Trigger Software", "Gain"}));

    // Rebuilding clears what was there.
    FeatureTable one;
    one.records.resize(1);
    one.records[0].flags = feature_flags::kReadable;
    grid_->SetTable(one);
    QCOMPARE(model->rowCount(), 1);
    QCOMPARE(model->index(0, 0).data().toString(), QString("(no category)"));
    QCOMPARE(model->rowCount(model->index(0, 0)), 1);
    QCOMPARE(model->index(0, 0, model->index(0, 0)).data().toString(), QString("???"));
}

void FeatureGridTest::onlyWritableFeaturesCanBeEdited() {
    FeatureGridModel* model = grid_->Model();
    for (std::size_t i = 0; i < table_.records.size(); ++i) {
        const FeatureRecord& r = table_.records[i];
        if (r.IsCategory()) continue;
        const QModelIndex value = model->ValueIndex(static_cast<int>(i));
        QCOMPARE(value.flags().testFlag(Qt::ItemIsEditable), r.Writable());
        QVERIFY(!value.siblingAtColumn(0).flags().testFlag(Qt::ItemIsEditable));
    }
    const int temperature = Record("Device Temperature");
    QVERIFY(OpenEditor(temperature) == nullptr);
    QVERIFY(!model->setData(model->ValueIndex(temperature), 20.0));
    QVERIFY(camera_->Value("TMP0") == "38");
}

void FeatureGridTest::editorsFollowTheFeaturesKind() {
    auto* exposure = qobject_cast<QSpinBox*>(OpenEditor(Record("Exposure Time")));
    QVERIFY(exposure);
    QCOMPARE(exposure->minimum(), 10);
    QCOMPARE(exposure->maximum(), 8000000);
    auto* gain = qobject_cast<QSpinBox*>(OpenEditor(Record("Gain")));
    QVERIFY(gain);
    QCOMPARE(gain->minimum(), -84);
    auto* real = qobject_cast<QDoubleSpinBox*>(OpenEditor(Record("Exposure Time (float)")));
    QVERIFY(real);
    QCOMPARE(real->decimals(), 4);
    auto* text = qobject_cast<QLineEdit*>(OpenEditor(Record("Device User ID")));
    QVERIFY(text);
    QCOMPARE(text->maxLength(), 16);
    auto* combo = qobject_cast<QComboBox*>(OpenEditor(Record("Pixel Format")));
    QVERIFY(combo);
    QCOMPARE(combo->count(), 3);
    QCOMPARE(combo->itemText(2), QString("Mono 12"));
    auto* boolean = qobject_cast<QComboBox*>(OpenEditor(Record("Defect Pixel Correction")));
    QVERIFY(boolean);
    QCOMPARE(boolean->itemText(1), QString("TRUE"));
    QVERIFY(OpenEditor(Record("Trigger Software")) == nullptr);
}

void FeatureGridTest::valuesAreShownByTheirKind() {
    FeatureGridModel* model = grid_->Model();
    camera_->SetValue("PE", "1500");
    camera_->SetValue("UD", "Line 3");
    camera_->SetValue("SBS", "7");  // no entry has it
    camera_->SetValue("DPS", "1");
    for (std::size_t i = 0; i < table_.records.size(); ++i) {
        if (table_.records[i].Readable()) QVERIFY(model->ReadRecord(static_cast<int>(i)));
    }
    const auto shown = [&](const char* name) {
        return model->ValueIndex(Record(name)).data().toString();
    };
    QCOMPARE(shown("Exposure Time"), QString("1500"));
    QCOMPARE(shown("Exposure Time (float)"), QString("1500.0000"));
    QCOMPARE(shown("Device Temperature"), QString("38.0000"));
    QCOMPARE(shown("Device User ID"), QString("Line 3"));
    QCOMPARE(shown("Pixel Format"), QString("-1"));
    QCOMPARE(model->ValueIndex(Record("Pixel Format")).data(Qt::EditRole).toInt(), -1);
    QCOMPARE(shown("Defect Pixel Correction"), QString("TRUE"));
    QCOMPARE(shown("Trigger Software"), QString("Execute"));
    QVERIFY(!model->ReadRecord(Record("Trigger Software")));  // write-only: nothing to read

    if (const QByteArray dir = qgetenv("VK_SCREENSHOT_DIR"); !dir.isEmpty()) {
        model->ShowFailure(Record("Gain"), "Write failed: status 0x8002 Invalid parameter");
        grid_->View()->setCurrentIndex(model->ValueIndex(Record("Exposure Time")));
        QVERIFY(grid_->grab().save(QString::fromLocal8Bit(dir) + "/xml-feature-grid.png"));
    }
}

void FeatureGridTest::anEditWritesTheRegisterAtOnce() {
    FeatureGridModel* model = grid_->Model();
    auto* exposure = qobject_cast<QSpinBox*>(OpenEditor(Record("Exposure Time")));
    QVERIFY(exposure);
    exposure->selectAll();
    QTest::keyClicks(exposure, "25000");
    QTest::keyClick(exposure, Qt::Key_Return);  // the view commits on its next turn
    QTRY_COMPARE(camera_->Value("PE"), std::string("25000"));
    QCOMPARE(model->ValueIndex(Record("Exposure Time")).data().toString(), QString("25000"));

    auto* combo = qobject_cast<QComboBox*>(OpenEditor(Record("Pixel Format")));
    QVERIFY(combo);
    combo->setCurrentIndex(2);
    emit combo->activated(2);
    QCOMPARE(camera_->Value("SBS"), std::string("2"));

    auto* text = qobject_cast<QLineEdit*>(OpenEditor(Record("Device User ID")));
    QVERIFY(text);
    text->setText("Cam 7");
    QTest::keyClick(text, Qt::Key_Return);
    QTRY_COMPARE(camera_->Value("UD"), std::string("Cam 7"));

    QVERIFY(model->setData(model->ValueIndex(Record("Exposure Time (float)")), 123.6));
    QCOMPARE(camera_->Value("PE"), std::string("124"));
}

void FeatureGridTest::aRefusedWriteIsShownAndKeepsTheCamerasValue() {
    FeatureGridModel* model = grid_->Model();
    const int exposure = Record("Exposure Time");
    camera_->SetValue("PE", "500");
    QVERIFY(model->ReadRecord(exposure));
    const QModelIndex value = model->ValueIndex(exposure);

    QVERIFY(!model->setData(value, 3));  // below the camera's minimum: refused by the camera
    QCOMPARE(camera_->Value("PE"), std::string("500"));
    QCOMPARE(value.data().toString(), QString("500"));
    QVERIFY(value.data(FeatureGridModel::FailedRole).toBool());
    QCOMPARE(value.data(Qt::ToolTipRole).toString(),
             QString("Write failed: status 0x8002 Invalid parameter"));
    QVERIFY(value.siblingAtColumn(0).data(Qt::DecorationRole).isValid());

    QVERIFY(model->setData(value, 600));  // the next success clears the mark
    QVERIFY(!value.data(FeatureGridModel::FailedRole).toBool());
    QCOMPARE(value.data().toString(), QString("600"));

    grid_->SetPort(nullptr);
    QVERIFY(!model->setData(value, 700));
    QCOMPARE(value.data(Qt::ToolTipRole).toString(), QString("No camera connection"));
}

void FeatureGridTest::theCommandButtonRunsTheCommand() {
    QTreeView* view = grid_->View();
    const QModelIndex button = grid_->Model()->ValueIndex(Record("Trigger Software"));
    view->scrollTo(button);
    const QRect cell = view->visualRect(button);
    QVERIFY(cell.isValid());
    QCOMPARE(camera_->Value("STRG"), std::string("0"));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.topLeft() + QPoint(10, 6));
    QCOMPARE(camera_->Value("STRG"), std::string("1"));
    QVERIFY(!button.data(FeatureGridModel::FailedRole).toBool());
}

}  // namespace vk::gui::test

QTEST_MAIN(vk::gui::test::FeatureGridTest)
#include "feature_grid_test.moc"
