#pragma once
// The hiding-plane dialog "BlackPlane" (FormBlackPlane): a modal dialog with which the user
// switches hiding on and off, shows the planes' borders and sets the planes up parallel to the
// screen, acting on the default graphics window. Its rules are HidingPlaneDialog's; this class
// shows them and forwards the clicks.
#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <functional>
#include <string>

#include "view3d/HidingPlaneDialog.h"

namespace kal {

// Where the dialog's position comes from and goes to (RestoreWindowPos, SaveWindowPos), under
// the window name "FormBlackPlane". Empty members: the position is neither restored nor kept.
struct DialogPlacement {
    std::function<void(QWidget* window, const std::string& name)> restore;
    std::function<void(QWidget* window, const std::string& name)> store;
};

class FormBlackPlane : public QDialog {
    Q_OBJECT
  public:
    // `defaultWindow` finds the default graphics window anew for every action (findLFDFORM);
    // `report` shows the reason when an action fails (a redraw that throws), the job as it was.
    FormBlackPlane(std::function<HidingPlaneWindow*()> defaultWindow, JobState& job,
                   DialogPlacement placement = {}, std::function<void(const std::string&)> report = {},
                   QWidget* parent = nullptr);

    const HidingPlaneDialog& model() const { return model_; }

    // The frame "BlackPlane Settings", object name "Frame1".
    QGroupBox* settingsFrame() const { return frame_; }
    // "Activate BlackPlane", object name "CheckActivate".
    QCheckBox* activateBox() const { return activate_; }
    // "Show Black Planes Borders in Screen", object name "CheckShowBlackPlanes".
    QCheckBox* showBordersBox() const { return showBorders_; }
    // "&Initialize Planes", object name "BtnInit".
    QPushButton* initialiseButton() const { return initialise_; }
    // "&Apply", object name "BtnApply".
    QPushButton* applyButton() const { return apply_; }
    // "&OK", object name "BtnOK".
    QPushButton* okButton() const { return ok_; }
    // "&Cancel", object name "BtnCancel".
    QPushButton* cancelButton() const { return cancel_; }

  protected:
    void showEvent(QShowEvent* event) override;  // load: the position and the default window's boxes
    void done(int result) override;              // unload: the position is kept

  private:
    void showState();
    void run(const std::function<void()>& action);

    HidingPlaneDialog model_;
    DialogPlacement placement_;
    std::function<void(const std::string&)> report_;
    QGroupBox* frame_;
    QCheckBox* activate_;
    QCheckBox* showBorders_;
    QPushButton* initialise_;
    QLabel* moveHint_;
    QLabel* thicknessHint_;
    QPushButton* apply_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

}  // namespace kal
