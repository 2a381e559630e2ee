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
      label1_(new QLabel(this)),
      drive1_(new QComboBox(this)),
      dir1_(new QTreeView(this)),
      model_(new QFileSystemModel(this)),
      command1_(new QPushButton("OK", this)),
      command2_(new QPushButton("Abbruch", this)),
      command3_(new QPushButton("new directory", this)) {
    setObjectName(kName);
    setWindowTitle("Choose Directory");
    setModal(true);
    label1_->setObjectName("Label1");
    label1_->setWordWrap(true);
    drive1_->setObjectName("Drive1");
    dir1_->setObjectName("Dir1");
    command1_->setObjectName("Command1");
    command2_->setObjectName("Command2");
    command3_->setObjectName("Command3");

    // Folders only; the model lists them in the background, so a folder of 10^5 entries does
    // not hold the window.
    model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    model_->setRootPath(QDir::rootPath());
    dir1_->setModel(model_);
    for (int c = 1; c < model_->columnCount(); ++c) dir1_->hideColumn(c);
    dir1_->header()->hide();
    dir1_->setSelectionMode(QAbstractItemView::SingleSelection);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(command1_);
    buttons->addWidget(command2_);
    buttons->addStretch(1);
    buttons->addWidget(command3_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label1_);
    layout->addWidget(drive1_);
    layout->addWidget(dir1_, 1);
    layout->addLayout(buttons);
    command1_->setDefault(true);

    connect(command1_, &QPushButton::clicked, this, [this] {
        result_ = highlightedFolder();
        accept();
    });
    connect(command2_, &QPushButton::clicked, this, [this] {
        result_.clear();
        QDialog::reject();
    });
    connect(command3_, &QPushButton::clicked, this, [this] {
        if (const auto made = createNewDirectory(prompter_, highlightedFolder())) openFolder(*made);
    });
    connect(drive1_, &QComboBox::activated, this, [this](int i) {
        const std::string root = drive1_->itemData(i).toString().toStdString();
        if (QDir(q(root)).exists()) openFolder(root);  // a drive that cannot be read keeps the list
    });
    fillDrives();
    resize(520, 520);
}

void FormChangeDir::fillDrives() {
    drive1_->clear();
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady()) continue;
        drive1_->addItem(volume.rootPath(), volume.rootPath());
    }
}

std::string FormChangeDir::DirName(const std::string& TopText, std::string& StartDir) {
    if (!placed_) {
        positions_.restore(this, kName);
        placed_ = true;
    }
    label1_->setText(q(TopText));
    if (StartDir.empty()) StartDir = QDir::homePath().toStdString();
    openFolder(nearestExistingFolder(StartDir));
    result_.clear();
    exec();
    return result_;
}

void FormChangeDir::openFolder(const std::string& folder) {
    opened_ = folder;
    const QModelIndex index = model_->index(q(folder));
    dir1_->expand(index);
    dir1_->setCurrentIndex(index);
    dir1_->scrollTo(index);
    const int drive = drive1_->findData(QStorageInfo(q(folder)).rootPath());
    if (drive >= 0) drive1_->setCurrentIndex(drive);
}

std::string FormChangeDir::highlightedFolder() const {
    const QModelIndex index = dir1_->currentIndex();
    return index.isValid() ? model_->filePath(index).toStdString() : opened_;
}

void FormChangeDir::highlight(const std::string& folder) { dir1_->setCurrentIndex(model_->index(q(folder))); }

void FormChangeDir::reject() {
    result_.clear();
    positions_.store(this, kName);
    QDialog::reject();
}

}  // namespace kal
