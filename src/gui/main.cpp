#include <QApplication>
#include <cstdio>
#include <cstring>
#include <iostream>

#include "app/program_options.h"
#include "app/tool_application.h"
#include "pages/control_list.h"

int main(int argc, char** argv) {
    // Listings and the usage text end at once: no window, no display needed.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--list-controls") == 0) {
            vk::gui::PrintControlList(std::cout);
            return 0;
        }
        if (std::strcmp(argv[i], "--list-items") == 0) {
            vk::gui::PrintItemList(std::cout);
            return 0;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(qPrintable(vk::gui::ProgramUsage()), stdout);
            return 0;
        }
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("VK-4100 Camera Control Tool");
    QApplication::setOrganizationName("Ostra");

    vk::gui::ProgramOptions options;
    QString error;
    // Qt has taken its own arguments out of argv by now.
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    if (!vk::gui::ParseProgramOptions(args, options, error)) {
        std::fprintf(stderr, "vk4100-control-tool: %s\n%s", qPrintable(error),
                     qPrintable(vk::gui::ProgramUsage()));
        return 2;
    }
    vk::gui::ToolApplication tool(options);
    return tool.Run();
}
