#include <gtest/gtest.h>

#include <memory>

#include "shell/GraphicsWindows.h"

namespace kal {
namespace {

struct FakeGraphicsWindow : GraphicsWindow {
    explicit FakeGraphicsWindow(GraphicsWindowRegistry* registry = nullptr) : registry(registry) {}
    void setCaption(const std::string& c) override {
        caption = c;
        ++captionChanges;
    }
    GraphicsModes modes() const override { return m; }
    void setModes(const GraphicsModes& modes) override { m = modes; }
    void setPointer(GraphicsPointer p) override { pointer = p; }
    void redraw() override { ++redraws; }
    void closeWindow() override {
        ++closeRequests;
        if (!refusesToClose && registry) registry->remove(this);
    }

    GraphicsWindowRegistry* registry;
    std::string caption;
    int captionChanges = 0;
    GraphicsModes m;
    GraphicsPointer pointer = GraphicsPointer::Default;
    int redraws = 0;
    int closeRequests = 0;
    bool refusesToClose = false;
};

TEST(GraphicsWindowRegistry, NoWindowFindsNothingClosesNothingDrawsNothing) {
    GraphicsWindowRegistry r;
    EXPECT_EQ(r.findDefaultWindow(), nullptr);
    EXPECT_EQ(r.windowCount(), 0);
    r.closeGraphicsWindows();
    r.redrawGraphicsWindows(true);
}

TEST(GraphicsWindowRegistry, ALoadedOrActivatedWindowIsTheDefaultAndTheOthersAreScreen) {
    GraphicsWindowRegistry r;
    FakeGraphicsWindow a(&r), b(&r), c(&r);
    r.add(&a);
    EXPECT_EQ(a.caption, "Screen - DEFAULT");
    r.add(&b);
    r.add(&c);
    EXPECT_EQ(r.findDefaultWindow(), &c);
    EXPECT_EQ(a.caption, "Screen");
    EXPECT_EQ(c.caption, "Screen - DEFAULT");
    r.activate(&b);
    EXPECT_EQ(r.findDefaultWindow(), &b);
    EXPECT_EQ(b.caption, "Screen - DEFAULT");
    EXPECT_EQ(c.caption, "Screen");
    EXPECT_EQ(r.windowCount(), 3);
}

TEST(GraphicsWindowRegistry, AfterTheDefaultClosesTheFirstLoadedBecomesDefaultOnce) {
    GraphicsWindowRegistry r;
    FakeGraphicsWindow a(&r), b(&r), c(&r);
    r.add(&a);
    r.add(&b);
    r.add(&c);
    r.remove(&c);  // the default one
    EXPECT_EQ(r.defaultWindow(), nullptr);
    EXPECT_EQ(r.windowCount(), 2);
    EXPECT_EQ(r.findDefaultWindow(), &a);
    EXPECT_EQ(a.caption, "Screen - DEFAULT");
    const int changes = a.captionChanges + b.captionChanges;
    EXPECT_EQ(r.findDefaultWindow(), &a);  // a second call changes no caption
    EXPECT_EQ(a.captionChanges + b.captionChanges, changes);
}

TEST(GraphicsWindowRegistry, CloseAllAsksEachWindowOnceEvenWhenOneStaysOpen) {
    GraphicsWindowRegistry r;
    FakeGraphicsWindow a(&r), b(&r), c(&r);
    b.refusesToClose = true;
    r.add(&a);
    r.add(&b);
    r.add(&c);
    r.closeGraphicsWindows();  // would never end if it rescanned after each close
    EXPECT_EQ(a.closeRequests, 1);
    EXPECT_EQ(b.closeRequests, 1);
    EXPECT_EQ(c.closeRequests, 1);
    EXPECT_EQ(r.windows(), std::vector<GraphicsWindow*>{&b});
}

TEST(GraphicsWindowRegistry, UpdateAllRedrawsOnlyWhileGraphicsWindowIsChecked) {
    GraphicsWindowRegistry r;
    FakeGraphicsWindow a(&r), b(&r);
    r.add(&a);
    r.add(&b);
    r.redrawGraphicsWindows(false);
    EXPECT_EQ(a.redraws + b.redraws, 0);
    r.redrawGraphicsWindows(true);
    EXPECT_EQ(a.redraws, 1);
    EXPECT_EQ(b.redraws, 1);
}

}  // namespace
}  // namespace kal
