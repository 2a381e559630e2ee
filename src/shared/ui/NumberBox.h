#pragma once
// A text box that shows a number: the value and result boxes of the windows and the number boxes
// the user types into. A number's leading digits say most about it, so a box narrower than its
// text shows the text's start (a plain line edit scrolls to its end, and a scale sigma of
// "0.000003465936" reads "000003465936"), and where the text does not fit its tooltip shows it
// whole. While the user edits the box, the cursor is theirs; when the editing ends the box shows
// the start again.
//
// A tooltip the box has of its own stays: the whole text goes in front of it.
#include <QLineEdit>

namespace kal {

class NumberBox : public QLineEdit {
    Q_OBJECT
  public:
    explicit NumberBox(QWidget* parent = nullptr);

    // Whether the text is wider than the room the box shows it in.
    bool textCut() const;
    // The tooltip the box shows now: the whole text where it is cut (with the box's own tooltip
    // after it), else the box's own.
    QString shownToolTip() const;

  protected:
    bool event(QEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    // The user is editing the box: it has the focus, or had it when its window (or the
    // program) was left for a while.
    bool beingEdited() const;
    // Back to the start unless the user is at work in the box.
    void showStartUnlessEdited();
    void showStart();
};

}  // namespace kal
