#include "results/CalculationReport.h"

#include <charconv>
#include <cmath>
#include <exception>

#include "calculation/AlternativeSolutions.h"
#include "engine/InverseTrafo.h"
#include "engine/ParameterStates.h"
#include "platform/Regional.h"
#include "results/PatternWriter.h"
#include "shared/Units.h"
#include "shared/Vectors.h"

namespace kal {

namespace {

constexpr char kTab = '\t';
constexpr const char* kLineEnd = "\r\n";
constexpr double kFoldPi = 3.14159265358979;

std::size_t at(int i) { return static_cast<std::size_t>(i); }

// The azimuth difference brought into [−π, π]; ±π stay.
double foldAzimuth(double d) {
    if (d > kFoldPi) return d - 2 * kFoldPi;
    if (d < -kFoldPi) return d + 2 * kFoldPi;
    return d;
}

// The text in one growing buffer; lengths and plain angles through patterns read once.
class Builder {
  public:
    Builder(const JobState& job, std::size_t reserve)
        : job_(job),
          lengthPattern_(job.LengthFormat),
          anglePattern_(job.AngleFormat),
          dms_(job.AngleUnitName == kDmsUnitName),
          separator_(platform::Regional::decimalSeparator()) {
        text_.reserve(reserve);
    }
    Builder& raw(std::string_view s) {
        text_.append(s);
        return *this;
    }
    Builder& tab() { return raw("\t"); }
    Builder& field(const std::optional<std::string>& s) {
        if (s) text_.append(*s);
        return *this;
    }
    Builder& length(double mm) {
        lengthPattern_.append(text_, mm * job_.LengthFactor, separator_);
        return *this;
    }
    Builder& angle(double radians) {
        if (dms_) return field(angleText(job_, radians));
        anglePattern_.append(text_, radians * job_.AngleFactor, separator_);
        return *this;
    }
    Builder& newLine() { return raw(kLineEnd); }
    Builder& integer(long value) {
        char buf[24];
        const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
        text_.append(buf, static_cast<std::size_t>(end - buf));
        return *this;
    }
    std::string take() { return std::move(text_); }

  private:
    const JobState& job_;
    PatternWriter lengthPattern_, anglePattern_;
    bool dms_;
    char separator_;
    std::string text_;
};

constexpr std::array<const char*, 25> kHeader{
    "PktNr.",          "MCS.x ",      " MCS.y ",         " MCS.z ",     " OCS.x ",
    " OCS.y ",         " OCS.z ",     " dev.x ",         " dev.y ",     " dev.z ",
    " use.x ",         " use.y ",     " use.z ",         " MCS.r.CYL ", " MCS.Phi ",
    " OCS.r.CYL ",     " OCS.Phi ",   " dev.r.CYL ",     " dev.Phi ",   " MCS.R.SPH ",
    " MCS.Theta.SPH ", " OCS.R.SPH ", " OCS.Theta.SPH ", " dev.R.SPH ", " dev.Theta.SPH"};

}  // namespace

std::string completeResultsReport(const JobState& job, const DisplayTicks& ticks, const ResultDisplay& d) {
    const std::int32_t n = job.IdenticalCount;
    Builder b(job, 4096 + static_cast<std::size_t>(n > 0 ? n : 0) * 300);
    b.raw("Start = MCS File: ").raw(job.MCS_FileName).tab().newLine();
    b.raw("Target = OCS File: ").raw(job.OCS_FileName).tab().newLine();

    const auto& p = job.Params;
    auto lengthLine = [&](const char* label, double v) {
        b.raw(label).tab().length(v).tab().raw(job.LengthUnitName);
    };
    auto angleLine = [&](const char* label, double v) {
        b.raw(label).tab().angle(v).tab().raw(job.AngleUnitName);
    };
    auto scaleLine = [&](const char* label, double v) { b.raw(label).tab().field(scaleText(job, v)); };
    lengthLine("Tra x    ", p[kTraX]);
    b.newLine(), lengthLine("Tra y    ", p[kTraY]);
    b.newLine(), lengthLine("Tra z    ", p[kTraZ]);
    b.newLine(), angleLine("Rotx ", p[kRotX]);
    b.newLine(), angleLine("Roty ", p[kRotY]);
    b.newLine(), angleLine("Rotz ", p[kRotZ]);
    if (ticks.ticked[kScaleXYZ]) b.newLine(), scaleLine("Scale xyz", p[kScaleXYZ]);
    b.newLine(), scaleLine("Scale x    ", p[kScaleX]);
    b.newLine(), scaleLine("Scale y    ", p[kScaleY]);
    b.newLine(), scaleLine("Scale z    ", p[kScaleZ]);
    b.newLine(), angleLine("xy   ", p[kParXY]);
    b.newLine(), angleLine("Azimuth   ", p[kAzimuth]);
    b.newLine(), angleLine("ZtoXY   ", p[kZtoXY]);
    if (job.UseAbcMode) {
        b.newLine(), lengthLine("R_vec_x   ", p[kRvecX]);
        b.newLine(), lengthLine("R_vec_y   ", p[kRvecY]);
        b.newLine(), lengthLine("R_vec_z   ", p[kRvecZ]);
    } else {
        b.newLine(), lengthLine("R_Dist   ", p[kRDist]);
    }

    // The statistics of this display; an absent one is an empty field.
    auto stat = [&](int q) -> std::optional<std::string> {
        if (!d.statistics || !d.statistics->value[at(q)]) return std::nullopt;
        return lengthText(job, *d.statistics->value[at(q)]);
    };
    b.newLine().raw("s0 ").tab().field(stat(kStatS0)).tab().raw(job.LengthUnitName).tab();
    b.raw("sigma xyz ").tab().field(stat(kStatSigmaXyz)).tab().raw(job.LengthUnitName);
    const char* axisNames[3][4] = {{"sx   ", "max x ", "min x   ", "max x - min x   "},
                                   {"sy   ", "max y ", "min y   ", "max y - min y   "},
                                   {"sz   ", "max z ", "min z   ", "max z - min z   "}};
    for (int a = 0; a < 3; ++a) {
        b.newLine().raw(axisNames[a][0]).tab().field(stat(kStatSx + a)).tab();
        b.raw(axisNames[a][1]).tab().field(stat(kStatMaxX + 2 * a)).tab();
        b.raw(axisNames[a][2]).tab().field(stat(kStatMinX + 2 * a)).tab();
        b.raw(axisNames[a][3]).tab().field(stat(kStatSpreadX + a));
    }

    b.newLine().raw(kHeader[0]);
    for (std::size_t c = 1; c < kHeader.size(); ++c) b.tab().raw(kHeader[c]);

    // The transformed MCS points are the ones the calculation stored, as the main sheet shows them.
    const bool sized = job.MCSt_X.upper() >= n && job.MCSt_Y.upper() >= n && at(n) < job.MCSt_Z.size() &&
                       job.OCS_X.upper() >= n && job.OCS_Y.upper() >= n && at(n) < job.OCS_Z.size() &&
                       at(n) < job.MCS_Name.size() && at(3 * n) < job.UseFlags.size();
    if (!sized) return b.take();
    for (std::int32_t i = 1; i <= n; ++i) {
        const double mx = job.MCSt_X[i], my = job.MCSt_Y[i], mz = job.MCSt_Z[at(i)];
        const double ox = job.OCS_X[i], oy = job.OCS_Y[i], oz = job.OCS_Z[at(i)];
        b.newLine().raw(job.MCS_Name[at(i)]);
        b.tab().length(mx).tab().length(my).tab().length(mz);
        b.tab().length(ox).tab().length(oy).tab().length(oz);
        b.tab().length(mx - ox).tab().length(my - oy).tab().length(mz - oz);
        for (int c = 2; c >= 0; --c) b.tab().integer(job.UseFlags[at(3 * i - c)]);
        double rm = 0, phim = 0, ro = 0, phio = 0, Rm = 0, thm = 0, Ro = 0, tho = 0;
        bool geometry = true;
        try {
            rm = length2d(mx, my), phim = azimuthXY(mx, my), ro = length2d(ox, oy), phio = azimuthXY(ox, oy);
            Rm = length3d(mx, my, mz), thm = polarAngle(mx, my, mz);
            Ro = length3d(ox, oy, oz), tho = polarAngle(ox, oy, oz);
        } catch (const std::exception&) {
            geometry = false;  // a point too far out: its cylinder and sphere fields stay empty
        }
        if (geometry) {
            b.tab().length(rm).tab().angle(phim).tab().length(ro).tab().angle(phio);
            b.tab().length(rm - ro).tab().angle(foldAzimuth(phim - phio));
            b.tab().length(Rm).tab().angle(thm).tab().length(Ro).tab().angle(tho);
            b.tab().length(Rm - Ro).tab().angle(thm - tho);
        } else {
            b.raw("\t\t\t\t\t\t\t\t\t\t\t\t");
        }
    }
    return b.take();
}

std::string robotPoseLine(const JobState& job) {
    const auto& p = job.Params;
    std::string head = kRobotHead;
    Builder values(job, 256);
    values.length(p[kTraX]).tab().length(p[kTraY]).tab().length(p[kTraZ]);
    values.tab().angle(-p[kRotZ]).tab().angle(-p[kRotY]).tab().angle(-p[kRotX]);
    if (job.AdTCP) {
        values.tab().length(-p[kRvecX]).tab().length(-p[kRvecY]).tab().length(-p[kRvecZ]);
        head += kRobotTcpHead;
    }
    return head + kTab + values.take();
}

bool plainSixParameters(const JobState& job, const DisplayTicks& ticks) {
    for (int slot : {kScaleX, kScaleY, kScaleZ, kScaleXYZ, kParXY, kAzimuth, kZtoXY})
        if (ticks.ticked[at(slot)]) return false;
    // Compared as the boxes show them, so a scale that rounds to 1 counts as 1.
    for (int slot : {kScaleX, kScaleY, kScaleZ, kScaleXYZ}) {
        if (isNotUsedState(job.ParamState[at(slot)])) continue;
        if (scaleText(job, job.Params[at(slot)]) != scaleText(job, 1.0)) return false;
    }
    for (int slot : {kParXY, kAzimuth, kZtoXY}) {
        if (isNotUsedState(job.ParamState[at(slot)])) continue;
        if (angleText(job, job.Params[at(slot)]) != angleText(job, 0.0)) return false;
    }
    return true;
}

std::string cellCalibrationLine(JobState& job, const DisplayTicks& ticks, bool& noInverse) {
    noInverse = false;
    Builder b(job, 512);
    if (!job.InvertedBMW) {
        const auto& p = job.Params;
        b.length(p[kTraX]).tab().length(p[kTraY]).tab().length(p[kTraZ]).tab();
        b.angle(-p[kRotX]).tab().angle(-p[kRotY]).tab().angle(-p[kRotZ]).tab();
        return b.take();
    }
    try {
        if (!solveInverseTransform(job)) {
            noInverse = true;
            return std::string();
        }
    } catch (const std::exception&) {
        return std::string();  // a zero scale: no inverse, and no partial line either
    }
    const Matrix& t = job.InverseSolutionTable;
    if (t.rows() < 1 || t.cols() < 3) {
        noInverse = true;
        return std::string();
    }
    if (!plainSixParameters(job, ticks)) b.raw(kNotPlainNotice).newLine().raw(kOnlyTraRotNotice).newLine();
    b.length(job.InvTraX).tab().length(job.InvTraY).tab().length(job.InvTraZ).tab();
    b.angle(-t(1, 1)).tab().angle(-t(1, 2)).tab().angle(-t(1, 3)).tab();
    return b.take();
}

ClipboardOutput clipboardOutput(JobState& job, const DisplayTicks& ticks, const ResultDisplay& d) {
    ClipboardOutput out;
    switch (job.ClipboardMode) {
        case 2:
            out.text = completeResultsReport(job, ticks, d);
            break;
        case 4:
            try {
                const auto& rotX = d.params[kRotX].value;
                out.rotationTexts = otherRotationTexts(job, rotX ? *rotX : std::string());
            } catch (const std::exception&) {
                // the boxes keep the solution they show
            }
            out.text = cellCalibrationLine(job, ticks, out.noInverse);
            break;
        case 5:
            out.text = robotPoseLine(job);
            break;
        default:
            break;  // 1 nothing, 3 a protocol no part of the program writes
    }
    return out;
}

}  // namespace kal
