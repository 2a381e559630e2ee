// The main window with a job of identical points spread through a 1 m cube and one graphics window
// (1200 x 900) wired as the program wires it, flags included, for benchmarks of what the user does
// in the window. Boxes are answered "Yes"; the long-work window and the events are stand-ins.
#pragma once

#include <QAction>
#include <QApplication>

#include "CubeJob.h"
#include "app/ColorBarWindows.h"
#include "app/FlagWindows.h"
#include "app/ScreenWindows.h"
#include "shared/JobEvents.h"
#include "shared/JobState.h"
#include "shell/ui/FormMain.h"
#include "view3d/ui/FormScreen.h"

namespace kal::bench {

// Says "Yes" to every question and records nothing: the benchmark never blocks on a box.
struct YesPrompter : platform::Prompter {
    platform::Answer showMessage(const std::string&, platform::Buttons buttons, const std::string&,
                                 platform::Icon) override {
        return buttons == platform::Buttons::YesNo || buttons == platform::Buttons::YesNoCancel
                   ? platform::Answer::Yes
                   : platform::Answer::Ok;
    }
    int showCustom(const std::string&, const std::string&, const std::vector<std::string>&) override {
        return 1;
    }
    std::optional<std::string> showInput(const std::string&, const std::string&,
                                         const std::string& text) override {
        return text;
    }
};
struct NoFonts : platform::FontDialogs {
    std::optional<platform::FontChoice> chooseFont(const platform::FontChoice&, int) override { return {}; }
    std::optional<std::int32_t> chooseColor(std::int32_t) override { return {}; }
};
struct NoClipboard : platform::Clipboard {
    void clear() override {}
    void setText(const std::string&) override {}
    std::string text() const override { return {}; }
};
struct NoProgress : platform::Progress {
    void open(const std::string&) override {}
    void setValue(int) override {}
    bool stopRequested() const override { return false; }
    void close() override {}
};
struct NoEvents : platform::EventPump {
    void processEvents() override {}
};

struct LargeJobWindow {
    JobState job;
    YesPrompter prompter;
    JobEvents events;
    FormMain main{job, prompter};
    ScreenWindows screens{job, events, main, prompter};
    NoClipboard clipboard;
    ColorBarWindows colourBar{job, main, prompter, screens};  // the tolerance colouring of every frame
    FlagWindows flags{job, events, main, prompter, screens, nullptr, std::make_unique<NoFonts>(), clipboard};
    NoProgress progress;
    NoEvents pump;
    FormScreen* window = nullptr;

    explicit LargeJobWindow(std::int32_t points) : job(deviationCubeJob(2 * points)) {
        job.DataLoaded = true;
        job.LengthUnitName = "millimeter", job.AngleUnitName = "degree";
        job.DigitLength = 3, job.DigitAngle = 4;
        main.setSplashInterval(-1);
        main.resize(1400, 1100);
        main.refreshControls();
        main.show();
        QApplication::processEvents();
        main.action(Command::GraphicsWindow)->trigger();
        QApplication::processEvents();
        window = screens.windows().back();
        window->parentWidget()->resize(1200, 900);
        QApplication::processEvents();
        window->renderNow();
        flags.setLongWork(progress, pump, std::chrono::milliseconds(50));
    }
};

}  // namespace kal::bench
