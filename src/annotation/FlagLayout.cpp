#include "annotation/FlagLayout.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <numeric>
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
// run that ends within one interval shows none; from then on the bar follows the share of the
// work done and events pass at most every interval. Stop can only have been pressed while events
// passed, so it is asked for then.
class RunWindow {
  public:
    explicit RunWindow(const FlagRunServices& services) : services_(services), last_(Clock::now()) {}

    // Before the next step, with `share` (0 to 1) of the run done: true when the user asked to stop.
    bool stopAt(double share) {
        const Clock::time_point now = Clock::now();
        if (now - last_ < services_.interval) return false;
        last_ = now;
        // Held by pointer, not in an optional: the scope is made once and outlives every look.
        if (!window_)
            window_ = std::make_unique<platform::ProgressScope>(services_.progress, kFlagRunCaption);
        window_->setValue(static_cast<int>(100 * std::clamp(share, 0.0, 1.0)));
        if (services_.events) services_.events->processEvents();
        return window_->stopRequested();
    }

  private:
    using Clock = std::chrono::steady_clock;
    const FlagRunServices& services_;
    Clock::time_point last_;
    std::unique_ptr<platform::ProgressScope> window_;
};

// One flag of a border run's plan: its row, the corner of its cell, and whether its point lies
// inside the picture (a point outside gets no flag, but its cell stays taken).
struct PlannedFlag {
    std::int32_t row = 0;
    double x = 0;
    double y = 0;
    bool inside = false;
};

struct BorderPlan {
    std::vector<PlannedFlag> flags;
    std::int64_t flagsInside = 0;  // planned flags whose point lies inside the picture
    bool full = false;             // a candidate found no free cell
};

// The cells the flags already on the window cover: taken before the run starts.
void takeKeptCells(FlagCells& cells, const FlagCellGrid& g, int fw, int fh,
                   const std::vector<FlagArea>& kept) {
    if (fw <= 0 || fh <= 0) return;
    for (const FlagArea& a : kept) {
        if (a.width <= 0 || a.height <= 0 || a.left + a.width <= 0 || a.top + a.height <= 0) continue;
        const int c1 = std::max(a.left / fw + 1, 1),
                  c2 = std::min((a.left + a.width - 1) / fw + 1, g.columns);
        const int r1 = std::max(a.top / fh + 1, 1), r2 = std::min((a.top + a.height - 1) / fh + 1, g.rows);
        for (int c = c1; c <= c2; ++c)
            for (int r = r1; r <= r2; ++r) cells.take(c, r);
    }
}

// Plans a border run: the cell of each candidate, in the order the flags are put. Ends as soon as
// no cell is left: with the ray rule at the first candidate without a free cell, with the
// border-side rule once all four borders are full (a full border only skips its own points).
BorderPlan planBorderRun(const FlagLayoutInput& in, const PointCloud& cloud, const ViewArrays& view,
                         std::int32_t count, double cx, double cy, const std::vector<std::int32_t>& sideOrder,
                         const std::vector<FlagArea>& kept) {
    BorderPlan plan;
    const FlagCellGrid g = flagCellGrid(in);
    const double Wb = g.borderWidth, Hb = g.borderHeight;
    const double fw = in.flagWidth, fh = in.flagHeight;
    FlagCells cells(g.columns, g.rows);
    takeKeptCells(cells, g, in.flagWidth, in.flagHeight, kept);

    const auto clampToPicture = [&](double& x, double& y) {
        if (Wb - fw < x) x = Wb - fw;
        if (Hb - fh < y) y = Hb - fh;
    };
    // Takes the nearest free cell to (col, row) and plans the flag at its corner.
    const auto takeCell = [&](std::int32_t q, int col, int row, FlagBorderSide side) {
        if (!cells.findFree(col, row, side)) return false;
        cells.take(col, row);
        const bool inside = insidePicture(in, view, q);
        plan.flags.push_back({q, fw * (col - 1), fh * (row - 1), inside});
        if (inside) ++plan.flagsInside;
        return true;
    };

    if (in.placement == FlagPlacement::NextToBorder) {
        std::array<bool, 5> borderFull{};  // by FlagBorderSide
        int bordersFull = 0;
        for (std::int32_t q : sideOrder) {
            if (!isCandidate(cloud, q, in.identicalCount)) continue;
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
            if (full || !takeCell(q, col, row, side)) {
                plan.full = true;
                if (!full) {
                    full = true;
                    if (++bordersFull == 4) break;
                }
            }
        }
        return plan;
    }

    const std::int32_t step = std::max(in.flagOnEvery, 1);
    for (std::int32_t i = 1; i <= count; i += step) {
        if (!isCandidate(cloud, i, in.identicalCount)) continue;
        const double px = view.PixelX[static_cast<std::size_t>(i)],
                     py = view.PixelY[static_cast<std::size_t>(i)];
        double x = px, y = py;
        const double dx = px - cx, dy = py - cy;
        if (dx != 0 || dy != 0) {  // a point at the centre has no ray: it keeps the close place
            // Where the ray from the centre through the point meets the vertical border (yv) and
            // the horizontal border (xh); the picture's y axis points down.
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
        if (!takeCell(i, startCell(x, in.flagWidth, g.columns), startCell(y, in.flagHeight, g.rows),
                      FlagBorderSide::None)) {
            plan.full = true;
            break;
        }
    }
    return plan;
}

}  // namespace

std::string tooManyFlagsQuestion(std::int64_t flags, std::int64_t legible) {
    return "This would put " + std::to_string(flags) + " flags into a picture that has room for " +
           std::to_string(legible) +
           " flags side by side: the flags would cover one another and could not be read.\n\n"
           "Put the flags all the same?";
}

std::string fewerFlagsQuestion(std::int64_t flags, std::int64_t put, bool cellsRunOut, std::int64_t legible) {
    std::string text =
        "This would put " + std::to_string(put) + " flags on " + std::to_string(flags) + " points: ";
    text += cellsRunOut ? "the picture has room for no more flags side by side"
                        : "a graphics window holds at most " + std::to_string(kMaxFlagNumber) + " flags";
    text += ", so " + std::to_string(flags - put) + " points would get no flag.";
    if (legible > 0)
        text += " The picture has room for " + std::to_string(legible) +
                " flags side by side: the flags would cover one another and could not be read.";
    return text + "\n\nPut the " + std::to_string(put) + " flags?";
}

std::string flagLimitMessage(std::int64_t put, std::int64_t without) {
    return std::to_string(put) + " flags were put; " + std::to_string(without) +
           " points got no flag: a graphics window holds at most " + std::to_string(kMaxFlagNumber) +
           " flags.";
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
                                      const FlagRunServices& services, const FlagSizeOfRow& sizeOfRow,
                                      const FlagsOnWindow& onWindow) {
    FlagLayoutOutcome outcome;
    const std::int32_t count = std::min(cloud.count(), view.rows());
    const bool borderRule =
        given.placement == FlagPlacement::ScreenBorder || given.placement == FlagPlacement::NextToBorder;
    const bool sizing = borderRule && static_cast<bool>(sizeOfRow);
    const std::int64_t numbersLeft = std::max<std::int64_t>(onWindow.flagNumbersLeft, 0);
    RunWindow window(services);

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

    // Stops putting once the window has no flag number left; the points still to go are counted.
    std::int64_t wanted = 0, tried = 0;
    const auto put = [&](std::int32_t row, double x, double y, bool inside) {
        if (inside && tried >= numbersLeft) {
            outcome.limitReached = true;
            outcome.flagsLeftOut = wanted - tried;
            return false;
        }
        if (inside) ++tried;
        if (putFlag(row, static_cast<float>(x), static_cast<float>(y))) ++outcome.flagsPut;
        return true;
    };

    if (borderRule) {
        std::vector<std::int32_t> sideOrder;
        if (given.placement == FlagPlacement::NextToBorder) {
            sideOrder.resize(static_cast<std::size_t>(count));
            std::iota(sideOrder.begin(), sideOrder.end(), 1);
            // Top to bottom, and left to right along a row: the flags of neighbouring points take
            // neighbouring cells along the border.
            std::stable_sort(sideOrder.begin(), sideOrder.end(), [&](std::int32_t a, std::int32_t b) {
                const float ya = view.PixelY[static_cast<std::size_t>(a)],
                            yb = view.PixelY[static_cast<std::size_t>(b)];
                if (ya != yb) return ya < yb;
                return view.PixelX[static_cast<std::size_t>(a)] < view.PixelX[static_cast<std::size_t>(b)];
            });
        }
        // The points the run is asked to flag: its candidates inside the picture.
        std::int64_t points = 0;
        const std::int32_t step =
            given.placement == FlagPlacement::NextToBorder ? 1 : std::max(given.flagOnEvery, 1);
        for (std::int32_t i = 1; i <= count; i += step)
            if (isCandidate(cloud, i, given.identicalCount) && insidePicture(given, view, i)) ++points;

        // Plan with the current flag's size, measure the planned flags, and plan again with
        // cells as large as the largest of them until every planned flag fits its cell. A row
        // once measured keeps its size, so each new plan measures only rows not seen before.
        FlagLayoutInput in = given;
        BorderPlan plan;
        std::vector<bool> measured(sizing ? static_cast<std::size_t>(count) + 1 : 0, false);
        std::int64_t measures = 0;
        for (;;) {
            const FlagCellGrid g = flagCellGrid(in);
            if (g.columns < 1 || g.rows < 1) {
                outcome.screenFull = true;  // the flag is larger than the picture
                return outcome;
            }
            plan = planBorderRun(in, cloud, view, count, cx, cy, sideOrder, onWindow.areas);
            if (!sizing) break;
            int width = in.flagWidth, height = in.flagHeight;
            for (const PlannedFlag& f : plan.flags) {
                if (!f.inside || measured[static_cast<std::size_t>(f.row)]) continue;
                if (window.stopAt(0.5 * static_cast<double>(measures) /
                                  static_cast<double>(std::max<std::int64_t>(points, 1)))) {
                    outcome.stopped = true;
                    return outcome;
                }
                measured[static_cast<std::size_t>(f.row)] = true;
                ++measures;
                const FlagSize size = sizeOfRow(f.row);
                width = std::max(width, size.width);
                height = std::max(height, size.height);
            }
            if (width == in.flagWidth && height == in.flagHeight) break;
            in.flagWidth = width;
            in.flagHeight = height;
        }

        // Points without a cell, or more flags than the window can number: say how many it puts.
        wanted = plan.flagsInside;
        const std::int64_t willPut = std::min(plan.flagsInside, numbersLeft);
        if (willPut < points && services.prompter &&
            services.prompter->message(fewerFlagsQuestion(points, willPut, plan.flagsInside < points, 0),
                                       platform::Buttons::YesNo, {},
                                       platform::Icon::Question) != platform::Answer::Yes) {
            outcome.declined = true;
            return outcome;
        }
        const double from = sizing ? 0.5 : 0.0;
        std::int64_t done = 0;
        for (const PlannedFlag& f : plan.flags) {
            if (window.stopAt(from + (1 - from) * static_cast<double>(done++) /
                                         static_cast<double>(plan.flags.size()))) {
                outcome.stopped = true;
                return outcome;
            }
            if (!put(f.row, f.x, f.y, f.inside)) break;
        }
        outcome.screenFull = plan.full;
        return outcome;
    }

    // The close and radial rules put a flag on every candidate, overlapping or not: with more
    // of them than fit side by side, or than the window can number, the user is asked first.
    const std::int32_t step = std::max(given.flagOnEvery, 1);
    std::int64_t candidates = 0;
    for (std::int32_t i = 1; i <= count; i += step)
        if (isCandidate(cloud, i, given.identicalCount)) ++candidates;
    wanted = flagsOfRun(given, cloud, view);
    if (services.prompter) {
        const std::int64_t legible = legibleFlagCount(given), willPut = std::min(wanted, numbersLeft);
        std::string question;
        if (willPut < wanted)
            question = fewerFlagsQuestion(wanted, willPut, false, willPut > legible ? legible : 0);
        else if (wanted > legible)
            question = tooManyFlagsQuestion(wanted, legible);
        if (!question.empty() &&
            services.prompter->message(question, platform::Buttons::YesNo, {}, platform::Icon::Question) !=
                platform::Answer::Yes) {
            outcome.declined = true;
            return outcome;
        }
    }
    std::int64_t examined = 0;
    for (std::int32_t i = 1; i <= count; i += step) {
        if (!isCandidate(cloud, i, given.identicalCount)) continue;
        if (window.stopAt(static_cast<double>(examined++) / static_cast<double>(candidates))) {
            outcome.stopped = true;
            return outcome;
        }
        const double px = view.PixelX[static_cast<std::size_t>(i)],
                     py = view.PixelY[static_cast<std::size_t>(i)];
        double x = px, y = py;
        if (given.placement == FlagPlacement::Radial) {
            x = cx + (px - cx) * given.radialFactor;
            y = cy + (py - cy) * given.radialFactor;
        }
        if (!put(i, x, y, insidePicture(given, view, i))) break;
    }
    return outcome;
}

}  // namespace kal
