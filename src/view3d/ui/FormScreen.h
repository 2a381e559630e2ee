#pragma once
// The graphics window (FormScreen): one MDI child per view of the job. Each window owns its view
// record, projection arrays, rotation origin and display list (ScreenModel), draws the list into
// a QImage back buffer and shows that buffer on its drawing surface `ScreenPixel`, with the
// status bar `StatusBar1` below.
//
// Redraw requests are coalesced: redraw() only marks the picture stale and arms a zero-interval
// timer, so any number of requests within one pass of the event loop cost one frame (scene,
// overlays, rasterising). renderNow() runs a pending frame at once for code that reads the
// projection right after asking for it (picking, the clipboard picture, tests).
//
// A resized surface (Arrange, Cascade, maximising, a drag of the border) has its view follow the
// new size and is drawn again at once, before it is painted: a resize never shows a black,
// stale or clipped picture.
//
// What the window draws and where a view goes when stored come from its composition
// (ScreenServices); mouse, wheel and keys of the surface go to a ScreenInput handler when one is
// set, so navigation and picking live outside the window.
#include <QFont>
#include <QImage>
#include <QLabel>
#include <QStatusBar>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <vector>

#include "platform/qt/QtTextMetrics.h"
#include "view3d/CloudProjection.h"
#include "view3d/ScreenModel.h"

class QMouseEvent;
class QWheelEvent;
class QKeyEvent;

namespace kal {

class FormScreen;

// The mouse pointer over the drawing surface.
enum class ScreenPointer { Default, Flag, SetLine, DeleteLine, Cross };

// Events of the drawing surface, for navigation, picking and the flags. Positions are surface
// pixels; the window has already written the position into MouseX / MouseY on every move.
class ScreenInput {
  public:
    virtual ~ScreenInput() = default;
    virtual void mousePress(FormScreen&, QMouseEvent*) {}
    virtual void mouseMove(FormScreen&, QMouseEvent*) {}
    virtual void mouseRelease(FormScreen&, QMouseEvent*) {}
    virtual void mouseDoubleClick(FormScreen&, QMouseEvent*) {}
    virtual void wheel(FormScreen&, QWheelEvent*) {}
    virtual void keyPress(FormScreen&, QKeyEvent*) {}
    virtual void keyRelease(FormScreen&, QKeyEvent*) {}
};

// An extra drawing stage, run after the scene on every frame (rubber band, dragged outlines).
using ScreenOverlay = std::function<void(const ScreenModel&, DisplayList&)>;

struct ScreenServices {
    // The redraw pipeline (Stelle_Grafik_dar): appends the picture of the current view to
    // screen.display, which the window has cleared to its background colour. It also projects.
    std::function<void(ScreenModel&)> drawScene;
    // The projection alone (rechne_PixelCloud), for the standard views.
    std::function<void(ScreenModel&)> project;
    // Pushes the window's view into its undo ring and makes it the default view record
    // (StoreScreenPropertiesToRecord).
    std::function<void(FormScreen&)> storeView;
    // The surface has been resized from `before` to screen.width × screen.height: the view
    // follows the new size (followScreenResize) before the window redraws.
    std::function<void(ScreenModel&, SurfaceSize before)> resized;
};

class ScreenSurface;

// The main window reaches it through its GraphicsWindow interface, which the composition (src/app)
// implements over these methods.
class FormScreen : public QWidget {
    Q_OBJECT
  public:
    FormScreen(GraphicsSession& session, ScreenServices services, platform::Prompter* prompter,
               QWidget* parent = nullptr);
    ~FormScreen() override;

    ScreenModel& model() { return model_; }
    const ScreenModel& model() const { return model_; }
    GraphicsSession& session() { return session_; }
    ScreenServices& services() { return services_; }

    // ---- What the main window uses ----
    void setCaption(const std::string& caption);  // the window's and its MDI frame's title
    void setPointer(ScreenPointer pointer);
    void redraw();  // Stelle_Grafik_dar, coalesced; see renderNow
    // Runs `resize`, a change of the window's size, with the view held as it is: a view record
    // brings its window's size with a view made for that size. The caller redraws.
    void resizeHoldingView(const std::function<void()>& resize);
    void closeWindow();

    // ---- Frames ----
    void renderNow();  // runs a pending redraw at once; nothing when none is pending
    bool redrawPending() const { return pending_; }
    int frameCount() const { return frames_; }
    // The last frame: a QImage over the window's own pixel buffer.
    const QImage& backBuffer() const { return back_; }
    void addOverlay(ScreenOverlay overlay) { overlays_.push_back(std::move(overlay)); }
    // Draws straight onto the current picture, between redraws (the analyse animation), and
    // shows it. The next redraw replaces it.
    void drawOnPicture(const std::function<void(QImage&)>& draw);
    void setInput(ScreenInput* input) { input_ = input; }
    ScreenInput* input() const { return input_; }

    // ---- Controls ----
    QWidget* surface() const;  // ScreenPixel
    QStatusBar* statusBar() const { return status_; }
    QLabel* statusPanel() const { return panel_; }            // the first panel, 200 wide
    QLabel* hidingPlanePanel() const { return planePanel_; }  // says while a hiding plane is active
    void setBackColour(StoredColour colour);                  // the surface's background colour

    // ---- The view steps (callbacks into the composition's redraw and store) ----
    ScreenActions actions();
    void storeView();       // StoreScreenPropertiesToRecord through the composition
    void zoomIn();          // ZoomIn
    void zoomOut();         // ZoomOut
    void topView();         // TopView
    void sideView();        // SideView
    void frontView();       // FrontView
    void isoView();         // IsoView
    void vectorsLonger();   // Vec_Maßstab_longer
    void vectorsShorter();  // Vec_Maßstab_shorter

    // The picture of "Print to Clipboard": white background, no status bar, a credit line at the
    // top left; `capture` takes the window's client area (without its border). The window is
    // restored afterwards, whatever happens.
    QImage printPicture(const std::function<QImage(QWidget*)>& capture);

  signals:
    // The window is closing (its unload handling runs in the composition).
    void closing(FormScreen* window);

  protected:
    void closeEvent(QCloseEvent* e) override;

  private:
    friend class ScreenSurface;
    void renderFrame();
    void surfaceResized(int width, int height);
    void takeStatusBarHeight();

    GraphicsSession& session_;
    ScreenServices services_;
    platform::Prompter* prompter_;
    ScreenModel model_;
    ImageBuffer pixels_;  // the back buffer's memory
    QImage back_;         // pixels_ seen as a picture
    ScreenSurface* surface_;
    QStatusBar* status_;
    QLabel* panel_;
    QLabel* planePanel_;
    QTimer frameTimer_;
    bool pending_ = false;
    bool holdViewOnResize_ = false;  // while the clipboard picture is taken or a view brings its size
    int frames_ = 0;
    std::vector<ScreenOverlay> overlays_;
    std::vector<TextLabel> extraLabels_;  // the credit line while the clipboard picture is taken
    ScreenInput* input_ = nullptr;
    platform::QtTextMetrics metrics_;
};

}  // namespace kal
