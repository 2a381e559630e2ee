#include "input/MoreMcsImport.h"

#include <optional>
#include <stdexcept>
#include <unordered_set>

#include "engine/TransformModel.h"
#include "input/AsciiPointReader.h"
#include "input/PointLoad.h"
#include "shared/Errors.h"

namespace kal {

std::string moreMcsName(const std::string& name, const MoreMcsRequest& request) {
    return request.asPrefix ? request.affix + name : name + request.affix;
}

bool importMoreMcs(JobState& job, const MoreMcsRequest& request, platform::Prompter& prompter,
                   JobEvents* jobEvents) {
    if (request.file.empty()) {
        prompter.message(kSelectMoreMcsFile);
        return false;
    }
    PointSet added;
    try {
        added = readAsciiPointFile(request.file, readOptionsFor(job, &prompter)).points;
    } catch (const std::exception& e) {
        // The check and the reader told the user already; an unforeseen failure is told here.
        if (!dynamic_cast<const FileError*>(&e))
            prompter.message(std::string("The points could not be imported.\n") + e.what());
        return false;
    }
    for (std::int32_t k = 1; k <= added.count(); ++k) {
        auto& name = added.names[static_cast<std::size_t>(k)];
        name = moreMcsName(name, request);
    }

    // A name that stands twice in the MCS cannot be told apart in the tables. Without an affix the
    // user has not chosen to tell the files apart: refuse; with one, warn and import.
    std::unordered_set<std::string_view> names;
    names.reserve(static_cast<std::size_t>(job.McsCount + added.count()));
    for (std::int32_t i = 1; i <= job.McsCount; ++i) names.insert(job.MCS_Name[static_cast<std::size_t>(i)]);
    for (std::int32_t k = 1; k <= added.count(); ++k) {
        const std::string& name = added.names[static_cast<std::size_t>(k)];
        if (names.insert(name).second) continue;
        if (request.affix.empty()) {
            prompter.message(
                "The Point Number " + name +
                " is in the MCS already. Please choose a Prefix or Suffix; nothing was imported.");
            return false;
        }
        prompter.message("The Point Number " + name +
                         " is in the MCS already; the points are imported anyway.");
        break;
    }

    // The transformed coordinates first: a transformation that fails leaves the job as it was.
    const std::int32_t first = job.McsCount + 1;
    const std::int32_t n = job.McsCount + added.count();
    std::vector<double> tx(static_cast<std::size_t>(n) + 1), ty(tx.size()), tz(tx.size());
    auto source = [&](std::int32_t i, double& x, double& y, double& z) {
        if (i < first) {
            x = job.MCS_X[i], y = job.MCS_Y[i], z = job.MCS_Z[static_cast<std::size_t>(i)];
        } else {
            const auto k = static_cast<std::size_t>(i - first + 1);
            x = added.x[k], y = added.y[k], z = added.z[k];
        }
    };
    try {
        std::optional<PointTransform> transform;
        if (job.TrafoCalculated) transform.emplace(job);
        for (std::int32_t i = job.IdenticalCount + 1; i <= n; ++i) {
            const auto k = static_cast<std::size_t>(i);
            double x = 0, y = 0, z = 0;
            source(i, x, y, z);
            if (transform)
                transform->apply(x, y, z, tx[k], ty[k], tz[k]);
            else
                tx[k] = x, ty[k] = y, tz[k] = z;
        }
    } catch (const std::exception& e) {
        prompter.message(std::string("The points could not be transformed.\n") + e.what());
        return false;
    }

    job.MCS_Name.resize(static_cast<std::size_t>(n) + 1);
    job.MCS_X.resize(n), job.MCS_Y.resize(n);
    job.MCS_Z.resize(static_cast<std::size_t>(n) + 1, 0.0);
    for (std::int32_t i = first; i <= n; ++i) {
        const auto k = static_cast<std::size_t>(i - first + 1), j = static_cast<std::size_t>(i);
        job.MCS_Name[j] = std::move(added.names[k]);
        job.MCS_X.set(i, added.x[k]), job.MCS_Y.set(i, added.y[k]);
        job.MCS_Z[j] = added.z[k];
    }
    job.McsCount = n;
    job.McsOnlyCount = n - job.IdenticalCount;
    job.MCSt_Name.resize(static_cast<std::size_t>(n) + 1);
    job.MCSt_X.resize(n), job.MCSt_Y.resize(n);
    job.MCSt_Z.resize(static_cast<std::size_t>(n) + 1, 0.0);
    for (std::int32_t i = job.IdenticalCount + 1; i <= n; ++i) {
        const auto k = static_cast<std::size_t>(i);
        job.MCSt_Name[k] = job.MCS_Name[k];
        job.MCSt_X.set(i, tx[k]), job.MCSt_Y.set(i, ty[k]);
        job.MCSt_Z[k] = tz[k];
    }
    job.JobDirty = true;
    if (jobEvents) jobEvents->publish(JobEvent::PointsReplaced);
    return true;
}

}  // namespace kal
