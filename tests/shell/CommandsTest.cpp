#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <set>
#include <string>

#include "shell/Commands.h"

namespace kal {
namespace {

// The window finds controls by object name and buttons by key: a name given twice would hide one.
TEST(Commands, ObjectNamesAndButtonKeysAreUnique) {
    std::set<std::string> names, keys;
    for (const CommandInfo& row : commandTable()) {
        EXPECT_TRUE(names.insert(row.objectName).second) << row.objectName;
        if (row.hasButton()) {
            EXPECT_TRUE(keys.insert(row.buttonKey).second) << row.buttonKey;
        }
    }
}

// Two actions on one key run neither (the window system reports the key as ambiguous): every
// shortcut belongs to one command, and none to the child windows' Close key.
TEST(Commands, NoTwoCommandsAndNoChildWindowShareAShortcut) {
    auto keyOf = [](std::string text) {
        for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return text;
    };
    std::map<std::string, std::string> owner{{keyOf(kChildWindowCloseShortcut), "child window Close"}};
    for (const CommandInfo& row : commandTable()) {
        if (row.shortcut[0] == '\0') continue;
        const auto [it, fresh] = owner.emplace(keyOf(row.shortcut), row.objectName);
        EXPECT_TRUE(fresh) << row.shortcut << " of " << row.objectName << " is also " << it->second << "'s";
    }
    EXPECT_EQ(std::string(commandInfo(Command::Special).shortcut), "Ctrl+W");
}

// A command with a toolbar face stands on exactly one band, and every band holds something.
TEST(Commands, EveryButtonStandsOnceOnABand) {
    std::multiset<Command> placed;
    std::set<Toolbar> bands;
    for (const ToolbarSlot& slot : toolbarLayout()) {
        bands.insert(slot.bar);
        if (!slot.separator) placed.insert(slot.command);
    }
    for (const CommandInfo& row : commandTable()) {
        const std::size_t expected = row.hasButton() || row.kind == ControlKind::Combo ? 1 : 0;
        EXPECT_EQ(placed.count(row.command), expected) << row.objectName;
    }
    EXPECT_EQ(bands.size(), toolbarTable().size());
}

}  // namespace
}  // namespace kal
