#pragma once
// The font and colour dialogs over QFontDialog and QColorDialog.
#include <QWidget>

#include "platform/FontDialogs.h"

namespace kal::platform {

class QtFontDialogs : public FontDialogs {
  public:
    explicit QtFontDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    std::optional<FontChoice> chooseFont(const FontChoice& initial, int maxSize) override;
    std::optional<std::int32_t> chooseColor(std::int32_t initial) override;

  private:
    QWidget* parent_;
};

}  // namespace kal::platform
