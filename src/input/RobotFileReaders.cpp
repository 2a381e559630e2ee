#include "input/RobotFileReaders.h"

#include <stdexcept>

#include "input/PairNaming.h"
#include "input/PointFileIo.h"

namespace kal {

OcsPointSet readOcsFile(OcsFormat format, const std::string& path, const ReadOptions& options) {
    const std::string bytes = readFileBytes(path);
    OcsPointSet set;
    switch (format) {
        case kOcsKuka:
            set = parseKukaDatFile(bytes, path, options);
            break;
        case kOcsModx:
            set = parseModxFile(bytes, path, options);
            break;
        case kOcsFanuc:
            set = parseFanucLsFile(bytes, path, options);
            break;
        case kOcsXyzAbc:
            set = parseXyzAbcFile(bytes, path, options);
            break;
        case kOcsQuat:
            set = parseQuaternionFile(bytes, path, options);
            break;
        default:
            throw std::invalid_argument("readOcsFile: not a robot or angle format");
    }
    // Points with a double name stop the load at the matching; the file then stays as it was.
    if (set.rewrittenBytes && !firstDoubleName(set.points.names))
        replaceFileKeepingBackup(path, *set.rewrittenBytes);
    return set;
}

}  // namespace kal
