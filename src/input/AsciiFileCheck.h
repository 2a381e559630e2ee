#pragma once
// The checks an ASCII point file passes before it is read: which delimiter it uses, whether every
// row has as many delimiters as the first, whether it has a name column, and which decimal
// separator it uses (with the offer to rewrite the file to the system's separator). Refusals are
// shown through the prompter and end in a FileError naming the row (see ReadOptions.h).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "input/ReadOptions.h"
#include "shared/TextLines.h"

namespace kal {

// A line that holds no point: fewer than two characters once the blanks at its ends are gone.
bool isEmptyRow(std::string_view line);

// The delimiter candidates, in the order that breaks ties: space, ";", ":", "*", "#", Tab, ",".
// The comma counts only when the system's decimal separator is not a comma. nullopt when the text
// holds none of them.
std::optional<char> findDelimiter(const TextLines& lines, char systemSeparator);

// Lines holding only blanks are skipped; every other line, one of a single character included,
// is a row whose delimiters are counted.
struct ColumnCheck {
    std::int32_t columns = 0;  // the largest delimiter count of a row, plus one
    std::int32_t errorRow =
        0;  // first row (line number) whose delimiter count differs from the first row's; 0 if none
};
ColumnCheck checkColumns(const TextLines& lines, char delimiter);

struct AsciiLayout {
    char delimiter = ' ';
    bool hasNames = true;
    // Set when the user agreed to rewrite the file's decimal separator: the new bytes, not yet written.
    std::optional<std::string> rewrittenBytes;
};

// Delimiter detection, column check, three-column notice and decimal check of one file. A file
// without a delimiter, without any point line, with a line longer than kMaxLineLength or failing
// a check is refused. When the rewrite was accepted, the returned layout holds the new bytes, and
// the caller reads those.
AsciiLayout checkAsciiFile(std::string_view bytes, const TextLines& lines, const std::string& path,
                           const ReadOptions& options);

// The decimal check alone (also run by the shape-profile reader). Returns the rewritten bytes when
// the user agreed to the rewrite, nullopt when the file needs none.
std::optional<std::string> checkDecimalSeparator(std::string_view bytes, const TextLines& lines,
                                                 const std::string& path, char delimiter, bool hasNames,
                                                 const ReadOptions& options);

// The file's bytes with every `from` replaced by `to`, its lines ended by CR LF (a byte-order mark
// kept). The bytes keep the encoding they came in.
std::string rewriteDecimalSeparator(std::string_view bytes, char from, char to);

// Lines of a message box, joined.
std::string messageLines(std::initializer_list<std::string_view> lines);

}  // namespace kal
