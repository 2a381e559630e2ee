#pragma once
// Existence tests for files and folders, and cutting a path down to its folder. A lookup that
// fails (an invalid path, no permission) counts as "not existing". Paths compare exactly.
#include <string>
#include <string_view>

namespace kal {

// True when the path is not empty and names an existing ordinary file (a folder gives false).
bool File_Exist(std::string_view datei);
// The same test, as the readers and dialogs call it.
bool FileExists(std::string_view path);

// True when the path is not empty and names an existing folder, or an ordinary file (the
// lookup admits both).
bool Directory_Exist(std::string_view Directory);

// The path up to and including its last separator ("/" or "\") before the last character:
// "C:\a\b.txt" gives "C:\a\", "C:\a\" gives "C:\", "/home/u/x.tfo" gives "/home/u/". A path
// without a separator there gives "".
std::string FolderOfPath(std::string_view path);

}  // namespace kal
