#include "shell/ui/FormChangeDir.h"

#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QStorageInfo>
#include <QVBoxLayout>

#include "shell/FolderChooser.h"

namespace kal {

namespace {
constexpr const char* kName = "FormChangeDir";
QString q(const std::string& s) { return QString::fromStdString(s); }
}  // namespace

FormChangeDir::FormChangeDir(platform::Prompter& prompter, const WindowPositions& positions, QWidget* parent)
    : QDialog(parent),
      prompter_(prompter),
      positions_(positions),
      promptLabel_(new QLabel(this)),
      driveList_(new QComboBox(this)),
      folderTree_(new QTreeView(this)),
      model_(new QFileSystemModel(this)),
      okButton_(new QPushButton("OK", this)),
      cancelButton_(new QPushButton("Abbruch", this)),
      newFolderButton_(new QPushButton("new directory", this)) {
    setObjectName(kName);
    setWindowTitle("Choose Directory");
    setModal(true);
    promptLabel_->setObjectName("Label1");
    promptLabel_->setWordWrap(true);
    driveList_->setObjectName("Drive1");
    folderTree_->setObjectName("Dir1");
    okButton_->setObjectName("Command1");
    cancelButton_->setObjectName("Command2");
    newFolderButton_->setObjectName("Command3");

    // Folders only; the model lists them in the background, so a folder of 10^5 entries does
    // not hold the window.
    model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    model_->setRootPath(QDir::rootPath());
    folderTree_->setModel(model_);
    for (int c = 1; c < model_->columnCount(); ++c) folderTree_->hideColumn(c);
    folderTree_->header()->hide();
    folderTree_->setSelectionMode(QAbstractItemView::SingleSelection);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(okButton_);
    buttons->addWidget(cancelButton_);
    buttons->addStretch(1);
    buttons->addWidget(newFolderButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(promptLabel_);
    layout->addWidget(driveList_);
    layout->addWidget(folderTree_, 1);
    layout->addLayout(buttons);
    okButton_->setDefault(true);

    connect(okButton_, &QPushButton::clicked, this, [this] {
        result_ = highlightedFolder();
        accept();
    });
    connect(cancelButton_, &QPushButton::clicked, this, [this] {
        result_.clear();
        QDialog::reject();
    });
    connect(newFolderButton_, &QPushButton::clicked, this, [this] {
        if (const auto made = createNewDirectory(prompter_, highlightedFolder())) openFolder(*made);
    });
    connect(driveList_, &QComboBox::activated, this, [this](int i) {
        const std::string root = driveList_->itemData(i).toString().toStdString();
        if (QDir(q(root)).exists()) openFolder(root);  // a drive that cannot be read keeps the list
    });
    fillDrives();
    resize(520, 520);
}

void FormChangeDir::fillDrives() {
    driveList_->clear();
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady()) continue;
        driveList_->addItem(volume.rootPath(), volume.rootPath());
    }
}

std::string FormChangeDir::chooseFolder(const std::string& TopText, std::string& StartDir) {
    if (!placed_) {
        positions_.restore(this, kName);
        placed_ = true;
    }
    promptLabel_->setText(q(TopText));
    if (StartDir.empty()) StartDir = QDir::homePath().toStdString();
    openFolder(nearestExistingFolder(StartDir));
    result_.clear();
    exec();
    return result_;
}

void FormChangeDir::openFolder(const std::string& folder) {
    opened_ = folder;
    const QModelIndex index = model_->index(q(folder));
    folderTree_->expand(index);
    folderTree_->setCurrentIndex(index);
    folderTree_->scrollTo(index);
    const int drive = driveList_->findData(QStorageInfo(q(folder)).rootPath());
    if (drive >= 0) driveList_->setCurrentIndex(drive);
}

std::string FormChangeDir::highlightedFolder() const {
    const QModelIndex index = folderTree_->currentIndex();
    return index.isValid() ? model_->filePath(index).toStdString() : opened_;
}

void FormChangeDir::highlight(const std::string& folder) {
    folderTree_->setCurrentIndex(model_->index(q(folder)));
}

void FormChangeDir::reject() {
    result_.clear();
    positions_.store(this, kName);
    QDialog::reject();
}

}  // namespace kal
