#include "shell/ui/MainJobWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QMessageBox>

#include "shared/Units.h"

namespace kal {

void MainJobWindow::unitsChanged() {
    const auto warnings = RhoFestlegung(job_, [this](const std::string& length, const std::string& angle) {
        main_.showUnitNames(length, angle);
    });
    // A job naming a unit this program does not know opens in millimetre or degree: say so once.
    if (!warnings.empty()) {
        std::string text;
        for (const auto& w : warnings) text += (text.empty() ? "" : "\n") + w;
        QMessageBox::warning(&main_, QStringLiteral("Kalvoreth"), QString::fromStdString(text));
    }
}

void MainJobWindow::jobLoaded() {
    QComboBox* combo = main_.comboSaveView();
    combo->clear();
    for (const auto& name : job_.SavedViewNames) combo->addItem(QString::fromStdString(name));
}

void MainJobWindow::setBusy(bool busy) {
    if (busy) {
        if (busyDepth_++ == 0) QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (busyDepth_ > 0 && --busyDepth_ == 0) {
        QApplication::restoreOverrideCursor();
    }
}

void connectJobCommands(FormMain& main, JobCommands& commands) {
    auto on = [&main](const char* name, auto handler) {
        QObject::connect(main.actionNamed(name), &QAction::triggered, &main, handler);
    };
    on("MenuFileNew", [&commands] { commands.MenuFileNew_Click(); });
    // The file toolbar's New, Open and Save run the same commands as their menu entries.
    auto button = [&main](int position, auto handler) {
        if (QAction* a = main.toolButton(Toolbar::Toolbar2, position))
            QObject::connect(a, &QAction::triggered, &main, handler);
    };
    button(1, [&commands] { commands.MenuFileNew_Click(); });
    button(2, [&commands] { commands.MenuFileOpen_Click(); });
    button(3, [&commands] { commands.MenuFileSave_Click(); });
    on("MenuFileOpen", [&commands] { commands.MenuFileOpen_Click(); });
    on("MenuFileSave", [&commands] { commands.MenuFileSave_Click(); });
    on("MenuFileSaveAs", [&commands] { commands.MenuFileSaveAs_Click(); });
    // Recent entries open by slot, never by parsing their caption.
    on("MenueDateiAlt1", [&commands] { commands.openRecentFile(1); });
    on("MenueDateiAlt2", [&commands] { commands.openRecentFile(2); });
    on("MenueDateiAlt3", [&commands] { commands.openRecentFile(3); });
    on("MenueDateiAlt4", [&commands] { commands.openRecentFile(4); });
}

}  // namespace kal
