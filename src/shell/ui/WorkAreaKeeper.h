#pragma once
// Keeps the main window's child windows wholly inside its work area as they open. A window comes
// to its first showing from several places (a stored position, the work area's own placement
// before the window was sized, a cascade step), and any of them can leave it partly outside: the
// work area then scrolls to a window whose title bar or buttons the user cannot see. Each window
// is moved inside, and shrunk only as far as its usable minimum allows, when it is first shown.
// Windows shown before the work area has its size (at start-up, before the main window is
// shown) are moved inside when the area is shown and while the main window settles, until it is
// first activated; later the user's own resizing of the main window moves nothing.
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QObject>

namespace kal {

class WorkAreaKeeper : public QObject {
  public:
    explicit WorkAreaKeeper(QMdiArea& area);

    // Moves `sub` wholly inside the area's visible part, keeping its size where it fits and
    // never shrinking it below its usable minimum (usableMinimumSize); a maximised, minimised or
    // rolled-up window, or one in an area that has no size yet, is left as it is.
    static void keepInside(const QMdiArea& area, QMdiSubWindow& sub);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void keepAllInside();

    QMdiArea& area_;
    bool settled_ = false;  // the main window has been activated: its size is the user's
};

}  // namespace kal
