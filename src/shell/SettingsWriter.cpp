#include "shell/SettingsWriter.h"

#include "shared/IniFile.h"

namespace kal {

SettingsWriter iniFileSettingsWriter(const std::string& iniPath) {
    if (iniPath.empty()) return {};
    return [iniPath](const std::string& section, const SettingsKeys& keys) {
        std::vector<IniEntry> entries;
        entries.reserve(keys.size());
        for (const auto& [key, value] : keys) entries.push_back({section, key, value});
        writeIniValues(iniPath, entries);
    };
}

}  // namespace kal
