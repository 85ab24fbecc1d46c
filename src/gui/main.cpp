#include <QApplication>
#ifdef _WIN32
#include <windows.h>
#endif
#include <cstdio>
#include <cstring>
#include <iostream>

#include "gui/app/program_options.h"
#include "gui/app/tool_application.h"
#include "gui/pages/control_list.h"

int main(int argc, char** argv) {
#ifdef _WIN32
    // A window program has no console of its own: the texts below go to the console it was
    // started from, unless its output is redirected already.
    if (::GetStdHandle(STD_OUTPUT_HANDLE) == nullptr && ::AttachConsole(ATTACH_PARENT_PROCESS)) {
        std::freopen("CONOUT$", "w", stdout);
        std::freopen("CONOUT$", "w", stderr);
    }
#endif
    // Listings, the usage, the version and a wrong command line end here: no window, no
    // display needed.
    QStringList args;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--list-controls") == 0) {
            vk::gui::PrintControlList(std::cout);
            return 0;
        }
        if (std::strcmp(argv[i], "--list-items") == 0) {
            vk::gui::PrintItemList(std::cout);
            return 0;
        }
        args << QString::fromLocal8Bit(argv[i]);
    }
    vk::gui::ProgramOptions options;
    QString error;
    if (!vk::gui::ParseProgramOptions(args, options, error)) {
        std::fprintf(stderr, "vk4100-control-tool: %s\n%s", qPrintable(error),
                     qPrintable(vk::gui::ProgramUsage()));
        return 2;
    }
    if (options.help) {
        std::fputs(qPrintable(vk::gui::ProgramUsage()), stdout);
        return 0;
    }
    if (options.version) {
        std::fputs(qPrintable(vk::gui::ProgramVersion()), stdout);
        return 0;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName("VK-4100 Camera Control Tool");
    QApplication::setOrganizationName("Ostra");
    vk::gui::ToolApplication tool(options);
    return tool.Run();
}
