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
    // parent when it has gone) (DirName). An empty StartDir opens the home folder and is set to it. Returns
    // the chosen folder, or "" when the user cancelled.
    std::string chooseFolder(const std::string& TopText, std::string& StartDir);

    // The folder the list has highlighted.
    std::string highlightedFolder() const;
    // Highlights a folder (a click in the list).
    void highlight(const std::string& folder);

    // The text above the folder list, object name "Label1" (label1).
    QLabel* promptLabel() const { return promptLabel_; }
    // The drive list, object name "Drive1" (drive1).
    QComboBox* driveList() const { return driveList_; }
    // The folder list, object name "Dir1" (dir1).
    QTreeView* folderTree() const { return folderTree_; }
    // OK, object name "Command1" (command1).
    QPushButton* okButton() const { return okButton_; }
    // Abbruch, object name "Command2" (command2).
    QPushButton* cancelButton() const { return cancelButton_; }
    // "new directory", object name "Command3" (command3).
    QPushButton* newFolderButton() const { return newFolderButton_; }

  public slots:
    void reject() override;  // the close box and Escape: as "Abbruch", and the position is kept

  private:
    void openFolder(const std::string& folder);
    void fillDrives();

    platform::Prompter& prompter_;
    const WindowPositions& positions_;
    QLabel* promptLabel_;
    QComboBox* driveList_;
    QTreeView* folderTree_;
    QFileSystemModel* model_;
    QPushButton* okButton_;
    QPushButton* cancelButton_;
    QPushButton* newFolderButton_;
    std::string opened_;
    std::string result_;
    bool placed_ = false;
};

}  // namespace kal
