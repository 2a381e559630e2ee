#include "annotation/FlagLayout.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>
#include <optional>
#include <vector>

namespace kal {

namespace {

bool shownAndVisible(const PointCloud& cloud, std::int32_t row) {
    return cloud(row, cloud::Shown) != 0 && cloud(row, cloud::Visible) != 0;
}

bool isCandidate(const PointCloud& cloud, std::int32_t row, std::int32_t n) {
    return shownAndVisible(cloud, row) && !(row > n && row <= 2 * n);
}

int startCell(double mouse, int size, int count) {
    if (size <= 0 || !std::isfinite(mouse)) return 1;
    const double cell = std::floor(mouse / size) + 1;
    return static_cast<int>(std::clamp(cell, 1.0, static_cast<double>(std::max(count, 1))));
}

bool insidePicture(const FlagLayoutInput& in, const ViewArrays& view, std::int32_t row) {
    const float x = view.PixelX[static_cast<std::size_t>(row)],
                y = view.PixelY[static_cast<std::size_t>(row)];
    return x >= 0 && y >= 0 && x <= static_cast<float>(in.surfaceWidth) &&
           y <= static_cast<float>(in.surfaceHeight);
}

// The run's long-work window. The progress window opens at the first look at the clock, so a
// run that ends within one interval shows none; from then on the bar follows the candidates
// examined and events pass at most every interval. Stop can only have been pressed while events
// passed, so it is asked for then.
class RunWindow {
  public:
    RunWindow(const FlagRunServices& services, std::int64_t candidates)
        : services_(services), candidates_(std::max<std::int64_t>(candidates, 1)), last_(Clock::now()) {}

    // Before the next candidate, `done` of them examined: true when the user asked to stop.
    bool stopAfter(std::int64_t done) {
        const Clock::time_point now = Clock::now();
        if (now - last_ < services_.interval) return false;
        last_ = now;
        if (!window_) window_.emplace(services_.progress, kFlagRunCaption);
        window_->setValue(static_cast<int>(100 * done / candidates_));
        if (services_.events) services_.events->processEvents();
        return window_->stopRequested();
    }

  private:
    using Clock = std::chrono::steady_clock;
    const FlagRunServices& services_;
    std::int64_t candidates_;
    Clock::time_point last_;
    std::optional<platform::ProgressScope> window_;
};

}  // namespace

std::string tooManyFlagsQuestion(std::int64_t flags, std::int64_t legible) {
    return "This would put " + std::to_string(flags) + " flags into a picture that has room for " +
           std::to_string(legible) +
           " flags side by side: the flags would cover one another and could not be read.\n\n"
           "Put the flags all the same?";
}

std::int64_t legibleFlagCount(const FlagLayoutInput& in) {
    const FlagCellGrid g = flagCellGrid(in);
    return static_cast<std::int64_t>(std::max(g.columns, 0)) * std::max(g.rows, 0);
}

std::int64_t flagsOfRun(const FlagLayoutInput& in, const PointCloud& cloud, const ViewArrays& view) {
    const std::int32_t count = std::min(cloud.count(), view.rows());
    const std::int32_t step = std::max(in.flagOnEvery, 1);
    std::int64_t flags = 0;
    for (std::int32_t i = 1; i <= count; i += step)
        if (isCandidate(cloud, i, in.identicalCount) && insidePicture(in, view, i)) ++flags;
    return flags;
}

FlagCellGrid flagCellGrid(const FlagLayoutInput& in) {
    FlagCellGrid g;
    g.columns = in.flagWidth > 0 ? in.surfaceWidth / in.flagWidth : 0;
    g.rows = in.flagHeight > 0 ? in.surfaceHeight / in.flagHeight : 0;
    g.borderWidth = in.surfaceWidth - 15;
    g.borderHeight = in.surfaceHeight - 10;
    return g;
}

FlagLayoutOutcome putFlagsOnAllPoints(const FlagLayoutInput& given, const PointCloud& cloud,
                                      const ViewArrays& view, const PutFlagAt& putFlag,
                                      const FlagRunServices& services, const FlagSizeOfRow& sizeOfRow) {
    FlagLayoutOutcome outcome;
    const std::int32_t count = std::min(cloud.count(), view.rows());
    const bool borderRule =
        given.placement == FlagPlacement::ScreenBorder || given.placement == FlagPlacement::NextToBorder;
    const bool sizing = borderRule && static_cast<bool>(sizeOfRow);

    // The bar follows the candidates: the rows that cost a flag each (the others are passed
    // over at once), after the flags measured for the cells' size.
    std::int64_t candidates = 0, measured = 0, examined = 0;
    const std::int32_t step = std::max(given.flagOnEvery, 1);
    const std::int32_t candidateStep = given.placement == FlagPlacement::NextToBorder ? 1 : step;
    for (std::int32_t i = 1; i <= count; i += candidateStep)
        if (isCandidate(cloud, i, given.identicalCount)) ++candidates;
    if (sizing)
        for (std::int32_t i = 1; i <= count; ++i)
            if (isCandidate(cloud, i, given.identicalCount) && insidePicture(given, view, i)) ++measured;
    RunWindow window(services, measured + candidates);

    FlagLayoutInput in = given;
    if (sizing) {
        // Only rows inside the picture can get a flag; the others need no measure.
        for (std::int32_t i = 1; i <= count; ++i) {
            if (!isCandidate(cloud, i, in.identicalCount) || !insidePicture(in, view, i)) continue;
            if (window.stopAfter(examined++)) {
                outcome.stopped = true;
                return outcome;
            }
            const FlagSize size = sizeOfRow(i);
            in.flagWidth = std::max(in.flagWidth, size.width);
            in.flagHeight = std::max(in.flagHeight, size.height);
        }
    }

    const FlagCellGrid g = flagCellGrid(in);
    const double Wb = g.borderWidth, Hb = g.borderHeight;
    const double fw = in.flagWidth, fh = in.flagHeight;
    FlagCells cells(g.columns, g.rows);

    double cx = 0, cy = 0;
    std::int32_t centreRows = 0;
    for (std::int32_t i = 1; i <= count; ++i) {
        if (!shownAndVisible(cloud, i)) continue;
        cx += view.PixelX[static_cast<std::size_t>(i)];
        cy += view.PixelY[static_cast<std::size_t>(i)];
        ++centreRows;
    }
    if (centreRows == 0) return outcome;  // nothing is visible: no candidate either
    cx /= centreRows;
    cy /= centreRows;

    if (borderRule && (g.columns < 1 || g.rows < 1)) {
        outcome.screenFull = true;  // the flag is larger than the picture
        return outcome;
    }
    // The border rules put flags only into free cells, so whatever they put can be read; the
    // close and radial rules put a flag on every candidate, overlapping or not.
    if (!borderRule && services.prompter) {
        const std::int64_t flags = flagsOfRun(in, cloud, view), legible = legibleFlagCount(in);
        if (flags > legible &&
            services.prompter->message(tooManyFlagsQuestion(flags, legible), platform::Buttons::YesNo, {},
                                       platform::Icon::Question) != platform::Answer::Yes) {
            outcome.declined = true;
            return outcome;
        }
    }
    const auto put = [&](std::int32_t row, double x, double y) {
        if (putFlag(row, static_cast<float>(x), static_cast<float>(y))) ++outcome.flagsPut;
    };
    const auto clampToPicture = [&](double& x, double& y) {
        if (Wb - fw < x) x = Wb - fw;
        if (Hb - fh < y) y = Hb - fh;
    };
    // Takes the nearest free cell to (col, row) and puts the click at its corner.
    const auto takeCell = [&](int col, int row, FlagBorderSide side, double& x, double& y) {
        if (!cells.findFree(col, row, side)) return false;
        cells.take(col, row);
        x = fw * (col - 1);
        y = fh * (row - 1);
        return true;
    };

    if (in.placement == FlagPlacement::NextToBorder) {
        std::vector<std::int32_t> order(static_cast<std::size_t>(count));
        std::iota(order.begin(), order.end(), 1);
        // Top to bottom, and left to right along a row: the flags of neighbouring points take
        // neighbouring cells along the border.
        std::stable_sort(order.begin(), order.end(), [&](std::int32_t a, std::int32_t b) {
            const float ya = view.PixelY[static_cast<std::size_t>(a)],
                        yb = view.PixelY[static_cast<std::size_t>(b)];
            if (ya != yb) return ya < yb;
            return view.PixelX[static_cast<std::size_t>(a)] < view.PixelX[static_cast<std::size_t>(b)];
        });
        std::array<bool, 5> borderFull{};  // by FlagBorderSide
        for (std::int32_t q : order) {
            if (!isCandidate(cloud, q, in.identicalCount)) continue;
            if (window.stopAfter(examined++)) {
                outcome.stopped = true;
                return outcome;
            }
            const double px = view.PixelX[static_cast<std::size_t>(q)],
                         py = view.PixelY[static_cast<std::size_t>(q)];
            const double dxb = std::nearbyint(Wb / 2 >= px ? px : Wb - px);
            const double dyb = std::nearbyint(Hb / 2 >= py ? py : Hb - py);
            double x = 0, y = 0;
            int col = 0, row = 0;
            FlagBorderSide side = FlagBorderSide::None;
            if (dyb >= dxb) {
                y = py;
                if (Wb / 2 >= px) {
                    x = 0, col = 1, side = FlagBorderSide::Left;
                } else {
                    x = Wb, col = g.columns, side = FlagBorderSide::Right;
                }
            } else {
                x = px;
                if (Hb / 2 >= py) {
                    y = 0, row = 1, side = FlagBorderSide::Top;
                } else {
                    y = Hb, row = g.rows, side = FlagBorderSide::Bottom;
                }
            }
            clampToPicture(x, y);
            // Each flag starts its search at its own point's place along the border.
            if (col == 0) col = startCell(x, in.flagWidth, g.columns);
            if (row == 0) row = startCell(y, in.flagHeight, g.rows);
            // Cells are only ever taken, so a border found full stays full: its later points
            // need no search.
            bool& full = borderFull[static_cast<std::size_t>(side)];
            if (full || !takeCell(col, row, side, x, y)) {
                // Only this point's border is full: the points of the other borders still get
                // their flags, and the caller says once that the picture ran out of room.
                full = true;
                outcome.screenFull = true;
                continue;
            }
            put(q, x, y);
        }
        return outcome;
    }

    for (std::int32_t i = 1; i <= count; i += step) {
        if (!isCandidate(cloud, i, in.identicalCount)) continue;
        if (window.stopAfter(examined++)) {
            outcome.stopped = true;
            return outcome;
        }
        const double px = view.PixelX[static_cast<std::size_t>(i)],
                     py = view.PixelY[static_cast<std::size_t>(i)];
        double x = px, y = py;
        if (in.placement == FlagPlacement::Radial) {
            x = cx + (px - cx) * in.radialFactor;
            y = cy + (py - cy) * in.radialFactor;
        } else if (in.placement == FlagPlacement::ScreenBorder) {
            const double dx = px - cx, dy = py - cy;
            if (dx != 0 || dy != 0) {  // a point at the centre has no ray: it keeps the close place
                // Where the ray from the centre through the point meets the vertical border
                // (yv) and the horizontal border (xh); the picture's y axis points down.
                const double xb = dx > 0 || (dx == 0 && dy >= 0) ? Wb : 0;
                const double yb = dy > 0 || (dy == 0 && dx > 0) ? Hb : 0;
                // A vertical ray never meets a side border, a horizontal one never the top or bottom.
                const double yv = dx != 0 ? cy + (xb - cx) * dy / dx : -1.0;
                const double xh = dy != 0 ? cx + (yb - cy) * dx / dy : xb;
                if (0 < yv && yv < Hb) {
                    x = xb, y = yv;
                } else {
                    x = xh, y = yb;
                }
            }
            clampToPicture(x, y);
            if (!takeCell(startCell(x, in.flagWidth, g.columns), startCell(y, in.flagHeight, g.rows),
                          FlagBorderSide::None, x, y)) {
                outcome.screenFull = true;
                return outcome;
            }
        }
        put(i, x, y);
    }
    return outcome;
}

}  // namespace kal
