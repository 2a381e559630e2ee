#pragma once
// Fields of a point-file line. A line is split at its file's delimiter only; blanks around each
// field and at the line's ends are trimmed, and a run of a blank delimiter counts as one (a
// space-delimited line splits at runs of spaces and Tabs, a Tab-delimited one at runs of Tabs, so
// a name holding a space survives in Tab and ";" files). Between two other delimiters an empty
// field stays empty, so a missing value is seen instead of the next one shifting into its place.
#include <string_view>

namespace kal {

// Stores up to `maxFields` fields in `out`; returns how many fields the line holds in all.
int splitFields(std::string_view line, char delimiter, std::string_view* out, int maxFields);

}  // namespace kal
