#pragma once

#include <QDialog>
#include <array>

#include "core/lut/curve_editor.h"

class QLabel;
class QPushButton;
class QSpinBox;
class QVBoxLayout;

namespace vk::gui {

class LutCurveView;

// The editor of one channel's LUT: the curve with its edit points, the mode, the buttons
// that make edit points, and the buttons that move the table to and from the camera (they
// only ask; whoever owns the camera does the transfer).
class LutEditor : public QDialog {
    Q_OBJECT
public:
    // channel: 0 red, 1 green, 2 blue.
    explicit LutEditor(int channel, QWidget* parent = nullptr);

    int Channel() const { return channel_; }
    const lut::Table& Values() const { return editor_.Values(); }
    lut::EditorMode Mode() const { return editor_.Mode(); }
    const lut::CurveEditor& Curve() const { return editor_; }
    LutCurveView* View() const { return view_; }

    // A table read from the camera or loaded from a file: shown in View mode.
    void ShowTable(const lut::Table& table);
    // Edit points changed by the user since the last table shown, which ShowTable would drop.
    bool HasEdits() const { return edited_ && editor_.Mode() == lut::EditorMode::Edit; }
    // A monochrome camera has one editor for its one table.
    void SetMonochrome(bool monochrome);
    // The buttons that need the camera work only while it answers; otherwise their
    // tooltips say why.
    void SetCameraOnline(bool online);
    // A strip below everything else (the online status of the tool's windows).
    void AddFooter(QWidget* footer);

    // The buttons "Clear Table Data" and "Convert Editable".
    void ClearTable();
    void ConvertEditable();

signals:
    void readRequested();
    void writeRequested();
    void writeAllRequested();
    // The table changed by an edit, Clear or Convert (not by ShowTable).
    void tableEdited();

private:
    QWidget* BuildModeGroup();
    QWidget* BuildOperationGroup();
    QWidget* BuildEditGroup();
    QWidget* BuildUsageGroup();
    void Refresh();

    int channel_;
    lut::CurveEditor editor_;
    LutCurveView* view_ = nullptr;
    QLabel* modeLabel_ = nullptr;
    QSpinBox* pointCount_ = nullptr;
    bool edited_ = false;
    QVBoxLayout* layout_ = nullptr;
    std::array<QPushButton*, 3> cameraButtons_{};  // read, write, write to all
};

}  // namespace vk::gui
