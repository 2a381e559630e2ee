// Kalvoreth: best-fit transformation between measured and nominal 3D point sets.
#include <QApplication>
#include <QGuiApplication>

#include "platform/qt/QtPlatform.h"
#include "shared/JobState.h"
#include "shell/ui/FormMain.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Kalvoreth");
    kal::platform::adoptSystemRegionalSettings();

    kal::JobState job;
    job.CurrentJobFile = "..\\default.tfo";
    kal::FormMain main(job);
    main.show();
    return app.exec();
}
