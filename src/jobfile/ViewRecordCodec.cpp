#include "jobfile/ViewRecordCodec.h"

#include <limits>

#include "shared/TextEncoding.h"

namespace kal {
namespace {

constexpr std::int32_t kI16Max = std::numeric_limits<std::int16_t>::max();
constexpr std::int32_t kI16Min = std::numeric_limits<std::int16_t>::min();

void elementText(LittleEndianWriter& out, const std::string& s, JobFileWriteNotes& notes) {
    out.elementBytes(utf8ToWindows1252(s, &notes.textsLossy));
}
std::string elementText(LittleEndianReader& in, const char* what) {
    return windows1252ToUtf8(in.elementBytes(what));
}

// Dimension header of a dynamic array: d, then (count, lower bound) per dimension.
void dimensions(LittleEndianWriter& out, std::initializer_list<std::int32_t> counts) {
    out.i16(static_cast<std::int16_t>(counts.size()));
    for (auto c : counts) {
        out.i32(c);
        out.i32(0);
    }
}

struct Dimension {
    std::int32_t count = 0;
    std::int32_t lower = 0;
    std::int32_t upper() const { return lower + count - 1; }
};

// Reads the dimension header of an array that has `expected` dimensions when sized. Returns false
// for an array without dimensions (never sized). Checks that the elements fit in the bytes left.
bool readDimensions(LittleEndianReader& in, int expected, Dimension* dims, std::int64_t elementBytes,
                    const char* what) {
    std::int16_t d = in.i16(what);
    if (d == 0) return false;
    if (d != expected)
        in.fail(std::string(what) + " has " + std::to_string(d) + " dimensions instead of " +
                std::to_string(expected));
    // Memory holds indices from 0, so a lower bound above 0 costs memory too: both the stored
    // elements and the indices 0..upper must fit in what the bytes left could hold.
    std::int64_t elements = 1;
    std::int64_t slots = 1;
    for (int k = 0; k < expected; ++k) {
        dims[k].count = in.i32(what);
        dims[k].lower = in.i32(what);
        if (dims[k].count < 1 || dims[k].lower < 0)
            in.fail(std::string(what) + " has the impossible bounds " + std::to_string(dims[k].lower) +
                    " and " + std::to_string(dims[k].count) + " elements");
        elements *= dims[k].count;
        slots *= static_cast<std::int64_t>(dims[k].lower) + dims[k].count;
        in.requireRoom(elements, elementBytes, what);
        in.requireRoom(slots, elementBytes, what);
    }
    return true;
}

// A two-dimensional array held as a Matrix; elements below a stored lower bound stay 0.
template <typename ReadElement>
void readMatrix(LittleEndianReader& in, Matrix& m, std::int64_t elementBytes, const char* what,
                ReadElement read) {
    Dimension dims[2];
    if (!readDimensions(in, 2, dims, elementBytes, what)) {
        m = Matrix();
        return;
    }
    m.resize(dims[0].upper(), dims[1].upper());
    for (std::int32_t j = dims[1].lower; j <= dims[1].upper(); ++j)
        for (std::int32_t i = dims[0].lower; i <= dims[0].upper(); ++i) m(i, j) = read();
}

}  // namespace

void writeFahneRecord(LittleEndianWriter& out, const FahneRecord& f, JobFileWriteNotes& notes) {
    for (bool b :
         {f.ShowPointNumber, f.ShowActual, f.ShowNominal,    f.ShowDevXYZ,      f.showX,         f.showY,
          f.showZ,           f.show3D,     f.showR,          f.showPhi,         f.showRho,       f.showTheta,
          f.ShowDev,         f.ShowTolCol, f.ShowLegendeXYZ, f.ShowLegendeName, f.ShowUseNotUse, f.ShowGrid,
          f.ChangeAll,       f.SnaptoGrid, f.WithinScreen})
        out.boolean(b);
    out.i16(f.Left);
    out.i16(f.Top);
    out.boolean(f.Bold);
    out.i16(f.Charset);
    out.boolean(f.Italic);
    elementText(out, f.Name, notes);
    out.f32(f.Size);
    out.boolean(f.Strikethrough);
    out.boolean(f.Underline);
    out.f32(f.Weight);
    out.i32(f.Forecolor);
}

FahneRecord readFahneRecord(LittleEndianReader& in) {
    const char* what = "a flag layout";
    FahneRecord f;
    for (bool* b : {&f.ShowPointNumber, &f.ShowActual,    &f.ShowNominal, &f.ShowDevXYZ, &f.showX,
                    &f.showY,           &f.showZ,         &f.show3D,      &f.showR,      &f.showPhi,
                    &f.showRho,         &f.showTheta,     &f.ShowDev,     &f.ShowTolCol, &f.ShowLegendeXYZ,
                    &f.ShowLegendeName, &f.ShowUseNotUse, &f.ShowGrid,    &f.ChangeAll,  &f.SnaptoGrid,
                    &f.WithinScreen})
        *b = in.boolean(what);
    f.Left = in.i16(what);
    f.Top = in.i16(what);
    f.Bold = in.boolean(what);
    f.Charset = in.i16(what);
    f.Italic = in.boolean(what);
    f.Name = elementText(in, what);
    f.Size = in.finiteF32(what);
    f.Strikethrough = in.boolean(what);
    f.Underline = in.boolean(what);
    f.Weight = in.finiteF32(what);
    f.Forecolor = in.i32(what);
    return f;
}

void writeScreenProperties(LittleEndianWriter& out, const ScreenProperties& r, JobFileWriteNotes& notes) {
    out.boolean(r.VectorMode);
    out.i16(r.BigNess);
    out.boolean(r.Faehnchenmode);
    out.f32(r.Massstab);
    out.f32(r.OffsetX);
    out.f32(r.OffsetY);
    out.f32(r.Vec_Massstab);
    out.i16(r.GridLength);

    // 9: view angles
    if (isNeverSized(r.ViewAngles)) {
        out.i16(0);
    } else {
        dimensions(out, {r.ViewAngles.rows() + 1, r.ViewAngles.cols() + 1});
        for (std::int32_t j = 0; j <= r.ViewAngles.cols(); ++j)
            for (std::int32_t i = 0; i <= r.ViewAngles.rows(); ++i) out.f64(r.ViewAngles(i, j));
    }

    out.i16(r.FahneAnzahl);

    // 11: the flag of each cloud row, expanded to the dense array the file holds
    if (!r.FlagOfPoint.isSized()) {
        out.i16(0);
    } else {
        dimensions(out, {r.FlagOfPoint.upper() + 1});
        const std::size_t start = out.size();
        out.buffer().append(2 * (static_cast<std::size_t>(r.FlagOfPoint.upper()) + 1), '\0');
        for (const auto& [row, flag] : r.FlagOfPoint.flaggedRows()) {
            auto at = start + 2 * static_cast<std::size_t>(row);
            out.buffer()[at] = static_cast<char>(static_cast<std::uint16_t>(flag) & 0xFF);
            out.buffer()[at + 1] = static_cast<char>(static_cast<std::uint16_t>(flag) >> 8);
        }
    }

    // 12: flag layouts
    if (r.FahneProps.empty()) {
        out.i16(0);
    } else {
        dimensions(out, {static_cast<std::int32_t>(r.FahneProps.size())});
        for (const auto& f : r.FahneProps) writeFahneRecord(out, f, notes);
    }

    out.i16(r.CurrentFahne);
    out.i16(r.WindowWidth);
    out.i16(r.WindowHeight);
    out.i16(r.AnzKlassenPos);
    out.i16(r.AnzKlassenNeg);
    out.boolean(r.AusserhalbTol);
    out.f64(r.Min);
    out.f64(r.Max);
    out.boolean(r.showVeX);
    out.boolean(r.showVeY);
    out.boolean(r.showVeZ);
    elementText(out, r.ColorBased, notes);
    out.boolean(r.ShowOnlyUsedComponent);
    out.i32(r.OuterColor);
    elementText(out, r.CS_Type, notes);
    out.boolean(r.BinaerModus);
    out.boolean(r.BlackPlane);
    out.boolean(r.BlackPlaneBorders);
    out.boolean(r.BlackInitial);
    out.f32(r.BlackOffX);
    out.f32(r.BlackOffY);
    out.f64(r.BlackM);
    out.f64(r.BlackThick);
    for (std::int32_t j = 0; j <= 3; ++j)
        for (std::int32_t i = 0; i <= 3; ++i)
            out.f64(i <= r.PlaneMatrix.rows() && j <= r.PlaneMatrix.cols() ? r.PlaneMatrix(i, j) : 0.0);
    out.f32(r.BlackZ);
    out.boolean(r.GridXY);
    out.boolean(r.GridYZ);
    out.boolean(r.GridZX);
    out.i32(r.ADis);
    out.i32(r.BDis);
    out.i32(r.Cdis);
    out.boolean(r.ShowGridDim);

    // 45: line table, 16-bit in the file. A segment to a row the field cannot hold is left out
    // whole, never wrapped to another row; the count follows what is written.
    std::int32_t lineCount = r.LineCount;
    if (isNeverSized(r.Lines)) {
        out.i16(0);
    } else {
        std::vector<std::int32_t> kept;
        kept.reserve(static_cast<std::size_t>(r.Lines.cols()) + 1);
        for (std::int32_t k = 0; k <= r.Lines.cols(); ++k) {
            bool fits = true;
            for (std::int32_t i = 0; i <= r.Lines.rows(); ++i)
                fits = fits && r.Lines(i, k) >= kI16Min && r.Lines(i, k) <= kI16Max;
            if (fits)
                kept.push_back(k);
            else if (k >= 1 && k <= r.LineCount)
                --lineCount, notes.linesLeftOut = true;
            else
                notes.linesLeftOut = true;
        }
        if (kept.empty()) kept.push_back(-1);  // a column 0 of zeros keeps the array sized
        dimensions(out, {r.Lines.rows() + 1, static_cast<std::int32_t>(kept.size())});
        for (auto k : kept)
            for (std::int32_t i = 0; i <= r.Lines.rows(); ++i)
                out.i16(k < 0 ? 0 : static_cast<std::int16_t>(r.Lines(i, k)));
    }
    out.i32(r.LineStartPoint);
    out.boolean(r.LineMode);
    out.i32(lineCount);
}

ScreenProperties readScreenProperties(LittleEndianReader& in) {
    const char* what = "a saved view";
    ScreenProperties r;
    r.VectorMode = in.boolean(what);
    r.BigNess = in.i16(what);
    r.Faehnchenmode = in.boolean(what);
    r.Massstab = in.finiteF32(what);
    r.OffsetX = in.finiteF32(what);
    r.OffsetY = in.finiteF32(what);
    r.Vec_Massstab = in.finiteF32(what);
    r.GridLength = in.i16(what);
    readMatrix(in, r.ViewAngles, 8, "the view angles of a saved view", [&] { return in.finiteF64(what); });
    r.FahneAnzahl = in.i16(what);

    {
        Dimension dim;
        if (readDimensions(in, 1, &dim, 2, "the flags of a saved view")) {
            r.FlagOfPoint.resize(dim.upper());
            for (std::int32_t row = dim.lower; row <= dim.upper(); ++row) {
                std::int16_t flag = in.i16(what);
                if (flag != 0) r.FlagOfPoint.set(row, flag);
            }
        }
    }
    {
        Dimension dim;
        if (readDimensions(in, 1, &dim, kMinFahneRecordBytes, "the flag layouts of a saved view")) {
            r.FahneProps.resize(static_cast<std::size_t>(dim.upper()) + 1);
            for (std::int32_t k = dim.lower; k <= dim.upper(); ++k)
                r.FahneProps[static_cast<std::size_t>(k)] = readFahneRecord(in);
        }
    }

    r.CurrentFahne = in.i16(what);
    r.WindowWidth = in.i16(what);
    r.WindowHeight = in.i16(what);
    r.AnzKlassenPos = in.i16(what);
    r.AnzKlassenNeg = in.i16(what);
    r.AusserhalbTol = in.boolean(what);
    r.Min = in.finiteF64(what);
    r.Max = in.finiteF64(what);
    r.showVeX = in.boolean(what);
    r.showVeY = in.boolean(what);
    r.showVeZ = in.boolean(what);
    r.ColorBased = elementText(in, what);
    r.ShowOnlyUsedComponent = in.boolean(what);
    r.OuterColor = in.i32(what);
    r.CS_Type = elementText(in, what);
    r.BinaerModus = in.boolean(what);
    r.BlackPlane = in.boolean(what);
    r.BlackPlaneBorders = in.boolean(what);
    r.BlackInitial = in.boolean(what);
    r.BlackOffX = in.finiteF32(what);
    r.BlackOffY = in.finiteF32(what);
    r.BlackM = in.finiteF64(what);
    r.BlackThick = in.finiteF64(what);
    r.PlaneMatrix.resize(3, 3);
    for (std::int32_t j = 0; j <= 3; ++j)
        for (std::int32_t i = 0; i <= 3; ++i) r.PlaneMatrix(i, j) = in.finiteF64(what);
    r.BlackZ = in.finiteF32(what);
    r.GridXY = in.boolean(what);
    r.GridYZ = in.boolean(what);
    r.GridZX = in.boolean(what);
    r.ADis = in.i32(what);
    r.BDis = in.i32(what);
    r.Cdis = in.i32(what);
    r.ShowGridDim = in.boolean(what);
    readMatrix(in, r.Lines, 2, "the lines of a saved view",
               [&] { return static_cast<double>(in.i16(what)); });
    r.LineStartPoint = in.i32(what);
    r.LineMode = in.boolean(what);
    r.LineCount = in.i32(what);
    if (r.LineCount < 0 || (r.LineCount > 0 && (isNeverSized(r.Lines) || r.LineCount > r.Lines.cols())))
        in.fail("the line count " + std::to_string(r.LineCount) +
                " of a saved view does not match its line table");
    return r;
}

}  // namespace kal
