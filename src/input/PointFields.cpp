#include "input/PointFields.h"

#include "shared/TextLines.h"

namespace kal {

int splitFields(std::string_view line, char delimiter, std::string_view* out, int maxFields) {
    line = trimBlanks(line);
    if (line.empty()) return 0;
    int count = 0;
    const std::size_t n = line.size();
    std::size_t start = 0;
    if (isBlank(delimiter)) {
        // Runs of the delimiter (and of any blank, for a space delimiter) separate fields.
        const bool anyBlank = delimiter == ' ';
        auto separates = [&](char c) { return anyBlank ? isBlank(c) : c == delimiter; };
        while (start < n) {
            std::size_t end = start;
            while (end < n && !separates(line[end])) ++end;
            if (count < maxFields) out[count] = trimBlanks(line.substr(start, end - start));
            ++count;
            while (end < n && separates(line[end])) ++end;
            start = end;
        }
        return count;
    }
    while (true) {
        std::size_t end = line.find(delimiter, start);
        if (end == std::string_view::npos) end = n;
        if (count < maxFields) out[count] = trimBlanks(line.substr(start, end - start));
        ++count;
        if (end == n) break;
        start = end + 1;
    }
    return count;
}

}  // namespace kal
