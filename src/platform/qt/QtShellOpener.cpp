#include "platform/qt/QtShellOpener.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

namespace kal::platform {

bool QtShellOpener::openDocument(const std::string& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

}  // namespace kal::platform
