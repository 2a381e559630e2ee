#pragma once
// The flag editor "Edit Flag...": a modal dialog over FlagEditorModel for the layout of one flag
// of a graphics window. The window that opens it passes itself as the target, so OK, "&Delete
// Flag" and "Delete &All" act on that window whatever is active meanwhile. A font chosen with
// "&Fonts" is kept here and reaches the flag only on OK.
#include <QButtonGroup>
#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <array>
#include <optional>

#include "annotation/FlagEditorModel.h"
#include "platform/FontDialogs.h"
#include "platform/Prompter.h"

namespace kal {

// What the editor asks of the graphics window whose flag it edits.
class FlagEditorTarget {
  public:
    virtual ~FlagEditorTarget() = default;
    // ÜbernehmenEditFahne: the edited layout (font and colour included) and the run settings.
    virtual void applyFlagLayout(const FahneRecord& layout, const FlagEditorModel::Applied& applied) = 0;
    virtual void deleteCurrentFlag() = 0;  // "&Delete Flag": deletes, stores the view, redraws
    virtual void deleteAllFlags() = 0;     // "Delete &All": deletes, stores the view, redraws
};

class FormEditFahne : public QDialog {
    Q_OBJECT
  public:
    FormEditFahne(const FahneRecord& layout, std::int16_t gridLength, FlagEditorTarget& target,
                  platform::Prompter& prompter, platform::FontDialogs& fonts, QWidget* parent = nullptr);

    QCheckBox* box(FlagCheck check) const { return boxes_[static_cast<std::size_t>(check)]; }
    QRadioButton* placementOption(FlagPlacement placement) const {
        return options_[static_cast<std::size_t>(placement)];
    }
    QLineEdit* faktorBox() const { return faktor_; }            // TextFaktor
    QLineEdit* flagOnEveryBox() const { return flagOnEvery_; }  // TextFlagOnEvery
    QLineEdit* gridLengthBox() const { return gridLength_; }    // TextGridLength
    QScrollBar* gridLengthScroll() const { return scroll_; }    // VScroll1
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }
    QPushButton* deleteFlagButton() const { return deleteFlag_; }
    QPushButton* deleteAllButton() const { return deleteAll_; }
    QPushButton* fontsButton() const { return fontsButton_; }
    const FlagEditorModel& model() const { return model_; }
    // The drawing area of the flag's window, in pixels: it bounds the snap grid's length.
    void setPictureSize(int width, int height);

  private:
    void apply();  // the model's state into the controls, only what changed
    void chooseFont();
    // Shows the box's text after a finished edit and any refusal; false when refused.
    bool commitText(QLineEdit* edit, const BoxCommit& commit);
    void accept() override;

    FlagEditorModel model_;
    std::optional<FlagEditorState> applied_;  // the state the controls show
    FahneRecord layout_;                      // the flag's layout; its font and colour change with "&Fonts"
    FlagEditorTarget& target_;
    platform::Prompter& prompter_;
    platform::FontDialogs& fonts_;
    std::array<QCheckBox*, kFlagCheckCount> boxes_{};
    std::array<QRadioButton*, 4> options_{};
    QLineEdit *faktor_, *flagOnEvery_, *gridLength_;
    QScrollBar* scroll_;
    QPushButton *ok_, *cancel_, *deleteFlag_, *deleteAll_, *fontsButton_;
};

}  // namespace kal
