#include "annotation/WindowFlags.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <set>

namespace kal {

namespace {

constexpr StoredColour kLeaderColour = storedColour(0, 100, 100);

const FahneRecord* layoutOf(const ScreenProperties& view, std::int16_t number) {
    if (number <= 0 || static_cast<std::size_t>(number) >= view.FahneProps.size()) return nullptr;
    return &view.FahneProps[static_cast<std::size_t>(number)];
}

// The first cloud row carrying flag `number`; 0 for none.
std::int32_t rowOfFlag(const ScreenProperties& view, std::int16_t number) {
    for (const auto& [row, flag] : view.FlagOfPoint.flaggedRows())
        if (flag == number) return row;
    return 0;
}

int roundHalfEven(double v) { return static_cast<int>(std::nearbyint(v)); }

}  // namespace

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
    if (at.row < 1 || at.row > sources.cloud.count()) return 0;
    if (view.FlagOfPoint[at.row] != 0 || !at.rowVisible || !at.withinScreen) return 0;
    if (view.FahneAnzahl >= std::numeric_limits<std::int16_t>::max()) return 0;

    const auto n = static_cast<std::int16_t>(view.FahneAnzahl + 1);
    view.FahneAnzahl = n;
    if (view.FahneProps.empty()) view.FahneProps.resize(1);
    const FahneRecord templateLayout = view.FahneProps[0];
    if (view.FahneProps.size() < static_cast<std::size_t>(n) + 1)
        view.FahneProps.resize(static_cast<std::size_t>(n) + 1, templateLayout);
    const FahneRecord* current = layoutOf(view, view.CurrentFahne);
    FahneRecord layout = current ? *current : templateLayout;
    if (!current) {
        const FahneRecord* lastDefault =
            defaultView.FahneAnzahl >= 1 &&
                    static_cast<std::size_t>(defaultView.FahneAnzahl) < defaultView.FahneProps.size()
                ? &defaultView.FahneProps[static_cast<std::size_t>(defaultView.FahneAnzahl)]
                : nullptr;
        if (lastDefault) {
            layout = *lastDefault;
        } else {
            layout.ShowActual = layout.ShowNominal = layout.showX = layout.showY = layout.showZ = true;
            layout.ShowDev = layout.ShowTolCol = layout.ShowLegendeXYZ = layout.ShowLegendeName = true;
            layout.ShowGrid = true;
        }
    }

    FlagBox box;
    fillFlag(box.table, layout, at.row, sources.cloud, sources.job, view.ColorBased, sources.metrics);
    const FlagBox* currentBox = boxes.contains(view.CurrentFahne) ? &boxes.at(view.CurrentFahne) : nullptr;
    const int currentWidth = currentBox ? currentBox->table.width : box.table.width;
    const int currentHeight = currentBox ? currentBox->table.height : box.table.height;
    const FahneRecord* below = layoutOf(view, static_cast<std::int16_t>(n - 1));
    const bool snap = below && below->SnaptoGrid && view.GridLength > 0;

    // A flag put with the mouse left of (above) its point ends at the mouse with its right
    // (bottom) edge; one that would leave the picture is moved back inside.
    const auto place = [&](float mouse, float point, int flagSize, int currentSize, int surface, int margin) {
        double v = mouse - (mouse - point >= 0 ? 0.0 : currentSize);
        if (v < 0) v = 0;
        if (surface - flagSize < v) v = surface - flagSize - margin;
        if (snap) v = std::floor(v / view.GridLength) * view.GridLength;
        if (at.placeAtMouse) v = mouse;
        return roundHalfEven(v);
    };
    layout.Left = static_cast<std::int16_t>(std::clamp(
        place(at.mouseX, at.pointX, box.table.width, currentWidth, at.surfaceWidth, 10), -32768, 32767));
    layout.Top = static_cast<std::int16_t>(std::clamp(
        place(at.mouseY, at.pointY, box.table.height, currentHeight, at.surfaceHeight, 20), -32768, 32767));
    view.FahneProps[static_cast<std::size_t>(n)] = layout;
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
        const std::int32_t row = rowOfFlag(view, view.CurrentFahne);
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
                    text.at = {static_cast<float>(x + 2), static_cast<float>(y + 1)};
                    text.text = cell.text;
                    text.colour = t.textColour;
                    list.add(std::move(text));
                }
            }
            x += w;
        }
        y += t.rowHeight[static_cast<std::size_t>(r)];
    }
    // Grid lines between the visible cells and around the table.
    const float right = static_cast<float>(box.left + t.width),
                bottom = static_cast<float>(box.top + t.height);
    float x = static_cast<float>(box.left);
    for (int c = 0; c <= kFlagColumns; ++c) {
        if (c == 0 || c == kFlagColumns || t.columnWidth[static_cast<std::size_t>(c - 1)] > 0)
            list.add(Segment{{x, static_cast<float>(box.top)}, {x, bottom}, 1, t.gridLines});
        if (c < kFlagColumns) x += static_cast<float>(t.columnWidth[static_cast<std::size_t>(c)]);
    }
    float yy = static_cast<float>(box.top);
    for (int r = 0; r <= kFlagRows; ++r) {
        if (r == 0 || r == kFlagRows || t.rowHeight[static_cast<std::size_t>(r - 1)] > 0)
            list.add(Segment{{static_cast<float>(box.left), yy}, {right, yy}, 1, t.gridLines});
        if (r < kFlagRows) yy += static_cast<float>(t.rowHeight[static_cast<std::size_t>(r)]);
    }
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

int snapToFlagGrid(int value, int gridLength) {
    if (gridLength <= 0) return std::max(value, 0);
    const int snapped = static_cast<int>(std::floor((value + 1.0) / gridLength)) * gridLength;
    return std::max(snapped, 0);
}

void dropFlag(ScreenProperties& view, FlagBoxes& boxes, std::int16_t number, double left, double top) {
    auto it = boxes.find(number);
    if (it == boxes.end() || static_cast<std::size_t>(number) >= view.FahneProps.size()) return;
    int l = std::max(roundHalfEven(left), 0);
    int t = std::max(roundHalfEven(top), 0);
    FahneRecord& layout = view.FahneProps[static_cast<std::size_t>(number)];
    if (layout.SnaptoGrid) {
        t = snapToFlagGrid(t, view.GridLength);
        l = snapToFlagGrid(l, view.GridLength);
    }
    l = std::min(l, 32767);
    t = std::min(t, 32767);
    it->second.left = l;
    it->second.top = t;
    layout.Left = static_cast<std::int16_t>(l);
    layout.Top = static_cast<std::int16_t>(t);
}

bool toggleFlagUseMark(const ScreenProperties& view, FlagBoxes& boxes, std::int16_t number, int column,
                       JobState& job) {
    if (column < 1 || column > 3) return false;  // only x, y and z are observations
    const std::int32_t row = rowOfFlag(view, number);
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
