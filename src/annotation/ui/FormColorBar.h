#pragma once
// The colour-bar dialog "ColorBar - Tolerance": tolerance limits, class counts, colour basis,
// shown components, out-of-tolerance colour, two-colour mode and the grids of the default
// graphics window, with a preview strip of the classes at its top. Modeless; a double click on
// the strip folds the settings away or back.
//
// The rules live in ColourBarDialogModel; each widget's user signal runs one model action and the
// controls are then set from the model with their signals blocked, so nothing applies twice.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QWidget>

#include "annotation/ColourBarDialogModel.h"
#include "platform/FontDialogs.h"
#include "platform/Prompter.h"

namespace kal {

// ScreenColorBar: the classes as a horizontal strip, about half the width for each side.
class ColourBarPreview : public QWidget {
    Q_OBJECT
  public:
    explicit ColourBarPreview(QWidget* parent = nullptr);
    void setSettings(const ClassColourSettings& settings);
    QSize sizeHint() const override { return {400, 38}; }

  signals:
    void doubleClicked();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    ClassColourSettings settings_;
};

class FormColorBar : public QWidget {
    Q_OBJECT
  public:
    FormColorBar(ColourBarDialogModel& model, platform::FontDialogs& colours, platform::Prompter& prompter,
                 QWidget* parent = nullptr);

    // The controls from the model (after SetFormtoVars, an apply, or a window change).
    void refresh();
    // The settings folded away (the collapsed dialog) or shown.
    void setExpanded(bool expanded);
    bool isExpanded() const { return !settingsArea_->isHidden(); }

    ColourBarPreview* preview() const { return preview_; }           // ScreenColorBar
    QLineEdit* lowerLimitBox() const { return lower_; }              // TextUntereGrenze
    QLineEdit* upperLimitBox() const { return upper_; }              // TextObereGrenze
    QPushButton* stepButton(int n) const { return steps_[n - 1]; }   // Command1..Command4
    QLineEdit* positiveCountBox() const { return positiveCount_; }   // TextAnzahlTolKlassePos
    QLineEdit* negativeCountBox() const { return negativeCount_; }   // TextAnzahlTolKlasseNeg
    QScrollBar* positiveCountSpin() const { return positiveSpin_; }  // VScrollAnzKlaPos
    QScrollBar* negativeCountSpin() const { return negativeSpin_; }  // VScrollAnzKlaNeg
    QCheckBox* outerColourBox() const { return outerOn_; }           // CheckAusserhalbTol
    QPushButton* outerColourButton() const { return outerColour_; }  // BtnSetOuterColor
    QCheckBox* twoColourBox() const { return twoColour_; }           // CheckBinärModus
    QRadioButton* coordinateButton(CoordinateSystem s) const { return systems_[static_cast<int>(s)]; }
    QRadioButton* basisButton(ColourBasisRule r) const { return bases_[static_cast<int>(r)]; }
    QCheckBox* showXBox() const { return showX_; }                // showX
    QCheckBox* showYBox() const { return showY_; }                // showY
    QCheckBox* showZBox() const { return showZ_; }                // showZ
    QCheckBox* showXYZBox() const { return showXYZ_; }            // ShowXYZ
    QCheckBox* showOnlyUsedBox() const { return showOnlyUsed_; }  // CheckShowOnlyUsed
    QCheckBox* setMaxOnChangeBox() const { return setMinMax_; }   // CheckSetMinMax
    QCheckBox* gridBox(int n) const { return grids_[n]; }         // CheckShowXY, YZ, ZX
    QLineEdit* spacingBox(int n) const { return spacings_[n]; }   // TextADis, TextBDis, TextCDis
    QCheckBox* gridDimBox() const { return gridDim_; }            // CheckShowGridDim
    QCheckBox* autoApplyBox() const { return autoApply_; }        // CheckAutoApply
    QPushButton* applyButton() const { return apply_; }           // BtnApply
    QPushButton* setMaxButton() const { return setMax_; }         // BtnSetMaxAsTol
    QPushButton* setMinButton() const { return setMin_; }         // BtnSetMinAsTol
    QPushButton* closeButton() const { return close_; }           // BtnOK
    QLabel* problemLabel() const { return problem_; }

  signals:
    // The double click on the strip folded the settings away (false) or back (true).
    void expandedToggled(bool expanded);

  private:
    void build();
    void connectControls();
    void showOutcome(const ApplyOutcome& outcome);
    void countFinished(bool positive);

    ColourBarDialogModel& model_;
    platform::FontDialogs& colours_;
    platform::Prompter& prompter_;
    ColourBarPreview* preview_;
    QWidget* settingsArea_;
    QLineEdit *lower_, *upper_;
    QPushButton* steps_[4];
    QLineEdit *positiveCount_, *negativeCount_;
    QScrollBar *positiveSpin_, *negativeSpin_;
    QCheckBox *outerOn_, *twoColour_;
    QPushButton* outerColour_;
    QRadioButton* systems_[3];
    QRadioButton* bases_[4];
    QCheckBox *showX_, *showY_, *showZ_, *showXYZ_, *showOnlyUsed_, *setMinMax_;
    QCheckBox* grids_[3];
    QLineEdit* spacings_[3];
    QCheckBox *gridDim_, *autoApply_;
    QPushButton *apply_, *setMax_, *setMin_, *close_;
    QLabel* problem_;
};

}  // namespace kal
