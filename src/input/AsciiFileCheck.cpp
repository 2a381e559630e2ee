#include "input/AsciiFileCheck.h"

#include <algorithm>
#include <array>

#include "input/PointFields.h"
#include "shared/Errors.h"

namespace kal {

namespace {

constexpr std::array<char, 7> kCandidates = {' ', ';', ':', '*', '#', '\t', ','};

std::string row(std::int32_t r) { return std::to_string(r); }

void refuseLongLines(const TextLines& lines, const std::string& path, const ReadOptions& options) {
    for (std::int32_t i = 0; i < lines.size(); ++i)
        if (lines[i].size() > kMaxLineLength)
            refuseFile(
                options, path, i + 1,
                messageLines({"File: ", path, "",
                              "In Row " + row(i + 1) + " the line is longer than " +
                                  std::to_string(kMaxLineLength) + " characters; this is no point file"}));
}

}  // namespace

std::string messageLines(std::initializer_list<std::string_view> lines) {
    std::string out;
    bool first = true;
    for (auto l : lines) {
        if (!first) out += '\n';
        out += l;
        first = false;
    }
    return out;
}

bool isEmptyRow(std::string_view line) { return trimBlanks(line).size() < 2; }

std::optional<char> findDelimiter(const TextLines& lines, char systemSeparator) {
    std::array<std::int64_t, 256> counts{};
    for (auto line : lines.lines())
        for (char c : line) ++counts[static_cast<unsigned char>(c)];
    std::optional<char> best;
    std::int64_t bestCount = 0;
    for (char c : kCandidates) {
        if (c == ',' && systemSeparator == ',') continue;
        const auto n = counts[static_cast<unsigned char>(c)];
        if (n > bestCount) best = c, bestCount = n;  // ties keep the earlier candidate
    }
    return best;
}

ColumnCheck checkColumns(const TextLines& lines, char delimiter) {
    ColumnCheck result;
    std::int64_t first = -1, largest = 0;
    for (std::int32_t i = 0; i < lines.size(); ++i) {
        const auto line = lines[i];
        // Only lines with nothing but blanks are passed over: a line of one character is no
        // point, and counted like any other it fails the check instead of being dropped.
        if (trimBlanks(line).empty()) continue;
        const auto n = static_cast<std::int64_t>(std::count(line.begin(), line.end(), delimiter));
        if (first < 0)
            first = n;
        else if (n != first && result.errorRow == 0)
            result.errorRow = i + 1;
        largest = std::max(largest, n);
    }
    result.columns = static_cast<std::int32_t>(std::min<std::int64_t>(largest + 1, INT32_MAX));
    return result;
}

std::string rewriteDecimalSeparator(std::string_view bytes, char from, char to) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 16 + 8);
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") out += "\xEF\xBB\xBF";
    for (auto line : splitRawLines(bytes)) {
        for (char c : line) out += (c == from) ? to : c;
        out += "\r\n";
    }
    return out;
}

std::optional<std::string> checkDecimalSeparator(std::string_view bytes, const TextLines& lines,
                                                 const std::string& path, char delimiter, bool hasNames,
                                                 const ReadOptions& options) {
    const char system = options.decimalSeparator == ',' ? ',' : '.';
    std::int64_t dots = 0, commas = 0;
    std::array<std::string_view, 4> fields;
    for (std::int32_t i = 0; i < lines.size(); ++i) {
        if (isEmptyRow(lines[i])) continue;
        const int n = std::min(splitFields(lines[i], delimiter, fields.data(), 4), 4);
        int inRow = 0;
        for (int f = hasNames ? 1 : 0; f < n && f < (hasNames ? 4 : 3); ++f) {
            for (char c : fields[f]) {
                if (c == '.')
                    ++dots, ++inRow;
                else if (c == ',')
                    ++commas, ++inRow;
            }
        }
        if (inRow > 3)
            refuseFile(
                options, path, i + 1,
                messageLines({"File: ", path, "",
                              "To much DecimalDelimiter in Row " + row(i + 1) + ". Please check and fix"}));
    }
    if (dots > 0 && commas > 0)
        refuseFile(
            options, path, 0,
            messageLines({"File: ", path, "", "Found both possible DecimalDelimiters \".\" and \",\" in ", "",
                          path, "", "Only \".\" OR \",\" are allowed!", "", "View File and fix problem"}));
    if (dots == 0 && commas == 0) return std::nullopt;
    const char file = dots > 0 ? '.' : ',';
    if (file == system) return std::nullopt;
    const std::string sys(1, system), fil(1, file);
    const std::string question = messageLines(
        {"File: ", path, "",
         "Your Decimal Delimiter is different to your settings in your operating system, which is \"" + sys +
             "\"",
         "", "Should I change the " + fil + " in your File to " + sys + " ?"});
    if (!askYes(options, question, "Country Settings; issue with . and ,"))
        throw FileError(path, 0,
                        "The decimal separator of the file differs from the system's; the file was not read");
    return rewriteDecimalSeparator(bytes, file, system);
}

AsciiLayout checkAsciiFile(std::string_view bytes, const TextLines& lines, const std::string& path,
                           const ReadOptions& options) {
    refuseLongLines(lines, path, options);
    AsciiLayout layout;
    const auto delimiter = findDelimiter(lines, options.decimalSeparator);
    if (!delimiter)
        refuseFile(options, path, 0,
                   messageLines({"Couldn\xC2\xB4t find any delimiter in file: ", "", "", path, "", "",
                                 "allowed is ONLY: ", "", "Space ' '", "or Semicolon ';'", "or Colon ':'",
                                 "or Star '*'", "or Sharp '#'", "or Tab '   '",
                                 "or and Comma IF Decimal Delimiter is NOT comma ','"}));
    layout.delimiter = *delimiter;
    if (std::all_of(lines.lines().begin(), lines.lines().end(), isEmptyRow))
        refuseFile(options, path, 0, messageLines({"File: ", path, "", "The file holds no point"}));
    const auto columns = checkColumns(lines, layout.delimiter);
    if (columns.errorRow != 0)
        refuseFile(options, path, columns.errorRow,
                   messageLines({"File: ", path, "",
                                 "In Row " + row(columns.errorRow) +
                                     " the number of columns has changed relativ to the rows before",
                                 "Please diagnose and fix"}));
    if (columns.columns == 3) {
        tell(options,
             messageLines({"File: ", path, "",
                           "File has only 3 columns; they will be interpreted as x, y, z; Point Number "
                           "will be Line Number of File!"}));
        layout.hasNames = false;
    }
    layout.rewrittenBytes =
        checkDecimalSeparator(bytes, lines, path, layout.delimiter, layout.hasNames, options);
    return layout;
}

}  // namespace kal
