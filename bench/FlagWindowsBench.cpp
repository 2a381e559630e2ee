// "put Flag on all visible Points" as the user runs it on a job of 10^5 identical points: a real
// graphics window (1200 x 900) in the main window, its current flag's layout carried to every
// flag, each flag filled with the window's font metrics, then the window's redraw and paint with
// all the flags. One benchmark per placement rule; the question before flags that cannot be read
// is answered "Yes", so the whole run is timed. A flag number is 16-bit, so at most 32767 flags
// are made. Needs the windows (a QApplication on the offscreen platform; main is GridBench.cpp's).
#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>

#include "CubeJob.h"
#include "app/FlagWindows.h"
#include "app/ScreenWindows.h"
#include "shared/JobEvents.h"
#include "shared/JobState.h"
#include "shell/ui/FormMain.h"
#include "view3d/ui/FormScreen.h"

namespace kal {
namespace {

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

struct FlagProgram {
    JobState job;
    YesPrompter prompter;
    JobEvents events;
    FormMain main{job, prompter};
    ScreenWindows screens{job, events, main, prompter};
    NoClipboard clipboard;
    FlagWindows flags{job, events, main, prompter, screens, nullptr, std::make_unique<NoFonts>(), clipboard};
    NoProgress progress;
    NoEvents pump;
    FormScreen* window = nullptr;

    explicit FlagProgram(std::int32_t points) : job(bench::deviationCubeJob(2 * points)) {
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

FlagEditorModel::Applied putAll(FlagPlacement placement) {
    FlagEditorModel::Applied applied;
    applied.putAll = true;
    applied.placement = placement;
    return applied;
}

// The first flag by a click, then the run over every MCS side; timed: the run, its redraw and
// the paint of the window with all its flags.
void BM_PutFlagOnAllVisiblePointsInTheWindow(benchmark::State& state) {
    FlagProgram p(static_cast<std::int32_t>(state.range(0)));
    const auto placement = static_cast<FlagPlacement>(state.range(1));
    std::size_t made = 0;
    for (auto _ : state) {
        state.PauseTiming();
        p.flags.removeFlags(*p.window);
        p.window->model().MouseX = 5, p.window->model().MouseY = 5;
        p.flags.createFlagOnRow(*p.window, 1);
        p.window->renderNow();
        state.ResumeTiming();
        p.flags.putFlagsOnAllVisiblePoints(*p.window, putAll(placement));
        p.window->renderNow();
        made = p.flags.flagsOf(*p.window)->size();
    }
    state.counters["flags"] = static_cast<double>(made);
}
BENCHMARK(BM_PutFlagOnAllVisiblePointsInTheWindow)
    ->ArgNames({"points", "rule"})
    ->Args({100'000, static_cast<int>(FlagPlacement::CloseToPoint)})
    ->Args({100'000, static_cast<int>(FlagPlacement::Radial)})
    ->Args({100'000, static_cast<int>(FlagPlacement::ScreenBorder)})
    ->Args({100'000, static_cast<int>(FlagPlacement::NextToBorder)})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// One redraw and paint of the window after the close rule put its flags.
void BM_RedrawWindowWithFlags(benchmark::State& state) {
    FlagProgram p(static_cast<std::int32_t>(state.range(0)));
    p.window->model().MouseX = 5, p.window->model().MouseY = 5;
    p.flags.createFlagOnRow(*p.window, 1);
    p.flags.putFlagsOnAllVisiblePoints(*p.window, putAll(FlagPlacement::CloseToPoint));
    p.window->renderNow();
    for (auto _ : state) {
        p.window->redraw();
        p.window->renderNow();
    }
    state.counters["flags"] = static_cast<double>(p.flags.flagsOf(*p.window)->size());
}
BENCHMARK(BM_RedrawWindowWithFlags)->Arg(100'000)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kal
