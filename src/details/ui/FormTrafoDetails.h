#pragma once
// The transformation details window: the rotation matrix, five rotation sequences with both of
// their solutions, the homogeneous, affine and scale matrices, the inverse parameter sets, the
// quaternion and the Monte Carlo sigmas, each table with a "clip" button, and "clip &all". The
// figures come from computeDetails (core); the window shows them and forwards the buttons to the
// copy model. It never refreshes itself: what it shows is its last fill.
#include <QWidget>
#include <array>
#include <functional>
#include <string>

#include "details/DetailsCopies.h"
#include "details/DetailsFigures.h"
#include "platform/Platform.h"
#include "shared/JobState.h"
#include "shared/ui/DataGrid.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace kal {

struct DetailsWindowServices {
    // Stores one INI value (section, key, value); empty: nothing is stored.
    std::function<void(const std::string& section, const std::string& key, const std::string& value)>
        writeSetting;
};

class FormTrafoDetails : public QWidget {
    Q_OBJECT
  public:
    // Builds the window (Form_Load): the gimbal-lock box from the job, and a fill when the job has
    // a calculated transformation. `services.prompter` and `services.clipboard` are used.
    FormTrafoDetails(JobState& job, platform::Services services, DetailsWindowServices hooks = {},
                     QWidget* parent = nullptr);
    ~FormTrafoDetails() override;

    // Computes every table from the job and shows it (DetailFormFuellen). The message about a
    // missing inverse is shown at most once while the window is open.
    void fill();

    const DetailsFigures& figures() const { return figures_; }
    DetailsCopier& copier() { return copier_; }

    // ---- Controls (object names as the design names them) ----
    DataGrid* rotationGrid() const { return grids_[0]; }
    DataGrid* sequenceGrid(AngleSequence s) const { return grids_[1 + static_cast<std::size_t>(s)]; }
    DataGrid* homogeneousGrid() const { return grids_[6]; }
    DataGrid* affineGrid() const { return grids_[7]; }
    DataGrid* scaleGrid() const { return grids_[8]; }
    DataGrid* inverseGrid() const { return grids_[9]; }
    DataGrid* quaternionGrid() const { return grids_[10]; }
    DataGrid* monteCarloGrid() const { return grids_[11]; }
    // The "clip" button of table i in the order of the grids above (0 rotation .. 11 Monte Carlo).
    QPushButton* clipButton(int table) const { return clips_[static_cast<std::size_t>(table)]; }
    QPushButton* clipAllButton() const { return clipAll_; }
    QPushButton* closeButton() const { return ok_; }
    QCheckBox* gimbalLockBox() const { return check1_; }
    QLabel* quaternionLabel() const { return labelQuat_; }

    // The size at which every panel shows without scrolling; the window itself can be smaller
    // and then scrolls its panels, its buttons staying in view below them.
    QSize sizeHint() const override;

  signals:
    // The window closed (any way); the owner stores its position.
    void closed();

  protected:
    void closeEvent(QCloseEvent* e) override;

  private:
    void build();
    void showFigures();
    void setColumnWidths(std::size_t table);
    void copyTable(int table);
    void onGimbalLockToggled(bool ticked);
    void onClose();

    JobState& job_;
    platform::Services services_;
    DetailsWindowServices hooks_;
    DetailsFigures figures_;
    DetailsCopier copier_;
    bool noInverseShown_ = false;
    bool closedSent_ = false;

    std::array<DataGrid*, 12> grids_{};
    std::array<QPushButton*, 12> clips_{};
    QPushButton *clipAll_ = nullptr, *ok_ = nullptr;
    QCheckBox* check1_ = nullptr;
    QLabel* labelQuat_ = nullptr;
    QWidget* canvas_ = nullptr;   // the panels, scrolled where the window is smaller
    QWidget* buttons_ = nullptr;  // the row below them
};

}  // namespace kal
