#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace vk::gui {

// The desktop tool's command line.
struct ProgramOptions {
    // Set when --simulate was given: the model text, or empty for the default model.
    std::optional<QString> simulateModel;
    // A device to use instead of the stored selection.
    std::optional<QString> port;
    bool help = false;
    bool version = false;
};

// Parses the arguments after the program name; false with a reason for a bad command line.
// Qt's own options (-platform offscreen, -style=fusion, ...) are passed over, so that the
// whole command line is judged before any window system is asked for.
bool ParseProgramOptions(const QStringList& args, ProgramOptions& options, QString& error);

QString ProgramUsage();
QString ProgramVersion();

}  // namespace vk::gui
