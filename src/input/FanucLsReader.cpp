// FANUC position lists: after the "/POS" line, one block per position up to "/END":
//   P[1]{
//      GP1:
//      UF : 0, UT : 1,      CONFIG : 'N U T, 0, 0, 0',
//      X =   100.000  mm,   Y =   200.000  mm,   Z =   300.000  mm,
//      W =    10.000 deg,   P =    20.000 deg,   R =    30.000 deg
//   };
// The components are found by their keys: each value is the number between "=" and its unit. The
// first group's X, Y, Z, W, P, R are read; other lines of the block are skipped up to the line
// that starts with "}". A block whose first group holds joint values ("J1 = ...") is a joint
// position: it is refused, naming its label, since skipping it would shift the numbering by which
// the MCS points are paired.
#include <algorithm>
#include <array>

#include "input/ControllerLines.h"
#include "input/RobotFileReaders.h"
#include "shared/TextLines.h"

namespace kal {

namespace {

const std::string kHeading = "Error while importing FANUC Data";
constexpr std::array<char, 6> kKeys = {'X', 'Y', 'Z', 'W', 'P', 'R'};

bool startsWith(std::string_view line, std::string_view prefix) {
    return trimBlanks(line).substr(0, prefix.size()) == prefix;
}

struct Component {
    std::string_view value;  // the number's text
    bool hasUnit = false;
    std::int32_t row = 0;
};

// Finds "KEY = value unit" items of one line (items end at "," outside quotes). `joint` is set
// when a joint value ("J1" .. "J9") comes before any of the six keys.
void scanComponents(std::string_view line, std::int32_t row, std::array<Component, 6>& found,
                    std::array<bool, 6>& seen, bool& joint) {
    std::size_t start = 0;
    bool quoted = false;
    for (std::size_t i = 0; i <= line.size(); ++i) {
        if (i < line.size() && line[i] == '\'') quoted = !quoted;
        if (i < line.size() && (quoted || line[i] != ',')) continue;
        const auto item = trimBlanks(line.substr(start, i - start));
        start = i + 1;
        const auto eq = item.find('=');
        if (eq == std::string_view::npos) continue;
        const auto key = trimBlanks(item.substr(0, eq));
        if (key.size() == 2 && key[0] == 'J' && key[1] >= '1' && key[1] <= '9' &&
            std::find(seen.begin(), seen.end(), true) == seen.end())
            joint = true;
        if (key.size() != 1) continue;
        for (std::size_t k = 0; k < kKeys.size(); ++k) {
            if (key[0] != kKeys[k] || seen[k]) continue;
            const auto rest = trimBlanks(item.substr(eq + 1));
            std::size_t n = 0;
            while (n < rest.size() && !isBlank(rest[n])) ++n;
            seen[k] = true;
            found[k] = Component{rest.substr(0, n), !trimBlanks(rest.substr(n)).empty(), row};
        }
    }
}

}  // namespace

OcsPointSet parseFanucLsFile(std::string_view bytes, const std::string& path, const ReadOptions& options) {
    checkUnitFactors(options);
    const TextLines lines(bytes);
    auto refuse = [&](std::int32_t row, const std::string& what) {
        controller::refuseRow(options, path, row, what, kHeading);
    };
    for (std::int32_t i = 0; i < lines.size(); ++i)
        if (lines[i].size() > kMaxLineLength)
            refuse(i + 1, "the line is longer than " + std::to_string(kMaxLineLength) + " characters");
    std::int32_t i = 0;
    while (i < lines.size() && !startsWith(lines[i], "/POS")) ++i;
    if (i == lines.size()) refuse(0, "the file has no \"/POS\" section");
    ++i;
    OcsPointSet set;
    while (i < lines.size()) {
        if (trimBlanks(lines[i]).empty()) {
            ++i;
            continue;
        }
        if (startsWith(lines[i], "/END")) break;
        const std::int32_t open = i + 1;
        const std::string name = std::to_string(set.points.count() + 1);
        std::array<Component, 6> found{};
        std::array<bool, 6> seen{};
        bool joint = false;
        // The file's own label of the position, such as P[3] or P[3:"approach"].
        const auto label = trimBlanks(trimBlanks(lines[i]).substr(0, trimBlanks(lines[i]).find('{')));
        ++i;
        while (i < lines.size() && !startsWith(lines[i], "}"))
            scanComponents(lines[i], i + 1, found, seen, joint), ++i;
        if (joint)
            refuse(open, "the position " + std::string(label.substr(0, 60)) +
                             " is a joint position (J1 = ...): it has no component X, Y, Z, W, P or R. "
                             "Only positions in Cartesian coordinates can be read; record this point as a "
                             "Cartesian position on the controller.");
        if (i == lines.size()) refuse(open, "the position " + name + " has no closing \"}\"");
        ++i;
        std::array<double, 6> v{};
        for (std::size_t k = 0; k < kKeys.size(); ++k) {
            const std::string key(1, kKeys[k]);
            if (!seen[k])
                refuse(open,
                       "the position " + name + " has no component " + key + " (\"" + key + " = ...\")");
            if (!found[k].hasUnit)
                refuse(found[k].row, "the component " + key + " of position " + name + " has no unit");
            v[k] = controller::number(found[k].value, k < 3 ? options.lengthFactor : options.angleFactor,
                                      options, path, found[k].row, key, kHeading);
        }
        // A = R (about z), B = P (about y'), C = W (about x'').
        set.add(name, v[0], v[1], v[2], v[5], v[4], v[3]);
    }
    if (set.points.count() == 0) refuse(0, "the \"/POS\" section holds no position");
    set.finish(false);
    return set;
}

}  // namespace kal
