#pragma once
// Where the program keeps its files: the settings file in the user's configuration folder,
// and the files it makes for itself (clipboard input, results) in the user's data folder.
// Nothing is ever written relative to the current folder.
#include <functional>
#include <optional>
#include <string>

namespace kal {

struct AppPaths {
    std::string configFolder;  // $XDG_CONFIG_HOME/Kalvoreth, default ~/.config/Kalvoreth
    std::string iniFile;       // configFolder/Kalvoreth.ini
    std::string dataFolder;    // $XDG_DATA_HOME/Kalvoreth, default ~/.local/share/Kalvoreth
};

// Reads an environment variable; nullopt when it is not set.
using EnvironmentLookup = std::function<std::optional<std::string>(const std::string& name)>;

// The paths from the environment. An XDG variable that is unset, empty or not an absolute
// path is ignored (its default under $HOME is taken). Throws FileError when a default is
// needed and HOME is not an absolute path. Creates nothing.
AppPaths appPathsFromEnvironment(const EnvironmentLookup& lookup);
AppPaths appPathsFromEnvironment();  // the process environment

}  // namespace kal
