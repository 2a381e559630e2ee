#include "input/NetworkFileReader.h"

#include <array>

#include "input/AsciiFileCheck.h"
#include "input/NumberField.h"
#include "input/PointFields.h"
#include "shared/TextLines.h"

namespace kal {

namespace {

bool startsWith(std::string_view line, std::string_view word) {
    return trimBlanks(line).substr(0, word.size()) == word;
}

struct Walker {
    const TextLines& lines;
    const std::string& path;
    const ReadOptions& options;
    char separator;
    std::int32_t next = 0;  // index of the next line

    [[noreturn]] void refuse(std::int32_t row, const std::string& what) const {
        const std::string where = row > 0 ? "In Row " + std::to_string(row) + " " : std::string();
        refuseFile(options, path, row, messageLines({"File: ", path, "", where + what}));
    }

    void skipTo(std::string_view header) {
        while (next < lines.size() && !startsWith(lines[next], header)) ++next;
        if (next == lines.size()) refuse(0, "the section \"" + std::string(header) + "\" is missing");
        ++next;
    }

    // Tokens of a data line: a name and `values` numbers, or two names and a number (`names` = 2).
    void readLine(std::int32_t i, int names, int values, std::vector<std::string>* nameOut[2],
                  double* valueOut) const {
        std::array<std::string_view, 4> t;
        const int count = splitFields(lines[i], ' ', t.data(), 4);
        if (count < names + values)
            refuse(i + 1, "there are only " + std::to_string(count) + " values; " +
                              std::to_string(names + values) + " are expected");
        for (int k = 0; k < names; ++k) nameOut[k]->emplace_back(t[static_cast<std::size_t>(k)]);
        for (int k = 0; k < values; ++k) {
            const auto token = t[static_cast<std::size_t>(names + k)];
            const auto v = numberField(token, separator);
            if (!v) refuse(i + 1, "the value \"" + std::string(token.substr(0, 40)) + "\" is not a number");
            valueOut[k] = *v;
        }
    }

    // A section of two-line entries (a data line and a line not read) up to "END".
    void readEntries(const char* header, std::vector<std::string>& names, Matrix& data) {
        skipTo(header);
        std::vector<double> values;
        std::vector<std::string>* out[2] = {&names, nullptr};
        while (true) {
            if (next >= lines.size())
                refuse(0, "the section \"" + std::string(header) + "\" does not end with \"END\"");
            if (startsWith(lines[next], "END")) break;
            double v[3];
            readLine(next, 1, 3, out, v);
            values.insert(values.end(), v, v + 3);
            next += 2;
        }
        ++next;
        const auto n = static_cast<std::int32_t>(names.size()) - 1;
        data.resize(n, 3);
        for (std::int32_t i = 1; i <= n; ++i)
            for (int c = 1; c <= 3; ++c) data(i, c) = values[static_cast<std::size_t>(3 * (i - 1) + c - 1)];
    }
};

}  // namespace

NetworkFile parseNetworkFile(std::string_view bytes, const std::string& path, const ReadOptions& options) {
    const TextLines lines(bytes);
    for (std::int32_t i = 0; i < lines.size(); ++i)
        if (lines[i].size() > kMaxLineLength)
            refuseFile(options, path, i + 1,
                       messageLines({"File: ", path, "",
                                     "In Row " + std::to_string(i + 1) + " the line is too long"}));
    NetworkFile file;
    Walker walk{lines, path, options, options.decimalSeparator == ',' ? ',' : '.'};
    walk.readEntries("Theodolite", file.stations, file.stationData);
    walk.readEntries("Object Points", file.points, file.pointData);
    walk.skipTo("Distances");
    std::vector<std::string>* out[2] = {&file.from, &file.to};
    while (true) {
        if (walk.next >= lines.size()) walk.refuse(0, "the section \"Distances\" does not end with \"END\"");
        const auto line = lines[walk.next];
        if (startsWith(line, "END")) break;
        if (!trimBlanks(line).empty()) {
            double d = 0;
            walk.readLine(walk.next, 2, 1, out, &d);
            file.distances.push_back(d);
        }
        ++walk.next;
    }
    return file;
}

std::string networkFileReport(const NetworkFile& file) {
    return "Found " + std::to_string(file.stationCount()) + " Stations and " +
           std::to_string(file.pointCount()) + " Object Points and " + std::to_string(file.distanceCount()) +
           " Distance Observations";
}

}  // namespace kal
