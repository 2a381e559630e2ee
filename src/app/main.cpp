// Kalvoreth: best-fit transformation between measured and nominal 3D point sets.
#include <QApplication>

#include "app/KalvorethApp.h"
#include "platform/qt/QtPlatform.h"
#include "shared/AtomicFile.h"
#include "shell/ui/GuardedApplication.h"

int main(int argc, char* argv[]) {
    // Under a file-size limit a write fails with a message instead of ending the program.
    kal::ignoreFileSizeLimitSignal();
    kal::GuardedApplication app(argc, argv);
    QApplication::setApplicationName("Kalvoreth");
    kal::platform::adoptSystemRegionalSettings();

    kal::KalvorethApp program(app);
    program.start(kal::commandLineArguments());
    return app.exec();
}
