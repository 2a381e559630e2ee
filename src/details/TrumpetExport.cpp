#include "details/TrumpetExport.h"

#include <cmath>
#include <exception>

#include "details/ProgressPump.h"
#include "shared/AtomicFile.h"
#include "shared/FileHelpers.h"
#include "shared/NumberText.h"

namespace kal {

namespace {

// Thrown out of the chunk writer when Stop is pressed: the atomic save then removes its temporary.
struct ExportStopped {};

// A value that cannot be written as a number (an overflowing difference) leaves its field empty
// instead of writing "inf".
std::string singleText(float v) { return std::isfinite(v) ? generalTextSingle(v) : std::string(); }

}  // namespace

void appendTrumpetExportLine(std::string& out, const DistanceSnapshot& points, std::int32_t i, std::int32_t j,
                             double lengthFactor, const std::string& lengthFormat) {
    const TrumpetPair p = trumpetPair(points, i, j);
    out += points.names[static_cast<std::size_t>(i - 1)];
    out += '\t';
    out += points.names[static_cast<std::size_t>(j - 1)];
    out += '\t';
    out += singleText(p.DistMCS);
    out += '\t';
    out += singleText(p.DistOCS);
    out += '\t';
    const double deltaS = static_cast<double>(p.DeltaS) * lengthFactor;
    if (std::isfinite(deltaS)) out += formatNumber(deltaS, lengthFormat);
    out += "\r\n";
}

ExportOutcome writeTrumpetPairs(const std::string& path, const DistanceSnapshot& points, double lengthFactor,
                                const std::string& lengthFormat, const TrumpetExportServices& s) {
    struct BusyScope {
        const ExportServices& s;
        explicit BusyScope(const ExportServices& services) : s(services) {
            if (s.showBusy) s.showBusy(true);
        }
        ~BusyScope() {
            if (s.showBusy) s.showBusy(false);
        }
    };
    std::optional<std::string> why;
    {
        BusyScope busy(s.exports);
        platform::ProgressScope window(s.progress, kTrumpetExportCaption);
        ProgressPump progressPump(window, s.events);
        platform::ThrottledPump pump(&progressPump, s.interval);
        const std::int32_t n = points.count();
        const double total = 0.5 * n * (n - 1.0);
        double done = 0;
        std::int32_t i = 1, j = 2;
        try {
            writeFileAtomically(path, [&](std::string& chunk) {
                chunk.reserve(s.chunkBytes + 512);
                for (; i < n; ++i, j = i + 1) {
                    for (; j <= n; ++j) {
                        appendTrumpetExportLine(chunk, points, i, j, lengthFactor, lengthFormat);
                        done += 1;
                        if (chunk.size() >= s.chunkBytes) {
                            ++j;
                            progressPump.percent = static_cast<int>(100.0 * done / total);
                            pump.poll();
                            if (window.stopRequested()) throw ExportStopped{};
                            return true;
                        }
                    }
                }
                return false;
            });
        } catch (const ExportStopped&) {
            return ExportOutcome::Cancelled;
        } catch (const std::exception& e) {
            why = e.what();
        }
    }
    if (!why) return ExportOutcome::Written;
    showWriteFailure(*why, s.exports.prompter);  // with the normal pointer back
    return ExportOutcome::Failed;
}

ExportOutcome exportTrumpetPairs(const DistanceSnapshot& points, double lengthFactor,
                                 const std::string& lengthFormat, const TrumpetExportServices& s) {
    if (!s.exports.fileDialogs) return ExportOutcome::Cancelled;
    const std::optional<std::string> chosen = s.exports.fileDialogs->saveFile({}, {}, {}, {});
    if (!chosen || chosen->empty()) return ExportOutcome::Cancelled;
    if (isRegularFile(*chosen) && !askReplaceExisting(*chosen, s.exports.prompter))
        return ExportOutcome::Cancelled;
    return writeTrumpetPairs(*chosen, points, lengthFactor, lengthFormat, s);
}

}  // namespace kal
