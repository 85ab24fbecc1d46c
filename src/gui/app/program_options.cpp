#include "gui/app/program_options.h"

#include <array>

#include "core/simulator_availability.h"
#include "gui/app/app_texts.h"

namespace vk::gui {
namespace {

struct QtOption {
    const char* name;
    bool takesValue;
};

// The options QGuiApplication and QApplication take out of the command line themselves.
constexpr std::array<QtOption, 18> kQtOptions = {{
    {"platform", true},
    {"platformpluginpath", true},
    {"platformtheme", true},
    {"plugin", true},
    {"qmljsdebugger", true},
    {"qwindowgeometry", true},
    {"qwindowicon", true},
    {"qwindowtitle", true},
    {"session", true},
    {"display", true},
    {"geometry", true},
    {"style", true},
    {"stylesheet", true},
    {"reverse", false},
    {"widgetcount", false},
    {"nograb", false},
    {"dograb", false},
    {"sync", false},
}};

// How many arguments a Qt option at `args[i]` takes up (0: not one of Qt's).
int QtOptionLength(const QStringList& args, int i) {
    QString a = args[i];
    if (!a.startsWith('-')) return 0;
    a = a.mid(a.startsWith("--") ? 2 : 1);
    for (const QtOption& option : kQtOptions) {
        const QString name = option.name;
        if (a == name) return option.takesValue && i + 1 < args.size() ? 2 : 1;
        if (option.takesValue && a.startsWith(name + "=")) return 1;
    }
    return 0;
}

}  // namespace

bool ParseProgramOptions(const QStringList& args, ProgramOptions& options, QString& error) {
    options = {};
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == "--help" || a == "-h") {
            options.help = true;
        } else if (a == "--version") {
            options.version = true;
        } else if (a == "--simulate") {
            options.simulateModel = QString();
        } else if (a.startsWith("--simulate=")) {
            options.simulateModel = a.mid(11);
            if (options.simulateModel->isEmpty()) {
                error = "--simulate= needs a model text";
                return false;
            }
        } else if (a == "--port" || a.startsWith("--port=")) {
            const bool inline_ = a.startsWith("--port=");
            if (!inline_ && i + 1 >= args.size()) {
                error = "--port needs a device path";
                return false;
            }
            options.port = inline_ ? a.mid(7) : args[++i];
            if (options.port->isEmpty()) {
                error = "--port needs a device path";
                return false;
            }
        } else if (const int length = QtOptionLength(args, i); length > 0) {
            i += length - 1;
        } else {
            error = "unknown argument: " + a;
            return false;
        }
    }
    if (options.port && options.simulateModel) {
        error = "--port and --simulate exclude each other";
        return false;
    }
#ifndef VK_HAVE_SIMULATOR
    if (options.simulateModel) {
        error = kNoSimulatorText;
        return false;
    }
#endif
    return true;
}

QString ProgramUsage() {
    return "usage: vk4100-control-tool [--simulate[=MODEL] | --port PATH]\n"
           "       vk4100-control-tool --help | --version\n"
           "\n"
           "  --simulate[=MODEL]  start a simulated camera in-process and use it\n"
           "                      (model VK-4100C-PMCL unless one is named)\n"
           "  --port PATH         use this serial device instead of the stored selection\n"
           "  --list-controls     print every page control (page, group, id, kind, label)\n"
           "  --list-items        print the items of every list (id, value, text)\n"
           "  --help, -h          show this text\n"
           "  --version           show the version\n"
           "\n"
           "Qt's own options (-platform, -style, ...) are taken as usual.\n";
}

QString ProgramVersion() {
    return QString("vk4100-control-tool %1\n").arg(kVersionText);
}

}  // namespace vk::gui
