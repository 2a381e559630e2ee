#include "jobfile/JobFileVersion.h"

#include "shared/Version.h"

namespace kal {
namespace {

std::optional<long> decimal(std::string_view s) {
    if (s.empty() || s.size() > 9) return std::nullopt;
    long v = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + (c - '0');
    }
    return v;
}

}  // namespace

std::optional<JobFileVersion> parseJobFileVersion(std::string_view text) {
    auto last = text.rfind('.');
    if (last == std::string_view::npos || last == 0) return std::nullopt;
    auto before = text.rfind('.', last - 1);
    if (before == std::string_view::npos) return std::nullopt;
    auto major = decimal(text.substr(0, before));
    auto minor = decimal(text.substr(before + 1, last - before - 1));
    auto revision = decimal(text.substr(last + 1));
    if (!major || !minor || !revision) return std::nullopt;
    return JobFileVersion{*major, *minor, *revision, std::string(text)};
}

JobFileVersion jobFileVersion(long major, long minor, long revision) {
    return JobFileVersion{
        major, minor, revision,
        std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(revision)};
}

JobFileVersion programJobFileVersion() {
    return jobFileVersion(kVersionMajor, kVersionMinor, kVersionRevision);
}

bool exceedsInSomePart(const JobFileVersion& v, long a, long b, long c) {
    return v.major > a || v.minor > b || v.revision > c;
}

bool isNewerThan(const JobFileVersion& v, long a, long b, long c) {
    if (v.major != a) return v.major > a;
    if (v.minor != b) return v.minor > b;
    return v.revision > c;
}

bool isNewerThan(const JobFileVersion& v, const JobFileVersion& w) {
    return isNewerThan(v, w.major, w.minor, w.revision);
}

}  // namespace kal
