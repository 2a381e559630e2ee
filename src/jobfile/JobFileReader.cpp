#include "jobfile/JobFileReader.h"

#include "jobfile/JobFileWriter.h"
#include "jobfile/LittleEndianReader.h"
#include "jobfile/LittleEndianWriter.h"
#include "jobfile/ViewRecordCodec.h"
#include "shared/TextEncoding.h"

namespace kal {
namespace {

constexpr std::int16_t kVariantEmpty = 0;
constexpr std::int16_t kVariantDouble = 5;
constexpr const char* kNotUsed = "not used";

class Decoder {
  public:
    explicit Decoder(std::string_view bytes) : in(bytes) {}

    LittleEndianReader in;

    std::string countedText(const char* what) { return windows1252ToUtf8(in.countedBytes(what)); }
    std::string elementText(const char* what) { return windows1252ToUtf8(in.elementBytes(what)); }

    std::int32_t upperBound(std::int64_t minElementBytes, const char* what) {
        std::int32_t u = in.i32(what);
        if (u < 0) in.fail(std::string(what) + " has the negative upper bound " + std::to_string(u));
        in.requireRoom(static_cast<std::int64_t>(u) + 1, minElementBytes, what);
        return u;
    }
    std::int32_t textArray(std::vector<std::string>& a, const char* what) {
        std::int32_t u = upperBound(2, what);
        a.assign(static_cast<std::size_t>(u) + 1, std::string());
        for (auto& s : a) s = elementText(what);
        return u;
    }
    std::int32_t variantArray(TaggedArray& a, const char* what) {
        std::int32_t u = upperBound(2, what);
        a = TaggedArray(u);
        for (std::int32_t i = 0; i <= u; ++i) {
            std::int16_t code = in.i16(what);
            if (code == kVariantDouble)
                a.set(i, in.finiteF64(what));
            else if (code != kVariantEmpty)
                in.fail(std::string(what) + ": element " + std::to_string(i) + " has the unknown type code " +
                        std::to_string(code));
        }
        return u;
    }
    std::int32_t doubleArray(std::vector<double>& a, const char* what) {
        std::int32_t u = upperBound(8, what);
        a.assign(static_cast<std::size_t>(u) + 1, 0.0);
        for (auto& v : a) v = in.finiteF64(what);
        return u;
    }
    void matrix(Matrix& m, std::int32_t lastColumn, const char* what) {
        std::int32_t u = in.i32(what);
        if (u < 0) in.fail(std::string(what) + " has the negative upper bound " + std::to_string(u));
        in.requireRoom((static_cast<std::int64_t>(u) + 1) * (lastColumn + 1), 8, what);
        m.resize(u, lastColumn);
        for (std::int32_t j = 0; j <= lastColumn; ++j)
            for (std::int32_t i = 0; i <= u; ++i) m(i, j) = in.finiteF64(what);
    }
    // A Boolean that decides which bytes follow: only -1 and 0 are ever written.
    bool layoutSwitch(const char* what) {
        std::int16_t v = in.i16(what);
        if (v != 0 && v != -1)
            in.fail(std::string(what) + " holds " + std::to_string(v) + " instead of -1 or 0");
        return v == -1;
    }
    void sameBound(std::int32_t a, std::int32_t b, const char* set) {
        if (a != b)
            in.fail(std::string("the arrays of ") + set + " have different sizes (" + std::to_string(a) +
                    " and " + std::to_string(b) + ")");
    }
    JobFileVersion versionRecord() {
        std::int32_t n = in.i32("the version record");
        if (n < 1 || n > 7) return jobFileVersion(1, 2, 40);
        auto text = in.bytes(static_cast<std::size_t>(n), "the version record");
        auto v = parseJobFileVersion(text);
        if (!v) in.fail("the version record holds no version");
        return *v;
    }
};

void readPointSet(Decoder& d, std::vector<std::string>& names, TaggedArray& x, TaggedArray& y,
                  std::vector<double>& z, const char* set, std::int32_t& upper) {
    std::string what = std::string("the ") + set;
    upper = d.textArray(names, (what + " names").c_str());
    d.sameBound(upper, d.variantArray(x, (what + " x coordinates").c_str()), set);
    d.sameBound(upper, d.variantArray(y, (what + " y coordinates").c_str()), set);
    d.sameBound(upper, d.doubleArray(z, (what + " z coordinates").c_str()), set);
}

// An index the file could not hold (written as 0) or that points outside the identical points is
// found again by the seed point's name.
void resolveSeedIndices(JobState& j) {
    for (std::size_t k = 1; k < j.SeedPointIndex.size(); ++k) {
        auto& index = j.SeedPointIndex[k];
        if (index >= 1 && index <= j.IdenticalCount) continue;
        index = 0;
        const auto& name = j.SeedPointNames[k];
        if (name.empty()) continue;
        for (std::int32_t i = 1; i <= j.IdenticalCount; ++i)
            if (j.MCS_Name[static_cast<std::size_t>(i)] == name) {
                index = i;
                break;
            }
    }
}

std::string encodedOffsetVectorTag() {
    LittleEndianWriter w;
    w.countedBytes(kOffsetVectorTag);
    return w.take();
}

}  // namespace

JobFileHeader olderLayoutWithoutVersion() {
    return JobFileHeader{JobFileHeader::Kind::NotAJob, jobFileVersion(1, 2, 40)};
}

JobFileHeader probeJobFileHeader(std::string_view bytes) {
    LittleEndianReader in(bytes);
    if (in.remaining() >= 4) {
        std::int32_t n = in.i32("the header");
        if (n >= 1 && n <= 7 && in.remaining() >= static_cast<std::size_t>(n)) {
            if (auto v = parseJobFileVersion(in.bytes(static_cast<std::size_t>(n), "the header"))) {
                auto kind = exceedsInSomePart(*v, 1, 3, 68) ? JobFileHeader::Kind::Current
                                                            : JobFileHeader::Kind::Older;
                return JobFileHeader{kind, *v};
            }
        }
    }
    return olderLayoutWithoutVersion();
}

JobFileReadResult readJobFile(std::string_view bytes, const JobFileHeader& header) {
    JobFileReadResult result;
    result.version = header.version;
    JobState& j = result.job;
    Decoder d(bytes);
    auto& in = d.in;
    const bool current = header.kind == JobFileHeader::Kind::Current;

    if (current) in.countedBytes("the version header");

    // 2: the three point sets
    std::int32_t mcsUpper = 0, ocsUpper = 0, mcstUpper = 0;
    readPointSet(d, j.MCS_Name, j.MCS_X, j.MCS_Y, j.MCS_Z, "MCS points", mcsUpper);
    readPointSet(d, j.OCS_Name, j.OCS_X, j.OCS_Y, j.OCS_Z, "OCS points", ocsUpper);
    readPointSet(d, j.MCSt_Name, j.MCSt_X, j.MCSt_Y, j.MCSt_Z, "transformed MCS points", mcstUpper);

    // 3: counts, checked against each other and against the arrays
    j.IdenticalCount = in.i32("the identical point count");
    j.McsCount = in.i32("the MCS point count");
    j.OcsCount = in.i32("the OCS point count");
    if (j.IdenticalCount < 0) in.fail("the identical point count is negative");
    if (j.McsCount < j.IdenticalCount || j.OcsCount < j.IdenticalCount)
        in.fail("there are more identical points (" + std::to_string(j.IdenticalCount) + ") than MCS (" +
                std::to_string(j.McsCount) + ") or OCS points (" + std::to_string(j.OcsCount) + ")");
    if (j.McsCount > mcsUpper || j.McsCount > mcstUpper)
        in.fail("the MCS point count " + std::to_string(j.McsCount) + " exceeds the points stored");
    if (j.OcsCount > ocsUpper)
        in.fail("the OCS point count " + std::to_string(j.OcsCount) + " exceeds the points stored");
    j.McsOnlyCount = j.McsCount - j.IdenticalCount;
    j.OcsOnlyCount = j.OcsCount - j.IdenticalCount;

    // 4: use flags, three per identical point
    {
        std::int32_t u = d.upperBound(2, "the use flags");
        if (u < 3 * static_cast<std::int64_t>(j.IdenticalCount))
            in.fail("the use flags (" + std::to_string(u) + ") do not cover the " +
                    std::to_string(j.IdenticalCount) + " identical points");
        j.UseFlags.resize(static_cast<std::size_t>(u) + 1);
        for (auto& f : j.UseFlags) f = in.i16("the use flags");
    }

    // 5: parameter states; older layouts hold 14 or 15 of them and lack the later parameters
    {
        std::size_t stored = !current ? 14 : exceedsInSomePart(header.version, 2, 0, 57) ? 18 : 15;
        for (std::size_t k = 0; k < stored; ++k) {
            std::string s = d.elementText("the parameter states");
            if (k > 0 || stored == j.ParamState.size()) j.ParamState[k] = std::move(s);
        }
        for (std::size_t k = stored; k < j.ParamState.size(); ++k) j.ParamState[k] = kNotUsed;
    }

    // 6: the stored AutoRecalc has no effect: a loaded job never recalculates by itself
    j.RichtungMCStoOCS = in.boolean("the direction flag");
    in.boolean("the automatic recalculation flag");
    j.AutoRecalc = false;

    // 7: the parameter block; R Dist only in the current layout
    for (int k = 1; k <= (current ? kRDist : kZtoXY); ++k)
        j.Params[static_cast<std::size_t>(k)] = in.finiteF64("the transformation parameters");
    j.RotXSeed = j.RotX();
    j.RotYSeed = j.RotY();
    j.RotZSeed = j.RotZ();

    // 8: units
    j.LengthUnitName = d.countedText("the length unit");
    j.AngleUnitName = d.countedText("the angle unit");
    j.DigitLength = in.i16("the length digits");
    j.DigitAngle = in.i16("the angle digits");
    j.NormMode = in.i16("the norm");

    // 9, 10: seed points, set names and input files
    for (auto& s : j.SeedPointNames) s = d.elementText("the seed point names");
    for (auto& i : j.SeedPointIndex) i = in.i16("the seed point indices");
    j.NameMCS = d.countedText("the MCS name");
    j.NameOCS = d.countedText("the OCS name");
    j.MCS_FileName = d.countedText("the MCS file name");
    j.OCS_FileName = d.countedText("the OCS file name");

    // From here on the items present follow the file's version: the header's in the current
    // layout, the version record's in the older one.
    const JobFileVersion v = current ? header.version : d.versionRecord();

    // 11: view filters
    if (isNewerThan(v, 1, 2, 40)) {
        j.GraphicsFlags.ViewAllMCS = in.boolean("the view filters");
        j.GraphicsFlags.ViewAllOCS = in.boolean("the view filters");
        j.GraphicsFlags.ViewAllonlyMCS = in.boolean("the view filters");
        j.GraphicsFlags.ViewAllonlyOCS = in.boolean("the view filters");
    } else {
        j.GraphicsFlags.ViewAllMCS = j.GraphicsFlags.ViewAllOCS = true;
        j.GraphicsFlags.ViewAllonlyMCS = j.GraphicsFlags.ViewAllonlyOCS = true;
    }

    // 12, 13: paraboloid profile and saved views
    if (isNewerThan(v, 1, 3, 71)) {
        j.ParaboloidMode = d.layoutSwitch("the paraboloid mode");
        if (j.ParaboloidMode) d.matrix(j.ShapeProfile, 2, "the paraboloid profile");
        std::int16_t count = in.i16("the saved view count");
        if (count < 0 || count > kMaxSavedViews)
            in.fail("the saved view count " + std::to_string(count) + " is outside 0.." +
                    std::to_string(kMaxSavedViews));
        if (count > 0) {
            std::int32_t u = d.textArray(j.SavedViewNames, "the saved view names");
            if (u + 1 != count)
                in.fail("the saved view count " + std::to_string(count) + " does not match its " +
                        std::to_string(u + 1) + " names");
            in.requireRoom(kMaxSavedViews + 1, kMinScreenPropertiesBytes, "the saved views");
            for (auto& view : j.SavedViews) view = readScreenProperties(in);
        }
        j.ViewCount = count;
    } else {
        result.savedViewsMissing = true;
    }

    // 14: robot angles and offset vectors
    bool robotItemRead = false;
    if (isNewerThan(v, 2, 0, 46)) {
        robotItemRead = true;
        j.KukaOcsMode = d.layoutSwitch("the KUKA mode");
        j.QuatOcsMode = d.layoutSwitch("the quaternion mode");
        if (j.KukaOcsMode || j.QuatOcsMode) {
            d.matrix(j.OcsAngles, 3, "the robot angles");
            std::int32_t u = d.variantArray(j.RVec_X, "the offset vectors");
            d.sameBound(u, d.variantArray(j.RVec_Y, "the offset vectors"), "offset vectors");
            d.sameBound(u, d.doubleArray(j.RVec_Z, "the offset vectors"), "offset vectors");
        }
    }
    if (j.RVec_X.upper() < j.IdenticalCount) {
        j.RVec_X.resize(j.IdenticalCount);
        j.RVec_Y.resize(j.IdenticalCount);
        j.RVec_Z.resize(static_cast<std::size_t>(j.IdenticalCount) + 1, 0.0);
    }

    // The trailing offset-vector item. Other trailing bytes are ignored, as they always were;
    // but the start of the tag cut short means the file was cut inside the item.
    if (robotItemRead) {
        static const std::string tag = encodedOffsetVectorTag();
        auto rest = in.rest();
        if (rest.size() >= tag.size() && rest.substr(0, tag.size()) == tag) {
            in.bytes(tag.size(), "the offset vector");
            for (int k = kRvecX; k <= kRvecZ; ++k)
                j.Params[static_cast<std::size_t>(k)] = in.finiteF64("the offset vector");
            result.offsetVectorRead = true;
        } else if (!rest.empty() && rest.size() < tag.size() && tag.compare(0, rest.size(), rest) == 0) {
            in.fail("the file ends inside the offset vector");
        }
    }

    resolveSeedIndices(j);
    j.DataLoaded = j.McsCount > 0 || j.OcsCount > 0;
    j.TrafoCalculated = false;
    j.MCSOCSGetauscht = false;
    return result;
}

}  // namespace kal
