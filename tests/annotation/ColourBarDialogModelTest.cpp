#include <gtest/gtest.h>

#include "annotation/ClassColours.h"
#include "annotation/ColourBarDialogModel.h"
#include "annotation/ToleranceClasses.h"
#include "platform/Regional.h"
#include "support/FakeColourBarWindow.h"

namespace kal {
namespace {

using FakeWindow = testing::FakeColourBarWindow;
using testing::FakeColourDialog;

JobState sampleJob() { return testing::colourBarSampleJob(); }

struct DialogFixture {
    platform::ScopedDecimalSeparator point{'.'};
    JobState job = sampleJob();
    FakeWindow window{job};
    bool windowOpen = true;
    ColourBarDialogModel model{job, [this]() -> ColourBarTarget* { return windowOpen ? &window : nullptr; }};
};

TEST(ColourBarDialog, ClassCountsStayWithinOneToHundred) {
    struct Case {
        const char* typed;
        const char* text;
        bool message;
    };
    const Case cases[] = {{"150", "100", true},   {"0", "1", false},     {"", "1", false},
                          {"12abc", "12", false}, {"100", "100", false}, {"1e999", "100", true}};
    for (const Case& c : cases) {
        const ClassCountCommit commit = commitClassCount(c.typed);
        EXPECT_EQ(commit.text, c.text) << c.typed;
        EXPECT_EQ(commit.message.has_value(), c.message) << c.typed;
        if (c.message) {
            EXPECT_EQ(*commit.message, "max = 100");
        }
    }
}

TEST(ColourBarDialog, CountBoxWritesTheWindowAndAppliesOnlyOnAChange) {
    DialogFixture f;
    f.model.load();
    f.model.classCountFinished(true, "4");
    EXPECT_EQ(f.window.view.AnzKlassenPos, 4);
    EXPECT_EQ(f.window.redraws, 1);
    f.model.classCountFinished(true, "4");  // the value it already has: nothing applied
    EXPECT_EQ(f.window.redraws, 1);
}

TEST(ColourBarDialog, CylindricalCaptions) {
    EXPECT_EQ(componentCaptions(CoordinateSystem::Cylindrical),
              (ComponentCaptions{"Show ve.R Component", "Show ve.Phi Component", "Show ve.H Component",
                                 "Show ve.R_Phi_H Component", "based on ve.R", "based on ve.Phi",
                                 "based on ve.H"}));
    EXPECT_EQ(componentCaptions(CoordinateSystem::Spherical).showXYZ, "Show ve.Rho_Phi_Theta Component");
    EXPECT_EQ(componentCaptions(CoordinateSystem::Cartesian).colorZ, "based on ve.z");
}

TEST(ColourBarDialog, BadTextInAnyFieldAppliesNoField) {
    DialogFixture f;
    f.window.view.Max = 0.5;
    f.window.view.Min = -0.5;
    f.model.load();
    const ScreenProperties before = f.window.view;
    struct Case {
        const char* field;
        void (*spoil)(ColourBarFields&);
    };
    const Case cases[] = {
        {"A", [](ColourBarFields& x) { x.aText = "12abc"; }},
        {"B", [](ColourBarFields& x) { x.bText = ""; }},
        {"C", [](ColourBarFields& x) { x.cText = "0"; }},
    };
    for (const Case& c : cases) {
        DialogFixture g;
        g.window.view = before;
        g.model.load();
        auto& fields = g.model.mutableFields();
        fields.showX = true;  // a good change that must not be applied either
        fields.outerColourOn = true;
        fields.gridXY = true;
        c.spoil(fields);
        const ApplyOutcome outcome = g.model.settingChanged(ColourBarDialogModel::Setting::Spacing);
        EXPECT_FALSE(outcome.applied) << c.field;
        EXPECT_FALSE(outcome.problem.empty()) << c.field;
        EXPECT_EQ(g.window.view, before) << c.field;
        EXPECT_EQ(g.window.redraws, 0) << c.field;
        EXPECT_TRUE(g.model.fields().autoApply) << c.field;  // Auto Apply keeps its tick
    }

    // A limit box that is no number.
    f.model.limitEdited(LimitBox::Upper, "a");  // a letter in an emptied box stays
    f.model.mutableFields().showY = true;
    EXPECT_FALSE(f.model.apply().applied);
    EXPECT_EQ(f.window.view, before);
    EXPECT_TRUE(f.model.fields().autoApply);
}

TEST(ColourBarDialog, ApplyWritesEveryFieldThenRecoloursAndRedraws) {
    DialogFixture f;
    f.window.view.Max = 0.56;
    f.window.view.Min = -0.13;
    f.model.load();
    EXPECT_EQ(f.model.limits().text(LimitBox::Lower), "-0.56");
    EXPECT_EQ(f.model.limits().text(LimitBox::Upper), "0.56");

    auto& fields = f.model.mutableFields();
    fields.showXYZ = true;
    fields.coordinateSystem = CoordinateSystem::Cylindrical;
    fields.basis = ColourBasisRule::Absolute;
    fields.gridYZ = true;
    fields.aText = "250";
    fields.twoColour = true;
    const ApplyOutcome outcome = f.model.apply();
    ASSERT_TRUE(outcome.applied) << outcome.problem;
    const ScreenProperties& v = f.window.view;
    EXPECT_DOUBLE_EQ(v.Min, -0.56);  // the boxes are symmetric
    EXPECT_DOUBLE_EQ(v.Max, 0.56);
    EXPECT_TRUE(v.showVeX && v.showVeY && v.showVeZ);
    EXPECT_EQ(v.CS_Type, "CYL");
    EXPECT_EQ(v.ColorBased, "");
    EXPECT_TRUE(v.GridYZ);
    EXPECT_EQ(v.ADis, 250);
    EXPECT_TRUE(v.BinaerModus);
    EXPECT_FALSE(f.window.lastTwoColour);  // the menu entry is not checked
    EXPECT_EQ(f.window.recolours, 1);
    EXPECT_EQ(f.window.redraws, 1);

    f.model.setMenuChecked(true);
    f.model.apply();
    EXPECT_TRUE(f.window.lastTwoColour);
}

TEST(ColourBarDialog, ComponentBoxUnticksShowXYZAndSetMaxFollowsVectorSettings) {
    DialogFixture f;
    f.window.view.Max = 1;
    f.window.view.Min = -1;
    f.model.load();
    f.model.mutableFields().showXYZ = true;
    f.model.mutableFields().autoApply = false;
    f.model.setMaxOnChangeToggled(true);
    EXPECT_TRUE(f.model.fields().autoApply);  // ticking "Set max ..." ticks Auto Apply
    f.model.mutableFields().showX = false;
    f.model.settingChanged(ColourBarDialogModel::Setting::ComponentBox);
    EXPECT_FALSE(f.model.fields().showXYZ);
    EXPECT_EQ(f.model.limits().text(LimitBox::Upper), "0.57");
    EXPECT_DOUBLE_EQ(f.window.view.Max, 0.57);

    f.model.setMaxOnChangeToggled(false);
    EXPECT_TRUE(f.model.fields().autoApply);  // unticking leaves Auto Apply
}

TEST(ColourBarDialog, LimitsFromDataWithAndWithoutAutoApply) {
    DialogFixture f;
    f.window.view.Max = 1;
    f.window.view.Min = -1;
    f.model.load();
    f.model.mutableFields().autoApply = false;
    f.model.limitFromData(LimitBox::Upper);
    EXPECT_EQ(f.model.limits().text(LimitBox::Upper), "0.57");
    EXPECT_EQ(f.model.limits().text(LimitBox::Lower), "-0.57");
    EXPECT_DOUBLE_EQ(f.window.view.Max, 0.5);  // until the next apply
    f.model.apply();
    EXPECT_DOUBLE_EQ(f.window.view.Max, 0.57);
    EXPECT_DOUBLE_EQ(f.window.view.Min, -0.57);

    f.model.limitFromData(LimitBox::Lower);
    EXPECT_EQ(f.model.limits().text(LimitBox::Lower), "-0.12");
    EXPECT_EQ(f.model.limits().text(LimitBox::Upper), "0.12");

    // With "only used components", a point with a use flag 0 does not count; with none left the
    // limits stay as they are.
    f.window.view.ShowOnlyUsedComponent = true;
    f.job.UseFlags[7] = 0;  // point 3 (0.567)
    f.model.limitFromData(LimitBox::Upper);
    EXPECT_EQ(f.model.limits().text(LimitBox::Upper), "0.20");
    std::fill(f.job.UseFlags.begin(), f.job.UseFlags.end(), 0);
    EXPECT_FALSE(f.model.limitFromData(LimitBox::Upper).applied);
    EXPECT_EQ(f.model.limits().text(LimitBox::Upper), "0.20");
}

TEST(ColourBarDialog, GridDistanceThatIsNoWholeNumberOfAtLeastOneIsRefusedAndTheBoxKeepsItsValue) {
    DialogFixture f;
    f.window.view.ADis = f.window.view.BDis = f.window.view.Cdis = 100;
    f.model.load();
    f.model.mutableFields().gridXY = true;
    const char* captions[] = {"\"X Dis\"", "\"Y Dis\"", "\"Z Dis\""};
    for (int box = 0; box < 3; ++box) {
        for (const char* typed : {"0", "-5", "abc", "1e3", "12abc", "2.5", ""}) {
            const ApplyOutcome outcome = f.model.spacingFinished(box, typed);
            ASSERT_TRUE(outcome.refusal) << typed;
            EXPECT_NE(outcome.refusal->find(captions[box]), std::string::npos) << *outcome.refusal;
            EXPECT_NE(outcome.refusal->find("\"" + std::string(typed) + "\""), std::string::npos);
            EXPECT_FALSE(outcome.applied);
        }
    }
    EXPECT_EQ(f.model.fields().aText, "100");
    EXPECT_EQ(f.model.fields().bText, "100");
    EXPECT_EQ(f.model.fields().cText, "100");
    EXPECT_EQ(f.window.view.ADis, 100);
    EXPECT_EQ(f.window.redraws, 0);
    // The refused texts left nothing behind that blocks the next apply.
    const ApplyOutcome taken = f.model.spacingFinished(1, "25");
    EXPECT_FALSE(taken.refusal);
    EXPECT_TRUE(taken.applied);
    EXPECT_EQ(f.window.view.BDis, 25);
    EXPECT_EQ(f.window.view.ADis, 100);
}

TEST(ColourBarDialog, LimitTextThatIsNoPlainNumberIsRefusedAndTheWindowKeepsItsLimits) {
    platform::ScopedDecimalSeparator point('.');
    DialogFixture f;
    f.window.view.Max = 0.5;
    f.window.view.Min = -0.5;
    f.model.load();
    f.model.limitEdited(LimitBox::Upper, "1e30");
    const ApplyOutcome outcome = f.model.limitFinished(LimitBox::Upper);
    ASSERT_TRUE(outcome.refusal);
    EXPECT_NE(outcome.refusal->find("\"+Tolerance\""), std::string::npos) << *outcome.refusal;
    EXPECT_EQ(f.model.limits().text(LimitBox::Upper), "0.50");
    EXPECT_DOUBLE_EQ(f.window.view.Max, 0.5);  // never 130
}

TEST(ColourBarDialog, LimitStepAppliesWithAutoApply) {
    DialogFixture f;
    f.window.view.Max = 0.5;
    f.window.view.Min = -0.5;
    f.model.load();
    f.model.limitStep(LimitBox::Upper, +1);
    EXPECT_DOUBLE_EQ(f.window.view.Max, 0.51);
    EXPECT_DOUBLE_EQ(f.window.view.Min, -0.51);
    f.model.limitEdited(LimitBox::Lower, "0");
    f.model.limitFinished(LimitBox::Lower);
    EXPECT_DOUBLE_EQ(f.window.view.Min, -0.01);
    EXPECT_DOUBLE_EQ(f.window.view.Max, 0.01);
}

TEST(ColourBarDialog, CancelledColourDialogKeepsOuterColour) {
    DialogFixture f;
    f.window.view.OuterColor = storedColour(1, 2, 3);
    FakeColourDialog dialog;
    f.model.chooseOuterColour(dialog);
    EXPECT_EQ(f.window.view.OuterColor, storedColour(1, 2, 3));
    EXPECT_EQ(f.window.redraws, 0);
    dialog.answer = storedColour(9, 8, 7);
    f.model.chooseOuterColour(dialog);
    EXPECT_EQ(f.window.view.OuterColor, storedColour(9, 8, 7));
}

TEST(ColourBarDialog, GridControlsFollowTheirGrids) {
    ColourBarFields f;
    f.gridXY = f.gridYZ = true;
    EXPECT_EQ(gridControlStates(f), (GridControlStates{true, true, true, true}));
    f.gridYZ = false;  // only the Z spacing goes; Y stays for the X Y grid
    EXPECT_EQ(gridControlStates(f), (GridControlStates{true, true, false, true}));
    f.gridXY = false;
    EXPECT_EQ(gridControlStates(f), (GridControlStates{false, false, false, false}));
}

TEST(ColourBarDialog, NoWindowNoAction) {
    DialogFixture f;
    f.windowOpen = false;
    f.model.load();
    EXPECT_EQ(f.model.limits().text(LimitBox::Upper), "max");
    EXPECT_FALSE(f.model.apply().applied);
    EXPECT_FALSE(f.model.limitFromData(LimitBox::Upper).applied);
}

TEST(ColourBarDialog, LoadDerivesLimitsStillZeroFirst) {
    DialogFixture f;  // Max = Min = 0: derived as -0.13 / 0.56
    f.model.load();
    EXPECT_DOUBLE_EQ(f.window.view.Max, 0.56);
    EXPECT_EQ(f.model.limits().text(LimitBox::Upper), "0.56");
}

}  // namespace
}  // namespace kal
