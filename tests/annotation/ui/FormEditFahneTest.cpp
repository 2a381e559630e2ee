// The flag editor dialog: its interlock message, the filters on finished typing, and what OK,
// Cancel and the delete buttons hand to the graphics window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <optional>

#include "annotation/ui/FormEditFahne.h"
#include "shared/ImageBuffer.h"
#include "support/FakePlatform.h"

namespace kal {
namespace {
using testing::FakePrompter;

class RecordingTarget : public FlagEditorTarget {
  public:
    std::optional<FahneRecord> layout;
    FlagEditorModel::Applied applied;
    int deleteOne = 0, deleteAll = 0;
    void applyFlagLayout(const FahneRecord& l, const FlagEditorModel::Applied& a) override {
        layout = l;
        applied = a;
    }
    void deleteCurrentFlag() override { ++deleteOne; }
    void deleteAllFlags() override { ++deleteAll; }
};

class ScriptedFonts : public platform::FontDialogs {
  public:
    std::optional<platform::FontChoice> font;
    std::optional<std::int32_t> colour;
    std::optional<platform::FontChoice> chooseFont(const platform::FontChoice&, int) override { return font; }
    std::optional<std::int32_t> chooseColor(std::int32_t) override { return colour; }
};

FahneRecord actualOnly() {
    FahneRecord r;
    r.ShowActual = true;
    r.showX = true;
    return r;
}

TEST(FormEditFahne, TheLastRowCannotBeTurnedOff) {
    RecordingTarget target;
    FakePrompter prompter;
    ScriptedFonts fonts;
    FormEditFahne editor(actualOnly(), 10, target, prompter, fonts);
    EXPECT_EQ(editor.windowTitle(), "Edit Flag...");
    editor.box(FlagCheck::CheckActual)->click();
    ASSERT_EQ(prompter.texts().size(), 1u);
    EXPECT_EQ(prompter.texts()[0], "It makes no sense to turn this of");
    EXPECT_TRUE(editor.box(FlagCheck::CheckActual)->isChecked());

    editor.box(FlagCheck::CheckShowOnlyPointNumber)->click();
    EXPECT_FALSE(editor.box(FlagCheck::CheckActual)->isChecked());
    EXPECT_FALSE(editor.box(FlagCheck::CheckX)->isChecked());
}

TEST(FormEditFahne, OkHandsTheLayoutTheChosenFontAndTheRunSettingsToTheWindow) {
    RecordingTarget target;
    FakePrompter prompter;
    ScriptedFonts fonts;
    fonts.font = platform::FontChoice{"Courier", 12, true, false, false, false};
    fonts.colour = storedColour(0, 0, 255);
    FormEditFahne editor(actualOnly(), 10, target, prompter, fonts);
    EXPECT_FALSE(editor.gridLengthBox()->isEnabled());
    EXPECT_FALSE(editor.placementOption(FlagPlacement::Radial)->isEnabled());

    editor.box(FlagCheck::CheckSnaptoGrid)->click();
    EXPECT_TRUE(editor.gridLengthBox()->isEnabled());
    editor.gridLengthBox()->setText("5");
    emit editor.gridLengthBox()->editingFinished();
    EXPECT_EQ(editor.gridLengthBox()->text(), "10");

    editor.box(FlagCheck::CheckPutAll)->click();
    editor.placementOption(FlagPlacement::Radial)->click();
    EXPECT_TRUE(editor.faktorBox()->isEnabled());
    editor.faktorBox()->setText("1,25");
    editor.box(FlagCheck::CheckPutToEvery)->click();
    editor.flagOnEveryBox()->setText("12");
    editor.fontsButton()->click();
    editor.okButton()->click();

    ASSERT_TRUE(target.layout);
    EXPECT_EQ(target.layout->Name, "Courier");
    EXPECT_EQ(target.layout->Forecolor, storedColour(0, 0, 255));
    EXPECT_TRUE(target.layout->SnaptoGrid);
    EXPECT_TRUE(target.applied.putAll);
    EXPECT_EQ(target.applied.placement, FlagPlacement::Radial);
    EXPECT_DOUBLE_EQ(target.applied.radialFactor, 1.25);
    EXPECT_EQ(target.applied.flagOnEvery, 12);
    EXPECT_EQ(target.applied.gridLength, 10);
}

TEST(FormEditFahne, RefusedNumbersAreNamedTheBoxGoesBackAndOkWaitsForATextItTakes) {
    RecordingTarget target;
    FakePrompter prompter;
    ScriptedFonts fonts;
    FormEditFahne editor(actualOnly(), 10, target, prompter, fonts);
    editor.box(FlagCheck::CheckPutAll)->click();
    editor.placementOption(FlagPlacement::Radial)->click();
    editor.box(FlagCheck::CheckPutToEvery)->click();

    editor.faktorBox()->setText("abc");
    emit editor.faktorBox()->editingFinished();
    EXPECT_EQ(editor.faktorBox()->text(), "1.1");
    ASSERT_EQ(prompter.texts().size(), 1u);
    EXPECT_NE(prompter.texts()[0].find("\"place radial, Length =\""), std::string::npos)
        << prompter.texts()[0];

    // Typed and not yet finished when OK is pressed: refused, the editor stays open.
    editor.flagOnEveryBox()->setText("0");
    editor.okButton()->click();
    EXPECT_FALSE(target.layout);
    EXPECT_EQ(editor.flagOnEveryBox()->text(), "1");
    ASSERT_EQ(prompter.texts().size(), 2u);
    EXPECT_NE(prompter.texts()[1].find("\"put to every\""), std::string::npos) << prompter.texts()[1];

    editor.okButton()->click();
    ASSERT_TRUE(target.layout);
    EXPECT_DOUBLE_EQ(target.applied.radialFactor, 1.1);  // never 0
    EXPECT_EQ(target.applied.flagOnEvery, 1);
}

TEST(FormEditFahne, SnapGridLongerThanThePictureIsRefusedAndTheScrollBarStopsShortOfIt) {
    RecordingTarget target;
    FakePrompter prompter;
    ScriptedFonts fonts;
    FormEditFahne editor(actualOnly(), 10, target, prompter, fonts);
    editor.setPictureSize(300, 200);
    editor.box(FlagCheck::CheckSnaptoGrid)->click();
    EXPECT_EQ(editor.gridLengthScroll()->maximum(), 299);
    editor.gridLengthBox()->setText("500");
    emit editor.gridLengthBox()->editingFinished();
    EXPECT_EQ(editor.gridLengthBox()->text(), "10");
    ASSERT_EQ(prompter.texts().size(), 1u);
    EXPECT_NE(prompter.texts()[0].find("one spot"), std::string::npos) << prompter.texts()[0];
    editor.gridLengthBox()->setText("50");
    emit editor.gridLengthBox()->editingFinished();
    editor.okButton()->click();
    ASSERT_TRUE(target.layout);
    EXPECT_EQ(target.applied.gridLength, 50);
}

// Typed as a user types: the grid length box emptied and left, then "19,5" typed and left. The
// emptied box shows the length the grid keeps, and the fraction is refused with the box's message
// instead of being taken as 20.
TEST(FormEditFahne, AnEmptiedGridLengthShowsTheLengthItKeepsAndAFractionIsRefused) {
    RecordingTarget target;
    FakePrompter prompter;
    ScriptedFonts fonts;
    FormEditFahne editor(actualOnly(), 10, target, prompter, fonts);
    editor.show();
    QApplication::setActiveWindow(&editor);
    editor.box(FlagCheck::CheckSnaptoGrid)->click();
    QLineEdit* box = editor.gridLengthBox();
    enum class Leave { ClickElsewhere, SnapOff };
    const auto typeAndLeave = [&](const char* typed, Leave leave) {
        box->setFocus();
        QApplication::processEvents();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        QTest::keyClicks(box, typed);
        switch (leave) {
            case Leave::ClickElsewhere:
                editor.box(FlagCheck::CheckGrid)->setFocus();
                break;
            case Leave::SnapOff:  // a click on the box that disables the length
                QTest::mouseClick(editor.box(FlagCheck::CheckSnaptoGrid), Qt::LeftButton);
                break;
        }
        QApplication::processEvents();
    };

    for (const Leave leave : {Leave::ClickElsewhere, Leave::SnapOff}) {
        SCOPED_TRACE(static_cast<int>(leave));
        if (!box->isEnabled()) editor.box(FlagCheck::CheckSnaptoGrid)->click();
        const std::size_t shown = prompter.texts().size();
        typeAndLeave("", leave);
        EXPECT_EQ(box->text(), "10");
        EXPECT_EQ(editor.gridLengthScroll()->value(), 10);

        if (!box->isEnabled()) editor.box(FlagCheck::CheckSnaptoGrid)->click();
        typeAndLeave("19,5", leave);
        EXPECT_EQ(box->text(), "10");
        EXPECT_EQ(editor.gridLengthScroll()->value(), 10);
        ASSERT_EQ(prompter.texts().size(), shown + 2);  // the empty text and the fraction
        EXPECT_NE(prompter.texts().back().find("\"Grid Length for Snap\": \"19,5\" is not taken"),
                  std::string::npos)
            << prompter.texts().back();
    }
    if (!box->isEnabled()) editor.box(FlagCheck::CheckSnaptoGrid)->click();

    typeAndLeave("20", Leave::ClickElsewhere);
    EXPECT_EQ(box->text(), "20");
    editor.okButton()->click();
    ASSERT_TRUE(target.layout);
    EXPECT_EQ(target.applied.gridLength, 20);
}

TEST(FormEditFahne, CancelKeepsTheLayoutAndTheDeleteButtonsActOnTheWindow) {
    RecordingTarget target;
    FakePrompter prompter;
    ScriptedFonts fonts;
    fonts.font = platform::FontChoice{"Courier", 12, true, false, false, false};
    {
        FormEditFahne editor(actualOnly(), 10, target, prompter, fonts);
        editor.fontsButton()->click();
        editor.cancelButton()->click();
        EXPECT_FALSE(target.layout);
    }
    {
        FormEditFahne editor(actualOnly(), 10, target, prompter, fonts);
        editor.deleteFlagButton()->click();
        EXPECT_EQ(target.deleteOne, 1);
    }
    {
        FormEditFahne editor(actualOnly(), 10, target, prompter, fonts);
        editor.deleteAllButton()->click();
        EXPECT_EQ(target.deleteAll, 1);
    }
}

}  // namespace
}  // namespace kal
