// ABB modules: robtarget declarations such as
//   CONST robtarget p10:=[[500.1,-20,600],[0.5,0.5,0.5,0.5],[0,0,0,0],[9E9,9E9,9E9,9E9,9E9,9E9]];
// A line holding "[[" is a point; the first block of such lines is read (it ends at an empty line,
// at "ENDMODULE" or at the end of the file). The robtarget is taken apart by its brackets: the
// position [x,y,z] and the orientation [q1,q2,q3,q4] that follows it.
#include <array>

#include "input/AsciiFileCheck.h"
#include "input/ControllerLines.h"
#include "input/RobotFileReaders.h"
#include "shared/TextLines.h"

namespace kal {

namespace {

// Reads "[v1,v2,...,vN]" at `pos` (blanks allowed around the values); advances `pos` past "]".
// Returns false when the text has another structure.
template <std::size_t N>
bool bracketList(std::string_view s, std::size_t& pos, std::array<std::string_view, N>& out) {
    auto skip = [&] {
        while (pos < s.size() && isBlank(s[pos])) ++pos;
    };
    skip();
    if (pos >= s.size() || s[pos] != '[') return false;
    ++pos;
    for (std::size_t k = 0; k < N; ++k) {
        const char end = k + 1 < N ? ',' : ']';
        const auto stop = s.find_first_of(",]", pos);
        if (stop == std::string_view::npos || s[stop] != end) return false;
        out[k] = trimBlanks(s.substr(pos, stop - pos));
        pos = stop + 1;
    }
    return true;
}

}  // namespace

OcsPointSet parseModxFile(std::string_view bytes, const std::string& path, const ReadOptions& options) {
    checkUnitFactors(options);
    const TextLines lines(bytes);
    OcsPointSet set;
    bool endedByEmptyLine = false;
    for (std::int32_t i = 0; i < lines.size(); ++i) {
        const std::int32_t row = i + 1;
        const auto line = lines[i];
        if (line.size() > kMaxLineLength)
            controller::refuseRow(
                options, path, row,
                "the line is longer than " + std::to_string(kMaxLineLength) + " characters");
        const auto trimmed = trimBlanks(line);
        if (trimmed.empty() && set.points.count() > 0) {
            endedByEmptyLine = true;
            break;
        }
        if (trimmed == "ENDMODULE") break;
        auto start = line.find("[[");
        if (start == std::string_view::npos) continue;
        auto refuse = [&](const std::string& what) { controller::refuseRow(options, path, row, what); };
        std::size_t pos = start + 1;
        std::array<std::string_view, 3> xyz;
        std::array<std::string_view, 4> q;
        if (!bracketList(line, pos, xyz)) refuse("the robtarget has no position [x,y,z]");
        while (pos < line.size() && isBlank(line[pos])) ++pos;
        if (pos >= line.size() || line[pos] != ',') refuse("the robtarget has no \",\" after its position");
        ++pos;
        if (!bracketList(line, pos, q)) refuse("the robtarget has no orientation [q1,q2,q3,q4]");
        const char* names[] = {"x", "y", "z", "q1", "q2", "q3", "q4"};
        std::array<double, 3> p{};
        std::array<double, 4> qv{};
        for (int k = 0; k < 3; ++k)
            p[k] = controller::number(xyz[k], options.lengthFactor, options, path, row, names[k]);
        for (int k = 0; k < 4; ++k) qv[k] = controller::number(q[k], 1.0, options, path, row, names[3 + k]);
        const std::string name = std::to_string(set.points.count() + 1);
        const auto abc = abcFromQuaternion(qv[0], qv[1], qv[2], qv[3]);
        if (!abc) refuse("the quaternion of point " + name + " has no length (all its components are 0)");
        set.add(name, p[0], p[1], p[2], abc->a, abc->b, abc->c);
    }
    if (set.points.count() == 0)
        controller::refuseRow(options, path, 0, "the file holds no robtarget \"[[\"");
    if (endedByEmptyLine)
        tell(
            options,
            "myabe there are more than one Block in the File - only importing the First block in file with " +
                std::to_string(set.points.count()) + " Points");
    set.finish(false);
    return set;
}

}  // namespace kal
