#pragma once
// The info window " Info  Kalvoreth ": the program's version, the operating system's name and the
// settings file's path, with buttons to open the settings file, to read it in again, to visit the
// maker's web page and to write to support. A child window of the main window. What the buttons
// reach outside the window comes as hooks.
#include <QLabel>
#include <QPushButton>
#include <QWidget>
#include <functional>
#include <string>

#include "shared/JobState.h"

namespace kal {

struct HelpInfoServices {
    // Opens a file or a link with the program the system associates with it; false when nothing
    // opened it.
    std::function<bool(const std::string& target)> open;
    // "&load ini File": the settings file read again (reloadSettingsFile with the program's hooks).
    std::function<void()> reloadSettings;
};

class FormMenuHelpInfo : public QWidget {
    Q_OBJECT
  public:
    FormMenuHelpInfo(const JobState& job, HelpInfoServices services, QWidget* parent = nullptr);

    // Fills the labels from the job (InitializeMe).
    void initialize();

    QLabel* versionLabel() const { return version_; }        // LabelVersion
    QLabel* osLabel() const { return os_; }                  // LabelOSSystem
    QLabel* iniFileLabel() const { return iniFile_; }        // LabelIniDatei
    QPushButton* editIniButton() const { return editIni_; }  // BtnEditIniFile
    QPushButton* reloadButton() const { return reload_; }    // Command2
    QPushButton* webPageButton() const { return webPage_; }  // Command3
    QPushButton* mailButton() const { return mail_; }        // Command4
    QPushButton* okButton() const { return ok_; }            // Command1

  signals:
    void closeRequested();

  private:
    void open(const std::string& target);

    const JobState& job_;
    HelpInfoServices services_;
    QLabel *version_, *os_, *iniFile_;
    QPushButton *editIni_, *reload_, *webPage_, *mail_, *ok_;
};

}  // namespace kal
