// The graphics options dialog: its boxes from the switches, Apply / OK / Cancel, Auto Apply, and
// the label font.
#include <gtest/gtest.h>

#include <QTest>
#include <cstdlib>

#include "shared/IniFile.h"
#include "shared/IniSettings.h"
#include "support/TempDir.h"
#include "view3d/ui/FormGraphicsOptions.h"

namespace kal {
namespace {

struct OptionsFixture {
    testing::TempDir dir;
    JobState job;
    int rebuilds = 0;

    explicit OptionsFixture(const std::string& graphicsKeys = "ViewAllMCS=True\r\nShowColorBar=True\r\n") {
        job.IniFilePath =
            dir.write("Kalvoreth.ini", "[GraphicsSettings]\r\n" + graphicsKeys + "\r\n[LastEntry]\r\n");
        readAllIniSettings(job);
    }
    GraphicsOptionsServices services() {
        GraphicsOptionsServices s;
        s.writeSettings = [this](const std::vector<IniEntry>& e) { writeIniValues(job.IniFilePath, e); };
        s.rebuildGraphicsWindows = [this] { ++rebuilds; };
        return s;
    }
    std::string ini() const { return testing::TempDir::read(job.IniFilePath); }
};

constexpr std::size_t kViewOnlyIfTrafo = 4;
constexpr std::size_t kShowPointNames = 9;

TEST(FormGraphicsOptions, OpensWithTheSwitchesAndAMissingKeyCleared) {
    OptionsFixture f("ViewAllMCS=True\r\nShowColorBar=True\r\nDevVecDirection=False\r\n");
    FormGraphicsOptions w(f.job, f.services());
    w.show();
    EXPECT_EQ(w.windowTitle(), "Graphics Options");
    EXPECT_FALSE(w.isModal());
    EXPECT_EQ(w.box(kViewOnlyIfTrafo)->objectName(), "CheckViewOnlyTrafo");
    EXPECT_EQ(w.box(kViewOnlyIfTrafo)->text(), "View Identically Points which are used in Trafo");
    EXPECT_FALSE(w.box(kViewOnlyIfTrafo)->isChecked());  // no key in the file
    EXPECT_TRUE(w.box(1)->isChecked());                  // ViewAllMCS
    EXPECT_TRUE(w.box(10)->isChecked());                 // ShowColorBar
    EXPECT_TRUE(w.correctionButton()->isChecked());
    EXPECT_FALSE(w.autoApplyBox()->isChecked());
    EXPECT_EQ(w.autoApplyBox()->objectName(), "CheckAutoUpdate");
    EXPECT_EQ(w.labelFontButton()->text(), "Label &Font");
    EXPECT_EQ(f.rebuilds, 0);  // loading applied nothing
    if (const char* dir = std::getenv("KALVORETH_CAPTURE_DIR"))
        w.grab().save(QString::fromStdString(std::string(dir) + "/graphics-options.png"));
}

TEST(FormGraphicsOptions, ClicksWaitForApplyAndCancelKeepsWhatWasApplied) {
    OptionsFixture f;
    const std::string before = f.ini();
    auto w = std::make_unique<FormGraphicsOptions>(f.job, f.services());
    w->show();
    w->box(kShowPointNames)->click();
    EXPECT_TRUE(w->box(kShowPointNames)->isChecked());
    EXPECT_FALSE(f.job.GraphicsFlags.ShowPointNames);
    EXPECT_EQ(f.ini(), before);
    w->cancelButton()->click();
    EXPECT_FALSE(w->isVisible());
    EXPECT_FALSE(f.job.GraphicsFlags.ShowPointNames);
    EXPECT_EQ(f.rebuilds, 0);

    w = std::make_unique<FormGraphicsOptions>(f.job, f.services());
    w->show();
    w->box(kShowPointNames)->click();
    w->deviationButton()->click();
    w->applyButton()->click();
    EXPECT_TRUE(f.job.GraphicsFlags.ShowPointNames);
    EXPECT_TRUE(f.job.GraphicsFlags.DevVecDirection);
    EXPECT_EQ(f.rebuilds, 1);
    const std::string ini = f.ini();
    for (const char* line : {"ShowPointNames=True\r\n", "DevVecDirection=True\r\n", "ViewAllMCS=True\r\n",
                             "ViewOnlyIfTrafo=False\r\n", "ShowRVec=False\r\n"})
        EXPECT_NE(ini.find(line), std::string::npos) << line << ini;
    // Cancel after Apply: what was applied stays.
    w->box(kShowPointNames)->click();
    w->cancelButton()->click();
    EXPECT_TRUE(f.job.GraphicsFlags.ShowPointNames);
}

TEST(FormGraphicsOptions, AutoApplyAppliesEveryClickAndOkAppliesAndCloses) {
    OptionsFixture f;
    FormGraphicsOptions w(f.job, f.services());
    w.show();
    w.autoApplyBox()->click();
    w.box(kViewOnlyIfTrafo)->click();
    EXPECT_TRUE(f.job.GraphicsFlags.ViewOnlyIfTrafo);
    EXPECT_EQ(f.rebuilds, 1);
    EXPECT_NE(f.ini().find("ViewOnlyIfTrafo=True"), std::string::npos);
    w.box(kViewOnlyIfTrafo)->click();
    EXPECT_FALSE(f.job.GraphicsFlags.ViewOnlyIfTrafo);
    EXPECT_EQ(f.rebuilds, 2);
    w.okButton()->click();
    EXPECT_EQ(f.rebuilds, 3);
    EXPECT_FALSE(w.isVisible());
}

class ScriptedFonts : public platform::FontDialogs {
  public:
    std::optional<platform::FontChoice> next;
    int opened = 0;
    std::optional<platform::FontChoice> chooseFont(const platform::FontChoice&, int) override {
        ++opened;
        return next;
    }
    std::optional<std::int32_t> chooseColor(std::int32_t) override { return std::nullopt; }
};

TEST(FormGraphicsOptions, LabelFontOpensOnlyWhileLabelsAreShown) {
    OptionsFixture f;
    ScriptedFonts fonts;
    fonts.next = platform::FontChoice{"DejaVu Sans", 12, true};
    int labels = 0;
    platform::TextFont font{"Sans", 8};
    LabelFontServices access;
    access.labelCount = [&] { return labels; };
    access.font = [&] { return font; };
    access.setFont = [&](const platform::TextFont& chosen) { font = chosen; };
    access.dialogs = &fonts;
    FormGraphicsOptions w(f.job, f.services(), access);
    w.show();
    w.labelFontButton()->click();
    EXPECT_EQ(fonts.opened, 0);
    labels = 3;
    w.labelFontButton()->click();
    EXPECT_EQ(fonts.opened, 1);
    EXPECT_EQ(font, (platform::TextFont{"DejaVu Sans", 12, true, false}));
    EXPECT_EQ(f.rebuilds, 0);  // Auto Apply off
}

}  // namespace
}  // namespace kal
