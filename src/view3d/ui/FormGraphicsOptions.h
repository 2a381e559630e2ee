#pragma once
// The dialog "Graphics Options": the display switches every graphics window reads (which point
// groups are shown, labels, colour bar, vectors, the direction of the deviation vectors), with
// "Auto Apply", "&OK", "&Apply" and "&Cancel". Modeless. Its rules are the GraphicsOptionsModel's;
// applying (Übernehmen) goes through the services its owner gives: the settings file and the
// rebuild and redraw of every graphics window.
#include <QCheckBox>
#include <QDialog>
#include <QPushButton>
#include <QRadioButton>
#include <array>

#include "shared/JobState.h"
#include "view3d/GraphicsOptions.h"

namespace kal {

class FormGraphicsOptions : public QDialog {
    Q_OBJECT
  public:
    FormGraphicsOptions(JobState& job, GraphicsOptionsServices services, LabelFontServices labelFont = {},
                        QWidget* parent = nullptr);

    // (Übernehmen) The boxes to the switches, the settings file and the graphics windows.
    void applyOptions();

    const GraphicsOptionsModel& model() const { return model_; }

    // Box `index` of graphicsOptionBoxes() (object name its control name, e.g. CheckViewOnlyTrafo).
    QCheckBox* box(std::size_t index) const { return boxes_.at(index); }
    QRadioButton* deviationButton() const { return deviation_; }    // OptionVecDeviation
    QRadioButton* correctionButton() const { return correction_; }  // OptionVecCorrection
    QCheckBox* autoApplyBox() const { return autoApply_; }          // CheckAutoUpdate
    QPushButton* labelFontButton() const { return labelFont_; }     // BtnLabelFont
    QPushButton* okButton() const { return ok_; }                   // BtnOK
    QPushButton* applyButton() const { return apply_; }             // BtnApply
    QPushButton* cancelButton() const { return cancel_; }           // BtnCancel

  private:
    void build();

    JobState& job_;
    GraphicsOptionsServices services_;
    LabelFontServices labelFontServices_;
    GraphicsOptionsModel model_;
    std::array<QCheckBox*, 14> boxes_{};
    QRadioButton* deviation_ = nullptr;
    QRadioButton* correction_ = nullptr;
    QCheckBox* autoApply_ = nullptr;
    QPushButton *labelFont_ = nullptr, *ok_ = nullptr, *apply_ = nullptr, *cancel_ = nullptr;
};

}  // namespace kal
