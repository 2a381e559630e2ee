#include <gtest/gtest.h>

#include <map>

#include "calculation/ParameterPanel.h"
#include "support/FakePlatform.h"

namespace kal {
namespace {

// A panel whose calculation requests are counted, with the job state it writes.
struct PanelFixture {
    JobState job;
    testing::FakePrompter prompter;
    BusyState busy;
    int calculations = 0;
    int directionSwitches = 0;
    int displayResets = 0;
    std::function<void()> onCalculate;
    ParameterPanel panel{job,
                         PanelCallbacks{[this] {
                                            ++calculations;
                                            if (onCalculate) onCalculate();
                                        },
                                        [this] {
                                            ++directionSwitches;
                                            job.MCSOCSGetauscht = !job.MCSOCSGetauscht;
                                        },
                                        [this] { ++displayResets; }, nullptr},
                         &prompter, &busy};

    // The state a window opens with for a job without a calculation: 12 parameters, then
    // R Dist. ticked, then 6 parameters.
    void freshSetUp() {
        panel.selectPreset(Preset::TwelveParameter);
        panel.setEstimate(kRDist, true);
        panel.selectPreset(Preset::SixParameter);
    }
    void autoRecalcOn() {
        panel.setAutoRecalc(true);
        calculations = 0;
    }
};

std::string texts(const ParameterPanel& p) {
    std::string s;
    for (int k = 1; k <= kParamCount; ++k) s += (k > 1 ? "|" : "") + p.row(k).valueText;
    return s;
}
std::string ticks(const ParameterPanel& p) {
    std::string s;
    for (int k = 1; k <= kParamCount; ++k) s += p.row(k).estimate ? '1' : '0';
    return s;
}

TEST(ParameterPanel, DesignStateOfANewWindow) {
    PanelFixture f;
    for (int k = 1; k <= kParamCount; ++k) {
        SCOPED_TRACE(k);
        EXPECT_FALSE(f.panel.row(k).estimate);
        EXPECT_FALSE(f.panel.row(k).seedEnabled);
        EXPECT_TRUE(f.panel.row(k).seedCheckEnabled);
        EXPECT_EQ(f.panel.row(k).valueReadOnly, isVectorSlot(k));
    }
    EXPECT_EQ(f.panel.norm(), kNormL2);
    EXPECT_EQ(f.panel.preset(), Preset::None);
    EXPECT_FALSE(f.panel.seedButtonEnabled());
    EXPECT_FALSE(f.panel.rDataKnownEnabled());
    EXPECT_EQ(f.calculations, 0);
}

TEST(ParameterPanel, FreshSetUpGivesTheSixParameterState) {
    PanelFixture f;
    f.freshSetUp();
    EXPECT_EQ(ticks(f.panel), "11111100000000000");
    EXPECT_EQ(texts(f.panel),
              "float|float|float|float|float|float|not used|not used|not used|not used|not used|not used|"
              "not used|not used|not used|not used|not used");
    EXPECT_FALSE(f.job.UseAbcMode);
    EXPECT_FALSE(f.panel.row(kRDist).estimate);
    EXPECT_FALSE(f.panel.useAbc());
    EXPECT_TRUE(f.panel.useAbcEnabled());
    EXPECT_EQ(f.panel.preset(), Preset::SixParameter);
    for (int k : {kParXY, kAzimuth, kZtoXY, kRDist}) EXPECT_FALSE(f.panel.row(k).valueEnabled) << k;
    for (int k = kScaleX; k <= kScaleXYZ; ++k) EXPECT_TRUE(f.panel.row(k).valueReadOnly) << k;
    EXPECT_EQ(f.calculations, 0);  // automatic recalculation is off
}

TEST(ParameterPanel, EndStateOfEveryPreset) {
    struct Case {
        Preset preset;
        const char* ticks;
        const char* texts;
    };
    const std::string nu = "not used";
    const Case cases[] = {
        {Preset::SixParameter, "11111100000000000",
         "float|float|float|float|float|float|not used|not used|not used|not used|not used|not used|not used|"
         "not used|not used|not used|not used"},
        {Preset::SevenParameter, "11111100010000000",
         "float|float|float|float|float|float|not used|not used|not used|float|not used|not used|not used|"
         "not used|not used|not used|not used"},
        {Preset::NineParameter, "11111111100000000",
         "float|float|float|float|float|float|float|float|float|not used|not used|not used|not used|not used|"
         "not used|not used|not used"},
        {Preset::TwelveParameter, "11111111101110000",
         "float|float|float|float|float|float|float|float|float|not used|float|float|float|not used|not used|"
         "not used|not used"},
        {Preset::HoldLevel, "11100100000000000",
         "float|float|float|0|0|float|not used|not used|not used|not used|not used|not used|not used|not "
         "used|"
         "not used|not used|not used"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.preset));
        PanelFixture f;
        f.freshSetUp();
        f.panel.selectPreset(c.preset == Preset::SixParameter ? Preset::NineParameter : c.preset);
        f.panel.selectPreset(c.preset);
        EXPECT_EQ(f.panel.preset(), c.preset);
        EXPECT_EQ(ticks(f.panel), c.ticks);
        EXPECT_EQ(texts(f.panel), c.texts);
        // Estimated plain rows are disabled, estimated scales locked; the scale boxes of
        // presets without that scale stay locked.
        for (int k : {kTraX, kTraY, kTraZ, kRotX, kRotY, kRotZ})
            EXPECT_EQ(f.panel.row(k).valueEnabled, !f.panel.row(k).estimate) << k;
        for (int k = kScaleX; k <= kScaleXYZ; ++k) EXPECT_TRUE(f.panel.row(k).valueReadOnly) << k;
        EXPECT_FALSE(f.panel.row(kRDist).estimate);
        EXPECT_FALSE(f.panel.useAbc());
        EXPECT_GE(f.displayResets, 1);
    }
}

TEST(ParameterPanel, ReselectingTheSelectedPresetDoesNothing) {
    PanelFixture f;
    f.freshSetUp();
    f.panel.setValueText(kRotX, "1.5");
    f.autoRecalcOn();
    f.displayResets = 0;
    f.panel.selectPreset(Preset::SixParameter);
    EXPECT_EQ(f.calculations, 0);
    EXPECT_EQ(f.displayResets, 0);
    EXPECT_EQ(f.panel.row(kRotX).valueText, "1.5");
}

// With automatic recalculation on, every change costs one calculation, also when its handler
// ticks other boxes (Azimuth z ticks z to xy; use ABC under L1 selects L2; an axis scale
// unticks the common scale) and no calculation when nothing changes.
TEST(ParameterPanel, AutomaticRecalculationRunsOnceForEachChange) {
    struct Case {
        const char* name;
        std::function<void(PanelFixture&)> before;
        std::function<void(PanelFixture&)> change;
        int calculations;
    };
    auto none = [](PanelFixture&) {};
    const Case cases[] = {
        {"preset 7", none, [](PanelFixture& f) { f.panel.selectPreset(Preset::SevenParameter); }, 1},
        {"preset 9", none, [](PanelFixture& f) { f.panel.selectPreset(Preset::NineParameter); }, 1},
        {"preset 12", none, [](PanelFixture& f) { f.panel.selectPreset(Preset::TwelveParameter); }, 1},
        {"preset hold level", none, [](PanelFixture& f) { f.panel.selectPreset(Preset::HoldLevel); }, 1},
        {"preset 6 from 9", [](PanelFixture& f) { f.panel.selectPreset(Preset::NineParameter); },
         [](PanelFixture& f) { f.panel.selectPreset(Preset::SixParameter); }, 1},
        {"untick tra x", none, [](PanelFixture& f) { f.panel.setEstimate(kTraX, false); }, 1},
        {"tick scale xyz", none, [](PanelFixture& f) { f.panel.setEstimate(kScaleXYZ, true); }, 1},
        {"tick scale x while xyz ticked", [](PanelFixture& f) { f.panel.setEstimate(kScaleXYZ, true); },
         [](PanelFixture& f) { f.panel.setEstimate(kScaleX, true); }, 1},
        {"tick Azimuth z while z to xy unticked", none,
         [](PanelFixture& f) { f.panel.setEstimate(kAzimuth, true); }, 1},
        {"untick z to xy while Azimuth ticked", [](PanelFixture& f) { f.panel.setEstimate(kAzimuth, true); },
         [](PanelFixture& f) { f.panel.setEstimate(kZtoXY, false); }, 1},
        {"tick R Dist.", none, [](PanelFixture& f) { f.panel.setEstimate(kRDist, true); }, 1},
        {"tick use ABC under L1", [](PanelFixture& f) { f.panel.selectNorm(kNormL1); },
         [](PanelFixture& f) { f.panel.setUseAbc(true); }, 1},
        {"tick use ABC under Loo", [](PanelFixture& f) { f.panel.selectNorm(kNormMinimax); },
         [](PanelFixture& f) { f.panel.setUseAbc(true); }, 1},
        {"norm L1", none, [](PanelFixture& f) { f.panel.selectNorm(kNormL1); }, 1},
        {"norm L2 again", none, [](PanelFixture& f) { f.panel.selectNorm(kNormL2); }, 0},
        {"tra x to its own value", none, [](PanelFixture& f) { f.panel.setEstimate(kTraX, true); }, 0},
        {"seed check box", none, [](PanelFixture& f) { f.panel.setSeedCheck(kTraX, true); }, 0},
        {"Monte Carlo box", none, [](PanelFixture& f) { f.panel.setMonteCarlo(true); }, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PanelFixture f;
        f.job.IdenticalCount = 3;
        f.job.OcsAngles.resize(3, 3);
        f.freshSetUp();
        c.before(f);
        f.autoRecalcOn();
        c.change(f);
        EXPECT_EQ(f.calculations, c.calculations);
        EXPECT_TRUE(f.job.AutoRecalc);  // suspended and restored
        EXPECT_TRUE(f.panel.autoRecalc());
    }
}

TEST(ParameterPanel, NoCalculationWithoutAutomaticRecalculation) {
    PanelFixture f;
    f.freshSetUp();
    f.panel.selectPreset(Preset::TwelveParameter);
    f.panel.setEstimate(kTraX, false);
    f.panel.selectNorm(kNormL1);
    EXPECT_EQ(f.calculations, 0);
}

TEST(ParameterPanel, NormChangeCalculatesWithThePreviousMonteCarloChoiceThenSwitchesItOff) {
    PanelFixture f;
    f.freshSetUp();
    f.panel.setMonteCarlo(true);
    f.autoRecalcOn();
    bool monteCarloSeen = false;
    f.onCalculate = [&] { monteCarloSeen = f.job.MonteCarloOn; };
    f.panel.selectNorm(kNormMinimax);
    EXPECT_EQ(f.calculations, 1);
    EXPECT_TRUE(monteCarloSeen);
    EXPECT_FALSE(f.panel.monteCarlo());
    EXPECT_FALSE(f.job.MonteCarloOn);
    EXPECT_FALSE(f.panel.monteCarloEnabled());
    EXPECT_EQ(f.job.NormMode, kNormMinimax);
    f.panel.selectNorm(kNormL2);
    EXPECT_TRUE(f.panel.monteCarloEnabled());
    EXPECT_FALSE(f.panel.monteCarlo());  // enabled again, not ticked again
}

TEST(ParameterPanel, PlainRowTickedFloatsUntickedFixesItsShownValue) {
    PanelFixture f;
    f.freshSetUp();
    f.panel.setSeedCheck(kTraX, true);
    EXPECT_EQ(f.panel.row(kTraX).seedText, "0");
    f.panel.setValueText(kTraX, "12.345");  // a computed value written after a calculation
    f.panel.setEstimate(kTraX, false);
    EXPECT_EQ(f.panel.row(kTraX).valueText, "12.345");
    EXPECT_TRUE(f.panel.row(kTraX).valueEnabled);
    EXPECT_FALSE(f.panel.row(kTraX).seedCheckEnabled);
    EXPECT_FALSE(f.panel.row(kTraX).seedEnabled);
    EXPECT_TRUE(f.panel.row(kTraX).seedChecked);  // kept
    f.panel.setEstimate(kTraX, true);
    EXPECT_EQ(f.panel.row(kTraX).valueText, "float");
    EXPECT_TRUE(f.panel.row(kTraX).seedEnabled);  // its seed check box is still ticked
    f.panel.setEstimate(kTraX, false);
    EXPECT_EQ(f.panel.row(kTraX).valueText, "0");
}

TEST(ParameterPanel, ScaleRowsExcludeTheCommonScale) {
    PanelFixture f;
    f.freshSetUp();
    f.panel.setEstimate(kScaleXYZ, true);
    EXPECT_EQ(f.panel.row(kScaleXYZ).valueText, "float");
    EXPECT_TRUE(f.panel.row(kScaleXYZ).valueGrey);
    for (int k = kScaleX; k <= kScaleZ; ++k) EXPECT_EQ(f.panel.row(k).valueText, "not used");

    f.panel.setEstimate(kScaleY, true);  // unticks the common scale
    EXPECT_FALSE(f.panel.row(kScaleXYZ).estimate);
    EXPECT_EQ(f.panel.row(kScaleXYZ).valueText, "not used");
    EXPECT_TRUE(f.panel.row(kScaleXYZ).valueReadOnly);
    EXPECT_EQ(f.panel.row(kScaleY).valueText, "float");
    EXPECT_TRUE(f.panel.row(kScaleY).valueReadOnly);
    EXPECT_EQ(f.panel.row(kScaleX).valueText, "not used");

    f.panel.setEstimate(kScaleX, true);
    f.panel.setEstimate(kScaleXYZ, true);  // unticks both axis scales
    EXPECT_FALSE(f.panel.row(kScaleX).estimate);
    EXPECT_FALSE(f.panel.row(kScaleY).estimate);
    for (int k = kScaleX; k <= kScaleZ; ++k) EXPECT_EQ(f.panel.row(k).valueText, "not used");

    // Unticking the common scale fixes it and leaves the axis boxes locked with "not used".
    f.panel.setEstimate(kScaleXYZ, false);
    EXPECT_EQ(f.panel.row(kScaleXYZ).valueText, "1");
    EXPECT_FALSE(f.panel.row(kScaleXYZ).valueReadOnly);
    for (int k = kScaleX; k <= kScaleZ; ++k) {
        EXPECT_EQ(f.panel.row(k).valueText, "not used");
        EXPECT_TRUE(f.panel.row(k).valueReadOnly);
    }
    // Only ticking and unticking an axis scale makes its box writable again.
    f.panel.setEstimate(kScaleZ, true);
    f.panel.setEstimate(kScaleZ, false);
    EXPECT_FALSE(f.panel.row(kScaleZ).valueReadOnly);
    EXPECT_EQ(f.panel.row(kScaleZ).valueText, "1");
}

TEST(ParameterPanel, AzimuthGoesOnlyWithZToXy) {
    PanelFixture f;
    f.freshSetUp();
    f.panel.setEstimate(kAzimuth, true);
    EXPECT_TRUE(f.panel.row(kZtoXY).estimate);
    EXPECT_EQ(f.panel.row(kZtoXY).valueText, "float");
    f.panel.setEstimate(kZtoXY, false);
    EXPECT_FALSE(f.panel.row(kAzimuth).estimate);
    EXPECT_EQ(f.panel.row(kAzimuth).valueText, "0");
    EXPECT_EQ(f.panel.row(kZtoXY).valueText, "0");
}

TEST(ParameterPanel, RDistAndUseAbcExcludeEachOther) {
    PanelFixture f;
    f.job.IdenticalCount = 3;
    f.job.OcsAngles.resize(3, 3);
    f.freshSetUp();

    f.panel.setEstimate(kRDist, true);
    EXPECT_FALSE(f.panel.useAbcEnabled());
    EXPECT_FALSE(f.job.UseAbcMode);
    EXPECT_EQ(f.panel.row(kRDist).valueText, "float");
    EXPECT_TRUE(f.panel.row(kRDist).seedCheckEnabled);
    EXPECT_TRUE(f.panel.row(kRDist).seedEnabled);
    for (int k = kRvecX; k <= kRvecZ; ++k) {
        EXPECT_EQ(f.panel.row(k).valueText, "not used");
        EXPECT_FALSE(f.panel.row(k).valueEnabled);
    }
    f.panel.setEstimate(kRDist, false);
    EXPECT_TRUE(f.panel.useAbcEnabled());
    EXPECT_EQ(f.panel.row(kRDist).valueText, "0");

    f.panel.selectNorm(kNormL1);
    f.panel.setUseAbc(true);
    EXPECT_FALSE(f.panel.rDistEnabled());
    EXPECT_TRUE(f.job.UseAbcMode);
    EXPECT_EQ(f.panel.row(kRDist).valueText, "not used");
    EXPECT_FALSE(f.panel.row(kRDist).valueEnabled);
    EXPECT_EQ(f.panel.norm(), kNormL2);
    EXPECT_EQ(f.job.NormMode, kNormL2);
    EXPECT_FALSE(f.panel.normEnabled(kNormL1));
    EXPECT_FALSE(f.panel.normEnabled(kNormMinimax));
    EXPECT_FALSE(f.panel.directionButtonEnabled());
    for (int k = kRvecX; k <= kRvecZ; ++k) {
        EXPECT_TRUE(f.panel.row(k).estimate);
        EXPECT_EQ(f.panel.row(k).valueText, "float");
        EXPECT_TRUE(f.panel.row(k).seedEnabled);
    }
    EXPECT_FALSE(f.panel.row(kRDist).seedEnabled);

    // Unticking use ABC keeps the vector model's flag: the offset vector is then held.
    f.panel.setUseAbc(false);
    EXPECT_TRUE(f.job.UseAbcMode);
    EXPECT_TRUE(f.panel.rDistEnabled());
    for (int k = kRvecX; k <= kRvecZ; ++k) EXPECT_EQ(f.panel.row(k).valueText, "0");
}

TEST(ParameterPanel, UseAbcWhileExchangedSwitchesBackAndCalculatesOnce) {
    for (bool autoRecalc : {false, true}) {
        SCOPED_TRACE(autoRecalc);
        PanelFixture f;
        f.job.IdenticalCount = 2;
        f.job.OcsAngles.resize(2, 3);
        f.freshSetUp();
        f.job.MCSOCSGetauscht = true;
        if (autoRecalc) f.autoRecalcOn();
        f.panel.setUseAbc(true);
        EXPECT_EQ(f.directionSwitches, 1);
        EXPECT_FALSE(f.job.MCSOCSGetauscht);
        EXPECT_EQ(f.calculations, 1);
    }
}

TEST(ParameterPanel, UseAbcRefusedWhenTheNominalPointsCarryNoAngles) {
    PanelFixture f;
    f.job.IdenticalCount = 4;
    f.job.OcsAngles.resize(3, 3);  // a job file that kept angles for fewer points
    f.freshSetUp();
    EXPECT_FALSE(f.panel.setUseAbc(true));
    EXPECT_FALSE(f.panel.useAbc());
    EXPECT_FALSE(f.job.UseAbcMode);
    ASSERT_EQ(f.prompter.shown().size(), 1u);
    EXPECT_NE(f.prompter.shown()[0].text.find("use ABC"), std::string::npos);
    EXPECT_EQ(f.calculations, 0);
}

TEST(ParameterPanel, RDistInParaboloidModeLeavesL1LooAndDirectionDisabled) {
    PanelFixture f;
    f.job.ParaboloidMode = true;
    f.panel.setNormEnabled(kNormL1, false);
    f.panel.setNormEnabled(kNormMinimax, false);
    f.panel.setDirectionButtonEnabled(false);
    f.freshSetUp();  // ticks R Dist. on the way
    EXPECT_FALSE(f.panel.normEnabled(kNormL1));
    EXPECT_FALSE(f.panel.normEnabled(kNormMinimax));
    EXPECT_FALSE(f.panel.directionButtonEnabled());
}

TEST(ParameterPanel, SeedCheckFillsAnEmptySeedWithItsDefault) {
    PanelFixture f;
    f.freshSetUp();
    f.panel.selectPreset(Preset::NineParameter);
    f.panel.setSeedCheck(kScaleY, true);
    EXPECT_EQ(f.panel.row(kScaleY).seedText, "1");
    EXPECT_TRUE(f.panel.row(kScaleY).seedEnabled);
    f.panel.setSeedCheck(kScaleY, false);
    EXPECT_FALSE(f.panel.row(kScaleY).seedEnabled);
    EXPECT_EQ(f.panel.row(kScaleY).seedText, "1");
    f.panel.setSeedText(kRotZ, "12.5");
    f.panel.setSeedCheck(kRotZ, true);
    EXPECT_EQ(f.panel.row(kRotZ).seedText, "12.5");
}

TEST(ParameterPanel, RowsCannotChangeWhileACalculationRuns) {
    PanelFixture f;
    f.freshSetUp();
    f.autoRecalcOn();
    {
        BusyGuard running(f.busy);
        EXPECT_FALSE(f.panel.setEstimate(kTraX, false));
        EXPECT_FALSE(f.panel.selectPreset(Preset::NineParameter));
        EXPECT_FALSE(f.panel.selectNorm(kNormL1));
        EXPECT_FALSE(f.panel.setSeedText(kTraX, "5"));
        EXPECT_TRUE(f.panel.setValueText(kTraX, "1.000"));  // the calculation writes its results
    }
    EXPECT_TRUE(f.panel.row(kTraX).estimate);
    EXPECT_EQ(f.panel.preset(), Preset::SixParameter);
    EXPECT_EQ(f.panel.norm(), kNormL2);
    EXPECT_EQ(f.calculations, 0);
}

}  // namespace
}  // namespace kal
