// Kalvoreth: best-fit transformation between measured and nominal 3D point sets.
#include <QApplication>

#include "platform/qt/QtPlatform.h"
#include "shared/JobState.h"
#include "shell/JobFileCommands.h"
#include "shell/StartUp.h"
#include "shell/ui/FormMain.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Kalvoreth");
    kal::platform::adoptSystemRegionalSettings();

    kal::JobState job;
    kal::platform::QtPrompter prompter;
    kal::platform::QtSystemInfo system;
    kal::FormMain main(job, prompter);
    prompter.setParent(&main);

    // The job commands plug in here; until then a stand-in says what it cannot do.
    kal::JobFileCommandsUnavailable jobFiles(prompter);
    kal::StartUp startUp(job, main, jobFiles, prompter, system);
    main.windowPositions().setWritable([&] { return startUp.settingsWritable(); });
    main.windowPositions().setProblemReporter(
        [&](const std::string& why) { startUp.reportSettingsProblem(why); });
    main.setCloseGuard([&] { return startUp.MDIForm_Unload(); });

    // Qt has taken its own options out of the arguments; the rest, without the program's name.
    std::vector<std::string> arguments;
    const QStringList args = QCoreApplication::arguments();
    for (qsizetype i = 1; i < args.size(); ++i) arguments.push_back(args[i].toStdString());

    startUp.MDIForm_Load(arguments);
    main.show();
    return app.exec();
}
