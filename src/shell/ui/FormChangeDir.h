#pragma once
// The folder chooser "Choose Directory": a modal dialog in which the user picks a folder, or
// makes a new one on the way. It stays alive between uses, hidden, as a child of the main
// window, and goes with it.
#include <QComboBox>
#include <QDialog>
#include <QFileSystemModel>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>
#include <string>

#include "platform/Prompter.h"
#include "shell/ui/WindowPositions.h"

namespace kal {

class FormChangeDir : public QDialog {
    Q_OBJECT
  public:
    FormChangeDir(platform::Prompter& prompter, const WindowPositions& positions, QWidget* parent = nullptr);

    // Shows the chooser with `TopText` above the list, opened at `StartDir` (its nearest existing
    // parent when it has gone). An empty StartDir opens the home folder and is set to it. Returns
    // the chosen folder, or "" when the user cancelled.
    std::string DirName(const std::string& TopText, std::string& StartDir);

    // The folder the list has highlighted.
    std::string highlightedFolder() const;
    // Highlights a folder (a click in the list).
    void highlight(const std::string& folder);

    QLabel* label1() const { return label1_; }
    QComboBox* drive1() const { return drive1_; }
    QTreeView* dir1() const { return dir1_; }
    QPushButton* command1() const { return command1_; }
    QPushButton* command2() const { return command2_; }
    QPushButton* command3() const { return command3_; }

  public slots:
    void reject() override;  // the close box and Escape: as "Abbruch", and the position is kept

  private:
    void openFolder(const std::string& folder);
    void fillDrives();

    platform::Prompter& prompter_;
    const WindowPositions& positions_;
    QLabel* label1_;
    QComboBox* drive1_;
    QTreeView* dir1_;
    QFileSystemModel* model_;
    QPushButton* command1_;
    QPushButton* command2_;
    QPushButton* command3_;
    std::string opened_;
    std::string result_;
    bool placed_ = false;
};

}  // namespace kal
