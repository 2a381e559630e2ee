#include "annotation/FlagContent.h"

#include <cmath>

#include "annotation/BoxNumbers.h"
#include "shared/NumberText.h"
#include "shared/Units.h"
#include "shared/Vectors.h"

namespace kal {

namespace {

constexpr double kPi = 3.14159265358979;
constexpr double kTwoPi = 6.28318530717958;

// A number that cannot be shown (a degenerate unit factor) leaves its cell empty rather than
// putting "nan" into a report picture.
std::string lengthCell(const JobState& job, double mm) {
    const double value = mm * job.LengthFactor;
    if (!std::isfinite(value)) return {};
    try {
        return formatNumber(value, job.LengthFormat);
    } catch (const std::exception&) {
        return {};
    }
}

std::string angleCell(const JobState& job, double radians) {
    if (!std::isfinite(radians * job.AngleFactor)) return {};
    try {
        return formatAngle(radians, job.AngleFactor, job.AngleFormat, job.AngleUnitName, job.AngleFormat);
    } catch (const std::exception&) {
        return {};
    }
}

struct Cylindrical {
    double R, phi, rho, theta;
};
Cylindrical polarForm(double x, double y, double z) {
    return {length2d(x, y), azimuthXY(x, y), length3d(x, y, z), polarAngle(x, y, z)};
}

double signOf(double v) { return v > 0 ? 1.0 : (v < 0 ? -1.0 : 0.0); }

// Column widths fit the widest text and row heights one line of the flag's font. Cells are sized
// in twips (17·w + 110 twips wide, 16·h + 30 twips high: a margin around the text that grows with
// it) at 15 twips per pixel, so a flag keeps its proportions at every font size.
int columnWidthFor(int textWidth) { return static_cast<int>(std::lround((17.0 * textWidth + 110.0) / 15.0)); }
int rowHeightFor(int textHeight) { return static_cast<int>(std::lround((16.0 * textHeight + 30.0) / 15.0)); }

}  // namespace

platform::TextFont flagFont(const FahneRecord& layout) {
    platform::TextFont font;
    font.name = layout.Name;
    font.size = layout.Size >= 1 ? layout.Size : 0;
    font.bold = layout.Bold || layout.Weight >= 600;
    font.italic = layout.Italic;
    return font;
}

platform::TextFont flagCellFont(const FlagTable& table, const FlagCell& cell) {
    platform::TextFont font = table.font;
    font.bold = font.bold || cell.bold;
    return font;
}

TextAlign flagTextAlign(const FlagCell& cell) {
    switch (cell.align) {
        case FlagAlign::CentreTop:
            return TextAlign::CentreTop;
        case FlagAlign::LeftCentre:
            return TextAlign::LeftCentre;
        case FlagAlign::RightTop:
            return TextAlign::RightTop;
        case FlagAlign::Default:
            break;
    }
    // Angles may carry a unit or minutes and seconds: only a plain number goes right.
    return plainNumber(cell.text, {.minus = true, .fraction = true}) ? TextAlign::RightCentre
                                                                     : TextAlign::LeftCentre;
}

std::int32_t identicalPointOfRow(std::int32_t row, std::int32_t identicalCount) {
    if (row >= 1 && row <= identicalCount) return row;
    if (row > identicalCount && row <= 2 * identicalCount) return row - identicalCount;
    return 0;
}

void fillFlag(FlagTable& table, const FahneRecord& layout, std::int32_t row, const PointCloud& cloud,
              const JobState& job, const std::string& colorBased, const platform::TextMetrics& metrics) {
    if (row <= 0 || row > cloud.count()) return;
    table = FlagTable{};
    table.font = flagFont(layout);
    table.textColour = layout.Forecolor;

    const double ax = cloud(row, cloud::X), ay = cloud(row, cloud::Y), az = cloud(row, cloud::Z);
    const double dx = cloud(row, cloud::DeviationX), dy = cloud(row, cloud::DeviationY),
                 dz = cloud(row, cloud::DeviationZ);
    const double nx = ax - dx, ny = ay - dy, nz = az - dz;
    const Cylindrical a = polarForm(ax, ay, az);
    const Cylindrical n = polarForm(nx, ny, nz);
    double dPhi = a.phi - n.phi;
    if (dPhi > kPi)
        dPhi -= kTwoPi;
    else if (dPhi < -kPi)
        dPhi += kTwoPi;

    auto& c = table.cells;
    static constexpr const char* kHeader[kFlagColumns] = {"",    "x",   "y",     "z",      "R",
                                                          "Phi", "Rho", "Theta", "3D Dev."};
    c[0][0].text = cloud.name(row);
    for (int col = 1; col < kFlagColumns; ++col) {
        c[0][col].text = kHeader[col];
        c[0][col].align = FlagAlign::CentreTop;
    }
    c[0][5].bold = c[0][6].bold = c[0][7].bold = true;
    c[1][0].text = "Actual";
    c[2][0].text = "Nominal";
    c[3][0].text = "Dev.";
    c[4][0].text = "use";
    for (int r = 1; r <= 3; ++r) c[r][0].align = FlagAlign::LeftCentre;

    const auto fillCoordinates = [&](int r, double x, double y, double z, const Cylindrical& p) {
        c[r][1].text = lengthCell(job, x);
        c[r][2].text = lengthCell(job, y);
        c[r][3].text = lengthCell(job, z);
        c[r][4].text = lengthCell(job, p.R);
        c[r][5].text = angleCell(job, p.phi);
        c[r][6].text = lengthCell(job, p.rho);
        c[r][7].text = angleCell(job, p.theta);
    };
    fillCoordinates(1, ax, ay, az, a);
    fillCoordinates(2, nx, ny, nz, n);
    c[3][1].text = lengthCell(job, dx);
    c[3][2].text = lengthCell(job, dy);
    c[3][3].text = lengthCell(job, dz);
    c[3][4].text = lengthCell(job, a.R - n.R);
    c[3][6].text = lengthCell(job, a.rho - n.rho);
    if (job.PhiThetaAsQ) {
        c[3][5].text = "Q = " + lengthCell(job, a.R * dPhi);
        c[3][7].text = "Q = " + lengthCell(job, (a.theta - n.theta) * a.rho);
    } else {
        c[3][5].text = angleCell(job, dPhi);
        c[3][7].text = angleCell(job, a.theta - n.theta);
    }
    for (int col = 1; col <= 7; ++col) c[3][col].align = FlagAlign::RightTop;
    c[1][1].align = c[2][1].align = FlagAlign::RightTop;

    double sign = 1;
    if (colorBased == "x")
        sign = signOf(dx);
    else if (colorBased == "y")
        sign = signOf(dy);
    else if (colorBased == "z")
        sign = signOf(dz);
    c[3][8].text = lengthCell(job, std::sqrt(dx * dx + dy * dy + dz * dz) * sign);
    c[3][8].align = FlagAlign::CentreTop;

    const std::int32_t point = identicalPointOfRow(row, job.IdenticalCount);
    for (int k = 1; k <= 3; ++k) {
        FlagCell& cell = c[kFlagUseRow][k];
        cell.align = FlagAlign::CentreTop;
        if (point == 0) continue;
        const auto index = static_cast<std::size_t>(3 * point - 3 + k);
        const bool used = index < job.UseFlags.size() && job.UseFlags[index] == 1;
        cell.text = used ? "X" : "";
        cell.hasBackground = true;
        cell.background = used ? storedColour(255, 255, 255) : storedColour(255, 255, 0);
    }

    // Sizes: each column fits its widest text, each row one line of the font.
    for (int col = 0; col < kFlagColumns; ++col) {
        for (int r = 0; r < kFlagRows; ++r) {
            const platform::TextSize size = metrics.measure(c[r][col].text, flagCellFont(table, c[r][col]));
            table.columnWidth[col] = std::max(table.columnWidth[col], columnWidthFor(size.width));
            table.rowHeight[r] = std::max(table.rowHeight[r], rowHeightFor(size.height));
        }
    }

    // Hidden columns and rows get no room.
    if (!layout.ShowPointNumber) {
        if (!layout.ShowLegendeName) table.columnWidth[0] = 0;
        if (!layout.ShowLegendeXYZ) table.rowHeight[0] = 0;
    }
    const bool columnShown[kFlagColumns] = {true,           layout.showX,     layout.showY,
                                            layout.showZ,   layout.showR,     layout.showPhi,
                                            layout.showRho, layout.showTheta, layout.show3D};
    for (int col = 1; col < kFlagColumns; ++col)
        if (!columnShown[col]) table.columnWidth[col] = 0;
    const bool rowShown[kFlagRows] = {true, layout.ShowActual, layout.ShowNominal, layout.ShowDev,
                                      layout.ShowUseNotUse};
    for (int r = 1; r < kFlagRows; ++r)
        if (!rowShown[r]) table.rowHeight[r] = 0;

    table.width = 0;
    for (int w : table.columnWidth) table.width += w;
    table.height = 0;
    for (int h : table.rowHeight) table.height += h;

    if (layout.ShowTolCol) {
        const float colour = cloud(row, cloud::Colour);
        table.background = std::isfinite(colour) ? static_cast<StoredColour>(std::lrint(colour)) : 0;
    }
    table.gridLines = layout.ShowGrid ? storedColour(0, 0, 0) : table.background;
}

}  // namespace kal
