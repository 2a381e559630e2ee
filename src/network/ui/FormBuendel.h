#pragma once
// The network window (FormBündel, caption "Bündel " with its trailing blank): the percentage of
// object points to use, Calculate (the adjustment), STOP, the silent fixed-datum variant
// (Command1), the two progress boxes and the result box. The adjustment itself is the core's
// (network/NetworkCalculation.h); the window hands it the box text and shows what it writes.
// While a run goes on, both calculation buttons are disabled and STOP is enabled; closing the
// window then acts as STOP and the window goes when the run has ended. It stores no position.
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>
#include <functional>

#include "network/NetworkCalculation.h"
#include "shared/JobState.h"

namespace kal {

struct NetworkWindowServices {
    // The services of one run (prompter, events, clipboard, data folder, the point load); the
    // view is set by the window.
    std::function<NetworkServices()> runServices;
    // Called with true when a run starts and false when it ends (the program's long-work state).
    std::function<void(bool)> running;
};

class FormBuendel : public QWidget, public NetworkView {
    Q_OBJECT
  public:
    explicit FormBuendel(JobState& job, NetworkWindowServices services, QWidget* parent = nullptr);

    // (BtnCalculate_Click) The adjustment; refused (returns Refused, nothing shown) while a run goes on.
    NetworkRunOutcome calculate();
    // (Command1_Click) The fixed-datum variant.
    NetworkRunOutcome runFixedDatum();
    // (CommandSTOP_Click) StopFlag := true, then pending events pass.
    void stop();
    bool isRunning() const { return running_; }

    // ---- Controls (object names as the design names them) ----
    QLineEdit* reduceBox() const { return reduce_; }               // TextReduce
    QPushButton* calculateButton() const { return calculate_; }    // BtnCalculate
    QPushButton* stopButton() const { return stop_; }              // CommandSTOP
    QPushButton* fixedDatumButton() const { return fixedDatum_; }  // Command1
    QPlainTextEdit* runBox() const { return run_; }                // TextRUN
    QPlainTextEdit* whatDoBox() const { return whatDo_; }          // TextWhatDO
    QPlainTextEdit* resultsBox() const { return results_; }        // TextResults

    // ---- What the run writes (NetworkView) ----
    void step(const std::string& line) override;
    void summary(const std::string& line) override;
    void clearSummary() override;
    void showResults(const std::string& text) override;

  signals:
    void closed();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    NetworkRunOutcome runGuarded(bool variant);
    void setRunning(bool running);

    JobState& job_;
    NetworkWindowServices services_;
    bool running_ = false;
    bool closeAfterRun_ = false;
    QString whatDoText_, runText_;
    QGroupBox* settingsFrame_ = nullptr;
    QLineEdit* reduce_ = nullptr;
    QPushButton* calculate_ = nullptr;
    QPushButton* stop_ = nullptr;
    QPushButton* fixedDatum_ = nullptr;
    QPlainTextEdit* run_ = nullptr;
    QPlainTextEdit* whatDo_ = nullptr;
    QPlainTextEdit* results_ = nullptr;
};

}  // namespace kal
