#pragma once
// The input-files dialog ("Input Files"): the MCS and OCS files, their display names, the OCS
// format, the way identical points are found, and the more-MCS import. The rules live in the
// dialog model (input/InputFilesDialog.h); the window shows its state and forwards each click.
// OK and Apply run the staged point load; OK then closes the window whatever the load's outcome.
//
// Geometry follows the design in twips, converted with the logical DPI: the three frames and
// the three path boxes follow the window's width (inputFilesWidths).
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>
#include <functional>
#include <string>

#include "input/InputFilesDialog.h"
#include "platform/FileDialogs.h"
#include "shared/JobState.h"

namespace kal {

// What the window needs of the program around it. Any may be empty (a test, a window shown
// alone); a button whose action is missing stays disabled.
struct InputFilesWindowServices {
    platform::FileDialogs* fileDialogs = nullptr;
    // The services of one load, made when it starts (the settings file, the calculation
    // window's seed source while that window is open, the job reset). Required for OK and Apply.
    std::function<PointLoadServices()> loadServices;
    // A load starts (true) or ends (false): the program blocks what must wait for it.
    std::function<void(bool running)> loadRunning;
    // After a load, whatever its outcome.
    std::function<void(const PointLoadOutcome&)> loaded;
    // The system opens a file in its associated program, or shows a folder.
    std::function<void(const std::string& path)> openFile;
    std::function<void(const std::string& folder)> exploreFolder;
    // The clipboard buttons (the box they fill) and the more-MCS import.
    std::function<void(PathBox box)> fromClipboard;
    std::function<void()> importMoreMcs;
};

class FormInputFiles : public QWidget {
    Q_OBJECT
  public:
    // Builds the window and fills it from the job (Form_Load).
    FormInputFiles(JobState& job, InputFilesWindowServices services, QWidget* parent = nullptr);
    ~FormInputFiles() override;

    InputFilesDialog& model() { return model_; }
    // Fills the boxes from the job again (an opening of the window that is already there).
    void refill();
    // Puts a path into a box as if the user had chosen it (a "..from Clipboard" button).
    void showPath(PathBox box, const std::string& path);
    // Another long work of the job (a calculation) starts or ends: OK and Apply wait for it.
    void setJobBusy(bool busy);
    // The load of OK and Apply (myBtn_OK); false when none ran (one runs already, or the job is
    // busy).
    bool runLoad();

    // ---- Controls (object names as the design names them) ----
    QGroupBox* frame(const char* objectName) const;
    QLineEdit* pathBox(PathBox box) const;
    QLineEdit* renameMcsBox() const { return renameMcs_; }  // TextRenameMCS
    QLineEdit* renameOcsBox() const { return renameOcs_; }  // TextRenameOCS
    QComboBox* formatList() const { return format_; }       // ComboOCS_Data
    QRadioButton* byIdOption() const { return byId_; }
    QRadioButton* byDistanceOption() const { return byDistance_; }
    QRadioButton* byCoordinateOption() const { return byCoordinate_; }
    QCheckBox* useOnlyFirstBox() const { return useOnlyFirst_; }
    QLabel* maxOcsLabel1() const { return maxOcsLabel1_; }
    QLineEdit* maxOcsBox() const { return maxOcs_; }
    QLabel* maxOcsLabel2() const { return maxOcsLabel2_; }
    QCheckBox* renamePointsMcsBox() const { return renamePointsMcs_; }
    QCheckBox* renamePointsOcsBox() const { return renamePointsOcs_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* applyButton() const { return apply_; }
    QPushButton* cancelButton() const { return cancel_; }
    QPushButton* browseButton(PathBox box) const;
    QPushButton* explorerButton(PathBox box) const;
    QPushButton* editButton(PathBox box) const;
    QPushButton* clipboardButton(PathBox box) const;
    QPushButton* importButton() const { return import_; }
    QRadioButton* prefixOption() const { return prefix_; }
    QRadioButton* suffixOption() const { return suffix_; }
    QLineEdit* affixBox() const { return affix_; }

    // The design's client size: every frame and the OK, Apply and Cancel buttons lie inside it.
    // The main window's arrangements never make the window smaller (its controls do not move).
    QSize minimumSizeHint() const override;

  signals:
    // The window is going (Form_Unload): its position is to be stored.
    void closed();

  protected:
    void resizeEvent(QResizeEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

  private:
    struct PathRow {
        QLineEdit* path = nullptr;
        QPushButton *browse = nullptr, *explorer = nullptr, *edit = nullptr, *clipboard = nullptr;
    };
    void build();
    QGroupBox* buildFileFrame(const char* name, const char* caption, PathRow& row,
                              const char* const names[5]);
    void connectControls();
    void connectPathRow(PathBox box);
    // Shows the model's state in the controls, setting only what changed.
    void apply();
    void layoutFrames();
    void place(QWidget* w, double left, double top, double width, double height);
    const PathRow& row(PathBox box) const;
    void okClicked();
    void closeWindow();

    JobState& job_;
    InputFilesWindowServices services_;
    InputFilesDialog model_;
    bool closing_ = false;
    bool applying_ = false;

    PathRow mcs_, ocs_, moreMcs_;
    QGroupBox *frameMcs_ = nullptr, *frameOcs_ = nullptr, *frameAutoFind_ = nullptr, *frameMoreMcs_ = nullptr;
    QLabel *renameMcsLabel_ = nullptr, *renameOcsLabel_ = nullptr, *formatLabel_ = nullptr;
    QLineEdit *renameMcs_ = nullptr, *renameOcs_ = nullptr;
    QComboBox* format_ = nullptr;
    QRadioButton *byId_ = nullptr, *byDistance_ = nullptr, *byCoordinate_ = nullptr;
    QCheckBox* useOnlyFirst_ = nullptr;
    QLabel *maxOcsLabel1_ = nullptr, *maxOcsLabel2_ = nullptr;
    QLineEdit* maxOcs_ = nullptr;
    QCheckBox *renamePointsMcs_ = nullptr, *renamePointsOcs_ = nullptr;
    QPushButton *ok_ = nullptr, *apply_ = nullptr, *cancel_ = nullptr;
    QPushButton* import_ = nullptr;
    QRadioButton *prefix_ = nullptr, *suffix_ = nullptr;
    QLineEdit* affix_ = nullptr;
    QPushButton* network_ = nullptr;  // Command2, never shown
};

}  // namespace kal
