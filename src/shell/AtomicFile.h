#pragma once
// Whole-file reads and atomic whole-file writes. A save writes a temporary file beside the
// target, flushes it to the disk and renames it over the target, so the old file stays intact
// until the new one is complete: a full disk, a missing permission or a crash mid-write leaves
// the old file as it was.
#include <string>
#include <string_view>

namespace kal {

// Replaces (or creates) `path` with `bytes`. An existing file keeps its permissions; a link is
// followed and its target replaced. Throws FileError saying why; the temporary file is removed.
void replaceFileAtomically(const std::string& path, std::string_view bytes);

// The whole content of a file. Throws FileError when it cannot be opened or read.
std::string readJobFileBytes(const std::string& path);

}  // namespace kal
