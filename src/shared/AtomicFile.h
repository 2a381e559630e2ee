#pragma once
// Reading a whole file and replacing a file atomically: the new content goes to a temporary
// file beside the target, is flushed, and is renamed over the target only when every byte was
// written. A failed save leaves the old file as it was.
//
// What is on disk is respected: a symbolic link is followed to the file it names, which is the
// one replaced (the link stays a link); a file saved over keeps its mode and, where the system
// permits, its owner and group; temporaries that an interrupted earlier save of the same file left
// behind are removed by the next save; a file-size limit gives an error, never a killed process.
#include <functional>
#include <string>
#include <string_view>

namespace kal {

// The bytes of the file; FileError when it cannot be opened or read.
std::string readFileBytes(const std::string& path);

// Replaces (or creates) the file at `path` with `bytes`; FileError saying why when it fails,
// the old file then untouched and no temporary file left behind.
void writeFileAtomically(const std::string& path, std::string_view bytes);

// The same for content too large to hold at once: `nextChunk` is called again and again with an
// emptied buffer, appends the next bytes to it and returns false after the last ones. Each chunk
// is written as it comes, so memory stays at one chunk whatever the file's size. An exception
// from `nextChunk` (a Stop) ends the save as a failure does: the temporary file is removed, the
// old file stays, and the exception passes on.
void writeFileAtomically(const std::string& path, const std::function<bool(std::string& chunk)>& nextChunk);

// The file an atomic save of `path` replaces: `path` with every symbolic link at its end followed
// (a link to a link included; a relative link is taken from the link's folder). A path that is no
// link is returned as it is. FileError for a loop of links.
std::string finalSaveTarget(const std::string& path);

// True when `name` (a bare file name) is one of the temporary files a save of a file named
// `targetName` creates: targetName + ".~save" + six letters or digits.
bool isSaveTemporaryOf(std::string_view name, std::string_view targetName);

// Makes a write beyond the process's file-size limit fail with EFBIG instead of the SIGXFSZ
// signal ending the program. Called at start-up and by every atomic save; harmless to repeat.
void ignoreFileSizeLimitSignal();

}  // namespace kal
