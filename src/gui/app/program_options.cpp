#include "app/program_options.h"

namespace vk::gui {

bool ParseProgramOptions(const QStringList& args, ProgramOptions& options, QString& error) {
    options = {};
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == "--help" || a == "-h") {
            options.help = true;
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
        } else {
            error = "unknown argument: " + a;
            return false;
        }
    }
    if (options.port && options.simulateModel) {
        error = "--port and --simulate exclude each other";
        return false;
    }
    return true;
}

QString ProgramUsage() {
    return "usage: vk4100-control-tool [--simulate[=MODEL] | --port PATH]\n"
           "\n"
           "  --simulate[=MODEL]  start a simulated camera in-process and use it\n"
           "                      (model VK-4100C-PMCL unless one is named)\n"
           "  --port PATH         use this serial device instead of the stored selection\n"
           "  --list-controls     print every page control (page, group, id, kind, label)\n"
           "  --list-items        print the items of every list (id, value, text)\n"
           "  --help              show this text\n";
}

}  // namespace vk::gui
