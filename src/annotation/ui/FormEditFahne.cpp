#include "annotation/ui/FormEditFahne.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "shared/ui/NumberBox.h"

namespace kal {

namespace {

using C = FlagCheck;

QString text(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

FormEditFahne::FormEditFahne(const FahneRecord& layout, std::int16_t gridLength, FlagEditorTarget& target,
                             platform::Prompter& prompter, platform::FontDialogs& fonts, QWidget* parent)
    : QDialog(parent), layout_(layout), target_(target), prompter_(prompter), fonts_(fonts) {
    setObjectName("FormEditFahne");
    setWindowTitle(kFlagEditorCaption);
    setModal(true);
    model_.load(layout, gridLength);

    static constexpr const char* kNames[kFlagCheckCount] = {"CheckActual",
                                                            "CheckNominal",
                                                            "CheckDev",
                                                            "CheckUse",
                                                            "CheckX",
                                                            "CheckY",
                                                            "CheckZ",
                                                            "CheckR",
                                                            "CheckPhi",
                                                            "CheckRho",
                                                            "CheckTheta",
                                                            "Check3D",
                                                            "CheckLegendexyz",
                                                            "CheckLegendeName",
                                                            "CheckShowOnlyPointNumber",
                                                            "CheckGrid",
                                                            "CheckSetTolCol",
                                                            "CheckChangeAll",
                                                            "CheckPutAll",
                                                            "CheckPutToEvery",
                                                            "CheckSnaptoGrid",
                                                            "CheckFlagWithinScreen"};
    for (std::size_t i = 0; i < kFlagCheckCount; ++i) {
        const auto check = static_cast<FlagCheck>(i);
        auto* b = new QCheckBox(flagCheckCaption(check));
        b->setObjectName(kNames[i]);
        boxes_[i] = b;
        connect(b, &QCheckBox::clicked, this, [this, check](bool on) {
            if (const auto message = model_.setChecked(check, on)) prompter_.message(*message);
            apply();
        });
    }

    auto* frame1 = new QGroupBox("Show Flag Informations");
    frame1->setObjectName("Frame1");
    auto* g1 = new QGridLayout(frame1);
    const C rows[] = {C::CheckActual, C::CheckNominal, C::CheckDev, C::CheckUse};
    const C columns[] = {C::CheckX,   C::CheckY,   C::CheckZ,     C::CheckR,
                         C::CheckPhi, C::CheckRho, C::CheckTheta, C::Check3D};
    for (int i = 0; i < 4; ++i) g1->addWidget(box(rows[i]), i, 0);
    for (int i = 0; i < 8; ++i) g1->addWidget(box(columns[i]), i % 4, 1 + i / 4);
    g1->addWidget(box(C::CheckLegendexyz), 4, 0);
    g1->addWidget(box(C::CheckLegendeName), 4, 1);
    g1->addWidget(box(C::CheckShowOnlyPointNumber), 5, 0, 1, 3);

    auto* frame2 = new QGroupBox("Flag Properties");
    frame2->setObjectName("Frame2");
    auto* g2 = new QVBoxLayout(frame2);
    fontsButton_ = new QPushButton("&Fonts");
    fontsButton_->setObjectName("CmdFonts");
    g2->addWidget(fontsButton_);
    g2->addWidget(box(C::CheckGrid));
    g2->addWidget(box(C::CheckSetTolCol));
    connect(fontsButton_, &QPushButton::clicked, this, &FormEditFahne::chooseFont);

    auto* frame3 = new QGroupBox("use on Flags");
    frame3->setObjectName("Frame3");
    auto* g3 = new QGridLayout(frame3);
    g3->addWidget(box(C::CheckChangeAll), 0, 0, 1, 3);
    g3->addWidget(box(C::CheckPutAll), 1, 0, 1, 3);
    static constexpr const char* kOptionNames[4] = {"OptionPlaceClose", "OptionPlaceRadial",
                                                    "OptionPlaceBorder", "OptionSpeziale"};
    static constexpr const char* kOptionCaptions[4] = {
        "place close to Point", "place radial, Length =", "place on Screen Border", "next to Border Option"};
    auto* group = new QButtonGroup(this);
    for (int i = 0; i < 4; ++i) {
        auto* o = new QRadioButton(kOptionCaptions[i]);
        o->setObjectName(kOptionNames[i]);
        options_[static_cast<std::size_t>(i)] = o;
        group->addButton(o, i);
        connect(o, &QRadioButton::clicked, this, [this, i] {
            model_.selectPlacement(static_cast<FlagPlacement>(i));
            apply();
        });
    }
    faktor_ = new NumberBox;
    faktor_->setObjectName("TextFaktor");
    flagOnEvery_ = new NumberBox;
    flagOnEvery_->setObjectName("TextFlagOnEvery");
    g3->addWidget(options_[0], 2, 0, 1, 3);
    g3->addWidget(options_[1], 3, 0);
    g3->addWidget(faktor_, 3, 1);
    g3->addWidget(options_[2], 4, 0, 1, 3);
    g3->addWidget(options_[3], 5, 0, 1, 3);
    g3->addWidget(box(C::CheckPutToEvery), 6, 0);
    g3->addWidget(flagOnEvery_, 6, 1);
    auto* flagLabel = new QLabel("Flag");
    flagLabel->setObjectName("Label2");
    g3->addWidget(flagLabel, 6, 2);
    // A text is taken when typing is finished, so "1.25" can be typed from left to right.
    connect(faktor_, &QLineEdit::editingFinished, this,
            [this] { commitText(faktor_, model_.editFaktor(faktor_->text().toStdString())); });
    connect(flagOnEvery_, &QLineEdit::editingFinished, this,
            [this] { commitText(flagOnEvery_, model_.editFlagOnEvery(flagOnEvery_->text().toStdString())); });

    auto* frame4 = new QGroupBox("General Flag Settings");
    frame4->setObjectName("Frame4");
    auto* g4 = new QGridLayout(frame4);
    g4->addWidget(box(C::CheckSnaptoGrid), 0, 0, 1, 3);
    auto* gridLabel = new QLabel("Grid Length for Snap");
    gridLabel->setObjectName("Label1");
    gridLength_ = new NumberBox;
    gridLength_->setObjectName("TextGridLength");
    scroll_ = new QScrollBar(Qt::Vertical);
    scroll_->setObjectName("VScroll1");
    scroll_->setRange(10, 1000);
    scroll_->setInvertedControls(true);
    g4->addWidget(gridLabel, 1, 0);
    g4->addWidget(gridLength_, 1, 1);
    g4->addWidget(scroll_, 1, 2);
    g4->addWidget(box(C::CheckFlagWithinScreen), 2, 0, 1, 3);
    connect(gridLength_, &QLineEdit::editingFinished, this,
            [this] { commitText(gridLength_, model_.editGridLength(gridLength_->text().toStdString())); });
    connect(scroll_, &QScrollBar::valueChanged, this, [this](int v) {
        model_.scrollGridLength(v);
        apply();
    });

    ok_ = new QPushButton("&OK");
    ok_->setObjectName("BtnOK");
    cancel_ = new QPushButton("&Cancel");
    cancel_->setObjectName("BtnCancel");
    deleteFlag_ = new QPushButton("&Delete Flag");
    deleteFlag_->setObjectName("BtnFahneLöschen");
    deleteAll_ = new QPushButton("Delete &All");
    deleteAll_->setObjectName("BtnAlleLöschen");
    connect(ok_, &QPushButton::clicked, this, &FormEditFahne::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(deleteFlag_, &QPushButton::clicked, this, [this] {
        QDialog::reject();
        target_.deleteCurrentFlag();
    });
    connect(deleteAll_, &QPushButton::clicked, this, [this] {
        QDialog::reject();
        target_.deleteAllFlags();
    });

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {ok_, cancel_, deleteFlag_, deleteAll_}) buttons->addWidget(b);
    auto* left = new QVBoxLayout;
    left->addWidget(frame1);
    left->addWidget(frame2);
    auto* right = new QVBoxLayout;
    right->addWidget(frame3);
    right->addWidget(frame4);
    auto* columnsLayout = new QHBoxLayout;
    columnsLayout->addLayout(left);
    columnsLayout->addLayout(right);
    auto* main = new QVBoxLayout(this);
    main->addLayout(columnsLayout);
    main->addLayout(buttons);
    apply();
}

void FormEditFahne::apply() {
    const FlagEditorState& s = model_.state();
    for (std::size_t i = 0; i < kFlagCheckCount; ++i) {
        if (boxes_[i]->isChecked() != s.checked[i]) {
            const QSignalBlocker block(boxes_[i]);
            boxes_[i]->setChecked(s.checked[i]);
        }
    }
    for (std::size_t i = 0; i < options_.size(); ++i) {
        const bool selected = static_cast<std::size_t>(s.placement) == i;
        if (options_[i]->isChecked() != selected) options_[i]->setChecked(selected);
        options_[i]->setEnabled(s.placementEnabled);
    }
    box(C::CheckPutToEvery)->setEnabled(s.placementEnabled);
    flagOnEvery_->setEnabled(s.placementEnabled);
    faktor_->setEnabled(s.faktorEnabled);
    gridLength_->setEnabled(s.gridLengthEnabled);
    scroll_->setEnabled(s.gridLengthEnabled);
    // A box's text is set only when the model changed it, so a click elsewhere never throws away
    // text that is still being typed.
    const auto setText = [&](QLineEdit* edit, const std::string& value, const std::string& before) {
        if ((!applied_ || value != before) && edit->text() != text(value)) {
            const QSignalBlocker block(edit);
            edit->setText(text(value));
        }
    };
    setText(faktor_, s.TextFaktor, applied_ ? applied_->TextFaktor : std::string());
    setText(flagOnEvery_, s.TextFlagOnEvery, applied_ ? applied_->TextFlagOnEvery : std::string());
    setText(gridLength_, s.TextGridLength, applied_ ? applied_->TextGridLength : std::string());
    applied_ = s;
    if (scroll_->value() != s.VScroll1) {
        const QSignalBlocker block(scroll_);
        scroll_->setValue(s.VScroll1);
    }
}

void FormEditFahne::setPictureSize(int width, int height) {
    model_.setPictureSize(width, height);
    const QSignalBlocker block(scroll_);
    scroll_->setRange(10, model_.largestGridLength());
    apply();
}

bool FormEditFahne::commitText(QLineEdit* edit, const BoxCommit& commit) {
    // The box shows its accepted text before a refusal is shown: the message takes the focus,
    // and the editing that this finishes must then find a text the box takes.
    if (edit->text() != text(commit.text)) {
        const QSignalBlocker block(edit);
        edit->setText(text(commit.text));
    }
    apply();
    if (!commit.refusal) return true;
    prompter_.message(*commit.refusal);
    return false;
}

void FormEditFahne::chooseFont() {
    platform::FontChoice initial{layout_.Name,   layout_.Size,          layout_.Bold,
                                 layout_.Italic, layout_.Strikethrough, layout_.Underline};
    if (const auto chosen = fonts_.chooseFont(initial, 72)) {
        layout_.Name = chosen->name;
        layout_.Size = chosen->size;
        layout_.Bold = chosen->bold;
        layout_.Weight = chosen->bold ? 700.0f : 400.0f;
        layout_.Italic = chosen->italic;
        layout_.Strikethrough = chosen->strikethrough;
        layout_.Underline = chosen->underline;
        if (const auto colour = fonts_.chooseColor(layout_.Forecolor)) layout_.Forecolor = *colour;
    }
}

void FormEditFahne::accept() {
    // Texts still being typed count as finished; a refused one keeps the editor open, showing
    // the text it went back to.
    if (!commitText(faktor_, model_.editFaktor(faktor_->text().toStdString())) ||
        !commitText(flagOnEvery_, model_.editFlagOnEvery(flagOnEvery_->text().toStdString())) ||
        !commitText(gridLength_, model_.editGridLength(gridLength_->text().toStdString())))
        return;
    FahneRecord edited = layout_;
    const FlagEditorModel::Applied applied = model_.apply(edited);
    QDialog::accept();
    target_.applyFlagLayout(edited, applied);
}

}  // namespace kal
