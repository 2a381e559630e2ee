#include "shell/ui/FormMain.h"

#include "shell/Version.h"

namespace kal {

FormMain::FormMain(JobState& job, QWidget* parent)
    : QMainWindow(parent), job_(job), mdi_(new QMdiArea(this)) {
    setObjectName("FormMain");
    setCentralWidget(mdi_);
    resize(1024, 720);
    refreshCaption();
}

void FormMain::refreshCaption() {
    std::string caption = std::string(kCaptionPrefix) + versionText();
    if (!job_.CurrentJobFile.empty()) caption += " | " + job_.CurrentJobFile;
    setWindowTitle(QString::fromStdString(caption));
}

}  // namespace kal
