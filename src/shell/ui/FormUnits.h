#pragma once
// The units window "Units [ ] and Digits": display units of lengths and angles, their decimals,
// the scale format and whether Phi and Theta show as lengths. A child window of the main window.
// It only shows a choice and hands it on: OK gives the choice to `onOk` (the program runs
// applyUnitsChoice, whose steps close this window), Cancel and Esc in the length list close it and
// apply nothing.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QWidget>
#include <functional>

#include "shared/JobState.h"
#include "shell/UnitsSettings.h"

namespace kal {

class FormUnits : public QWidget {
    Q_OBJECT
  public:
    FormUnits(const JobState& job, std::function<void(const UnitsChoice&)> onOk, QWidget* parent = nullptr);

    // The controls' choice now.
    UnitsChoice choice() const;

    QComboBox* lengthList() const { return length_; }            // ComboLength
    QComboBox* angleList() const { return angle_; }              // ComboAngle
    QComboBox* digitLengthList() const { return digitLength_; }  // ComboDigitLength
    QComboBox* digitAngleList() const { return digitAngle_; }    // ComboDigitAngle
    QComboBox* digitScaleList() const { return digitScale_; }    // ComboDigitScale
    QCheckBox* phiThetaBox() const { return phiTheta_; }         // CheckQ
    QLabel* phiThetaCaption() const { return phiThetaCaption_; }
    QPushButton* okButton() const { return ok_; }          // BtnOK
    QPushButton* cancelButton() const { return cancel_; }  // BtnCancel

  signals:
    // Cancel or Esc in the length list: whoever shows the window closes it.
    void cancelled();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    std::function<void(const UnitsChoice&)> onOk_;
    QComboBox *length_, *angle_, *digitLength_, *digitAngle_, *digitScale_;
    QCheckBox* phiTheta_;
    QLabel* phiThetaCaption_;
    QPushButton *ok_, *cancel_;
};

}  // namespace kal
