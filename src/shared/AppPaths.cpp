#include "shared/AppPaths.h"

#include <cstdlib>

#include "shared/Errors.h"

namespace kal {

namespace {

bool isAbsolute(const std::optional<std::string>& p) { return p && !p->empty() && (*p)[0] == '/'; }

std::string withoutTrailingSlash(std::string p) {
    while (p.size() > 1 && p.back() == '/') p.pop_back();
    return p;
}

std::string baseFolder(const EnvironmentLookup& lookup, const char* xdgName, const char* underHome) {
    const auto xdg = lookup(xdgName);
    if (isAbsolute(xdg)) return withoutTrailingSlash(*xdg);
    const auto home = lookup("HOME");
    if (!isAbsolute(home))
        throw FileError("", 0,
                        std::string("Neither ") + xdgName + " nor HOME names a folder for the settings");
    const std::string h = withoutTrailingSlash(*home);
    return (h == "/" ? "" : h) + underHome;
}

}  // namespace

AppPaths appPathsFromEnvironment(const EnvironmentLookup& lookup) {
    AppPaths p;
    p.configFolder = baseFolder(lookup, "XDG_CONFIG_HOME", "/.config") + "/Kalvoreth";
    p.iniFile = p.configFolder + "/Kalvoreth.ini";
    p.dataFolder = baseFolder(lookup, "XDG_DATA_HOME", "/.local/share") + "/Kalvoreth";
    return p;
}

AppPaths appPathsFromEnvironment() {
    return appPathsFromEnvironment([](const std::string& name) -> std::optional<std::string> {
        const char* v = std::getenv(name.c_str());
        return v ? std::optional<std::string>(v) : std::nullopt;
    });
}

}  // namespace kal
