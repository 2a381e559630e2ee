// Fuzzes the job file reader: any input is read or refused with a FormatError; what is read holds
// the job's invariants, and saving it gives a file that reads back to the same bytes again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "jobfile/JobFileItems.h"
#include "jobfile/JobFileReader.h"
#include "jobfile/JobFileWriter.h"
#include "shared/Errors.h"

namespace {

kal::JobState openAsUserWould(std::string_view bytes) {
    // A file without a version header is read as the older layout (the user's Yes).
    auto result = kal::readJobFile(bytes, kal::probeJobFileHeader(bytes));
    kal::JobState job;
    kal::adoptJobFileItems(job, std::move(result.job));
    return job;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    kal::JobState job;
    try {
        job = openAsUserWould(bytes);
    } catch (const kal::FormatError&) {
        return 0;
    }
    if (!job.invariantsHold()) std::abort();
    if (job.ViewCount < 0 || job.ViewCount > kal::kMaxSavedViews) std::abort();
    if (static_cast<std::size_t>(job.ViewCount) != job.SavedViewNames.size()) std::abort();
    if (job.MCSt_X.upper() < job.McsCount || job.RVec_X.upper() < job.IdenticalCount) std::abort();
    if (job.DataLoaded != (job.McsCount > 0 || job.OcsCount > 0)) std::abort();

    // What was read saves, and the saved file reads back and saves to the same bytes.
    kal::JobFileWriteNotes notes;
    const std::string once = kal::writeJobFile(job, notes);
    kal::JobState again = openAsUserWould(once);  // a FormatError here escapes: a finding
    const std::string twice = kal::writeJobFile(again, notes);
    if (once != twice) std::abort();
    return 0;
}
