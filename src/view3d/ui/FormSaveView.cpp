#include "view3d/ui/FormSaveView.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace kal {

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

template <class W>
W* named(W* w, const char* name) {
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

}  // namespace

FormSaveView::FormSaveView(SaveViewNaming& naming, QWidget* parent) : QDialog(parent), naming_(naming) {
    setObjectName(QStringLiteral("FormSaveView"));
    setWindowTitle(QStringLiteral("Save View"));
    setModal(true);

    auto* nameFrame = new QGroupBox(QStringLiteral("New View Name"));
    name_ = named(new QLineEdit, "TextNewName");
    (new QVBoxLayout(nameFrame))->addWidget(name_);
    auto* listFrame = new QGroupBox(QStringLiteral("Existing Views"));
    list_ = named(new QListWidget, "ListViews");
    (new QVBoxLayout(listFrame))->addWidget(list_);
    for (const auto& existing : naming_.existingNames()) list_->addItem(q(existing));

    ok_ = named(new QPushButton(QStringLiteral("&OK")), "BtnOK");
    cancel_ = named(new QPushButton(QStringLiteral("&Cancel")), "BtnAbbrechen");
    // Enter in the name box or in the list acts as "&OK": the dialog's default button.
    ok_->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(nameFrame);
    layout->addWidget(listFrame);
    layout->addLayout(buttons);

    connect(list_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { name_->setText(item->text()); });
    connect(list_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        name_->setText(item->text());
        confirm();
    });
    connect(ok_, &QPushButton::clicked, this, [this] { confirm(); });
    connect(cancel_, &QPushButton::clicked, this, &FormSaveView::reject);
    name_->setFocus();
}

void FormSaveView::confirm() {
    if (naming_.confirm(name_->text().toStdString()) == SaveViewNaming::Ok::StayOpen) {
        // A Yes before the No may have replaced a view already: show the list as it is now.
        list_->clear();
        for (const auto& existing : naming_.existingNames()) list_->addItem(q(existing));
        name_->setFocus();
        name_->selectAll();
        return;
    }
    QDialog::accept();
}

void FormSaveView::reject() {
    naming_.cancel();
    QDialog::reject();
}

std::string askViewName(JobState& job, platform::Prompter& prompter, QWidget* parent) {
    SaveViewNaming naming(job, prompter);
    FormSaveView dialog(naming, parent);
    dialog.exec();
    return naming.NewViewName();
}

}  // namespace kal
