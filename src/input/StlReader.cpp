#include "input/StlReader.h"

#include "input/AsciiFileCheck.h"
#include "input/ControllerLines.h"
#include "input/PointFields.h"
#include "shared/TextLines.h"

namespace kal {

namespace {

// The first word of a line, compared without regard to case.
bool firstWordIs(std::string_view line, std::string_view word) {
    line = trimBlanks(line);
    std::size_t n = 0;
    while (n < line.size() && !isBlank(line[n])) ++n;
    return controller::equalsIgnoringCase(line.substr(0, n), word);
}

}  // namespace

std::vector<StlTriangle> parseStlFile(std::string_view bytes, const std::string& path,
                                      const ReadOptions& options) {
    const TextLines lines(bytes);
    auto refuse = [&](std::int32_t row, const std::string& what) {
        controller::refuseRow(options, path, row, what);
    };
    std::int32_t i = 0;
    auto skipEmpty = [&] {
        while (i < lines.size() && trimBlanks(lines[i]).empty()) ++i;
    };
    auto expect = [&](std::string_view word) {
        skipEmpty();
        if (i >= lines.size()) refuse(0, "the file ends where \"" + std::string(word) + "\" is expected");
        if (lines[i].size() > kMaxLineLength) refuse(i + 1, "the line is too long");
        if (!firstWordIs(lines[i], word))
            refuse(i + 1, std::string("\"").append(word).append("\" is expected"));
        return i++;
    };
    expect("solid");
    std::vector<StlTriangle> facets;
    while (true) {
        skipEmpty();
        if (i >= lines.size()) refuse(0, "the file ends without \"endsolid\"");
        if (firstWordIs(lines[i], "endsolid")) break;
        expect("facet");
        expect("outer");
        StlTriangle t{};
        for (auto& vertex : t) {
            const std::int32_t row = expect("vertex") + 1;
            std::array<std::string_view, 5> f;
            const int n = splitFields(lines[row - 1], ' ', f.data(), 5);
            if (n != 4) refuse(row, "a vertex line holds \"vertex\" and three values");
            for (int c = 0; c < 3; ++c)
                vertex[static_cast<std::size_t>(c)] = controller::number(
                    f[static_cast<std::size_t>(c + 1)], 1.0, options, path, row, "the vertex");
        }
        expect("endloop");
        expect("endfacet");
        facets.push_back(t);
    }
    return facets;
}

}  // namespace kal
