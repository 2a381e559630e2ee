#pragma once
// Decodes the bytes of a job file (*.tfo) of the current layout or any older one into a separate
// job value. Every count is checked against the bytes left before anything is allocated from it,
// and every invariant (the arrays of one set share their bounds, the counts fit the arrays, the use
// flags cover the identical points, the saved-view count matches its names) before the result is
// handed back; damage throws FormatError saying what is wrong and where.
#include <string>
#include <string_view>

#include "jobfile/JobFileVersion.h"
#include "shared/JobState.h"

namespace kal {

// What the first bytes of a file say about it.
struct JobFileHeader {
    enum class Kind {
        Current,  // a version header that passes the header gate: items from the header on
        Older,    // a version header older than the current layout: items from the first byte
        NotAJob,  // no version header: the user decides whether to try the older layout
    };
    Kind kind = Kind::NotAJob;
    JobFileVersion version;  // the header's version (1.2.40 for a file without one)
};

JobFileHeader probeJobFileHeader(std::string_view bytes);

// The header assumed when the user asks to try a file without a version header.
JobFileHeader olderLayoutWithoutVersion();

struct JobFileReadResult {
    // The job-file items; everything else keeps the value of a freshly constructed JobState.
    // Items a layout lacks hold the values of a job that does not use them.
    JobState job;
    JobFileVersion version;          // the version shown in the version message (the header's)
    bool savedViewsMissing = false;  // the layout predates saved views
    bool offsetVectorRead = false;   // the trailing offset-vector item was present
};

JobFileReadResult readJobFile(std::string_view bytes, const JobFileHeader& header);

}  // namespace kal
