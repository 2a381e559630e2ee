#include "shell/ui/MainJobWindow.h"

#include <QApplication>
#include <QComboBox>

#include "shared/Units.h"

namespace kal {

void MainJobWindow::unitsChanged() {
    const auto warnings = applyUnitSettings(
        job_,
        [this](const std::string& length, const std::string& angle) { main_.showUnitNames(length, angle); });
    // A job naming a unit this program does not know opens in millimetre or degree: say so once,
    // through the window's message boxes (which a test answers).
    if (!warnings.empty()) {
        std::string text;
        for (const auto& w : warnings) text += (text.empty() ? "" : "\r\n") + w;
        main_.prompter().message(text, platform::Buttons::Ok, {}, platform::Icon::Exclamation);
    }
}

void MainJobWindow::jobLoaded() {
    QComboBox* combo = main_.comboSaveView();
    combo->clear();
    for (const auto& name : job_.SavedViewNames) combo->addItem(QString::fromStdString(name));
    if (events_) events_->publish(JobEvent::JobReset);
}

void MainJobWindow::setBusy(bool busy) {
    if (busy) {
        if (busyDepth_++ == 0) QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (busyDepth_ > 0 && --busyDepth_ == 0) {
        QApplication::restoreOverrideCursor();
    }
}

void connectJobCommands(FormMain& main, JobCommands& commands) {
    auto on = [&main](Command command, std::function<void()> handler) {
        main.connectCommand(command, std::move(handler));
    };
    // The file toolbar's New, Open and Save share these entries' actions: they run the same
    // commands, once.
    on(Command::NewJob, [&commands] { commands.newJob(); });
    on(Command::OpenJob, [&commands] { commands.openJobChosen(); });
    on(Command::SaveJob, [&commands] { commands.saveJobCommand(); });
    on(Command::SaveJobAs, [&commands] { commands.saveJobAsCommand(); });
    // Recent entries open by slot, never by parsing their caption.
    on(Command::RecentFile1, [&commands] { commands.openRecentFile(1); });
    on(Command::RecentFile2, [&commands] { commands.openRecentFile(2); });
    on(Command::RecentFile3, [&commands] { commands.openRecentFile(3); });
    on(Command::RecentFile4, [&commands] { commands.openRecentFile(4); });
}

}  // namespace kal
