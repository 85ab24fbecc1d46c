// The LUT editor window through its real widgets: mouse edits, modes, buttons.
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QtTest>

#include "core/lut/standard_curve.h"
#include "gui/lut/curve_view.h"
#include "gui/lut/lut_editor.h"

namespace vk::gui::test {

class LutEditorTest : public QObject {
    Q_OBJECT

private slots:
    void aClickAddsAPointAndRecomputesTheTable();
    void dragMovesAndRightClickDeletes();
    void viewModeShowsTheTableUntilEditModeReturns();
    void convertEditableUsesThePointCount();
    void cameraButtonsOnlyAskAndOnlyOnline();
    void aLargerWindowScalesTheGraphAndClicksMapBackExactly();
};

QPointF At(const LutEditor& editor, lut::GraphPoint p) {
    return editor.View()->Transform().ToWidget(p);
}

QString ModeText(const LutEditor& editor) {
    return editor.findChild<QLabel*>("modeLabel")->text();
}

void LutEditorTest::aClickAddsAPointAndRecomputesTheTable() {
    LutEditor editor(0);
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    QCOMPARE(editor.windowTitle(), QString("LUT Setting for Red"));
    QCOMPARE(ModeText(editor), QString("Edit Mode"));
    QCOMPARE(editor.Values()[0], 0);
    QVERIFY(std::abs(editor.Values()[128] - 2048) <= 5);

    QSignalSpy edited(&editor, &LutEditor::tableEdited);
    QTest::mouseClick(editor.View(), Qt::LeftButton, {}, At(editor, {128, 40}).toPoint());
    QCOMPARE(edited.count(), 1);
    QCOMPARE(editor.Curve().Points().Count(), 3);
    QCOMPARE(editor.Curve().Points().Points()[1], (lut::GraphPoint{128, 40}));
    QVERIFY(std::abs(editor.Values()[128] - (260 - 40) * 16) <= 16);

    // Outside the graph nothing happens.
    QTest::mouseClick(editor.View(), Qt::LeftButton, {}, QPoint(2, 2));
    QCOMPARE(editor.Curve().Points().Count(), 3);
    QCOMPARE(edited.count(), 1);
}

void LutEditorTest::dragMovesAndRightClickDeletes() {
    LutEditor editor(2);
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    QWidget* view = editor.View();
    QTest::mouseClick(view, Qt::LeftButton, {}, At(editor, {100, 100}).toPoint());

    // Pressed 20 pixels beside the point: it is taken and follows the mouse.
    QTest::mousePress(view, Qt::LeftButton, {}, At(editor, {120, 110}).toPoint());
    QMouseEvent move(QEvent::MouseMove, At(editor, {150, 200}),
                     view->mapToGlobal(At(editor, {150, 200})), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(view, &move);
    QTest::mouseRelease(view, Qt::LeftButton, {}, At(editor, {150, 200}).toPoint());
    QCOMPARE(editor.Curve().Points().Count(), 3);
    QCOMPARE(editor.Curve().Points().Points()[1], (lut::GraphPoint{150, 200}));
    QVERIFY(std::abs(editor.Values()[150] - (260 - 200) * 16) <= 16);

    QTest::mouseClick(view, Qt::RightButton, {}, At(editor, {0, 256}).toPoint());  // an end point
    QCOMPARE(editor.Curve().Points().Count(), 3);
    QTest::mouseClick(view, Qt::RightButton, {}, At(editor, {160, 190}).toPoint());
    QCOMPARE(editor.Curve().Points().Count(), 2);
    QVERIFY(std::abs(editor.Values()[150] - 150 * 16) <= 5);
}

void LutEditorTest::viewModeShowsTheTableUntilEditModeReturns() {
    LutEditor editor(1);
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    const lut::Table gamma = *lut::GammaTable(0.45);
    QSignalSpy edited(&editor, &LutEditor::tableEdited);
    editor.ShowTable(gamma);
    QCOMPARE(edited.count(), 0);
    QCOMPARE(editor.Mode(), lut::EditorMode::View);
    QCOMPARE(ModeText(editor), QString("View Mode"));

    QTest::mouseClick(editor.View(), Qt::LeftButton, {}, At(editor, {128, 200}).toPoint());
    QCOMPARE(editor.Curve().Points().Count(), 3);  // the points change...
    QVERIFY(editor.Values() == gamma);             // ...the table shown does not

    QTest::mouseClick(editor.findChild<QPushButton*>("clearTable"), Qt::LeftButton);
    QCOMPARE(ModeText(editor), QString("Edit Mode"));
    QCOMPARE(editor.Curve().Points().Count(), 2);
    QVERIFY(std::abs(editor.Values()[200] - 3200) <= 5);
    QCOMPARE(edited.count(), 2);
}

void LutEditorTest::convertEditableUsesThePointCount() {
    LutEditor editor(0);
    auto* count = editor.findChild<QSpinBox*>("pointCount");
    QCOMPARE(count->value(), 8);
    editor.ShowTable(*lut::GammaTable(2.2));
    QTest::mouseClick(editor.findChild<QPushButton*>("convertEditable"), Qt::LeftButton);
    QCOMPARE(editor.Mode(), lut::EditorMode::Edit);
    QCOMPARE(editor.Curve().Points().Count(), 8);
    count->setValue(2);
    QTest::mouseClick(editor.findChild<QPushButton*>("convertEditable"), Qt::LeftButton);
    QCOMPARE(editor.Curve().Points().Count(), 2);
}

void LutEditorTest::cameraButtonsOnlyAskAndOnlyOnline() {
    LutEditor editor(0);
    const lut::Table before = editor.Values();
    QSignalSpy read(&editor, &LutEditor::readRequested);
    QSignalSpy write(&editor, &LutEditor::writeRequested);
    QSignalSpy writeAll(&editor, &LutEditor::writeAllRequested);
    // Offline, as an editor starts, they cannot work and say why.
    auto* writeButton = editor.findChild<QPushButton*>("writeTable");
    QVERIFY(!writeButton->isEnabled());
    QVERIFY(writeButton->toolTip().contains("Offline"));
    editor.SetCameraOnline(true);
    QVERIFY(!writeButton->toolTip().contains("Offline"));
    QTest::mouseClick(editor.findChild<QPushButton*>("readTable"), Qt::LeftButton);
    QTest::mouseClick(editor.findChild<QPushButton*>("writeTable"), Qt::LeftButton);
    QTest::mouseClick(editor.findChild<QPushButton*>("writeAllTables"), Qt::LeftButton);
    QCOMPARE(read.count(), 1);
    QCOMPARE(write.count(), 1);
    QCOMPARE(writeAll.count(), 1);
    QVERIFY(editor.Values() == before);
    QCOMPARE(editor.Mode(), lut::EditorMode::Edit);
}

void LutEditorTest::aLargerWindowScalesTheGraphAndClicksMapBackExactly() {
    LutEditor editor(0);
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    const double small = editor.View()->Transform().Scale();
    QCOMPARE(small, 1.0);
    editor.resize(editor.width() + 400, editor.height() + 400);
    QTRY_VERIFY(editor.View()->Transform().Scale() > 1.5);
    for (int x = 0; x <= 256; ++x) {
        for (int y = 0; y <= 256; y += 7) {
            const lut::GraphPoint p{x, y};
            QCOMPARE(editor.View()->Transform().ToGraph(At(editor, p)), p);
        }
    }
    QTest::mouseClick(editor.View(), Qt::LeftButton, {}, At(editor, {77, 123}).toPoint());
    QCOMPARE(editor.Curve().Points().Points()[1], (lut::GraphPoint{77, 123}));
}

}  // namespace vk::gui::test

QTEST_MAIN(vk::gui::test::LutEditorTest)
#include "lut_editor_test.moc"
