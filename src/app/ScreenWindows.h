#pragma once
// The graphics windows in the program: "Graphics Window" (menu entry and toolbar button) opens a
// new FormScreen in the main window's MDI area; the registry of the main window knows them in
// load order and which one is the default window; the main window's graphics commands act on
// that default window. Each window loads, activates and unloads here, where the job, the INI
// file and the main window are at hand.
//
// Other parts hook in through scene() (the colouring of the cloud and the redraw stages they
// own), setStoreView (the undo ring), setInput (mouse, wheel and keys of a window as it opens)
// and the window signals.
#include <QMdiSubWindow>
#include <QPointer>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/qt/QtPlatform.h"
#include "shared/JobEvents.h"
#include "shared/JobState.h"
#include "shell/GraphicsWindows.h"
#include "shell/ui/FormMain.h"
#include "view3d/ScreenScene.h"
#include "view3d/ui/FormScreen.h"

namespace kal {

class ScreenWindows {
  public:
    ScreenWindows(JobState& job, JobEvents& events, FormMain& main, platform::Prompter& prompter,
                  std::function<bool()> settingsWritable = {});
    ~ScreenWindows();
    ScreenWindows(const ScreenWindows&) = delete;
    ScreenWindows& operator=(const ScreenWindows&) = delete;

    // MenueGraphicsWindow_Click: checks "Graphics Window", opens, loads and shows a new window,
    // which becomes the default one.
    FormScreen& open();
    // The default graphics window (findLFDFORM); null when none is open.
    FormScreen* defaultWindow();
    // The open windows in load order.
    std::vector<FormScreen*> windows() const;

    GraphicsSession& session() { return session_; }
    // The hooks every window's redraw runs through; set them before windows open or redraw.
    ScreenScene& scene() { return scene_; }
    // StoreScreenPropertiesToRecord. Until the undo ring is plugged in, a store makes the view
    // the default view record of the next new window.
    void setStoreView(std::function<void(FormScreen&)> store) { storeView_ = std::move(store); }
    // Called with each window once it has loaded, before its first frame (navigation and picking
    // attach their input here; the colour-bar dialog takes the window's colour settings). Every
    // listener added is called, in the order added; the number returned takes it away again.
    int addWindowOpened(std::function<void(FormScreen&)> opened) {
        windowOpened_.emplace(++lastListener_, std::move(opened));
        return lastListener_;
    }
    void removeWindowOpened(int listener) { windowOpened_.erase(listener); }

    // DrawActualPoint: the point every window rings from its next redraw on (the main sheet's
    // current row); the caller redraws.
    void selectPoint(const std::string& name) { session_.SelectedPointName = name; }

    // ---- The main window's commands on the default window ----
    void zoomIn();   // FormMain.ZoomIn
    void zoomOut();  // FormMain.ZoomOut
    void printToClipboard();
    // "BlackPlane": the hiding-plane dialog, modal, on the default window.
    void showHidingPlaneDialog();

  private:
    struct Window;
    Window* entryOf(FormScreen* form) const;
    Window* defaultEntry();
    ScreenServices servicesFor(Window& w);
    void connectCommands();
    // Runs `command` on the default window when there is one.
    void onDefault(const std::function<void(Window&)>& command);
    void activated(QMdiSubWindow* sub);
    void unload(FormScreen* form);
    void rebuildAll();
    void writeSetting(const std::string& section, const std::string& key, const std::string& value);

    JobState& job_;
    JobEvents& events_;
    FormMain& main_;
    platform::Prompter& prompter_;
    std::function<bool()> settingsWritable_;
    GraphicsSession session_;
    ScreenScene scene_;
    std::function<void(FormScreen&)> storeView_;
    std::map<int, std::function<void(FormScreen&)>> windowOpened_;
    int lastListener_ = 0;
    platform::QtClipboard clipboard_;
    std::vector<std::unique_ptr<Window>> windows_;  // load order
    std::vector<Subscription> subscriptions_;
};

}  // namespace kal
