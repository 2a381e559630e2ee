// KUKA position declarations: "DECL E6POS XP1={X 100.5,Y -20.25,Z 300,A 90,B 0,C -90,S 6,T 27}",
// also written "DECL#E6POS ...={X#100.5,...}". The declaration is taken apart by its structure: the
// components between the braces, each a key and a value separated by blanks or "#"; X, Y, Z, A, B
// and C are read, the others (S, T, external axes) ignored. Spacing and the names of the
// positions may vary freely. "DECL GLOBAL E6POS" declares a position just as "DECL E6POS" does;
// a declaration without a value ("DECL E6POS XP[4]", "DECL E6POS P1, P2") declares storage and
// is skipped.
#include <array>

#include "input/ControllerLines.h"
#include "input/RobotFileReaders.h"
#include "shared/TextLines.h"

namespace kal {

namespace {

using controller::equalsIgnoringCase;

bool isSeparator(char c) { return c == ' ' || c == '\t' || c == '#'; }

// The type of a declaration line, "DECL", optionally "GLOBAL", then the type, each separated by
// blanks or "#" ("GLOBAL DECL" is taken as well); empty when the line declares nothing. `rest`
// receives the text after the type.
std::string_view declaredType(std::string_view line, std::string_view& rest) {
    line = trimBlanks(line);
    std::size_t i = 0;
    auto word = [&] {
        while (i < line.size() && isSeparator(line[i])) ++i;
        const std::size_t start = i;
        while (i < line.size() && !isSeparator(line[i]) && line[i] != '=' && line[i] != ',' && line[i] != '[')
            ++i;
        return line.substr(start, i - start);
    };
    auto w = word();
    if (equalsIgnoringCase(w, "GLOBAL")) w = word();
    if (!equalsIgnoringCase(w, "DECL")) return {};
    auto type = word();
    if (equalsIgnoringCase(type, "GLOBAL")) type = word();
    if (type.empty() || i >= line.size() || !isSeparator(line[i])) return {};
    rest = line.substr(i);
    return type;
}

// A count of declarations, such as "2 E6AXIS declarations".
std::string declarations(std::int32_t n, std::string_view type) {
    return std::to_string(n) + " " + std::string(type) + (n == 1 ? " declaration" : " declarations");
}

constexpr std::array<char, 6> kKeys = {'X', 'Y', 'Z', 'A', 'B', 'C'};

}  // namespace

OcsPointSet parseKukaDatFile(std::string_view bytes, const std::string& path, const ReadOptions& options) {
    checkUnitFactors(options);
    const TextLines lines(bytes);
    OcsPointSet set;
    std::int32_t withoutValue = 0;
    std::pair<std::string_view, std::int32_t> otherPositions[] = {
        {"E6AXIS", 0}, {"AXIS", 0}, {"POS", 0}, {"FRAME", 0}};
    for (std::int32_t i = 0; i < lines.size(); ++i) {
        const std::int32_t row = i + 1;
        std::string_view rest;
        if (lines[i].size() > kMaxLineLength)
            controller::refuseRow(
                options, path, row,
                "the line is longer than " + std::to_string(kMaxLineLength) + " characters");
        const auto type = declaredType(lines[i], rest);
        if (type.empty()) continue;
        const auto eq = rest.find('=');
        if (!equalsIgnoringCase(type, "E6POS")) {
            // Other position types are not read; they are named when no E6POS is found.
            for (auto& [name, n] : otherPositions)
                if (equalsIgnoringCase(type, name) && eq != std::string_view::npos) ++n;
            continue;
        }
        if (eq == std::string_view::npos) {
            ++withoutValue;
            continue;
        }
        auto refuse = [&](const std::string& what) { controller::refuseRow(options, path, row, what); };
        const auto open = rest.find_first_not_of(" \t", eq + 1);
        if (open == std::string_view::npos || rest[open] != '{')
            refuse("the E6POS declaration has no opening brace \"{\"");
        const auto close = rest.find('}', open);
        if (close == std::string_view::npos) refuse("the E6POS declaration has no closing brace \"}\"");
        std::string_view body = rest.substr(open + 1, close - open - 1);

        std::array<std::string_view, 6> text{};
        std::array<bool, 6> found{};
        while (!body.empty()) {
            const auto comma = body.find(',');
            std::string_view component = trimBlanks(body.substr(0, comma));
            body = comma == std::string_view::npos ? std::string_view() : body.substr(comma + 1);
            std::size_t k = 0;
            while (k < component.size() && !isSeparator(component[k])) ++k;
            const auto key = component.substr(0, k);
            while (k < component.size() && isSeparator(component[k])) ++k;
            // Every component is a name and a value; anything else is a damaged declaration
            // (a decimal comma splits a value in two).
            const bool letter =
                !key.empty() && ((key[0] >= 'A' && key[0] <= 'Z') || (key[0] >= 'a' && key[0] <= 'z'));
            if (!letter || k == component.size())
                refuse("the component \"" + std::string(component.substr(0, 40)) +
                       "\" of the E6POS declaration is not a name and a value");
            for (std::size_t j = 0; j < kKeys.size(); ++j)
                if (!found[j] && key.size() == 1 && equalsIgnoringCase(key, std::string_view(&kKeys[j], 1)))
                    found[j] = true, text[j] = trimBlanks(component.substr(k));
        }
        for (std::size_t j = 0; j < kKeys.size(); ++j)
            if (!found[j]) refuse("the E6POS declaration has no component " + std::string(1, kKeys[j]));
        std::array<double, 6> v{};
        for (std::size_t j = 0; j < kKeys.size(); ++j)
            v[j] = controller::number(text[j], j < 3 ? options.lengthFactor : options.angleFactor, options,
                                      path, row, std::string(1, kKeys[j]));
        set.add(std::to_string(set.points.count() + 1), v[0], v[1], v[2], v[3], v[4], v[5]);
    }
    if (set.points.count() == 0) {
        std::string what =
            "the file holds no position declaration \"DECL E6POS\" with a value "
            "(DECL E6POS name={X ...,Y ...,Z ...,A ...,B ...,C ...})";
        std::string holds;
        for (const auto& [name, n] : otherPositions)
            if (n > 0) holds += (holds.empty() ? "" : ", ") + declarations(n, name) + " with a value";
        if (withoutValue > 0)
            holds += (holds.empty() ? "" : ", ") + declarations(withoutValue, "E6POS") + " without a value";
        what += holds.empty() ? "; it holds no other position either" : "; it holds only " + holds;
        if (otherPositions[0].second + otherPositions[1].second > 0)
            what += " (E6AXIS and AXIS are axis angles, not positions in space)";
        controller::refuseRow(options, path, 0, what);
    }
    set.finish(true);
    return set;
}

}  // namespace kal
