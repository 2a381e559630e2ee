// The naming dialog of a saved view: its controls, the list's clicks, Enter, Cancel, and the
// question on a name in use with the dialog staying open on No.
#include <gtest/gtest.h>

#include <QTest>
#include <cstdlib>

#include "support/FakePlatform.h"
#include "view3d/ui/FormSaveView.h"

namespace kal {
namespace {

using platform::Answer;

struct SaveViewFixture {
    JobState job;
    testing::FakePrompter prompter;
    SaveViewNaming naming{job, prompter};

    SaveViewFixture() {
        job.SavedViewNames = {"Front", "Top detail"};
        job.ViewCount = 2;
    }
};

TEST(FormSaveView, ListsTheNamesAndTakesANewOne) {
    SaveViewFixture f;
    FormSaveView w(f.naming);
    w.show();
    EXPECT_EQ(w.windowTitle(), "Save View");
    EXPECT_EQ(w.nameBox()->objectName(), "TextNewName");
    EXPECT_EQ(w.viewList()->objectName(), "ListViews");
    EXPECT_EQ(w.okButton()->text(), "&OK");
    EXPECT_EQ(w.cancelButton()->objectName(), "BtnAbbrechen");
    ASSERT_EQ(w.viewList()->count(), 2);
    EXPECT_EQ(w.viewList()->item(1)->text(), "Top detail");
    EXPECT_TRUE(w.nameBox()->text().isEmpty());
    if (const char* dir = std::getenv("KALVORETH_CAPTURE_DIR"))
        w.grab().save(QString::fromStdString(std::string(dir) + "/save-view.png"));

    QTest::keyClicks(w.nameBox(), "Side");
    QTest::mouseClick(w.okButton(), Qt::LeftButton);
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_EQ(w.newViewName(), "Side");
    EXPECT_TRUE(f.prompter.shown().empty());
}

TEST(FormSaveView, EnterInTheNameBoxActsAsOk) {
    SaveViewFixture f;
    FormSaveView w(f.naming);
    w.show();
    QTest::keyClicks(w.nameBox(), "Iso");
    QTest::keyClick(w.nameBox(), Qt::Key_Return);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.newViewName(), "Iso");
}

TEST(FormSaveView, CancelAndAnEmptyNameTakeNothing) {
    SaveViewFixture f;
    {
        FormSaveView w(f.naming);
        w.show();
        QTest::keyClicks(w.nameBox(), "X");
        QTest::mouseClick(w.cancelButton(), Qt::LeftButton);
        EXPECT_EQ(w.result(), QDialog::Rejected);
        EXPECT_EQ(w.newViewName(), "");
    }
    FormSaveView w(f.naming);
    w.show();
    QTest::mouseClick(w.okButton(), Qt::LeftButton);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.newViewName(), "");
}

TEST(FormSaveView, ClickingANameCopiesItAndNoKeepsTheDialogOpen) {
    SaveViewFixture f;
    FormSaveView w(f.naming);
    w.show();
    QListWidget* list = w.viewList();
    const QRect first = list->visualItemRect(list->item(0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, first.center());
    EXPECT_EQ(w.nameBox()->text(), "Front");

    f.prompter.answer(Answer::No);
    QTest::mouseClick(w.okButton(), Qt::LeftButton);
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.newViewName(), "");
    ASSERT_EQ(f.prompter.shown().size(), 1u);
    EXPECT_EQ(f.prompter.shown()[0].text,
              "Front is already in use for a view, will you replace the old one?");
    EXPECT_EQ(f.job.ViewCount, 2);

    // A double click on the name confirms it; Yes replaces the old view.
    f.prompter.answer(Answer::Yes);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, first.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, first.center());
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.newViewName(), "Front");
    EXPECT_EQ(f.job.SavedViewNames, (std::vector<std::string>{"Top detail"}));
}

}  // namespace
}  // namespace kal
