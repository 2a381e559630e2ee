#include "shell/ui/FormMenuHelpInfo.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPainter>
#include <QPixmap>

#include "shell/HelpInfo.h"

namespace kal {

namespace {

QPushButton* button(const QString& caption, const char* name) {
    auto* b = new QPushButton(caption);
    b->setObjectName(QString::fromLatin1(name));
    QFont f = b->font();
    f.setPointSize(8);
    b->setFont(f);
    return b;
}

QLabel* label(const QString& text, const char* name) {
    auto* l = new QLabel(text);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

// The window's picture: the two coordinate systems the program relates.
QPixmap frames() {
    QPixmap picture(96, 96);
    picture.fill(Qt::white);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    const auto axes = [&p](QPointF o, double angle, const QColor& colour) {
        p.save();
        p.translate(o);
        p.rotate(angle);
        p.setPen(QPen(colour, 3));
        p.drawLine(QPointF(0, 0), QPointF(34, 0));
        p.drawLine(QPointF(0, 0), QPointF(0, -34));
        p.restore();
    };
    axes(QPointF(14, 82), 0, QColor(0, 90, 170));
    axes(QPointF(46, 58), -25, QColor(200, 60, 40));
    return picture;
}

}  // namespace

FormMenuHelpInfo::FormMenuHelpInfo(const JobState& job, HelpInfoServices services, QWidget* parent)
    : QWidget(parent), job_(job), services_(std::move(services)) {
    setObjectName(QStringLiteral("FormMenuHelpInfo"));
    setWindowTitle(QStringLiteral(" Info  Kalvoreth "));

    auto* title = label(QStringLiteral("Kalvoreth"), "Label2");
    QFont big = title->font();
    big.setPointSize(big.pointSize() * 2);
    big.setBold(true);
    title->setFont(big);
    auto* image = label(QString(), "Image1");
    image->setPixmap(frames());
    version_ = label(QString(), "LabelVersion");
    os_ = label(QString(), "LabelOSSystem");
    iniFile_ = label(QString(), "LabelIniDatei");
    iniFile_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    editIni_ = button(QStringLiteral("&Kalvoreth.ini"), "BtnEditIniFile");
    reload_ = button(QStringLiteral("&load ini File"), "Command2");
    webPage_ = button(QStringLiteral("Kalvoreth Internet Page"), "Command3");
    mail_ = button(QStringLiteral("send Mail to ") + QString::fromLatin1(kSupportMailAddress), "Command4");
    ok_ = button(QStringLiteral("&OK"), "Command1");

    auto* grid = new QGridLayout(this);
    grid->addWidget(image, 0, 0, 3, 1, Qt::AlignTop);
    grid->addWidget(title, 0, 1);
    grid->addWidget(version_, 1, 1);
    grid->addWidget(label(QStringLiteral("Operating System"), "Label4"), 3, 0, 1, 2);
    grid->addWidget(os_, 4, 0, 1, 2);
    grid->addWidget(label(QStringLiteral("Pfad der Kalvoreth.ini Datei"), "Label5"), 5, 0, 1, 2);
    grid->addWidget(iniFile_, 6, 0, 1, 2);
    auto* iniButtons = new QHBoxLayout;
    iniButtons->addWidget(editIni_);
    iniButtons->addWidget(reload_);
    iniButtons->addStretch();
    grid->addLayout(iniButtons, 7, 0, 1, 2);
    grid->addWidget(webPage_, 8, 0, 1, 2);
    grid->addWidget(mail_, 9, 0, 1, 2);
    grid->addWidget(ok_, 10, 1, Qt::AlignRight);
    grid->setColumnStretch(1, 1);

    connect(editIni_, &QPushButton::clicked, this, [this] { open(job_.IniFilePath); });
    connect(reload_, &QPushButton::clicked, this, [this] {
        if (services_.reloadSettings) services_.reloadSettings();
    });
    connect(webPage_, &QPushButton::clicked, this, [this] { open(kMakerWebPage); });
    connect(mail_, &QPushButton::clicked, this, [this] { open(supportMailLink(kSupportMailAddress)); });
    connect(ok_, &QPushButton::clicked, this, &FormMenuHelpInfo::closeRequested);
    initialize();
}

void FormMenuHelpInfo::initialize() {
    version_->setText(QString::fromStdString(versionLabelText()));
    os_->setText(QString::fromStdString(job_.OsNameString));
    iniFile_->setText(QString::fromStdString(job_.IniFilePath));
}

void FormMenuHelpInfo::open(const std::string& target) {
    if (services_.open) services_.open(target);
}

}  // namespace kal
