// The main window with a job loaded and its graphics windows wired as the program wires them,
// for widget tests of real graphics windows. A test's own fixture derives from it, adds the
// windows it needs as members and wires them in its constructor, then calls show().
#pragma once

#include <QApplication>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>

#include "app/ScreenWindows.h"
#include "platform/FontDialogs.h"
#include "platform/Regional.h"
#include "shared/JobEvents.h"
#include "shared/JobState.h"
#include "shell/ui/FormMain.h"
#include "support/FakePlatform.h"
#include "support/SampleJobs.h"
#include "view3d/ui/FormScreen.h"

namespace kal::testing {

// Font and colour dialogs that are always cancelled.
struct NoFontDialogs : platform::FontDialogs {
    std::optional<platform::FontChoice> chooseFont(const platform::FontChoice&, int) override {
        return std::nullopt;
    }
    std::optional<std::int32_t> chooseColor(std::int32_t) override { return std::nullopt; }
};

struct GraphicsProgram {
    platform::ScopedDecimalSeparator point{'.'};
    JobState job;
    FakePrompter prompter;
    JobEvents events;
    FormMain main{job, prompter};
    ScreenWindows screens{job, events, main, prompter};
    // Whether open() draws the new window at once rather than waiting for its first paint.
    bool renderOnOpen = true;

    explicit GraphicsProgram(JobState loaded = makeDemoJob(KALVORETH_EXAMPLES)) : job(std::move(loaded)) {
        main.setSplashInterval(-1);
        main.resize(1200, 900);
    }
    GraphicsProgram(const GraphicsProgram&) = delete;
    GraphicsProgram& operator=(const GraphicsProgram&) = delete;

    // Called by the deriving fixture once its own windows are wired.
    void show() {
        main.refreshControls();
        main.show();
        QApplication::processEvents();
    }
    FormScreen& open() {
        main.action(Command::GraphicsWindow)->trigger();
        QApplication::processEvents();
        FormScreen& w = *screens.windows().back();
        if (renderOnOpen) w.renderNow();
        return w;
    }
    void run(Command c) {
        main.action(c)->trigger();
        QApplication::processEvents();
    }
};

// Where the point in cloud row `row` was last drawn, in surface pixels.
inline QPoint pixelOf(const FormScreen& w, std::int32_t row) {
    const ViewArrays& a = w.model().arrays;
    return {static_cast<int>(std::lround(a.PixelX[static_cast<std::size_t>(row)])),
            static_cast<int>(std::lround(a.PixelY[static_cast<std::size_t>(row)]))};
}

}  // namespace kal::testing
