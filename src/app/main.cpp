// Kalvoreth: best-fit transformation between measured and nominal 3D point sets.
#include <QApplication>
#include <iostream>

#include "app/KalvorethApp.h"
#include "platform/qt/QtPlatform.h"
#include "shared/AtomicFile.h"
#include "shell/CommandLine.h"
#include "shell/ui/GuardedApplication.h"

int main(int argc, char* argv[]) {
    // --help and --version answer before the toolkit starts, so they need no display.
    const kal::CommandLine line = kal::parseCommandLine(
        argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>());
    if (const auto status = kal::answerCommandLine(line, std::cout, std::cerr)) return *status;

    // Under a file-size limit a write fails with a message instead of ending the program.
    kal::ignoreFileSizeLimitSignal();
    // Every argument is the program's own: the toolkit sees the program's name only.
    int toolkitArgc = argc > 0 ? 1 : 0;
    kal::GuardedApplication app(toolkitArgc, argv);
    QApplication::setApplicationName("Kalvoreth");
    kal::platform::adoptSystemRegionalSettings();

    kal::KalvorethApp program(app);
    program.start(line.operands);
    return app.exec();
}
