#include <gtest/gtest.h>

#include <map>

#include "shared/AppPaths.h"
#include "shared/Errors.h"

namespace kal {
namespace {

EnvironmentLookup env(std::map<std::string, std::string> vars) {
    return [vars](const std::string& name) -> std::optional<std::string> {
        auto it = vars.find(name);
        return it == vars.end() ? std::nullopt : std::optional<std::string>(it->second);
    };
}

TEST(AppPaths, XdgFoldersWhenSetAndAbsolute) {
    const AppPaths p = appPathsFromEnvironment(
        env({{"HOME", "/home/u"}, {"XDG_CONFIG_HOME", "/cfg/"}, {"XDG_DATA_HOME", "/data"}}));
    EXPECT_EQ(p.configFolder, "/cfg/Kalvoreth");
    EXPECT_EQ(p.iniFile, "/cfg/Kalvoreth/Kalvoreth.ini");
    EXPECT_EQ(p.dataFolder, "/data/Kalvoreth");
}

TEST(AppPaths, DefaultsUnderHomeWhenXdgIsUnsetEmptyOrRelative) {
    const AppPaths p = appPathsFromEnvironment(
        env({{"HOME", "/home/u"}, {"XDG_CONFIG_HOME", ""}, {"XDG_DATA_HOME", "rel"}}));
    EXPECT_EQ(p.iniFile, "/home/u/.config/Kalvoreth/Kalvoreth.ini");
    EXPECT_EQ(p.dataFolder, "/home/u/.local/share/Kalvoreth");
    EXPECT_THROW(appPathsFromEnvironment(env({})), FileError);
}

}  // namespace
}  // namespace kal
