#include "annotation/WindowFlags.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <set>

#include "view3d/FlagPlacement.h"

namespace kal {

namespace {

constexpr StoredColour kLeaderColour = storedColour(0, 100, 100);

const FahneRecord* layoutOf(const ScreenProperties& view, std::int16_t number) {
    if (number <= 0 || static_cast<std::size_t>(number) >= view.FahneProps.size()) return nullptr;
    return &view.FahneProps[static_cast<std::size_t>(number)];
}

// Any row of the window may carry a flag.
constexpr std::int32_t kAnyRow = std::numeric_limits<std::int32_t>::max();

}  // namespace

FlagCellSize flagCellSizeForRun(const FahneRecord& layout, const std::string& colorBased,
                                FlagCellSize current, const FlagSources& sources) {
    FlagCellSize size = current;
    const PointCloud& cloud = sources.cloud;
    const std::int32_t n = sources.job.IdenticalCount;
    FlagTable table;
    for (std::int32_t row = 1; row <= cloud.count(); ++row) {
        if (cloud(row, cloud::Shown) == 0 || cloud(row, cloud::Visible) == 0) continue;
        if (row > n && row <= 2 * n) continue;  // OCS sides get no flag
        fillFlag(table, layout, row, cloud, sources.job, colorBased, sources.metrics);
        size.width = std::max(size.width, table.width);
        size.height = std::max(size.height, table.height);
    }
    return size;
}

void refillAllFlags(const ScreenProperties& view, FlagBoxes& boxes, const FlagSources& sources) {
    for (const auto& [row, flag] : view.FlagOfPoint.flaggedRows()) {
        if (row < 1 || row > sources.cloud.count()) continue;
        const FahneRecord* layout = layoutOf(view, flag);
        if (!layout) continue;
        fillFlag(boxes[flag].table, *layout, row, sources.cloud, sources.job, view.ColorBased,
                 sources.metrics);
    }
}

void deleteAllFlags(ScreenProperties& view, FlagBoxes& boxes) {
    boxes.clear();
    const std::int32_t upper = view.FlagOfPoint.upper();
    const bool sized = view.FlagOfPoint.isSized();
    view.FlagOfPoint.clear();
    if (sized) view.FlagOfPoint.resize(upper);
    view.FahneAnzahl = 0;
    view.CurrentFahne = 0;
}

std::int16_t deleteFlag(ScreenProperties& view, FlagBoxes& boxes, std::int16_t number) {
    if (number == 0) number = view.CurrentFahne;
    if (number <= 0) return 0;  // no current flag: the template is never a flag
    boxes.erase(number);
    std::vector<std::int32_t> rows;
    for (const auto& [row, flag] : view.FlagOfPoint.flaggedRows())
        if (flag == number) rows.push_back(row);
    for (std::int32_t row : rows) view.FlagOfPoint.set(row, 0);
    if (number == view.CurrentFahne) view.CurrentFahne = 0;
    return number;
}

void resetFlagsFromStoredView(ScreenProperties& view, FlagBoxes& boxes, const FlagSources& sources) {
    boxes.clear();
    std::set<std::int16_t> used;
    std::vector<std::int32_t> invalid;
    for (const auto& [row, flag] : view.FlagOfPoint.flaggedRows()) {
        const FahneRecord* layout = layoutOf(view, flag);
        if (!layout || !used.insert(flag).second || row < 1) {
            invalid.push_back(row);
            continue;
        }
        FlagBox& box = boxes[flag];
        box.left = layout->Left;
        box.top = layout->Top;
    }
    for (std::int32_t row : invalid) view.FlagOfPoint.set(row, 0);
    if (view.CurrentFahne != 0 && !boxes.contains(view.CurrentFahne) && !layoutOf(view, view.CurrentFahne))
        view.CurrentFahne = 0;
    refillAllFlags(view, boxes, sources);
}

std::int16_t createFlag(ScreenProperties& view, FlagBoxes& boxes, const ScreenProperties& defaultView,
                        const FlagCreation& at, const FlagSources& sources) {
    if (!at.rowVisible || !canCreateFlag(view, sources.cloud, at.row, at.withinScreen)) return 0;
    if (view.FahneAnzahl >= std::numeric_limits<std::int16_t>::max()) return 0;

    // The current flag's box gives the shift of a flag put left of (above) its point; taken
    // before the new layout may resize the layouts.
    const FlagBox* currentBox = boxes.contains(view.CurrentFahne) ? &boxes.at(view.CurrentFahne) : nullptr;
    const std::int16_t n = addFlagLayout(view, defaultView);
    FahneRecord& layout = view.FahneProps[static_cast<std::size_t>(n)];

    FlagBox box;
    fillFlag(box.table, layout, at.row, sources.cloud, sources.job, view.ColorBased, sources.metrics);
    const FahneRecord* below = layoutOf(view, static_cast<std::int16_t>(n - 1));
    NewFlagPlacement place;
    place.MouseX = at.mouseX;
    place.MouseY = at.mouseY;
    place.pointX = at.pointX;
    place.pointY = at.pointY;
    place.currentWidth = currentBox ? currentBox->table.width : box.table.width;
    place.currentHeight = currentBox ? currentBox->table.height : box.table.height;
    place.width = box.table.width;
    place.height = box.table.height;
    place.surfaceWidth = at.surfaceWidth;
    place.surfaceHeight = at.surfaceHeight;
    place.snap = below && below->SnaptoGrid;
    place.GridLength = view.GridLength;
    place.placeAtMouse = at.placeAtMouse;
    const FlagCorner corner = placeNewFlag(place);
    layout.Left = corner.Left;
    layout.Top = corner.Top;
    box.left = layout.Left;
    box.top = layout.Top;
    box.visible = true;
    boxes[n] = std::move(box);
    view.FlagOfPoint.set(at.row, n);
    return n;
}

void carryLayoutOver(ScreenProperties& view, FlagBoxes& boxes, const FlagSources& sources) {
    if (view.FahneAnzahl == 0 || view.CurrentFahne == 0) return;
    const FahneRecord* current = layoutOf(view, view.CurrentFahne);
    if (!current) return;
    if (!current->ChangeAll) {
        const std::int32_t row = rowOfFlag(view, view.CurrentFahne, sources.cloud.count());
        if (row >= 1 && row <= sources.cloud.count())
            fillFlag(boxes[view.CurrentFahne].table, *current, row, sources.cloud, sources.job,
                     view.ColorBased, sources.metrics);
        return;
    }
    const FahneRecord layout = *current;
    for (const auto& [row, flag] : view.FlagOfPoint.flaggedRows()) {
        if (static_cast<std::size_t>(flag) >= view.FahneProps.size()) continue;
        FahneRecord& target = view.FahneProps[static_cast<std::size_t>(flag)];
        const std::int16_t left = target.Left, top = target.Top;
        target = layout;
        target.Left = left;
        target.Top = top;
        if (row >= 1 && row <= sources.cloud.count())
            fillFlag(boxes[flag].table, target, row, sources.cloud, sources.job, view.ColorBased,
                     sources.metrics);
    }
}

Segment flagLeaderLine(const FlagBox& box, float pointX, float pointY) {
    Segment line;
    line.from = {pointX, pointY};
    line.to = {box.left + box.table.width / 2.0f, box.top + box.table.height / 2.0f};
    line.penWidth = 1;
    line.colour = kLeaderColour;
    return line;
}

void appendFlagPrimitives(DisplayList& list, const FlagBox& box) {
    const FlagTable& t = box.table;
    if (t.width <= 0 || t.height <= 0) return;
    list.add(FilledRect{box.left, box.top, t.width, t.height, t.background});
    int y = box.top;
    for (int r = 0; r < kFlagRows; ++r) {
        int x = box.left;
        for (int c = 0; c < kFlagColumns; ++c) {
            const FlagCell& cell = t.cells[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)];
            const int w = t.columnWidth[static_cast<std::size_t>(c)];
            const int h = t.rowHeight[static_cast<std::size_t>(r)];
            if (w > 0 && h > 0) {
                if (cell.hasBackground) list.add(FilledRect{x, y, w, h, cell.background});
                if (!cell.text.empty()) {
                    TextLabel text;
                    text.at = {static_cast<float>(x), static_cast<float>(y)};
                    text.cellWidth = w;
                    text.cellHeight = h;
                    text.align = flagTextAlign(cell);
                    text.font = flagCellFont(t, cell);
                    text.text = cell.text;
                    text.colour = t.textColour;
                    list.add(std::move(text));
                }
            }
            x += w;
        }
        y += t.rowHeight[static_cast<std::size_t>(r)];
    }
    // Grid lines between the visible cells and around the table: one pixel wide and straight,
    // so drawn as thin rectangles, which fill far faster than general lines.
    int x = box.left;
    for (int c = 0; c <= kFlagColumns; ++c) {
        if (c == 0 || c == kFlagColumns || t.columnWidth[static_cast<std::size_t>(c - 1)] > 0)
            list.add(FilledRect{x, box.top, 1, t.height + 1, t.gridLines});
        if (c < kFlagColumns) x += t.columnWidth[static_cast<std::size_t>(c)];
    }
    int yy = box.top;
    for (int r = 0; r <= kFlagRows; ++r) {
        if (r == 0 || r == kFlagRows || t.rowHeight[static_cast<std::size_t>(r - 1)] > 0)
            list.add(FilledRect{box.left, yy, t.width + 1, 1, t.gridLines});
        if (r < kFlagRows) yy += t.rowHeight[static_cast<std::size_t>(r)];
    }
}

std::vector<std::int16_t> flagsInSight(const FlagBoxes& boxes, int width, int height) {
    std::vector<std::int16_t> inSight;
    if (width <= 0 || height <= 0) return inSight;
    // Per scanline, nextFree[x] leads to the first pixel at or right of x that no later flag
    // covers (width: none). Scanlines no flag reaches are never made.
    std::vector<std::vector<int>> nextFree(static_cast<std::size_t>(height));
    const auto line = [&](int y) -> std::vector<int>& {
        std::vector<int>& p = nextFree[static_cast<std::size_t>(y)];
        if (p.empty()) {
            p.resize(static_cast<std::size_t>(width) + 1);
            std::iota(p.begin(), p.end(), 0);
        }
        return p;
    };
    const auto firstFree = [](std::vector<int>& p, int x) {
        while (p[static_cast<std::size_t>(x)] != x) {
            p[static_cast<std::size_t>(x)] = p[static_cast<std::size_t>(p[static_cast<std::size_t>(x)])];
            x = p[static_cast<std::size_t>(x)];
        }
        return x;
    };
    for (auto it = boxes.rbegin(); it != boxes.rend(); ++it) {  // the flag drawn last first
        const FlagBox& box = it->second;
        const FlagTable& t = box.table;
        if (!box.visible || t.width <= 0 || t.height <= 0) continue;
        // What the flag draws reaches one pixel past its table (the closing grid lines); what
        // it surely covers is the table's background.
        const long long left = std::max<long long>(box.left, 0), top = std::max<long long>(box.top, 0);
        const long long right = std::min<long long>(static_cast<long long>(box.left) + t.width + 1, width);
        const long long bottom = std::min<long long>(static_cast<long long>(box.top) + t.height + 1, height);
        const long long coveredRight = std::min<long long>(static_cast<long long>(box.left) + t.width, width);
        const long long coveredBottom =
            std::min<long long>(static_cast<long long>(box.top) + t.height, height);
        if (left >= right || top >= bottom) continue;
        bool seen = false;
        for (auto y = static_cast<int>(top); y < bottom; ++y) {
            std::vector<int>& p = line(y);
            int x = firstFree(p, static_cast<int>(left));
            if (x < right) seen = true;
            if (y >= coveredBottom) continue;
            while (x < coveredRight) {
                p[static_cast<std::size_t>(x)] = x + 1;
                x = firstFree(p, x + 1);
            }
        }
        if (seen) inSight.push_back(it->first);
    }
    std::reverse(inSight.begin(), inSight.end());
    return inSight;
}

void flagStageForRow(const ScreenProperties& view, FlagBoxes& boxes, std::int32_t row, bool rowDrawn,
                     bool pixelWithinScreen, float pointX, float pointY, DisplayList& list) {
    const std::int16_t number = view.FlagOfPoint[row];
    if (number == 0) return;
    const auto it = boxes.find(number);
    if (it == boxes.end()) return;
    const FahneRecord* layout = layoutOf(view, number);
    const bool withinScreenOnly = layout && layout->WithinScreen;
    if (!rowDrawn) {
        // A flag shown only with its point hides with it; any other keeps its visibility.
        if (withinScreenOnly) it->second.visible = false;
        return;
    }
    it->second.visible = withinScreenOnly ? pixelWithinScreen : true;
    if (it->second.visible) list.add(flagLeaderLine(it->second, pointX, pointY));
}

FlagCorner dropFlagBox(ScreenProperties& view, FlagBoxes& boxes, std::int16_t number, double left,
                       double top) {
    auto it = boxes.find(number);
    if (it == boxes.end() || number <= 0 || static_cast<std::size_t>(number) >= view.FahneProps.size())
        return {};
    FahneRecord& layout = view.FahneProps[static_cast<std::size_t>(number)];
    const FlagCorner corner = dropFlag(static_cast<float>(left), static_cast<float>(top), 0.0f, 0.0f,
                                       layout.SnaptoGrid, view.GridLength);
    it->second.left = corner.Left;
    it->second.top = corner.Top;
    layout.Left = corner.Left;
    layout.Top = corner.Top;
    return corner;
}

bool toggleFlagUseMark(const ScreenProperties& view, FlagBoxes& boxes, std::int16_t number, int column,
                       JobState& job) {
    if (column < 1 || column > 3) return false;  // only x, y and z are observations
    const std::int32_t row = rowOfFlag(view, number, kAnyRow);
    const std::int32_t point = identicalPointOfRow(row, job.IdenticalCount);
    if (point == 0) return false;
    const auto index = static_cast<std::size_t>(3 * (point - 1) + column);
    if (index >= job.UseFlags.size()) return false;
    const bool nowUsed = job.UseFlags[index] != 1;
    job.UseFlags[index] = nowUsed ? 1 : 0;
    job.JobDirty = true;
    auto it = boxes.find(number);
    if (it != boxes.end()) {
        FlagCell& cell = it->second.table.cells[kFlagUseRow][static_cast<std::size_t>(column)];
        cell.text = nowUsed ? "X" : "";
        cell.hasBackground = true;
        cell.background = nowUsed ? storedColour(255, 255, 255) : storedColour(255, 255, 0);
    }
    return true;
}

std::string flagCopyText(const FlagTable& table, int r1, int c1, int r2, int c2) {
    r1 = std::clamp(r1, 0, kFlagRows - 1);
    r2 = std::clamp(r2, 0, kFlagRows - 1);
    c1 = std::clamp(c1, 0, kFlagColumns - 1);
    c2 = std::clamp(c2, 0, kFlagColumns - 1);
    if (r1 > r2) std::swap(r1, r2);
    if (c1 > c2) std::swap(c1, c2);
    std::string text;
    for (int r = r1; r <= r2; ++r) {
        for (int c = c1; c <= c2; ++c) {
            if (c > c1) text += '\t';
            text += table.cells[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)].text;
        }
        if (r < r2) text += "\r\n";
    }
    return text;
}

}  // namespace kal
