#include "app/ViewRecordWindows.h"

#include <QComboBox>
#include <QSignalBlocker>
#include <QToolButton>

#include "shared/IniFile.h"
#include "view3d/SavedViews.h"
#include "view3d/ui/FormSaveView.h"

namespace kal {

namespace {
constexpr const char* kOptionsWindowName = "FormGraphicsOptions";
}

ViewRecordWindows::ViewRecordWindows(JobState& job, JobEvents& events, FormMain& main,
                                     platform::Prompter& prompter, std::function<bool()> settingsWritable,
                                     std::function<void()> rebuildGraphicsWindows,
                                     std::function<std::int32_t()> labelCount)
    : job_(job),
      events_(events),
      main_(main),
      prompter_(prompter),
      settingsWritable_(std::move(settingsWritable)),
      rebuild_(std::move(rebuildGraphicsWindows)),
      labelCount_(std::move(labelCount)),
      fontDialogs_(&main) {
    main_.connectCommand(Command::GeneralGraphicsSettings, [this] { openGraphicsOptions(); });
    // These act on the default graphics window: with none open the refresher keeps them
    // disabled, and a window that keeps no views leaves them without effect.
    main_.connectCommand(Command::SaveView, [this] { saveView(); });
    main_.connectCommand(Command::DeleteView, [this] { deleteChosenView(); });
    main_.connectCommand(Command::LastView, [this] { stepBack(); });
    main_.connectCommand(Command::NextView, [this] { stepForward(); });
    main_.connectCommand(Command::SavedViews, [] {});  // the list acts through its choice below
    QObject::connect(main_.comboSaveView(), &QComboBox::activated, main_.comboSaveView(),
                     [this](int index) { showChosenView(index); });
    // An opened or new job brings its own saved views.
    jobReset_ = events_.subscribe(JobEvent::JobReset, Subscriber::Other, [this] { showSavedViewNames(); });
    showSavedViewNames();
}

ViewRecordWindows::~ViewRecordWindows() {
    if (options_) delete options_.data();
}

ViewRecordHost* ViewRecordWindows::defaultHost() {
    return dynamic_cast<ViewRecordHost*>(main_.findDefaultWindow());
}

void ViewRecordWindows::showSavedViewNames() {
    QComboBox* combo = main_.comboSaveView();
    const QSignalBlocker quiet(combo);
    combo->clear();
    for (const auto& name : job_.SavedViewNames) combo->addItem(QString::fromStdString(name));
    combo->setCurrentIndex(-1);  // no view chosen until the user chooses one
}

void ViewRecordWindows::saveView() {
    ViewRecordHost* host = defaultHost();
    if (!host) return;
    kal::saveView(job_, host->undoRing(), prompter_,
                  [this] { return askName_ ? askName_() : askViewName(job_, prompter_, &main_); });
    showSavedViewNames();
    events_.publish(JobEvent::SavedViewsChanged);
}

void ViewRecordWindows::deleteChosenView() {
    if (!main_.findDefaultWindow()) return;
    const int chosen = main_.comboSaveView()->currentIndex();
    deleteSavedView(job_, chosen >= 0 ? chosen + 1 : 0);
    showSavedViewNames();
    events_.publish(JobEvent::SavedViewsChanged);
}

void ViewRecordWindows::showChosenView(int comboIndex) {
    if (comboIndex < 0) return;
    if (ViewRecordHost* host = defaultHost()) host->showSavedView(comboIndex + 1);
}

void ViewRecordWindows::stepBack() {
    if (ViewRecordHost* host = defaultHost()) host->showPreviousView();
}

void ViewRecordWindows::stepForward() {
    if (ViewRecordHost* host = defaultHost()) host->showNextView();
}

void ViewRecordWindows::showUndoControls(const UndoControls& controls) {
    main_.action(Command::LastView)->setEnabled(controls.lastEnabled);
    main_.action(Command::NextView)->setEnabled(controls.nextEnabled);
    if (QToolButton* last = main_.toolButton(Command::LastView))
        last->setToolTip(QString::fromStdString(controls.lastTooltip));
    if (QToolButton* next = main_.toolButton(Command::NextView))
        next->setToolTip(QString::fromStdString(controls.nextTooltip));
}

void ViewRecordWindows::refreshUndoControls() {
    if (ViewRecordHost* host = defaultHost()) showUndoControls(host->undoRing().controls());
}

FormGraphicsOptions& ViewRecordWindows::openGraphicsOptions() {
    if (options_) {
        options_->raise();
        options_->activateWindow();
        return *options_;
    }
    GraphicsOptionsServices services;
    services.writeSettings = [this](const std::vector<IniEntry>& entries) { writeSettings(entries); };
    services.rebuildGraphicsWindows = [this] {
        if (rebuild_)
            rebuild_();
        else
            main_.redrawGraphicsWindows();
    };
    LabelFontServices fonts;
    fonts.labelCount = [this] { return labelCount_ ? labelCount_() : 0; };
    fonts.font = [this] { return labelFont_; };
    fonts.setFont = [this](const platform::TextFont& font) { labelFont_ = font; };
    fonts.dialogs = &fontDialogs_;
    options_ = new FormGraphicsOptions(job_, std::move(services), std::move(fonts), &main_);
    options_->setAttribute(Qt::WA_DeleteOnClose);
    main_.windowPositions().restore(options_, kOptionsWindowName);
    QObject::connect(options_, &QDialog::finished, options_, [this, form = options_.data()] {
        main_.windowPositions().store(form, kOptionsWindowName);
    });
    options_->show();
    return *options_;
}

void ViewRecordWindows::writeSettings(const std::vector<IniEntry>& entries) {
    if (job_.IniFilePath.empty() || (settingsWritable_ && !settingsWritable_())) return;
    try {
        writeIniValues(job_.IniFilePath, entries);
    } catch (const std::exception& e) {
        prompter_.message(e.what());
    }
}

}  // namespace kal
