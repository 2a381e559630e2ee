#pragma once
// The file dialogs over Qt's QFileDialog.
#include <QWidget>

#include "platform/FileDialogs.h"

namespace kal::platform {

class QtFileDialogs : public FileDialogs {
  public:
    explicit QtFileDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    std::optional<std::string> openFile(const std::string& title, const std::string& filter,
                                        const std::string& folder) override;
    std::optional<std::string> saveFile(const std::string& title, const std::string& filter,
                                        const std::string& folder, const std::string& defaultSuffix) override;

  private:
    QWidget* parent_;
};

}  // namespace kal::platform
