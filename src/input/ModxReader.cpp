// ABB modules: robtarget declarations such as
//   CONST robtarget p10:=[[500.1,-20,600],[0.5,0.5,0.5,0.5],[0,0,0,0],[9E9,9E9,9E9,9E9,9E9,9E9]];
// Only a robtarget declared with a value is a point: optionally LOCAL or TASK, then CONST, VAR or
// PERS, "robtarget", its name, ":=" and "[[", in any letter case. Modules carry "[[" in many other
// places (tooldata and wobjdata, targets written into a move instruction, commented-out targets
// after "!"); counting those would shift every later target and pair the wrong points by number.
// A declaration without a value ("VAR robtarget p;") declares storage and is skipped.
// The first block of targets is read: it ends at a zero-length line (lines holding only blanks
// group declarations and do not end it), at "ENDMODULE" or at the end of the file. The robtarget
// is taken apart by its brackets: the position [x,y,z] and the orientation [q1,q2,q3,q4].
#include <array>
#include <optional>

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

bool isIdentifierStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool isIdentifierChar(char c) { return isIdentifierStart(c) || (c >= '0' && c <= '9') || c == '_'; }

// The code of a line: the line without its blanks at the ends; empty for a comment ("!").
std::string_view codeOf(std::string_view line) {
    const auto code = trimBlanks(line);
    return !code.empty() && code[0] == '!' ? std::string_view() : code;
}

// The next word (letters, digits, "_") at `pos` after blanks; advances `pos` past it.
std::string_view nextWord(std::string_view s, std::size_t& pos) {
    while (pos < s.size() && isBlank(s[pos])) ++pos;
    const std::size_t start = pos;
    if (pos < s.size() && isIdentifierStart(s[pos]))
        while (pos < s.size() && isIdentifierChar(s[pos])) ++pos;
    return s.substr(start, pos - start);
}

struct RobtargetDeclaration {
    enum class Kind { Valued, Storage, ArrayValue, OtherValue } kind = Kind::Storage;
    std::string_view name;
    std::size_t valueAt = 0;  // the first "[" of a valued declaration
};

// A robtarget declaration in the code of a line: [LOCAL|TASK] CONST|VAR|PERS robtarget name ...
std::optional<RobtargetDeclaration> robtargetDeclaration(std::string_view code) {
    using controller::equalsIgnoringCase;
    std::size_t pos = 0;
    auto word = nextWord(code, pos);
    if (equalsIgnoringCase(word, "LOCAL") || equalsIgnoringCase(word, "TASK")) word = nextWord(code, pos);
    if (!equalsIgnoringCase(word, "CONST") && !equalsIgnoringCase(word, "VAR") &&
        !equalsIgnoringCase(word, "PERS"))
        return std::nullopt;
    if (!equalsIgnoringCase(nextWord(code, pos), "robtarget")) return std::nullopt;
    if (pos >= code.size() || !isBlank(code[pos])) return std::nullopt;
    RobtargetDeclaration d;
    d.name = nextWord(code, pos);
    if (d.name.empty()) return std::nullopt;
    auto skip = [&] {
        while (pos < code.size() && isBlank(code[pos])) ++pos;
    };
    skip();
    bool array = false;
    if (pos < code.size() && code[pos] == '{') {  // an array: name{3}
        const auto close = code.find('}', pos);
        if (close == std::string_view::npos) return std::nullopt;
        array = true;
        pos = close + 1;
        skip();
    }
    if (code.substr(pos, 2) != ":=") return d;  // no value: storage
    pos += 2;
    skip();
    if (array) {
        d.kind = RobtargetDeclaration::Kind::ArrayValue;
        return d;
    }
    std::size_t second = pos + 1;
    while (second < code.size() && isBlank(code[second])) ++second;
    if (pos < code.size() && code[pos] == '[' && second < code.size() && code[second] == '[') {
        d.kind = RobtargetDeclaration::Kind::Valued;
        d.valueAt = pos;
    } else {
        d.kind = RobtargetDeclaration::Kind::OtherValue;
        d.valueAt = pos;
    }
    return d;
}

bool holdsValuedRobtarget(std::string_view line) {
    const auto d = robtargetDeclaration(codeOf(line));
    return d && d->kind != RobtargetDeclaration::Kind::Storage;
}

}  // namespace

OcsPointSet parseModxFile(std::string_view bytes, const std::string& path, const ReadOptions& options) {
    checkUnitFactors(options);
    const TextLines lines(bytes);
    OcsPointSet set;
    std::int32_t blockEnd = -1;  // the zero-length line that ended the first block
    std::int32_t storageOnly = 0;
    for (std::int32_t i = 0; i < lines.size(); ++i) {
        const std::int32_t row = i + 1;
        const auto line = lines[i];
        if (line.size() > kMaxLineLength)
            controller::refuseRow(
                options, path, row,
                "the line is longer than " + std::to_string(kMaxLineLength) + " characters");
        if (line.empty() && set.points.count() > 0) {
            blockEnd = i;
            break;
        }
        const auto code = codeOf(line);
        if (controller::equalsIgnoringCase(code, "ENDMODULE")) break;
        const auto declaration = robtargetDeclaration(code);
        if (!declaration) continue;
        auto refuse = [&](const std::string& what) { controller::refuseRow(options, path, row, what); };
        const std::string target(declaration->name);
        switch (declaration->kind) {
            case RobtargetDeclaration::Kind::Storage:
                ++storageOnly;
                continue;
            case RobtargetDeclaration::Kind::ArrayValue:
                controller::refuseRow(
                    options, path, row,
                    "the robtarget array " + target +
                        " cannot be read: declare its targets one by one (CONST robtarget name := [[x,y,z],"
                        "[q1,q2,q3,q4],...])");
            case RobtargetDeclaration::Kind::OtherValue:
                controller::refuseRow(options, path, row,
                                      "the value of the robtarget " + target +
                                          " is not written as [[x,y,z],[q1,q2,q3,q4],...]");
            case RobtargetDeclaration::Kind::Valued:
                break;
        }
        std::size_t pos = declaration->valueAt + 1;
        std::array<std::string_view, 3> xyz;
        std::array<std::string_view, 4> q;
        if (!bracketList(code, pos, xyz)) refuse("the robtarget has no position [x,y,z]");
        while (pos < code.size() && isBlank(code[pos])) ++pos;
        if (pos >= code.size() || code[pos] != ',') refuse("the robtarget has no \",\" after its position");
        ++pos;
        if (!bracketList(code, pos, q)) refuse("the robtarget has no orientation [q1,q2,q3,q4]");
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
    if (set.points.count() == 0) {
        std::string what =
            "the file holds no robtarget \"[[\" declared with a value (CONST, VAR or PERS robtarget name := "
            "[[x,y,z],[q1,q2,q3,q4],...])";
        if (storageOnly > 0)
            what += "; it declares " + std::to_string(storageOnly) + " robtarget" +
                    (storageOnly > 1 ? "s" : "") + " without a value";
        controller::refuseRow(options, path, 0, what);
    }
    // The block message only when targets follow that are not read.
    bool moreTargets = false;
    if (blockEnd >= 0)
        for (std::int32_t i = blockEnd + 1; i < lines.size() && !moreTargets; ++i)
            moreTargets = holdsValuedRobtarget(lines[i]);
    if (moreTargets)
        tell(
            options,
            "myabe there are more than one Block in the File - only importing the First block in file with " +
                std::to_string(set.points.count()) + " Points");
    set.finish(false);
    return set;
}

}  // namespace kal
