#include "platform/qt/QtPlatform.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QInputDialog>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QSysInfo>

namespace kal::platform {

namespace {
QString q(const std::string& s) { return QString::fromStdString(s); }
QString titleOr(const std::string& title) { return title.empty() ? QString(kProgramName) : q(title); }
}  // namespace

Answer QtPrompter::showMessage(const std::string& text, Buttons buttons, const std::string& title,
                               Icon icon) {
    QMessageBox box(parent_);
    box.setWindowTitle(titleOr(title));
    box.setText(q(text));
    switch (icon) {
        case Icon::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case Icon::Exclamation:
            box.setIcon(QMessageBox::Warning);
            break;
        case Icon::Critical:
            box.setIcon(QMessageBox::Critical);
            break;
        case Icon::Question:
            box.setIcon(QMessageBox::Question);
            break;
        case Icon::None:
            break;
    }
    switch (buttons) {
        case Buttons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case Buttons::OkCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            box.setEscapeButton(QMessageBox::Cancel);
            break;
        case Buttons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box.setEscapeButton(QMessageBox::No);
            break;
        case Buttons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            box.setEscapeButton(QMessageBox::Cancel);
            break;
    }
    switch (box.exec()) {
        case QMessageBox::Ok:
            return Answer::Ok;
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        default:
            return buttons == Buttons::Ok ? Answer::Ok
                                          : (buttons == Buttons::YesNo ? Answer::No : Answer::Cancel);
    }
}

int QtPrompter::showCustom(const std::string& text, const std::string& title,
                           const std::vector<std::string>& captions) {
    QMessageBox box(parent_);
    box.setWindowTitle(titleOr(title));
    box.setText(q(text));
    box.setIcon(QMessageBox::Question);  // its one use is a question
    std::vector<QPushButton*> pressed;
    // One role for every button keeps them in the caller's order under any desktop style.
    for (const auto& c : captions) pressed.push_back(box.addButton(q(c), QMessageBox::ActionRole));
    if (!pressed.empty()) box.setEscapeButton(pressed.back());
    box.exec();
    for (std::size_t i = 0; i < pressed.size(); ++i)
        if (box.clickedButton() == pressed[i]) return static_cast<int>(i) + 1;
    return static_cast<int>(captions.size());
}

std::optional<std::string> QtPrompter::showInput(const std::string& prompt, const std::string& title,
                                                 const std::string& defaultText) {
    bool ok = false;
    QString s =
        QInputDialog::getText(parent_, titleOr(title), q(prompt), QLineEdit::Normal, q(defaultText), &ok);
    if (!ok) return std::nullopt;
    return s.toStdString();
}

void QtClipboard::clear() { QGuiApplication::clipboard()->clear(); }

void QtClipboard::setText(const std::string& utf8) { QGuiApplication::clipboard()->setText(q(utf8)); }

std::string QtClipboard::text() const { return QGuiApplication::clipboard()->text().toStdString(); }

void QtClipboard::setImage(const QImage& picture) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setImage(picture);
}

std::string QtSystemInfo::productName() const { return QSysInfo::prettyProductName().toStdString(); }

std::string QtSystemInfo::cpuArchitecture() const { return QSysInfo::currentCpuArchitecture().toStdString(); }

void QtEventPump::processEvents() { QCoreApplication::processEvents(); }

void adoptSystemRegionalSettings() {
    const QString point = QLocale::system().decimalPoint();
    Regional::setDecimalSeparator(point == QStringLiteral(",") ? ',' : '.');
}

}  // namespace kal::platform
