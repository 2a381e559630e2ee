#pragma once
// The batch window ("Batch File Transform"): two folder boxes, the options the design keeps, the
// status labels and Start / Cancel. The run itself is the core's (runBatchTransform); the window
// hands it the boxes' texts and is its progress: the status frame's bar shows how far the run
// is, and Cancel, Esc or the close box stop it between two files while it runs (the window stays
// open to show where it stopped). What the window needs of the program around it (the folder
// chooser, the file manager, the settings file, the main window's command states) comes as hooks.
#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <functional>
#include <string>

#include "input/BatchTransform.h"
#include "platform/Platform.h"
#include "shared/JobState.h"

namespace kal {

struct BatchWindowHooks {
    // The folder chooser (DirName) with its top text, opened at `start`; "" when cancelled.
    std::function<std::string(const std::string& topText, const std::string& start)> chooseFolder;
    // Opens a folder in the file manager; false when it could not be opened.
    std::function<bool(const std::string& folder)> exploreFolder;
    // Stores the run's folders and option numbers.
    std::function<void(const std::vector<IniEntry>& entries)> writeSettings;
    // True while a run works: the commands that change the job wait.
    std::function<void(bool running)> setLongWorkRunning;
};

class FormBatch : public QDialog {
    Q_OBJECT
  public:
    // Opens with the folders and options of `settings` (Form_Load). `services` gives the prompter
    // (messages, the check's questions, the overwrite question) and the event pump of the run.
    FormBatch(const JobState& job, platform::Services services, BatchWindowHooks hooks,
              const BatchWindowSettings& settings, QWidget* parent = nullptr);
    ~FormBatch() override;

    // The Start button (BtnStartBatch_Click); returns what the run did.
    BatchOutcome startBatch();
    bool running() const { return running_; }
    // The window's progress (the run opens, writes and closes it).
    platform::Progress& progress();

    // ---- Controls (object names as the design names them) ----
    QLineEdit* mcsFolderBox() const { return mcsBox_; }                   // TextNameMCSDirectory
    QLineEdit* tcsFolderBox() const { return tcsBox_; }                   // TextNameTCSDirectory
    QPushButton* browseMcsButton() const { return browseMcs_; }           // BtnBrowseMCS
    QPushButton* exploreMcsButton() const { return exploreMcs_; }         // BtnEXBrowseMCS
    QPushButton* browseTcsButton() const { return browseTcs_; }           // BtnBrowseTCS
    QPushButton* exploreTcsButton() const { return exploreTcs_; }         // BtnExBrowseTCS
    QCheckBox* sameAsMcsBox() const { return sameAsMcs_; }                // CheckSameAsMCS
    QRadioButton* actualParametersOption() const { return actualCalc_; }  // OptionTransformWithActualCalc
    QRadioButton* newCalculationOption() const { return newCalc_; }       // OptionTransformWithNewCalc
    QRadioButton* onlyMcsOption() const { return onlyMcs_; }              // OptionOnlyOnlyMCS
    QRadioButton* writeAllOption() const { return writeAll_; }            // OptionWriteAll
    QLabel* countLabel() const { return countLabel_; }                    // LabelBatchStatusANZ
    QLabel* pathLabel() const { return pathLabel_; }                      // LabelStatus
    QProgressBar* progressBar() const { return bar_; }
    QPushButton* startButton() const { return start_; }    // BtnStartBatch
    QPushButton* cancelButton() const { return cancel_; }  // BtnCancel

    // The option numbers as the options stand: batch type and write type, 1 or 2.
    int batchType() const;
    int writeType() const;

  public slots:
    // Cancel, Esc and the close box: the window closes; while a run works, the run stops after
    // the file it is on.
    void reject() override;

  private:
    class RunProgress;
    void build(const BatchWindowSettings& settings);
    void browse(QLineEdit* box, const char* topText);
    void explore(QLineEdit* box);
    void sameAsMcsClicked(bool ticked);
    void setRunning(bool running);
    void showStatus(const std::string& countText, const std::string& inputPath);

    const JobState& job_;
    platform::Services services_;
    BatchWindowHooks hooks_;
    std::unique_ptr<RunProgress> progress_;
    bool running_ = false;
    bool stopRequested_ = false;

    QLineEdit* mcsBox_ = nullptr;
    QLineEdit* tcsBox_ = nullptr;
    QPushButton* browseMcs_ = nullptr;
    QPushButton* exploreMcs_ = nullptr;
    QPushButton* browseTcs_ = nullptr;
    QPushButton* exploreTcs_ = nullptr;
    QCheckBox* sameAsMcs_ = nullptr;
    QRadioButton* actualCalc_ = nullptr;
    QRadioButton* newCalc_ = nullptr;
    QRadioButton* onlyMcs_ = nullptr;
    QRadioButton* writeAll_ = nullptr;
    QLabel* countLabel_ = nullptr;
    QLabel* pathLabel_ = nullptr;
    QProgressBar* bar_ = nullptr;
    QPushButton* start_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace kal
