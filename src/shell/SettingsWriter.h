#pragma once
// How the shell's commands write keys to the settings (INI) file: one call per section, the keys
// in order, in one rewrite. The application connects it to the INI module; an empty writer (no
// settings file, as after a failed start-up) writes nothing. A failure throws.
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace kal {

using SettingsKeys = std::vector<std::pair<std::string, std::string>>;
using SettingsWriter = std::function<void(const std::string& section, const SettingsKeys& keys)>;

// The writer over the INI file at `iniPath` (one atomic rewrite per call); empty for no path.
SettingsWriter iniFileSettingsWriter(const std::string& iniPath);

}  // namespace kal
