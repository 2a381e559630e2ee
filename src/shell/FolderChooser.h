#pragma once
// The rules of the folder chooser, apart from its window: where it opens, how a new folder's
// path is formed, and the "new directory" command.
#include <optional>
#include <string>

#include "platform/Prompter.h"

namespace kal {

// The folder `name` in `base`: "/" + "x" gives "/x"; "/a" or "/a/" + "x" gives "/a/x". Nothing
// for an empty name, and nothing for a name that would leave `base` (one holding a separator,
// or "." or "..").
std::optional<std::string> joinFolder(const std::string& base, const std::string& name);

// The folder itself when it exists, else its nearest existing parent ("/" at the last), so a
// start folder that has gone still opens somewhere near it.
std::string nearestExistingFolder(const std::string& folder);

// "new directory": asks for a name (title "Verzeichnis erstellen") and creates that folder in
// `base`. Returns the new folder, or nothing when the user gave no name or the folder could not
// be made (then "Could not create folder " and the path is shown).
std::optional<std::string> createNewDirectory(platform::Prompter& prompter, const std::string& base);

}  // namespace kal
