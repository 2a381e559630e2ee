#include "view3d/ui/ScreenNavigationInput.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QStatusBar>
#include <QWheelEvent>
#include <tuple>

#include "view3d/CloudProjection.h"
#include "view3d/ui/DisplayListPainter.h"

namespace kal {

namespace {

PointerInput pointerOf(const QMouseEvent* e, int buttons) {
    return {static_cast<float>(e->position().x()), static_cast<float>(e->position().y()), buttons,
            classicModifiers(e->modifiers())};
}

int buttonsOf(Qt::MouseButtons buttons) {
    return static_cast<int>(buttons.toInt() & (Qt::LeftButton | Qt::RightButton | Qt::MiddleButton));
}

// The animation draws onto the picture as it stands: squares, leader lines, the phase mark.
void paintItems(const std::vector<Primitive>& items, QImage& image) {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (const Primitive& item : items) {
        if (const auto* r = std::get_if<FilledRect>(&item)) {
            painter.fillRect(QRect(r->left, r->top, r->width, r->height), qtColour(r->colour));
        } else if (const auto* s = std::get_if<Segment>(&item)) {
            painter.setPen(QPen(qtColour(s->colour), std::max(1, s->penWidth)));
            painter.drawLine(QPointF(s->from.x, s->from.y), QPointF(s->to.x, s->to.y));
        }
    }
}

}  // namespace

int classicKeyCode(int qtKey, bool keypad) {
    switch (qtKey) {
        case Qt::Key_Pause:
            return keycode::Pause;
        case Qt::Key_Left:
            return keycode::Left;
        case Qt::Key_Up:
            return keycode::Up;
        case Qt::Key_Right:
            return keycode::Right;
        case Qt::Key_Down:
            return keycode::Down;
        case Qt::Key_Plus:
            return keypad ? keycode::NumpadPlus : 0;
        case Qt::Key_Minus:
            return keypad ? keycode::NumpadMinus : 0;
        case Qt::Key_Shift:
            return 16;
        case Qt::Key_Control:
            return 17;
        default:
            break;
    }
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return qtKey;
    return 0;
}

int classicModifiers(Qt::KeyboardModifiers modifiers) {
    int shift = 0;
    if (modifiers & Qt::ShiftModifier) shift |= modifier::Shift;
    if (modifiers & Qt::ControlModifier) shift |= modifier::Ctrl;
    if (modifiers & Qt::AltModifier) shift |= modifier::Alt;
    return shift;
}

ScreenNavigationInput::ScreenNavigationInput(FormScreen& window)
    : QObject(&window), window_(window), navigator_(window.model().view) {
    setObjectName("ScreenNavigationInput");
    NavigationHooks& hooks = navigator_.hooks();
    hooks.storeView = [this] { window_.storeView(); };
    hooks.reproject = [this] {
        if (window_.services().project) window_.services().project(window_.model());
    };
    hooks.chooseBackgroundColour = [this] {
        if (!chooseColour) return;
        if (const auto colour = chooseColour(window_.model().backColour)) {
            window_.setBackColour(*colour);
            if (cloud_ != nullptr && cloud_->count() > 0) window_.redraw();
        }
    };
    hooks.pauseKey = [this] { togglePause(); };

    // Every frame projects anew: the next search rebuilds its index. The rubber band is drawn
    // above the scene.
    window.addOverlay([this](const ScreenModel&, DisplayList& list) {
        navigator_.pixelsChanged();
        const RubberBand& band = navigator_.state.band;
        if (!band.visible) return;
        const auto l = static_cast<float>(band.left), t = static_cast<float>(band.top);
        const auto r = static_cast<float>(band.left + band.width),
                   b = static_cast<float>(band.top + band.height);
        Polygon box;
        box.corners = {{l, t}, {r, t}, {r, b}, {l, b}};
        box.outline = band.border;
        list.add(std::move(box));
    });

    for (std::size_t k = 0; k < panels_.size(); ++k) {
        panels_[k] = new QLabel(window.statusBar());
        panels_[k]->setObjectName(QString("StatusPanel%1").arg(k + 2));
        window.statusBar()->addWidget(panels_[k]);
    }

    moveTimer_.setSingleShot(true);
    moveTimer_.setInterval(0);
    connect(&moveTimer_, &QTimer::timeout, this, [this] { flushMove(); });
    analyseTimer_.setInterval(kAnalyseFrameMs);
    connect(&analyseTimer_, &QTimer::timeout, this, [this] { analyseTick(); });
    // Nothing may draw on a window that is going away.
    connect(&window, &FormScreen::closing, this, [this] {
        endAnalyse();
        moveTimer_.stop();
        pendingMove_.reset();
    });
    window.installEventFilter(this);
    window.setInput(this);
    navigator_.setScene(nullptr, &window.model().arrays, 0);
}

void ScreenNavigationInput::setScene(const PointCloud* cloud, std::int32_t identicalCount) {
    cloud_ = cloud;
    identicalCount_ = identicalCount;
    navigator_.setScene(cloud, &window_.model().arrays, identicalCount);
}

void ScreenNavigationInput::setLengthUnit(double factor, std::string format) {
    lengthFactor_ = factor;
    lengthFormat_ = std::move(format);
}

bool ScreenNavigationInput::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_ && event->type() == QEvent::Hide) endAnalyse();
    return QObject::eventFilter(watched, event);
}

void ScreenNavigationInput::syncFromWindow() {
    const ScreenModel& model = window_.model();
    if (identicalCountSource_) {
        const std::int32_t n = identicalCountSource_();
        if (n != identicalCount_) setScene(cloud_, n);
    }
    navigator_.setSurface(model.width, model.height);
    navigator_.setBackground(model.backColour);
    navigator_.modes.Faehnchenmode = model.view.Faehnchenmode;
    navigator_.modes.LineMode = model.view.LineMode;
    navigator_.modes.SetLine = model.SetLine;
    navigator_.modes.DeleteLine = model.DeleteLine;
    navigator_.modes.AnalyseFlag = analysing_;
    syncPlaneNormal();
}

void ScreenNavigationInput::syncPlaneNormal() {
    // The hiding plane's normal as the window's last redraw left it (the B and T drags follow
    // it). DynamicFlagMode is set on the navigator by the flags' own "Dynamic Flag" command.
    navigator_.PlaneNormal = window_.model().overlays.hidingPlane.PlaneNormal;
}

void ScreenNavigationInput::apply(const NavigationOutcome& out) {
    window_.model().SelectedLine = navigator_.state.SelectedLine;  // the redraw marks it
    if (out.redraw || out.rubberBandChanged) window_.redraw();
    if (out.hoverSearched) showHover(out.hoveredRow);
    if (out.toolTip) window_.surface()->setToolTip(QString::fromStdString(*out.toolTip));
    if (out.picked && pointPicked) pointPicked(*out.picked);
}

void ScreenNavigationInput::showHover(std::int32_t row) {
    if (cloud_ == nullptr) return;
    if (lengthUnit) std::tie(lengthFactor_, lengthFormat_) = lengthUnit();
    const auto texts = hoverPanelTexts(*cloud_, row, lengthFactor_, lengthFormat_);
    window_.statusPanel()->setText(QString::fromStdString(texts[0]));
    for (std::size_t k = 0; k < panels_.size(); ++k)
        panels_[k]->setText(QString::fromStdString(texts[k + 1]));
}

void ScreenNavigationInput::flushMove() {
    moveTimer_.stop();
    if (!pendingMove_) return;
    const PointerInput input = *pendingMove_;
    pendingMove_.reset();
    syncFromWindow();
    apply(navigator_.move(input));
}

void ScreenNavigationInput::catchUpWithPointer(QMouseEvent* e, int buttonsHeld) {
    // The system reports a move to where a button goes down or up before the press or release
    // itself; a press or release elsewhere (a first click, a synthesised event) gets that move
    // here, so the click and the drag read the right position.
    const PointerInput at = pointerOf(e, buttonsHeld);
    if (at.x == navigator_.state.MouseX && at.y == navigator_.state.MouseY) return;
    apply(navigator_.move(at));
}

void ScreenNavigationInput::mousePress(FormScreen&, QMouseEvent* e) {
    flushMove();
    syncFromWindow();
    catchUpWithPointer(e, buttonsOf(e->buttons() & ~e->button()));
    apply(navigator_.press(pointerOf(e, static_cast<int>(e->button()))));
}

void ScreenNavigationInput::mouseMove(FormScreen&, QMouseEvent* e) {
    pendingMove_ = pointerOf(e, buttonsOf(e->buttons()));
    if (!moveTimer_.isActive()) moveTimer_.start();
}

void ScreenNavigationInput::mouseRelease(FormScreen&, QMouseEvent* e) {
    flushMove();
    syncFromWindow();
    catchUpWithPointer(e, buttonsOf(e->buttons() | e->button()));
    apply(navigator_.release(pointerOf(e, static_cast<int>(e->button()))));
}

void ScreenNavigationInput::mouseDoubleClick(FormScreen&, QMouseEvent* e) {
    flushMove();
    syncFromWindow();
    apply(navigator_.doubleClickPress(pointerOf(e, static_cast<int>(e->button()))));
}

void ScreenNavigationInput::wheel(FormScreen& window, QWheelEvent* e) {
    e->accept();
    // Only the active graphics window zooms, as only it was ever hooked.
    if (auto* sub = qobject_cast<QMdiSubWindow*>(window.parentWidget()))
        if (sub->mdiArea() != nullptr && sub->mdiArea()->activeSubWindow() != sub) return;
    flushMove();
    syncFromWindow();
    switch (navigator_.wheelStep(e->angleDelta().y())) {
        case WheelStep::None:
            break;
        case WheelStep::ZoomInAtMouse:
            window.session().ZoomAtMouse = true;
            window.zoomIn();
            break;
        case WheelStep::ZoomOutAtCentre:
            window.zoomOut();
            break;
    }
}

void ScreenNavigationInput::keyPress(FormScreen&, QKeyEvent* e) {
    flushMove();
    syncFromWindow();
    const int code = classicKeyCode(e->key(), e->modifiers().testFlag(Qt::KeypadModifier));
    apply(navigator_.keyDown({code, classicModifiers(e->modifiers()), e->isAutoRepeat()}));
    e->accept();
}

void ScreenNavigationInput::keyRelease(FormScreen&, QKeyEvent* e) {
    const int code = classicKeyCode(e->key(), e->modifiers().testFlag(Qt::KeypadModifier));
    apply(navigator_.keyUp({code, classicModifiers(e->modifiers()), e->isAutoRepeat()}));
    e->accept();
}

// ---------------------------------------------------------------- analyse mode

void ScreenNavigationInput::startAnalyse() {
    flushMove();
    // The squares move along the turned vectors, which a plain projection leaves out unless
    // vectors are shown: project once with them, on copies, for the whole run.
    ScreenModel& model = window_.model();
    analyseArrays_ = model.arrays;
    if (cloud_ != nullptr) {
        ScreenProperties view = model.view;
        ViewOrigin origin = model.origin;
        ProjectionInputs in = analyseProjection ? analyseProjection() : ProjectionInputs{};
        if (!analyseProjection) {
            in.surface = {model.width, model.height, model.statusBarHeight};
            in.IdenticalCount = identicalCount_;
        }
        in.AnalyseFlag = true;
        projectCloud(*cloud_, view, origin, in, analyseArrays_);
        computePixels(view, in, analyseArrays_);
    }
    animation_.start();
    animationFrames_ = 0;
    analysing_ = true;
    analyseTimer_.start();
}

void ScreenNavigationInput::endAnalyse() {
    analyseTimer_.stop();
    analysing_ = false;
    animation_.setPaused(false);
}

void ScreenNavigationInput::stopAnalyse() {
    const bool wasRunning = analysing_;
    endAnalyse();
    if (wasRunning) window_.redraw();
}

void ScreenNavigationInput::togglePause() {
    if (!analysing_) return;
    animation_.togglePause();
    if (animation_.paused())
        analyseTimer_.stop();
    else
        analyseTimer_.start();
}

void ScreenNavigationInput::analyseTick() {
    if (!analysing_ || animation_.paused()) return;
    const ScreenModel& model = window_.model();
    AnalyseScene scene;
    scene.cloud = cloud_;
    scene.arrays = &analyseArrays_;
    scene.identicalCount = identicalCount_;
    scene.BigNess = model.view.BigNess;
    scene.AnzKlassenPos = model.view.AnzKlassenPos;
    scene.AnzKlassenNeg = model.view.AnzKlassenNeg;
    scene.AusserhalbTol = model.view.AusserhalbTol;
    scene.OuterColor = model.view.OuterColor;
    const StoredColour background = model.backColour;
    const AnalyseFrame frame = animation_.nextFrame(scene, window_.session().StopDrawFlag, background);
    ++animationFrames_;
    window_.drawOnPicture([&](QImage& image) {
        paintItems(frame.erase, image);
        if (frame.clear) image.fill(qtColour(background));
        paintItems(frame.draw, image);
    });
}

}  // namespace kal
