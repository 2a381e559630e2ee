#pragma once
// The dialog "Save View" in which a graphics window's view is named before it is saved: the new
// name in a text box, the names in use in a list (a click copies one into the box, a double
// click also confirms). Its rules are the SaveViewNaming model's: "&OK" with a name in use asks
// whether to replace it, and a No keeps the dialog open. Modal; it does not store its position.
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "view3d/SavedViews.h"

namespace kal {

class FormSaveView : public QDialog {
    Q_OBJECT
  public:
    explicit FormSaveView(SaveViewNaming& naming, QWidget* parent = nullptr);

    // NewViewName: empty unless "&OK" took a name.
    const std::string& newViewName() const { return naming_.NewViewName(); }

    QLineEdit* nameBox() const { return name_; }           // TextNewName
    QListWidget* viewList() const { return list_; }        // ListViews
    QPushButton* okButton() const { return ok_; }          // BtnOK
    QPushButton* cancelButton() const { return cancel_; }  // BtnAbbrechen

  public slots:
    void reject() override;

  private:
    void confirm();

    SaveViewNaming& naming_;
    QLineEdit* name_ = nullptr;
    QListWidget* list_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

// Shows the dialog modally over `parent` and returns the name it took (empty: save nothing).
std::string askViewName(JobState& job, platform::Prompter& prompter, QWidget* parent);

}  // namespace kal
