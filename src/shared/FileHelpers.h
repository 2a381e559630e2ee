#pragma once
// Existence tests for files and folders, and cutting a path down to its folder. A lookup that
// fails (an invalid path, no permission) counts as "not existing". Paths compare exactly.
#include <string>
#include <string_view>

namespace kal {

// True when the path is not empty and names an existing ordinary file (a folder gives false) (File_Exist).
bool isRegularFile(std::string_view datei);
// The same test, as the readers and dialogs call it (FileExists).
bool fileExists(std::string_view path);

// True when the path is not empty and names an existing folder, or an ordinary file (the
// lookup admits both) (Directory_Exist).
bool folderOrFileExists(std::string_view Directory);

// The path up to and including its last separator ("/" or "\") before the last character:
// "C:\a\b.txt" gives "C:\a\", "C:\a\" gives "C:\", "/home/u/x.tfo" gives "/home/u/" (FolderOfPath). A path
// without a separator there gives "".
std::string folderOfPath(std::string_view path);

// Where a file that a job names by `stored` lies: a path without a folder, or with a relative
// one, is looked up beside the job file `jobFile` first, so a job and its point files can move
// together; when it is not found there (or the path is absolute, or the job has no file), the
// path as given. "\" counts as a separator in the stored path.
std::string pathBesideJobFile(const std::string& stored, const std::string& jobFile);

}  // namespace kal
