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
};

// Parses the arguments after the program name; false with a reason for a bad command line.
bool ParseProgramOptions(const QStringList& args, ProgramOptions& options, QString& error);

QString ProgramUsage();

}  // namespace vk::gui
