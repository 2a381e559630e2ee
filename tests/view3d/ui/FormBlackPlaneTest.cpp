#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <stdexcept>

#include "view3d/ui/FormBlackPlane.h"

namespace kal {
namespace {

class RecordingWindow : public HidingPlaneWindow {
  public:
    ScreenProperties view;
    std::vector<std::string> calls;
    bool failRedraw = false;

    ScreenProperties& screenProperties() override { return view; }
    void initialiseBlackPlane(bool activate, bool showBorders) override {
        calls.push_back(std::string("init ") + (activate ? "on" : "off") + (showBorders ? " borders" : ""));
        view.BlackInitial = view.BlackPlane = activate;
    }
    void makeAllPointsVisible() override { calls.push_back("all visible"); }
    void redraw() override {
        if (failRedraw) throw std::runtime_error("redraw failed");
        calls.push_back("redraw");
    }
    void storeScreenProperties() override { calls.push_back("store"); }
};

struct Fixture {
    RecordingWindow window;
    JobState job;
    std::vector<std::string> placed, reports;
    FormBlackPlane form{
        [this] { return &window; }, job,
        DialogPlacement{[this](QWidget*, const std::string& n) { placed.push_back("restore " + n); },
                        [this](QWidget*, const std::string& n) { placed.push_back("store " + n); }},
        [this](const std::string& why) { reports.push_back(why); }};
};

TEST(FormBlackPlane, ShowsItsControlsAndLoadsTheDefaultWindow) {
    Fixture f;
    f.window.view.BlackPlane = false;
    f.window.view.BlackPlaneBorders = true;
    f.form.show();
    EXPECT_EQ(f.form.windowTitle(), "BlackPlane");
    EXPECT_TRUE(f.form.isModal());
    EXPECT_EQ(f.form.settingsFrame()->title(), "BlackPlane Settings");
    EXPECT_EQ(f.form.activateBox()->text(), "Activate BlackPlane");
    EXPECT_EQ(f.form.showBordersBox()->text(), "Show Black Planes Borders in Screen");
    EXPECT_EQ(f.form.initialiseButton()->text(), "&Initialize Planes");
    EXPECT_EQ(f.form.initialiseButton()->toolTip(), "BlackPlanes will be set up parallel to Screen");
    EXPECT_EQ(f.form.findChild<QLabel*>("Label2")->text(),
              "Move Black Plane with Key \"b\" and hold left Mouse Button down");
    EXPECT_EQ(f.form.findChild<QLabel*>("Label3")->text(),
              "Change Thickness with Key \"t\" and hold left Mouse button down");
    EXPECT_EQ(f.form.applyButton()->text(), "&Apply");
    EXPECT_EQ(f.form.okButton()->text(), "&OK");
    EXPECT_EQ(f.form.cancelButton()->text(), "&Cancel");
    EXPECT_EQ(f.placed, (std::vector<std::string>{"restore FormBlackPlane"}));

    EXPECT_FALSE(f.form.activateBox()->isChecked());
    EXPECT_TRUE(f.form.showBordersBox()->isChecked());
    EXPECT_FALSE(f.form.showBordersBox()->isEnabled());
    EXPECT_FALSE(f.form.initialiseButton()->isEnabled());

    f.form.activateBox()->click();
    EXPECT_TRUE(f.form.showBordersBox()->isEnabled());
    EXPECT_TRUE(f.form.initialiseButton()->isEnabled());
    EXPECT_TRUE(f.window.calls.empty());
}

TEST(FormBlackPlane, InitialiseActsAtOnceAndCancelDoesNotUndoIt) {
    Fixture f;
    f.form.show();
    f.form.activateBox()->click();
    f.form.initialiseButton()->click();
    EXPECT_EQ(f.window.calls, (std::vector<std::string>{"init on"}));
    f.form.cancelButton()->click();
    EXPECT_FALSE(f.form.isVisible());
    EXPECT_EQ(f.form.result(), QDialog::Rejected);
    EXPECT_TRUE(f.window.view.BlackPlane);
    EXPECT_FALSE(f.job.JobDirty);
    EXPECT_EQ(f.placed.back(), "store FormBlackPlane");
}

TEST(FormBlackPlane, ApplyStaysOpenAndOkAppliesAndCloses) {
    Fixture f;
    f.window.view.BlackInitial = true;
    f.form.show();
    f.form.activateBox()->click();
    f.form.showBordersBox()->click();  // on
    f.form.applyButton()->click();
    EXPECT_TRUE(f.form.isVisible());
    EXPECT_EQ(f.window.calls, (std::vector<std::string>{"redraw", "store"}));
    EXPECT_TRUE(f.window.view.BlackPlane);
    EXPECT_TRUE(f.window.view.BlackPlaneBorders);
    EXPECT_TRUE(f.job.JobDirty);

    f.form.activateBox()->click();
    f.form.okButton()->click();
    EXPECT_FALSE(f.form.isVisible());
    EXPECT_EQ(f.form.result(), QDialog::Accepted);
    EXPECT_FALSE(f.window.view.BlackPlane);
    EXPECT_EQ(f.window.calls,
              (std::vector<std::string>{"redraw", "store", "all visible", "redraw", "store"}));
}

TEST(FormBlackPlane, EscapeClosesWithoutApplyingAndAFailedRedrawIsReported) {
    Fixture f;
    f.form.show();
    f.form.activateBox()->click();
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(f.form.okButton(), &escape);
    EXPECT_FALSE(f.form.isVisible());
    EXPECT_TRUE(f.window.calls.empty());

    f.window.failRedraw = true;
    f.form.show();
    f.form.activateBox()->click();
    f.form.okButton()->click();
    EXPECT_EQ(f.reports, (std::vector<std::string>{"redraw failed"}));
    EXPECT_TRUE(f.form.isVisible());  // the dialog stays for another try
}

}  // namespace
}  // namespace kal
