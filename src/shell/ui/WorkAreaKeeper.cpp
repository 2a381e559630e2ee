#include "shell/ui/WorkAreaKeeper.h"

#include <QChildEvent>
#include <QPointer>
#include <algorithm>

#include "shared/WindowPos.h"
#include "shared/ui/WindowPosQt.h"

namespace kal {

WorkAreaKeeper::WorkAreaKeeper(QMdiArea& area) : QObject(&area), area_(area) {
    setObjectName(QStringLiteral("kalWorkAreaKeeper"));
    area_.viewport()->installEventFilter(this);
    if (QWidget* top = area_.window(); top && top != &area_) top->installEventFilter(this);
}

void WorkAreaKeeper::keepInside(const QMdiArea& area, QMdiSubWindow& sub) {
    const QWidget* viewport = area.viewport();
    if (!viewport->isVisible() || viewport->width() < 1 || viewport->height() < 1) return;
    if (sub.isMaximized() || sub.isMinimized() || sub.isShaded()) return;
    const QRect now = sub.geometry();
    // Never smaller than its minimum, nor made larger than it is to get there.
    const QSize least = usableMinimumSize(&sub).boundedTo(now.size());
    const PixelRect inside =
        clampToArea({now.x(), now.y(), now.width(), now.height()},
                    {0, 0, viewport->width(), viewport->height()}, least.width(), least.height());
    const QRect wanted(inside.left, inside.top, inside.width, inside.height);
    if (wanted != now) sub.setGeometry(wanted);
}

void WorkAreaKeeper::keepAllInside() {
    for (QMdiSubWindow* sub : area_.subWindowList())
        if (sub->isVisible()) keepInside(area_, *sub);
}

bool WorkAreaKeeper::eventFilter(QObject* watched, QEvent* event) {
    QWidget* viewport = area_.viewport();
    if (watched == viewport) {
        if (event->type() == QEvent::ChildPolished) {
            // Polished as it is first shown: watch for that showing, its geometry then final.
            if (auto* sub = qobject_cast<QMdiSubWindow*>(static_cast<QChildEvent*>(event)->child());
                sub && !sub->isVisible())
                sub->installEventFilter(this);
        } else if (event->type() == QEvent::Show || (event->type() == QEvent::Resize && !settled_)) {
            keepAllInside();
        }
    } else if (auto* sub = qobject_cast<QMdiSubWindow*>(watched); sub && event->type() == QEvent::Show) {
        sub->removeEventFilter(this);
        keepInside(area_, *sub);
        // Once more after what the opening code does right after showing (a restored size
        // widened to the window's content, a maximised state put back to normal).
        QMetaObject::invokeMethod(
            this,
            [this, window = QPointer<QMdiSubWindow>(sub)] {
                if (window && window->isVisible()) keepInside(area_, *window);
            },
            Qt::QueuedConnection);
    } else if (watched == area_.window() && event->type() == QEvent::WindowActivate && !settled_) {
        // The window manager's first placement is done; resizes from now on are the user's.
        QMetaObject::invokeMethod(
            this,
            [this] {
                keepAllInside();
                settled_ = true;
            },
            Qt::QueuedConnection);
    }
    return false;
}

}  // namespace kal
