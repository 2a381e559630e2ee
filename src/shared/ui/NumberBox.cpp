#include "shared/ui/NumberBox.h"

#include <QHelpEvent>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QToolTip>

namespace kal {

namespace {
// The line edit's fixed margin on either side of its text, inside the contents rectangle.
constexpr int kLineEditTextMargin = 2;
}  // namespace

NumberBox::NumberBox(QWidget* parent) : QLineEdit(parent) {
    // setText() puts the cursor behind the last character, which scrolls a narrow box to the
    // end; a text set by code in a box the user is not editing goes back to the start. Typing
    // marks the box modified (setText clears the mark), so keys that reach the box are never
    // turned around; a selection made by code (the text picked for correction) stays.
    connect(this, &QLineEdit::cursorPositionChanged, this, [this] { showStartUnlessEdited(); });
}

bool NumberBox::beingEdited() const {
    // While the program is in the background no widget has the focus, but its window still
    // remembers which one had it.
    const QWidget* top = window();
    return hasFocus() || (top != nullptr && top->focusWidget() == this);
}

void NumberBox::showStartUnlessEdited() {
    if (!beingEdited() && !isModified() && !hasSelectedText()) showStart();
}

void NumberBox::showStart() {
    if (cursorPosition() != 0) setCursorPosition(0);
}

bool NumberBox::textCut() const {
    QStyleOptionFrame option;
    initStyleOption(&option);
    QRect room = style()->subElementRect(QStyle::SE_LineEditContents, &option, this);
    room = room.marginsRemoved(textMargins());
    const QString shown = displayText();
    return fontMetrics().horizontalAdvance(shown) > room.width() - 2 * kLineEditTextMargin;
}

QString NumberBox::shownToolTip() const {
    if (!textCut()) return toolTip();
    return toolTip().isEmpty() ? text() : text() + "\n" + toolTip();
}

bool NumberBox::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip && textCut()) {
        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), shownToolTip(), this);
        return true;
    }
    return QLineEdit::event(event);
}

void NumberBox::paintEvent(QPaintEvent* event) {
    // A window that fills its boxes with their signals blocked (so that no handler runs) never
    // hears the cursor move to the end: the start is put in view here, where the box scrolls.
    showStartUnlessEdited();
    QLineEdit::paintEvent(event);
}

void NumberBox::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // A popup (a context menu) or another window takes the focus only for a while: the user
    // comes back to the cursor as it was.
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason)
        showStart();
}

}  // namespace kal
