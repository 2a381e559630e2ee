// The graphics options: the fifteen "GraphicsSettings" keys in their order, Auto Apply, and a
// settings file without a key.
#include <gtest/gtest.h>

#include "shared/IniSettings.h"
#include "support/TempDir.h"
#include "view3d/GraphicsOptions.h"

namespace kal {
namespace {

const std::vector<std::string> kKeysInOrder = {
    "ViewAllOCS",     "ViewAllMCS",       "ViewAllonlyOCS",
    "ViewAllonlyMCS", "ViewOnlyIfTrafo",  "ViewOnlyIfNotTrafo",
    "DontViewOOT",    "ShowPointsBigger", "ShowCoordinateSystemLabels",
    "ShowPointNames", "ShowColorBar",     "VectorThick",
    "VectorQuat",     "ShowRVec",         "DevVecDirection",
};

TEST(GraphicsOptions, ApplyWritesTheFifteenKeysInOrderAsTrueOrFalse) {
    testing::TempDir dir;
    JobState job;
    job.IniFilePath = dir.write("Kalvoreth.ini", "[Global]\r\nNameMCS=MCS\r\n\r\n[LastEntry]\r\n");
    GraphicsOptionsModel model(job.GraphicsFlags);
    model.setBox(1, true);   // ViewAllMCS
    model.setBox(4, true);   // ViewOnlyIfTrafo
    model.setBox(13, true);  // ShowRVec
    model.chooseDeviation(true);
    int rebuilds = 0;
    GraphicsOptionsServices services;
    services.writeSettings = [&](const std::vector<IniEntry>& e) { writeIniValues(job.IniFilePath, e); };
    services.rebuildGraphicsWindows = [&] { ++rebuilds; };
    applyGraphicsOptions(model.state().chosen, job, services);

    EXPECT_EQ(rebuilds, 1);  // every window once
    EXPECT_TRUE(job.GraphicsFlags.ViewAllMCS);
    EXPECT_TRUE(job.GraphicsFlags.ViewOnlyIfTrafo);
    EXPECT_TRUE(job.GraphicsFlags.ShowRVec);
    EXPECT_TRUE(job.GraphicsFlags.DevVecDirection);
    EXPECT_FALSE(job.GraphicsFlags.ViewAllOCS);

    std::string expected = "[Global]\r\nNameMCS=MCS\r\n\r\n[GraphicsSettings]\r\n";
    for (const auto& key : kKeysInOrder) {
        const bool on =
            key == "ViewAllMCS" || key == "ViewOnlyIfTrafo" || key == "ShowRVec" || key == "DevVecDirection";
        expected += key + "=" + (on ? "True" : "False") + "\r\n";
    }
    expected += "\r\n[LastEntry]\r\n";
    EXPECT_EQ(testing::TempDir::read(job.IniFilePath), expected);
}

TEST(GraphicsOptions, TheBoxTableNamesEachSwitchOnce) {
    const auto entries = graphicsSettingsEntries(GraphicsFlagSet{});
    ASSERT_EQ(entries.size(), kKeysInOrder.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].key, kKeysInOrder[i]);
        EXPECT_EQ(entries[i].section, "GraphicsSettings");
        EXPECT_EQ(entries[i].value.text(), "False");
    }
    // Each box sets its own switch and no other.
    for (std::size_t i = 0; i < graphicsOptionBoxes().size(); ++i) {
        GraphicsOptionsModel model(GraphicsFlagSet{});
        model.setBox(i, true);
        const auto e = graphicsSettingsEntries(model.state().chosen);
        for (std::size_t k = 0; k < e.size(); ++k)
            EXPECT_EQ(e[k].value.text(), k == i ? "True" : "False") << i;
    }
}

TEST(GraphicsOptions, ClicksApplyOnlyWithAutoApply) {
    GraphicsFlagSet current;
    current.ShowColorBar = true;
    GraphicsOptionsModel model(current);
    EXPECT_FALSE(model.state().autoApply);  // loading the boxes applies nothing
    EXPECT_TRUE(model.state().chosen.ShowColorBar);
    EXPECT_FALSE(model.setBox(10, false));
    EXPECT_FALSE(model.chooseDeviation(false));
    model.setAutoApply(true);
    EXPECT_TRUE(model.setBox(10, true));
    EXPECT_TRUE(model.chooseDeviation(true));
    EXPECT_FALSE(model.setBox(14, true));  // no such box
}

TEST(GraphicsOptions, WithNoWindowApplyStillSetsAndWrites) {
    JobState job;
    GraphicsFlagSet chosen;
    chosen.ShowPointNames = true;
    int writes = 0;
    GraphicsOptionsServices services;
    services.writeSettings = [&](const std::vector<IniEntry>& e) { writes += static_cast<int>(e.size()); };
    applyGraphicsOptions(chosen, job, services);
    EXPECT_EQ(writes, 15);
    EXPECT_TRUE(job.GraphicsFlags.ShowPointNames);
}

TEST(GraphicsOptions, SettingsFileWithoutAKeyOpensWithThatBoxCleared) {
    testing::TempDir dir;
    for (const bool present : {false, true}) {
        JobState job;
        std::string text = "[GraphicsSettings]\r\nViewAllOCS=True\r\n";
        if (present) text += "ViewOnlyIfTrafo=True\r\n";
        text += "\r\n[LastEntry]\r\n";
        job.IniFilePath = dir.write("Kalvoreth.ini", text);
        readAllIniSettings(job);
        GraphicsOptionsModel model(job.GraphicsFlags);
        EXPECT_EQ(model.state().chosen.ViewOnlyIfTrafo, present);
        EXPECT_TRUE(model.state().chosen.ViewAllOCS);
    }
}

}  // namespace
}  // namespace kal
