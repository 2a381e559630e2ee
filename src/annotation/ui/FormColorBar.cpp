#include "annotation/ui/FormColorBar.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "annotation/ClassColours.h"
#include "shared/ui/NumberBox.h"

namespace kal {

namespace {

QColor toQColor(StoredColour c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

void setTextKeepingCaret(QLineEdit* box, const std::string& text) {
    const QString t = QString::fromStdString(text);
    if (box->text() == t) return;
    QSignalBlocker block(box);
    box->setText(t);
    box->setCursorPosition(static_cast<int>(t.size()));
}

template <class Button>
void setChecked(Button* b, bool on) {
    QSignalBlocker block(b);
    b->setChecked(on);
}

QLineEdit* limitBox(const char* name, const char* text, const QColor& background) {
    auto* box = new NumberBox;
    box->setText(QString::fromUtf8(text));
    box->setObjectName(QString::fromUtf8(name));
    QFont font(QStringLiteral("Serif"));
    font.setStyleHint(QFont::Serif);
    font.setBold(true);
    box->setFont(font);
    box->setAlignment(Qt::AlignRight);
    box->setStyleSheet(QStringLiteral("QLineEdit { background: %1; color: white; }").arg(background.name()));
    return box;
}

QPushButton* makeStepButton(const char* name, const char* caption) {
    auto* b = new QPushButton(QString::fromUtf8(caption));
    b->setObjectName(QString::fromUtf8(name));
    b->setAutoRepeat(true);  // one step at the press, then one about every 80 ms while held
    b->setAutoRepeatDelay(80);
    b->setAutoRepeatInterval(80);
    b->setFixedWidth(24);
    return b;
}

template <class T>
T* named(T* w, const char* name) {
    w->setObjectName(QString::fromUtf8(name));
    return w;
}

}  // namespace

// ---------------------------------------------------------------- preview strip

ColourBarPreview::ColourBarPreview(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ScreenColorBar"));
    setToolTip(QStringLiteral("Double Click to chang window size"));
    setMinimumHeight(38);
    setMaximumHeight(38);
}

void ColourBarPreview::setSettings(const ClassColourSettings& settings) {
    settings_ = settings;
    update();
}

void ColourBarPreview::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    const std::vector<StoredColour> columns = previewStripColumns(width(), settings_);
    for (std::size_t c = 1; c < columns.size(); ++c) {
        p.setPen(toQColor(columns[c]));
        p.drawLine(static_cast<int>(c), 0, static_cast<int>(c), 37);
    }
}

void ColourBarPreview::mouseDoubleClickEvent(QMouseEvent* event) {
    emit doubleClicked();
    event->accept();
}

// ---------------------------------------------------------------- the dialog

FormColorBar::FormColorBar(ColourBarDialogModel& model, platform::FontDialogs& colours,
                           platform::Prompter& prompter, QWidget* parent)
    : QWidget(parent), model_(model), colours_(colours), prompter_(prompter) {
    setObjectName(QStringLiteral("FormColorBar"));
    setWindowTitle(QStringLiteral("ColorBar - Tolerance"));
    build();
    connectControls();
    refresh();
}

void FormColorBar::build() {
    auto* top = new QVBoxLayout(this);
    preview_ = new ColourBarPreview;
    top->addWidget(preview_);

    // The limits with their step buttons: ">" widens the band, "<" narrows it.
    lower_ = limitBox("TextUntereGrenze", "min", QColor(0, 0, 128));
    upper_ = limitBox("TextObereGrenze", "max", QColor(192, 0, 0));
    steps_[0] = makeStepButton("Command1", ">");
    steps_[1] = makeStepButton("Command2", "<");
    steps_[2] = makeStepButton("Command3", ">");
    steps_[3] = makeStepButton("Command4", "<");
    auto* limits = new QGridLayout;
    limits->addWidget(steps_[0], 0, 0);
    limits->addWidget(lower_, 0, 1);
    limits->addWidget(steps_[1], 0, 2);
    limits->addWidget(steps_[3], 0, 4);
    limits->addWidget(upper_, 0, 5);
    limits->addWidget(steps_[2], 0, 6);
    limits->addWidget(named(new QLabel(QStringLiteral("-Tolerance")), "Label1"), 1, 1);
    limits->addWidget(named(new QLabel(QStringLiteral("   +Tolerance")), "Label2"), 1, 5);
    limits->setColumnStretch(3, 1);
    top->addLayout(limits);

    settingsArea_ = new QWidget;
    auto* area = new QVBoxLayout(settingsArea_);
    area->setContentsMargins(0, 0, 0, 0);

    // General Class Settings
    auto* general = new QGroupBox(QStringLiteral("General Class Settings"));
    auto* g = new QGridLayout(general);
    auto countRow = [&](int row, const char* boxName, const char* spinName, const char* caption,
                        QLineEdit*& box, QScrollBar*& spin) {
        box = named(new NumberBox, boxName);
        box->setText(QStringLiteral("100"));
        box->setMaximumWidth(50);
        spin = named(new QScrollBar(Qt::Vertical), spinName);
        spin->setRange(1, 100);
        spin->setInvertedAppearance(true);  // the upper arrow counts up
        spin->setInvertedControls(true);
        spin->setFixedHeight(box->sizeHint().height());
        g->addWidget(box, row, 0);
        g->addWidget(spin, row, 1);
        g->addWidget(new QLabel(QString::fromUtf8(caption)), row, 2);
    };
    g->setColumnStretch(2, 1);
    countRow(0, "TextAnzahlTolKlassePos", "VScrollAnzKlaPos", "Number of Tolerance Classes Positiv",
             positiveCount_, positiveSpin_);
    countRow(1, "TextAnzahlTolKlasseNeg", "VScrollAnzKlaNeg", "Number of Tolerance Classes Negativ",
             negativeCount_, negativeSpin_);
    outerOn_ = named(new QCheckBox(QStringLiteral("out of Tol = Color")), "CheckAusserhalbTol");
    outerColour_ = named(new QPushButton(QStringLiteral("&Set Color ")), "BtnSetOuterColor");
    twoColour_ = named(new QCheckBox(QStringLiteral("Binär Mode")), "CheckBinärModus");
    g->addWidget(outerOn_, 2, 0, 1, 2);
    g->addWidget(outerColour_, 2, 2);
    g->addWidget(twoColour_, 3, 0, 1, 3);
    area->addWidget(general);

    // Show Vector Settings
    auto* vectors = new QGroupBox(QStringLiteral("Show Vector Settings"));
    auto* v = new QGridLayout(vectors);
    auto* typeFrame = new QGroupBox(QStringLiteral("Coordinate System Type"));
    auto* t = new QVBoxLayout(typeFrame);
    const char* systemNames[] = {"OptCART", "OptCYL", "OptSPH"};
    const char* systemCaptions[] = {"Cartesian Coordinate System", "Cylindrical Coordinate System",
                                    "Spherical Coordinate System"};
    const char* systemTips[] = {
        "x y and z", "r is Radius, Phi is angle from x Axis in xy Plane, H is along Cylinder = z",
        "Rho is radius, Phi is angle from x Axis in xy Plane, Theta is Angle to xy Plane"};
    for (int i = 0; i < 3; ++i) {
        systems_[i] = named(new QRadioButton(QString::fromUtf8(systemCaptions[i])), systemNames[i]);
        systems_[i]->setToolTip(QString::fromUtf8(systemTips[i]));
        t->addWidget(systems_[i]);
    }
    auto* rulesFrame = new QGroupBox(QStringLiteral("plus minus rules"));
    auto* r = new QVBoxLayout(rulesFrame);
    const char* basisNames[] = {"ColorABS", "ColorX", "ColorY", "ColorZ"};
    for (int i = 0; i < 4; ++i) bases_[i] = named(new QRadioButton, basisNames[i]);
    bases_[0]->setText(QStringLiteral("based on ABS dev"));
    for (int i : {1, 2, 3, 0}) r->addWidget(bases_[i]);
    auto* showFrame = new QGroupBox(QStringLiteral("Show rules"));
    auto* s = new QVBoxLayout(showFrame);
    showX_ = named(new QCheckBox, "showX");
    showY_ = named(new QCheckBox, "showY");
    showZ_ = named(new QCheckBox, "showZ");
    showXYZ_ = named(new QCheckBox, "ShowXYZ");
    for (QCheckBox* b : {showX_, showY_, showZ_, showXYZ_}) s->addWidget(b);
    v->addWidget(typeFrame, 0, 0, 2, 1);
    v->addWidget(rulesFrame, 0, 1);
    v->addWidget(showFrame, 1, 1);
    showOnlyUsed_ = named(new QCheckBox(QStringLiteral("Show only in Trafo used Component of Vector")),
                          "CheckShowOnlyUsed");
    v->addWidget(showOnlyUsed_, 2, 0, 1, 2);
    area->addWidget(vectors);
    setMinMax_ =
        named(new QCheckBox(QStringLiteral("Set max on every Vector Settings &change")), "CheckSetMinMax");
    area->addWidget(setMinMax_);

    // Grid Options
    auto* gridFrame = new QGroupBox(QStringLiteral("Grid Options"));
    auto* gg = new QGridLayout(gridFrame);
    const char* gridNames[] = {"CheckShowXY", "CheckShowYZ", "CheckShowZX"};
    const char* gridCaptions[] = {"Show X Y Grid", "Show Y Z Grid", "Show Z X Grid"};
    const char* spacingNames[] = {"TextADis", "TextBDis", "TextCDis"};
    const char* spacingCaptions[] = {"X Dis", "Y Dis", "Z Dis"};
    for (int i = 0; i < 3; ++i) {
        grids_[i] = named(new QCheckBox(QString::fromUtf8(gridCaptions[i])), gridNames[i]);
        spacings_[i] = named(new NumberBox, spacingNames[i]);
        spacings_[i]->setText(QStringLiteral("100"));
        spacings_[i]->setMaximumWidth(70);
        spacings_[i]->setEnabled(false);
        gg->addWidget(grids_[i], i, 0);
        gg->addWidget(spacings_[i], i, 1);
        gg->addWidget(new QLabel(QString::fromUtf8(spacingCaptions[i])), i, 2);
    }
    gridDim_ = named(new QCheckBox(QStringLiteral("Show Grid dim.")), "CheckShowGridDim");
    gridDim_->setEnabled(false);
    gg->addWidget(gridDim_, 3, 0, 1, 3);
    area->addWidget(gridFrame);

    problem_ = new QLabel;
    problem_->setStyleSheet(QStringLiteral("color: #b00000;"));
    problem_->setWordWrap(true);
    problem_->hide();
    area->addWidget(problem_);

    auto* buttons = new QGridLayout;
    autoApply_ = named(new QCheckBox(QStringLiteral("Auto Apply")), "CheckAutoApply");
    apply_ = named(new QPushButton(QStringLiteral("&Apply")), "BtnApply");
    setMax_ = named(new QPushButton(QStringLiteral("Set ma&x as Tol")), "BtnSetMaxAsTol");
    setMin_ = named(new QPushButton(QStringLiteral("Set m&in as Tol")), "BtnSetMinAsTol");
    close_ = named(new QPushButton(QStringLiteral("&Close")), "BtnOK");
    buttons->addWidget(autoApply_, 0, 0);
    buttons->addWidget(apply_, 0, 1);
    buttons->addWidget(setMax_, 1, 0);
    buttons->addWidget(setMin_, 1, 1);
    buttons->addWidget(close_, 2, 1);
    area->addLayout(buttons);
    top->addWidget(settingsArea_);
}

void FormColorBar::showOutcome(const ApplyOutcome& outcome) {
    refresh();
    if (outcome.refusal) prompter_.message(*outcome.refusal);
    if (!outcome.problem.empty()) {
        problem_->setText(QString::fromStdString(outcome.problem));
        problem_->show();
    } else if (outcome.applied) {
        problem_->hide();
    }
}

void FormColorBar::countFinished(bool positive) {
    QLineEdit* box = positive ? positiveCount_ : negativeCount_;
    const ClassCountCommit commit = model_.classCountFinished(positive, box->text().toStdString());
    if (commit.message) prompter_.message(*commit.message);
    showOutcome(commit.outcome);
}

void FormColorBar::connectControls() {
    using Setting = ColourBarDialogModel::Setting;
    auto& f = model_.mutableFields();
    auto check = [this](QCheckBox* box, bool& field, Setting setting) {
        connect(box, &QCheckBox::clicked, this, [this, &field, setting](bool on) {
            field = on;
            showOutcome(model_.settingChanged(setting));
        });
    };
    check(outerOn_, f.outerColourOn, Setting::OuterColourOn);
    check(twoColour_, f.twoColour, Setting::TwoColour);
    check(gridDim_, f.showGridDim, Setting::ShowGridDim);
    check(showOnlyUsed_, f.showOnlyUsed, Setting::ShowOnlyUsed);
    check(showXYZ_, f.showXYZ, Setting::ShowXYZ);
    check(showX_, f.showX, Setting::ComponentBox);
    check(showY_, f.showY, Setting::ComponentBox);
    check(showZ_, f.showZ, Setting::ComponentBox);
    check(grids_[0], f.gridXY, Setting::Grid);
    check(grids_[1], f.gridYZ, Setting::Grid);
    check(grids_[2], f.gridZX, Setting::Grid);
    connect(autoApply_, &QCheckBox::clicked, this,
            [this](bool on) { model_.mutableFields().autoApply = on; });
    connect(setMinMax_, &QCheckBox::clicked, this, [this](bool on) {
        model_.setMaxOnChangeToggled(on);
        refresh();
    });
    for (int i = 0; i < 4; ++i)
        connect(bases_[i], &QRadioButton::clicked, this, [this, i] {
            model_.mutableFields().basis = static_cast<ColourBasisRule>(i);
            showOutcome(model_.settingChanged(Setting::Basis));
        });
    for (int i = 0; i < 3; ++i) {
        connect(systems_[i], &QRadioButton::clicked, this,
                [this, i] { showOutcome(model_.coordinateSystemChosen(static_cast<CoordinateSystem>(i))); });
        connect(spacings_[i], &QLineEdit::editingFinished, this, [this, i] {
            if (!spacings_[i]->isModified()) return;
            spacings_[i]->setModified(false);
            const ApplyOutcome outcome = model_.spacingFinished(i, spacings_[i]->text().toStdString());
            if (outcome.refusal) {
                // The box goes back before the message, so the focus the message takes finds
                // an accepted text.
                const ColourBarFields& f = model_.fields();
                spacings_[i]->setText(QString::fromStdString(i == 0 ? f.aText : i == 1 ? f.bText : f.cText));
                spacings_[i]->setModified(false);
            }
            showOutcome(outcome);
        });
    }

    for (bool positive : {true, false}) {
        QLineEdit* box = positive ? positiveCount_ : negativeCount_;
        QScrollBar* spin = positive ? positiveSpin_ : negativeSpin_;
        connect(box, &QLineEdit::editingFinished, this, [this, box, positive] {
            if (!box->isModified()) return;
            box->setModified(false);
            countFinished(positive);
        });
        connect(spin, &QScrollBar::valueChanged, this, [this, box, positive](int value) {
            box->setText(QString::number(value));
            countFinished(positive);
        });
    }

    for (LimitBox which : {LimitBox::Lower, LimitBox::Upper}) {
        QLineEdit* box = which == LimitBox::Lower ? lower_ : upper_;
        connect(box, &QLineEdit::textEdited, this, [this, box, which](const QString& text) {
            setTextKeepingCaret(box, model_.limitEdited(which, text.toStdString()));
        });
        connect(box, &QLineEdit::editingFinished, this,
                [this, which] { showOutcome(model_.limitFinished(which)); });
    }
    // Command1 / Command2 step the lower limit, Command3 / Command4 the upper one.
    const std::pair<LimitBox, int> stepsOf[] = {
        {LimitBox::Lower, -1}, {LimitBox::Lower, +1}, {LimitBox::Upper, +1}, {LimitBox::Upper, -1}};
    for (int i = 0; i < 4; ++i)
        connect(steps_[i], &QPushButton::clicked, this,
                [this, step = stepsOf[i]] { showOutcome(model_.limitStep(step.first, step.second)); });

    connect(setMax_, &QPushButton::clicked, this, [this] {
        setCursor(Qt::WaitCursor);
        const ApplyOutcome outcome = model_.limitFromData(LimitBox::Upper);
        unsetCursor();
        showOutcome(outcome);
    });
    connect(setMin_, &QPushButton::clicked, this, [this] {
        setCursor(Qt::WaitCursor);
        const ApplyOutcome outcome = model_.limitFromData(LimitBox::Lower);
        unsetCursor();
        showOutcome(outcome);
    });
    connect(outerColour_, &QPushButton::clicked, this,
            [this] { showOutcome(model_.chooseOuterColour(colours_)); });
    connect(apply_, &QPushButton::clicked, this, [this] { showOutcome(model_.apply()); });
    connect(close_, &QPushButton::clicked, this, [this] { close(); });
    connect(preview_, &ColourBarPreview::doubleClicked, this, [this] {
        setExpanded(!isExpanded());
        emit expandedToggled(isExpanded());
    });
}

void FormColorBar::setExpanded(bool expanded) {
    settingsArea_->setVisible(expanded);
    adjustSize();
}

void FormColorBar::refresh() {
    const ColourBarFields& f = model_.fields();
    const ComponentCaptions captions = model_.captions();
    setTextKeepingCaret(lower_, model_.limits().text(LimitBox::Lower));
    setTextKeepingCaret(upper_, model_.limits().text(LimitBox::Upper));
    setTextKeepingCaret(positiveCount_, f.positiveCountText);
    setTextKeepingCaret(negativeCount_, f.negativeCountText);
    for (auto [spin, text] :
         {std::pair{positiveSpin_, f.positiveCountText}, {negativeSpin_, f.negativeCountText}}) {
        QSignalBlocker block(spin);
        spin->setValue(QString::fromStdString(text).toInt());
    }
    setChecked(outerOn_, f.outerColourOn);
    setChecked(twoColour_, f.twoColour);
    for (int i = 0; i < 3; ++i) {
        QSignalBlocker block(systems_[i]);
        systems_[i]->setAutoExclusive(false);  // lets "none selected" show
        systems_[i]->setChecked(f.coordinateSystem && static_cast<int>(*f.coordinateSystem) == i);
        systems_[i]->setAutoExclusive(true);
    }
    for (int i = 0; i < 4; ++i) {
        QSignalBlocker block(bases_[i]);
        bases_[i]->setAutoExclusive(false);
        bases_[i]->setChecked(f.basis && static_cast<int>(*f.basis) == i);
        bases_[i]->setAutoExclusive(true);
    }
    showX_->setText(QString::fromStdString(captions.showX));
    showY_->setText(QString::fromStdString(captions.showY));
    showZ_->setText(QString::fromStdString(captions.showZ));
    showXYZ_->setText(QString::fromStdString(captions.showXYZ));
    bases_[1]->setText(QString::fromStdString(captions.colorX));
    bases_[2]->setText(QString::fromStdString(captions.colorY));
    bases_[3]->setText(QString::fromStdString(captions.colorZ));
    setChecked(showX_, f.showX);
    setChecked(showY_, f.showY);
    setChecked(showZ_, f.showZ);
    setChecked(showXYZ_, f.showXYZ);
    setChecked(showOnlyUsed_, f.showOnlyUsed);
    setChecked(setMinMax_, f.setMaxOnChange);
    setChecked(grids_[0], f.gridXY);
    setChecked(grids_[1], f.gridYZ);
    setChecked(grids_[2], f.gridZX);
    setChecked(gridDim_, f.showGridDim);
    setChecked(autoApply_, f.autoApply);
    const std::string* spacingTexts[] = {&f.aText, &f.bText, &f.cText};
    for (int i = 0; i < 3; ++i)
        if (!spacings_[i]->hasFocus()) setTextKeepingCaret(spacings_[i], *spacingTexts[i]);
    const GridControlStates grid = gridControlStates(f);
    spacings_[0]->setEnabled(grid.aEnabled);
    spacings_[1]->setEnabled(grid.bEnabled);
    spacings_[2]->setEnabled(grid.cEnabled);
    gridDim_->setEnabled(grid.gridDimEnabled);
    if (const auto settings = model_.previewSettings()) preview_->setSettings(*settings);
}

}  // namespace kal
