#pragma once
// Reading a whole file and replacing a file atomically: the new content goes to a temporary
// file beside the target, is flushed, and is renamed over the target only when every byte was
// written. A failed save leaves the old file as it was.
#include <string>
#include <string_view>

namespace kal {

// The bytes of the file; FileError when it cannot be opened or read.
std::string readFileBytes(const std::string& path);

// Replaces (or creates) the file at `path` with `bytes`; FileError saying why when it fails,
// the old file then untouched and no temporary file left behind.
void writeFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace kal
