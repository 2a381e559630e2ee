#include "platform/qt/QtFileDialogs.h"

#include <QFileDialog>

namespace kal::platform {
namespace {

std::optional<std::string> run(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty() || files.front().isEmpty()) return std::nullopt;
    return files.front().toStdString();
}

}  // namespace

std::optional<std::string> QtFileDialogs::openFile(const std::string& title, const std::string& filter,
                                                   const std::string& folder) {
    QFileDialog dialog(parent_, QString::fromStdString(title), QString::fromStdString(folder),
                       QString::fromStdString(filter));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return run(dialog);
}

std::optional<std::string> QtFileDialogs::saveFile(const std::string& title, const std::string& filter,
                                                   const std::string& folder,
                                                   const std::string& defaultSuffix) {
    QFileDialog dialog(parent_, QString::fromStdString(title), QString::fromStdString(folder),
                       QString::fromStdString(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    if (!defaultSuffix.empty()) dialog.setDefaultSuffix(QString::fromStdString(defaultSuffix));
    return run(dialog);
}

}  // namespace kal::platform
