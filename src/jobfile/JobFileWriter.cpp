#include "jobfile/JobFileWriter.h"

#include <cstdint>
#include <limits>

#include "jobfile/JobFileVersion.h"
#include "jobfile/LittleEndianWriter.h"
#include "jobfile/ViewRecordCodec.h"
#include "shared/TextEncoding.h"

namespace kal {
namespace {

constexpr std::int16_t kVariantEmpty = 0;
constexpr std::int16_t kVariantDouble = 5;

class Encoder {
  public:
    explicit Encoder(JobFileWriteNotes& notes) : notes_(notes) {}

    LittleEndianWriter out;

    void countedText(const std::string& utf8) {
        out.countedBytes(utf8ToWindows1252(utf8, &notes_.textsLossy));
    }
    void elementText(const std::string& utf8) {
        out.elementBytes(utf8ToWindows1252(utf8, &notes_.textsLossy));
    }

    // Indices beyond what memory holds are written as empty elements.
    void textArray(const std::vector<std::string>& a, std::int32_t upper) {
        out.i32(upper);
        for (std::int32_t i = 0; i <= upper; ++i)
            elementText(static_cast<std::size_t>(i) < a.size() ? a[static_cast<std::size_t>(i)]
                                                               : std::string());
    }
    void variantArray(const TaggedArray& a, std::int32_t upper) {
        out.i32(upper);
        for (std::int32_t i = 0; i <= upper; ++i) {
            if (i <= a.upper() && a.isAssigned(i)) {
                out.i16(kVariantDouble);
                out.f64(a[i]);
            } else {
                out.i16(kVariantEmpty);
            }
        }
    }
    void doubleArray(const std::vector<double>& a, std::int32_t upper) {
        out.i32(upper);
        for (std::int32_t i = 0; i <= upper; ++i)
            out.f64(static_cast<std::size_t>(i) < a.size() ? a[static_cast<std::size_t>(i)] : 0.0);
    }
    // A two-dimensional array whose second dimension is fixed at 0..lastColumn: the upper bound of
    // the first dimension, then the elements with the first index running fastest.
    void matrix(const Matrix& m, std::int32_t lastColumn) {
        out.i32(m.rows());
        for (std::int32_t j = 0; j <= lastColumn; ++j)
            for (std::int32_t i = 0; i <= m.rows(); ++i) out.f64(j <= m.cols() ? m(i, j) : 0.0);
    }

  private:
    JobFileWriteNotes& notes_;
};

}  // namespace

std::string writeJobFile(const JobState& job, JobFileWriteNotes& notes) {
    Encoder e(notes);
    auto& out = e.out;
    // About 100 bytes per point per set; one allocation up front.
    out.reserve(4096 + 64 * static_cast<std::size_t>(2 * job.McsCount + job.OcsCount) +
                6 * static_cast<std::size_t>(job.IdenticalCount));

    // 1: version
    e.countedText(programJobFileVersion().text);

    // 2: the three point sets
    e.textArray(job.MCS_Name, job.McsCount);
    e.variantArray(job.MCS_X, job.McsCount);
    e.variantArray(job.MCS_Y, job.McsCount);
    e.doubleArray(job.MCS_Z, job.McsCount);
    e.textArray(job.OCS_Name, job.OcsCount);
    e.variantArray(job.OCS_X, job.OcsCount);
    e.variantArray(job.OCS_Y, job.OcsCount);
    e.doubleArray(job.OCS_Z, job.OcsCount);
    e.textArray(job.MCSt_Name, job.McsCount);
    e.variantArray(job.MCSt_X, job.McsCount);
    e.variantArray(job.MCSt_Y, job.McsCount);
    e.doubleArray(job.MCSt_Z, job.McsCount);

    // 3: counts
    out.i32(job.IdenticalCount);
    out.i32(job.McsCount);
    out.i32(job.OcsCount);

    // 4: use flags, 0..3 * IdenticalCount
    const std::int64_t flagUpper = 3 * static_cast<std::int64_t>(job.IdenticalCount);
    if (flagUpper > std::numeric_limits<std::int32_t>::max())
        throw FormatError("Too many identical points for the job file.");
    out.i32(static_cast<std::int32_t>(flagUpper));
    for (std::int64_t i = 0; i <= flagUpper; ++i)
        out.i16(static_cast<std::size_t>(i) < job.UseFlags.size() ? job.UseFlags[static_cast<std::size_t>(i)]
                                                                  : 0);

    // 5: parameter states 0..17
    for (const auto& s : job.ParamState) e.elementText(s);

    // 6
    out.boolean(job.RichtungMCStoOCS);
    out.boolean(job.AutoRecalc);

    // 7: parameter block slots 1..14
    for (int k = 1; k <= kStoredParamCount; ++k) out.f64(job.Params[static_cast<std::size_t>(k)]);

    // 8: units
    e.countedText(job.LengthUnitName);
    e.countedText(job.AngleUnitName);
    out.i16(job.DigitLength);
    out.i16(job.DigitAngle);
    out.i16(job.NormMode);

    // 9: seed points; an index the 16-bit field cannot hold is written as 0 and found again by name
    for (const auto& s : job.SeedPointNames) e.elementText(s);
    for (auto index : job.SeedPointIndex) {
        if (index < std::numeric_limits<std::int16_t>::min() ||
            index > std::numeric_limits<std::int16_t>::max()) {
            notes.seedIndexLeftOut = true;
            index = 0;
        }
        out.i16(static_cast<std::int16_t>(index));
    }

    // 10: names of the sets and their files
    e.countedText(job.NameMCS);
    e.countedText(job.NameOCS);
    e.countedText(job.MCS_FileName);
    e.countedText(job.OCS_FileName);

    // 11: view filters
    out.boolean(job.GraphicsFlags.ViewAllMCS);
    out.boolean(job.GraphicsFlags.ViewAllOCS);
    out.boolean(job.GraphicsFlags.ViewAllonlyMCS);
    out.boolean(job.GraphicsFlags.ViewAllonlyOCS);

    // 12: paraboloid profile
    out.boolean(job.ParaboloidMode);
    if (job.ParaboloidMode) e.matrix(job.ShapeProfile, 2);

    // 13: saved views, counted by their names so that count and entries always agree
    if (job.SavedViewNames.empty()) {
        out.i16(0);
    } else {
        if (job.SavedViewNames.size() > static_cast<std::size_t>(kMaxSavedViews))
            throw FormatError("More than " + std::to_string(kMaxSavedViews) + " saved views.");
        out.i16(static_cast<std::int16_t>(job.SavedViewNames.size()));
        e.textArray(job.SavedViewNames, static_cast<std::int32_t>(job.SavedViewNames.size()) - 1);
        for (std::size_t k = 0; k <= static_cast<std::size_t>(kMaxSavedViews); ++k) {
            static const ScreenProperties kEmpty{};
            writeScreenProperties(out, k < job.SavedViews.size() ? job.SavedViews[k] : kEmpty, notes);
        }
    }

    // 14: robot angles and offset vectors
    out.boolean(job.KukaOcsMode);
    out.boolean(job.QuatOcsMode);
    if (job.KukaOcsMode || job.QuatOcsMode) {
        e.matrix(job.OcsAngles, 3);
        e.variantArray(job.RVec_X, job.IdenticalCount);
        e.variantArray(job.RVec_Y, job.IdenticalCount);
        e.doubleArray(job.RVec_Z, job.IdenticalCount);
    }

    // The offset vector (slots 15..17): a tagged trailing item after item 14, so a reader of the
    // 14-item layout (older job files and the programs that exchange them) stops before it and
    // still reads a complete job.
    out.countedBytes(kOffsetVectorTag);
    for (int k = kRvecX; k <= kRvecZ; ++k) out.f64(job.Params[static_cast<std::size_t>(k)]);

    return out.take();
}

}  // namespace kal
