#include "app/ScreenNavigationWindows.h"

#include "view3d/ui/ScreenNavigationInput.h"

namespace kal {

ScreenNavigationWindows::ScreenNavigationWindows(JobState& job, ScreenWindows& screens,
                                                 std::unique_ptr<platform::FontDialogs> colours)
    : job_(job), screens_(screens), colours_(std::move(colours)) {
    openedListener_ = screens_.addWindowOpened([this](FormScreen& window) { attach(window); });
}

ScreenNavigationWindows::~ScreenNavigationWindows() { screens_.removeWindowOpened(openedListener_); }

ScreenNavigationInput* ScreenNavigationWindows::of(FormScreen& window) {
    return dynamic_cast<ScreenNavigationInput*>(window.input());
}

void ScreenNavigationWindows::attach(FormScreen& window) {
    auto* input = new ScreenNavigationInput(window);  // a child of the window
    input->setScene(&window.model().cloud, job_.IdenticalCount);
    input->setIdenticalCountSource([this] { return job_.IdenticalCount; });
    input->lengthUnit = [this] {
        return std::pair<double, std::string>(job_.LengthFactor, job_.LengthFormat);
    };
    input->pointPicked = [this, &window](std::int32_t row) {
        const PointCloud& cloud = window.model().cloud;
        screens_.session().SelectedPointName =
            row >= 1 && row <= cloud.count() ? cloud.name(row) : std::string();
        if (picked_) picked_(window, screens_.session().SelectedPointName);
        // The picked point is ringed in every window.
        for (FormScreen* each : screens_.windows()) each->redraw();
    };
    input->analyseProjection = [this, &window] {
        return projectionInputs(job_, surfaceOf(window.model()), true);
    };
    input->chooseColour = [this](StoredColour current) -> std::optional<StoredColour> {
        if (!colours_) return std::nullopt;
        return colours_->chooseColor(current);
    };
}

}  // namespace kal
