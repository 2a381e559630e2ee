#pragma once
// Reading a point file whole and putting a rewritten point file in place of the original. The
// rewrite never leaves a half-written file: the new text goes to a temporary file beside the
// target, is flushed, the original moves to its ".$" backup, and the new file takes its name.
#include <string>
#include <string_view>

#include "shared/AtomicFile.h"  // readFileBytes

namespace kal {

// The backup name of `path`: path + ".$", with a further ".$" for each backup already there
// ("a.txt" beside "a.txt.$" gets "a.txt.$.$").
std::string backupPathFor(const std::string& path);

// Replaces the file at `path` by `bytes`, keeping the original under backupPathFor(path).
// Returns the backup's path. On failure the original is left (under its own name) and FileError
// says why.
std::string replaceFileKeepingBackup(const std::string& path, std::string_view bytes);

}  // namespace kal
