#include "view3d/ui/FormScreen.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLayout>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "view3d/HidingPlane.h"
#include "view3d/ViewSteps.h"
#include "view3d/ui/DisplayListPainter.h"

namespace kal {

namespace {
constexpr int kFirstPanelWidth = 200;
constexpr int kMinimumSurfaceWidth = 200, kMinimumSurfaceHeight = 150;
constexpr const char* kCreditLine = "calculated with https://kalvoreth.example";
}  // namespace

// The drawing surface: shows the back buffer and hands its events to the window's input handler.
class ScreenSurface : public QWidget {
  public:
    explicit ScreenSurface(FormScreen& owner) : QWidget(&owner), owner_(owner) {
        setObjectName("ScreenPixel");
        setAttribute(Qt::WA_OpaquePaintEvent);
        setMouseTracking(true);
        setFocusPolicy(Qt::StrongFocus);
        // The smallest picture worth looking at: the window's usable minimum, which the main
        // window's arrangements and a restored size keep.
        setMinimumSize(kMinimumSurfaceWidth, kMinimumSurfaceHeight);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const QImage& back = owner_.back_;
        const QColor background = qtColour(owner_.model_.backColour);
        if (!back.isNull()) p.drawImage(0, 0, back);
        // Before the first picture, or where a picture does not reach, the background shows.
        if (back.width() < width()) p.fillRect(back.width(), 0, width() - back.width(), height(), background);
        if (back.height() < height())
            p.fillRect(0, back.height(), width(), height() - back.height(), background);
    }
    void resizeEvent(QResizeEvent*) override { owner_.surfaceResized(width(), height()); }
    void mousePressEvent(QMouseEvent* e) override {
        track(e);
        if (owner_.input_) owner_.input_->mousePress(owner_, e);
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        track(e);
        if (owner_.input_) owner_.input_->mouseMove(owner_, e);
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        track(e);
        if (owner_.input_) owner_.input_->mouseRelease(owner_, e);
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override {
        track(e);
        if (owner_.input_) owner_.input_->mouseDoubleClick(owner_, e);
    }
    void wheelEvent(QWheelEvent* e) override {
        if (owner_.input_) owner_.input_->wheel(owner_, e);
    }
    void keyPressEvent(QKeyEvent* e) override {
        if (owner_.input_)
            owner_.input_->keyPress(owner_, e);
        else
            QWidget::keyPressEvent(e);
    }
    void keyReleaseEvent(QKeyEvent* e) override {
        if (owner_.input_)
            owner_.input_->keyRelease(owner_, e);
        else
            QWidget::keyReleaseEvent(e);
    }

  private:
    void track(QMouseEvent* e) {
        owner_.model_.MouseX = static_cast<float>(e->position().x());
        owner_.model_.MouseY = static_cast<float>(e->position().y());
    }
    FormScreen& owner_;
};

FormScreen::FormScreen(GraphicsSession& session, ScreenServices services, platform::Prompter* prompter,
                       QWidget* parent)
    : QWidget(parent), session_(session), services_(std::move(services)), prompter_(prompter) {
    setObjectName("FormScreen");
    setAttribute(Qt::WA_DeleteOnClose, false);  // the MDI sub-window owns and deletes it
    surface_ = new ScreenSurface(*this);
    status_ = new QStatusBar(this);
    status_->setObjectName("StatusBar1");
    status_->setSizeGripEnabled(false);
    panel_ = new QLabel(status_);
    panel_->setFixedWidth(kFirstPanelWidth);
    status_->addWidget(panel_);
    planePanel_ = new QLabel(status_);
    planePanel_->setObjectName("HidingPlaneStatus");
    status_->addWidget(planePanel_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(surface_, 1);
    layout->addWidget(status_);
    frameTimer_.setSingleShot(true);
    frameTimer_.setInterval(0);
    connect(&frameTimer_, &QTimer::timeout, this, [this] { renderNow(); });
    metrics_.setWindowFont(surface_->font());
    model_.textMetrics = &metrics_;
    resize(640, 480);
}

FormScreen::~FormScreen() = default;

QWidget* FormScreen::surface() const { return surface_; }

// ---------------------------------------------------------------- GraphicsWindow

void FormScreen::setCaption(const std::string& caption) {
    const QString title = QString::fromStdString(caption);
    setWindowTitle(title);
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) sub->setWindowTitle(title);
}

void FormScreen::setPointer(ScreenPointer pointer) {
    switch (pointer) {
        case ScreenPointer::Default:
            surface_->unsetCursor();
            break;
        case ScreenPointer::Flag:
            surface_->setCursor(Qt::PointingHandCursor);
            break;
        case ScreenPointer::SetLine:
            surface_->setCursor(Qt::CrossCursor);
            break;
        case ScreenPointer::DeleteLine:
            surface_->setCursor(Qt::ForbiddenCursor);
            break;
        case ScreenPointer::Cross:
            surface_->setCursor(Qt::CrossCursor);
            break;
    }
}

void FormScreen::redraw() {
    pending_ = true;
    if (!frameTimer_.isActive()) frameTimer_.start();
}

void FormScreen::resizeHoldingView(const std::function<void()>& resize) {
    const QScopedValueRollback<bool> hold(holdViewOnResize_, true);
    if (resize) resize();
}

void FormScreen::closeWindow() {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->close();
    else
        close();
}

void FormScreen::closeEvent(QCloseEvent* e) {
    frameTimer_.stop();
    pending_ = false;
    emit closing(this);
    QWidget::closeEvent(e);
}

// ---------------------------------------------------------------- frames

void FormScreen::surfaceResized(int width, int height) {
    // A surface shrunk to nothing (a minimised window) keeps the size its view was made for.
    if (width <= 0 || height <= 0) return;
    const SurfaceSize before{model_.width, model_.height, model_.statusBarHeight};
    model_.width = width;
    model_.height = height;
    takeStatusBarHeight();
    // Before its first picture is asked for, the window's load fits the view to its size then.
    if (holdViewOnResize_ || (frames_ == 0 && !pending_)) return;
    if (services_.resized) services_.resized(model_, before);
    redraw();
    renderNow();
}

void FormScreen::takeStatusBarHeight() {
    // The usable part of the surface ends above the status bar.
    model_.statusBarHeight =
        status_->isHidden() ? 0 : std::max(status_->height(), status_->sizeHint().height());
}

void FormScreen::renderNow() {
    if (!pending_) return;
    pending_ = false;
    frameTimer_.stop();
    renderFrame();
}

void FormScreen::renderFrame() {
    if (surface_->width() > 0 && surface_->height() > 0) {
        model_.width = surface_->width();
        model_.height = surface_->height();
    }
    takeStatusBarHeight();
    metrics_.setWindowFont(surface_->font());  // the label font may have been changed since
    model_.display.clear(model_.backColour);
    if (services_.drawScene) services_.drawScene(model_);
    const QString planeText = QString::fromStdString(hidingPlaneStatusText(model_.view));
    if (planePanel_->text() != planeText) planePanel_->setText(planeText);
    for (const ScreenOverlay& overlay : overlays_) overlay(model_, model_.display);
    for (const TextLabel& label : extraLabels_) model_.display.add(label);
    const int width = std::max(1, model_.width), height = std::max(1, model_.height);
    if (pixels_.width() != width || pixels_.height() != height) {
        back_ = QImage();  // never left pointing at released memory
        pixels_.resize(width, height);
        back_ = pictureOf(pixels_);
    }
    paintDisplayList(model_.display, pixels_, surface_->font());
    ++frames_;
    surface_->update();
}

void FormScreen::drawOnPicture(const std::function<void(QImage&)>& draw) {
    if (back_.isNull() || !draw) return;
    draw(back_);
    surface_->update();
}

void FormScreen::setBackColour(StoredColour colour) {
    model_.backColour = colour;
    QPalette p = surface_->palette();
    p.setColor(QPalette::Window, qtColour(colour));
    surface_->setPalette(p);
}

// ---------------------------------------------------------------- view steps

ScreenActions FormScreen::actions() {
    ScreenActions a;
    a.project = [this] {
        if (services_.project) services_.project(model_);
    };
    a.redraw = [this] { redraw(); };
    a.storeView = [this] { storeView(); };
    a.prompter = prompter_;
    return a;
}

void FormScreen::storeView() {
    if (services_.storeView) services_.storeView(*this);
}

void FormScreen::zoomIn() { kal::zoomIn(model_, session_, actions()); }
void FormScreen::zoomOut() { kal::zoomOut(model_, actions()); }
void FormScreen::topView() { showStandardView(model_, StandardView::Top, actions()); }
void FormScreen::sideView() { showStandardView(model_, StandardView::Side, actions()); }
void FormScreen::frontView() { showStandardView(model_, StandardView::Front, actions()); }
void FormScreen::isoView() { showStandardView(model_, StandardView::Iso, actions()); }
void FormScreen::vectorsLonger() { makeVectorsLonger(model_, session_, actions()); }
void FormScreen::vectorsShorter() { makeVectorsShorter(model_, session_, actions()); }

// ---------------------------------------------------------------- the clipboard picture

QImage FormScreen::printPicture(const std::function<QImage(QWidget*)>& capture) {
    // The status bar hides for the picture and comes back: the view stays as it is throughout
    // (declared before the restore, so it holds while the restore shows the bar again).
    const QScopedValueRollback<bool> holdView(holdViewOnResize_, true);
    // Whatever happens while the picture is taken, the window comes back as it was.
    struct Restore {
        FormScreen& w;
        StoredColour colour;
        bool statusShown;
        ~Restore() {
            w.extraLabels_.clear();
            w.setBackColour(colour);
            w.status_->setVisible(statusShown);
            if (QLayout* l = w.layout()) l->activate();
            w.redraw();
            w.renderNow();
        }
    } restore{*this, model_.backColour, !status_->isHidden()};

    status_->hide();
    if (QLayout* l = layout()) l->activate();
    setBackColour(storedColour(255, 255, 255));
    TextLabel credit;
    credit.at = {0, 0};
    credit.text = kCreditLine;
    credit.colour = storedColour(0, 0, 0);  // black on the white background, as a point label
    extraLabels_.push_back(credit);
    redraw();
    renderNow();
    return capture ? capture(this) : QImage();
}

}  // namespace kal
