#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <cstdlib>

#include "annotation/ui/FormColorBar.h"
#include "platform/Regional.h"
#include "support/FakeColourBarWindow.h"
#include "support/FakePlatform.h"

namespace kal {
namespace {

struct Dialog {
    platform::ScopedDecimalSeparator point{'.'};
    JobState job = testing::colourBarSampleJob();
    testing::FakeColourBarWindow window{job};
    testing::FakePrompter prompter;
    testing::FakeColourDialog colours;
    ColourBarDialogModel model{job, [this] { return &window; }};
    FormColorBar form{model, colours, prompter};

    Dialog() {
        window.view.Max = 0.56;
        window.view.Min = -0.13;
        model.load();
        form.refresh();
    }
    void type(QLineEdit* box, const char* text) {
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, QString::fromUtf8(text));
        QTest::keyClick(box, Qt::Key_Return);
    }
};

TEST(FormColorBar, LimitBoxesCleanAndMirror) {
    Dialog d;
    EXPECT_EQ(d.form.lowerLimitBox()->text(), "-0.56");
    EXPECT_EQ(d.form.upperLimitBox()->text(), "0.56");
    struct Case {
        bool upper;
        const char* typed;
        const char* lower;
        const char* upperText;
    };
    const Case cases[] = {
        {true, "1", "-1.00", "1.00"},     {true, "1.2.3", "-1.00", "1.00"},  // refused: the pair stays
        {false, "--5", "-1.00", "1.00"},                                     // refused
        {false, "1e30", "-1.00", "1.00"},                                    // refused, never 130
        {false, "5", "-5.00", "5.00"},    {false, "0", "-0.01", "0.01"}};
    for (const Case& c : cases) {
        d.type(c.upper ? d.form.upperLimitBox() : d.form.lowerLimitBox(), c.typed);
        EXPECT_EQ(d.form.lowerLimitBox()->text(), c.lower) << c.typed;
        EXPECT_EQ(d.form.upperLimitBox()->text(), c.upperText) << c.typed;
    }
    EXPECT_DOUBLE_EQ(d.window.view.Max, 0.01);  // Auto Apply applied the last one
    const auto texts = d.prompter.texts();
    ASSERT_EQ(texts.size(), 3u);  // one message for each refused text
    EXPECT_NE(texts[0].find("\"+Tolerance\""), std::string::npos) << texts[0];
    EXPECT_NE(texts[1].find("\"-Tolerance\""), std::string::npos) << texts[1];
    EXPECT_NE(texts[2].find("\"1e30\""), std::string::npos) << texts[2];

    // Pasted in one change.
    d.form.upperLimitBox()->setFocus();
    d.form.upperLimitBox()->selectAll();
    d.form.upperLimitBox()->insert(QStringLiteral("1,5"));  // as a paste: textEdited, not finished
    emit d.form.upperLimitBox()->textEdited(d.form.upperLimitBox()->text());
    EXPECT_EQ(d.form.upperLimitBox()->text(), "1,5");  // shown as typed until editing finishes
    QTest::keyClick(d.form.upperLimitBox(), Qt::Key_Return);
    EXPECT_EQ(d.form.upperLimitBox()->text(), "1.50");

    // Upper ">" from 0.50.
    d.type(d.form.upperLimitBox(), "0.5");
    d.form.stepButton(3)->click();
    EXPECT_EQ(d.form.upperLimitBox()->text(), "0.51");
    EXPECT_EQ(d.form.lowerLimitBox()->text(), "-0.51");
    EXPECT_DOUBLE_EQ(d.window.view.Max, 0.51);
}

TEST(FormColorBar, ClassCountAboveHundredSaysSo) {
    Dialog d;
    d.type(d.form.positiveCountBox(), "150");
    EXPECT_EQ(d.prompter.texts(), std::vector<std::string>{"max = 100"});
    EXPECT_EQ(d.form.positiveCountBox()->text(), "100");
    EXPECT_EQ(d.window.view.AnzKlassenPos, 100);
    EXPECT_EQ(d.form.positiveCountSpin()->value(), 100);
    d.type(d.form.negativeCountBox(), "0");
    EXPECT_EQ(d.form.negativeCountBox()->text(), "1");
    EXPECT_EQ(d.prompter.texts().size(), 1u);
}

TEST(FormColorBar, CylindricalRelabelsAndGridBoxesFollow) {
    Dialog d;
    d.form.coordinateButton(CoordinateSystem::Cylindrical)->click();
    EXPECT_EQ(d.form.showXBox()->text(), "Show ve.R Component");
    EXPECT_EQ(d.form.showXYZBox()->text(), "Show ve.R_Phi_H Component");
    EXPECT_EQ(d.form.basisButton(ColourBasisRule::Y)->text(), "based on ve.Phi");
    EXPECT_EQ(d.window.view.CS_Type, "CYL");

    d.form.gridBox(0)->click();
    d.form.gridBox(1)->click();
    d.form.gridBox(1)->click();  // Y Z off: only the Z spacing goes
    EXPECT_TRUE(d.form.spacingBox(0)->isEnabled());
    EXPECT_TRUE(d.form.spacingBox(1)->isEnabled());
    EXPECT_FALSE(d.form.spacingBox(2)->isEnabled());
    EXPECT_TRUE(d.form.gridDimBox()->isEnabled());
}

TEST(FormColorBar, BadSpacingIsRefusedNamingTheBoxAndTheBoxKeepsItsValue) {
    Dialog d;
    d.form.gridBox(0)->click();
    const ScreenProperties before = d.window.view;
    const std::string kept = d.form.spacingBox(0)->text().toStdString();
    for (const char* typed : {"12abc", "0", "-5", "abc"}) {
        d.type(d.form.spacingBox(0), typed);
        EXPECT_EQ(d.window.view, before) << typed;
        EXPECT_EQ(d.form.spacingBox(0)->text().toStdString(), kept) << typed;
        ASSERT_FALSE(d.prompter.texts().empty());
        EXPECT_NE(d.prompter.texts().back().find("\"X Dis\""), std::string::npos)
            << d.prompter.texts().back();
        EXPECT_TRUE(d.form.autoApplyBox()->isChecked());
    }
    EXPECT_EQ(d.prompter.texts().size(), 4u);  // one message each, none twice
    d.type(d.form.spacingBox(0), "50");
    EXPECT_EQ(d.window.view.ADis, 50);
    EXPECT_TRUE(d.form.problemLabel()->isHidden());
}

TEST(FormColorBar, CancelledColourKeepsOuterColourAndStripFolds) {
    Dialog d;
    d.window.view.OuterColor = 123;
    d.form.outerColourButton()->click();
    EXPECT_EQ(d.window.view.OuterColor, 123);

    QSignalSpy toggled(&d.form, &FormColorBar::expandedToggled);
    QTest::mouseDClick(d.form.preview(), Qt::LeftButton);
    EXPECT_FALSE(d.form.isExpanded());
    EXPECT_EQ(toggled.count(), 1);
}

TEST(FormColorBar, Capture) {
    Dialog d;
    d.form.coordinateButton(CoordinateSystem::Cylindrical)->click();
    d.form.resize(520, d.form.sizeHint().height());
    const QImage image = d.form.grab().toImage();
    // The preview strip shows the classes: blue at the left, red at the right.
    const QPoint strip = d.form.preview()->mapTo(&d.form, QPoint(3, 10));
    const QPoint end = d.form.preview()->mapTo(&d.form, QPoint(d.form.preview()->width() - 3, 10));
    EXPECT_EQ(image.pixelColor(strip), QColor(0, 0, 255));
    EXPECT_EQ(image.pixelColor(end), QColor(255, 0, 0));
    if (const char* dir = std::getenv("KALVORETH_CAPTURE_DIR"))
        image.save(QString::fromStdString(std::string(dir) + "/FormColorBar.png"));
}

}  // namespace
}  // namespace kal
