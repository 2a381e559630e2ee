// Kalvoreth: best-fit transformation between measured and nominal 3D point sets.
#include <QApplication>

#include "platform/qt/QtPlatform.h"
#include "shared/IniFile.h"
#include "shared/JobState.h"
#include "shell/JobCommands.h"
#include "shell/StartUp.h"
#include "shell/ui/FormMain.h"
#include "shell/ui/GuardedApplication.h"
#include "shell/ui/MainJobWindow.h"

int main(int argc, char* argv[]) {
    kal::GuardedApplication app(argc, argv);
    QApplication::setApplicationName("Kalvoreth");
    kal::platform::adoptSystemRegionalSettings();

    kal::JobState job;
    kal::platform::QtPrompter prompter;
    kal::platform::QtSystemInfo system;
    kal::FormMain main(job, prompter);
    prompter.setParent(&main);
    app.setPrompter(&prompter);

    // The job commands: the File menu, the command line's job and the save on the way out.
    kal::platform::QtFileDialogs fileDialogs(&main);
    kal::MainJobWindow jobWindow(main, job);
    kal::StartUp* started = nullptr;
    kal::SettingsWriter settings = [&](const std::string& section, const kal::SettingsKeys& keys) {
        if (!started || !started->settingsWritable()) return;  // no settings file this run
        std::vector<kal::IniEntry> entries;
        for (const auto& [key, value] : keys) entries.push_back({section, key, value});
        kal::IniWriteValues(job.IniFilePath, entries);
    };
    kal::JobCommands jobFiles(job, prompter, fileDialogs, jobWindow, settings);
    kal::connectJobCommands(main, jobFiles);
    kal::StartUp startUp(job, main, jobFiles, prompter, system);
    started = &startUp;
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
