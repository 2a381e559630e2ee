#include "shared/ui/WindowPosQt.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMargins>
#include <QMdiSubWindow>
#include <QScreen>
#include <algorithm>

#include "shared/Errors.h"
#include "shared/WindowPos.h"

namespace kal {

namespace {

constexpr int kFallbackMinimumWidth = 200;
constexpr int kFallbackMinimumHeight = 150;

QScreen* screenOf(const QWidget* w) {
    QScreen* s = w->screen();
    return s ? s : QGuiApplication::primaryScreen();
}

double dpiOf(const QWidget* w) {
    QScreen* s = screenOf(w);
    return s ? s->logicalDotsPerInch() : 96.0;
}

PixelRect fromQRect(const QRect& r) { return {r.x(), r.y(), r.width(), r.height()}; }

// Where the window must stay: its screen's available area, or for a child window its visible
// parent (in the parent's coordinates).
PixelRect areaFor(const QWidget* w) {
    const QWidget* parent = w->isWindow() ? nullptr : w->parentWidget();
    if (parent && parent->isVisible() && parent->width() > 0 && parent->height() > 0)
        return fromQRect(parent->rect());
    QScreen* s = screenOf(w);
    if (!s) return {0, 0, 1 << 20, 1 << 20};
    const QRect a = s->availableGeometry();
    return parent ? PixelRect{0, 0, a.width(), a.height()} : fromQRect(a);
}

// The frame the window manager gave the window; none before the window is created (its frame
// geometry then reads one pixel short of its geometry).
QMargins marginsOf(const QWidget* w) {
    if (!w->testAttribute(Qt::WA_WState_Created)) return {};
    const QRect outer = w->frameGeometry(), inner = w->geometry();
    return {std::max(0, inner.left() - outer.left()), std::max(0, inner.top() - outer.top()),
            std::max(0, outer.right() - inner.right()), std::max(0, outer.bottom() - inner.bottom())};
}

// The frame a top-level window has or will have. Before it is first shown the window manager
// has not framed it yet and its frame reads as nothing; taking the outer size then as the
// inside would make the window one title bar taller at every opening. The frame of the window
// it belongs to (the main window), framed by the same window manager, stands in for it.
QMargins frameOf(const QWidget* w) {
    QMargins m = marginsOf(w);
    if (m.isNull() && !w->isVisible()) {
        const QWidget* owner = w->parentWidget() ? w->parentWidget()->window() : nullptr;
        if (owner && owner->isVisible()) m = marginsOf(owner);
    }
    return m;
}

// The minimum a widget asks for: its explicit minimum where it sets one, else its hint.
QSize declaredMinimum(const QWidget* w) {
    const QSize hint = w->minimumSizeHint(), set = w->minimumSize();
    return {set.width() > 0 ? set.width() : hint.width(), set.height() > 0 ? set.height() : hint.height()};
}

bool isNormalState(const QWidget* w) {
    return !(w->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen));
}

// Keeps the last place a child window had while shown normally: a child window has no normal
// geometry of its own to ask for once it is maximised or minimised.
class NormalPlaceKeeper : public QObject {
  public:
    explicit NormalPlaceKeeper(QWidget* window) : QObject(window), window_(window) {
        setObjectName(QStringLiteral("kalNormalPlaceKeeper"));
        if (isNormalState(window)) normal_ = window->geometry();
        window->installEventFilter(this);
    }
    static NormalPlaceKeeper* of(const QWidget* window) {
        return window->findChild<NormalPlaceKeeper*>(QStringLiteral("kalNormalPlaceKeeper"),
                                                     Qt::FindDirectChildrenOnly);
    }
    QRect normal() const { return normal_; }
    void take(const QRect& r) { normal_ = r; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == window_ && (event->type() == QEvent::Move || event->type() == QEvent::Resize) &&
            isNormalState(window_)) {
            const auto* sub = qobject_cast<const QMdiSubWindow*>(window_);
            if (!sub || !sub->isShaded()) normal_ = window_->geometry();
        }
        return false;
    }

  private:
    QWidget* window_;
    QRect normal_;
};

}  // namespace

QSize usableMinimumSize(const QWidget* window) {
    if (!window) return {kFallbackMinimumWidth, kFallbackMinimumHeight};
    const QWidget* content = window;
    if (const auto* sub = qobject_cast<const QMdiSubWindow*>(window); sub && sub->widget())
        content = sub->widget();
    const QSize own = declaredMinimum(content);
    // The window's own minimum includes its frame and title bar around the content's.
    QSize least = window->minimumSizeHint().expandedTo(window->minimumSize()).expandedTo(QSize(0, 0));
    if (own.width() <= 0) least.setWidth(std::max(least.width(), kFallbackMinimumWidth));
    if (own.height() <= 0) least.setHeight(std::max(least.height(), kFallbackMinimumHeight));
    if (window->isWindow()) {
        const QMargins frame = frameOf(window);
        least += QSize(frame.left() + frame.right(), frame.top() + frame.bottom());
    }
    return least;
}

QSize wholeSize(const QWidget* window) {
    const QSize least = usableMinimumSize(window);
    if (!window) return least;
    const QWidget* content = window;
    if (const auto* sub = qobject_cast<const QMdiSubWindow*>(window); sub && sub->widget())
        content = sub->widget();
    if (!content->property(kScrollsInsideProperty).toBool()) return least;
    // A sub-window's hint is its content's with the frame and title bar around it.
    QSize whole = window->sizeHint();
    if (window->isWindow()) {
        const QMargins frame = frameOf(window);
        whole += QSize(frame.left() + frame.right(), frame.top() + frame.bottom());
    }
    return whole.expandedTo(least);
}

void restoreWindowPos(QWidget* window, const std::string& name, const std::string& iniPath) {
    if (!window) return;
    const QMargins frame = window->isWindow() ? frameOf(window) : QMargins();
    const QSize extra(frame.left() + frame.right(), frame.top() + frame.bottom());
    PixelRect stored = toPixels(readWindowTwips(iniPath, name), dpiOf(window));
    const QSize least = usableMinimumSize(window);
    if (stored.width < least.width() || stored.height < least.height()) {
        const QSize own = (window->size() + extra).expandedTo(least);
        stored.width = own.width();
        stored.height = own.height();
    }
    const PixelRect r = clampToArea(stored, areaFor(window), least.width(), least.height());
    if (window->isWindow()) {
        // move() places the frame; resize() sets the inside, so take the frame off the outer size.
        window->move(r.left, r.top);
        window->resize(std::max(1, r.width - extra.width()), std::max(1, r.height - extra.height()));
    } else {
        window->setGeometry(r.left, r.top, r.width, r.height);
        NormalPlaceKeeper* keeper = NormalPlaceKeeper::of(window);
        if (!keeper) keeper = new NormalPlaceKeeper(window);
        if (isNormalState(window)) keeper->take(window->geometry());
    }
}

bool saveWindowPos(QWidget* window, const std::string& name, const std::string& iniPath, std::string* error) {
    if (!window) return false;
    // A dialog stored after it was hidden has lost its frame to the window manager: the same
    // stand-in as on restore keeps the two in step.
    QRect outer = window->isWindow() ? window->geometry().marginsAdded(frameOf(window)) : window->geometry();
    if (!isNormalState(window)) {
        if (window->isWindow()) {
            const QRect normal = window->normalGeometry();
            if (normal.isValid()) outer = normal.marginsAdded(frameOf(window));
        } else if (const NormalPlaceKeeper* keeper = NormalPlaceKeeper::of(window);
                   keeper && keeper->normal().isValid()) {
            outer = keeper->normal();
        }
    }
    try {
        writeWindowTwips(iniPath, name, toTwips(fromQRect(outer), dpiOf(window)));
        return true;
    } catch (const std::exception& e) {
        if (error) *error = e.what();
        return false;
    }
}

}  // namespace kal
