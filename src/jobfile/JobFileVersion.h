#pragma once
// Version texts of job files ("2.0.63": major, minor and revision joined by ".") and the two
// comparisons by which a reader tells the layouts apart.
#include <optional>
#include <string>
#include <string_view>

namespace kal {

struct JobFileVersion {
    long major = 0;
    long minor = 0;
    long revision = 0;
    std::string text;  // as stored in the file, shown in messages
};

// Splits a version text: the revision is the text after the last ".", the minor number the text
// between the last two ".", the major number all text before. nullopt unless all three are decimal
// numbers (digits only, at most nine).
std::optional<JobFileVersion> parseJobFileVersion(std::string_view text);

// A version that no text states: the one assumed for files without a version.
JobFileVersion jobFileVersion(long major, long minor, long revision);

// The program's own version.
JobFileVersion programJobFileVersion();

// v exceeds a.b.c in some part: one of its three numbers is greater than the matching one
// (each part on its own, so 1.3.70 exceeds 2.0.57 by its minor number).
bool exceedsInSomePart(const JobFileVersion& v, long a, long b, long c);

// v is newer than a.b.c: the major numbers decide, on a tie the minor numbers, then the revisions.
bool isNewerThan(const JobFileVersion& v, long a, long b, long c);
bool isNewerThan(const JobFileVersion& v, const JobFileVersion& w);

}  // namespace kal
