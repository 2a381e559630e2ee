#include "app/ViewRecordWindows.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QSignalBlocker>
#include <QToolButton>

#include "app/ScreenWindows.h"
#include "shared/IniFile.h"
#include "shared/ui/WindowPosQt.h"
#include "shell/ui/WindowPositions.h"
#include "shell/ui/WorkAreaKeeper.h"
#include "view3d/RedrawLabels.h"
#include "view3d/SavedViews.h"
#include "view3d/ViewHistory.h"
#include "view3d/ui/FormSaveView.h"

namespace kal {

namespace {
constexpr const char* kOptionsWindowName = "FormGraphicsOptions";

// The frame around a graphics window: its MDI sub-window when it has one.
QWidget* outerWindow(FormScreen& form) { return form.parentWidget() ? form.parentWidget() : &form; }

double pixelsToTwips(const QWidget* window, int pixels) {
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInch() : 96.0;
    return pixels * 1440.0 / dpi;
}
}  // namespace

// One graphics window's undo ring and the window-side hooks its history runs through.
struct ViewRecordWindows::ScreenHistory : ViewRecordHost {
    ViewRecordWindows& owner;
    FormScreen& form;
    UndoRing ring;

    ScreenHistory(ViewRecordWindows& o, FormScreen& f) : owner(o), form(f) {}

    ViewHistoryHooks hooks() {
        ViewHistoryHooks h;
        h.outerSize = [this] {
            QWidget* outer = outerWindow(form);
            return WindowSizeTwips{pixelsToTwips(outer, outer->width()),
                                   pixelsToTwips(outer, outer->height())};
        };
        h.resizeWindow = [this](WindowSizeTwips size) {
            QWidget* outer = outerWindow(form);
            const QSize wanted(twipsOnScreen(outer, size.width), twipsOnScreen(outer, size.height));
            // A view saved while its window was collapsed to a strip does not collapse the
            // window it is shown in: such a size is not taken, as on any restore.
            const QSize least = usableMinimumSize(outer);
            if (wanted.width() < least.width() || wanted.height() < least.height()) return;
            // The view that comes with the size was made for it: it does not follow the resize.
            form.resizeHoldingView([&] {
                if (outer->isMaximized() || outer->isMinimized()) outer->showNormal();
                outer->resize(wanted);
            });
            // A size saved on a larger screen is not taken past the work area: the window stays
            // wholly inside it, as every other window does, and where that shrinks it the view
            // follows as in any resize.
            auto* sub = qobject_cast<QMdiSubWindow*>(outer);
            if (sub && sub->mdiArea()) WorkAreaKeeper::keepInside(*sub->mdiArea(), *sub);
        };
        h.redraw = [this] { form.redraw(); };
        h.removeFlags = [this] {
            if (owner.removeFlags_) owner.removeFlags_(form);
        };
        h.rebuildFlags = [this](FlagSource source, std::int32_t pointer) {
            if (owner.rebuildFlags_) owner.rebuildFlags_(form, source, pointer);
        };
        h.refreshMainWindow = [this] { owner.main_.refreshControls(); };
        h.showControls = [this](const UndoControls& c) { owner.showUndoControls(c); };
        h.tell = [this](const std::string& text) { owner.prompter_.message(text); };
        colourHooks(h);
        return h;
    }
    void colourHooks(ViewHistoryHooks& h) {
        h.fillColourBarDialog = [this](bool onlyWhenShown) {
            if (owner.fillColourBarDialog_) owner.fillColourBarDialog_(onlyWhenShown);
        };
        h.applyColourSettings = [this] {
            if (owner.applyColourSettings_) owner.applyColourSettings_();
        };
    }
    void store() {
        storeView(ring, form.model().view, owner.job_, hooks());
        owner.job_.DefaultViewPointsStamp = form.model().pointsStamp;
    }

    const UndoRing& undoRing() const override { return ring; }
    void showPreviousView() override { kal::showPreviousView(ring, form.model().view, hooks()); }
    void showNextView() override { kal::showNextView(ring, form.model().view, hooks()); }
    void showSavedView(std::int32_t toGet) override {
        kal::showSavedView(owner.job_, toGet, ring, form.model().view, form.model().cloud.count(), hooks());
        owner.job_.DefaultViewPointsStamp = form.model().pointsStamp;
    }
};

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
    connections_.push_back(QObject::connect(main_.comboSaveView(), &QComboBox::activated,
                                            main_.comboSaveView(),
                                            [this](int index) { showChosenView(index); }));
    // An opened or new job brings its own saved views.
    jobReset_ = events_.subscribe(JobEvent::JobReset, Subscriber::Other, [this] { showSavedViewNames(); });
    showSavedViewNames();
}

ViewRecordWindows::~ViewRecordWindows() {
    for (const auto& c : connections_) QObject::disconnect(c);
    if (options_) delete options_.data();
}

ViewRecordHost* ViewRecordWindows::defaultHost() {
    if (screens_) {
        FormScreen* form = screens_->defaultWindow();
        return form ? &historyOf(*form) : nullptr;
    }
    return dynamic_cast<ViewRecordHost*>(main_.findDefaultWindow());
}

void ViewRecordWindows::attachScreens(ScreenWindows& screens) {
    screens_ = &screens;
    screens.setStoreView([this](FormScreen& form) { historyOf(form).store(); });
    screens.scene().stages.nameLabel = [](RedrawContext& ctx, const std::string& name, float x, float y) {
        placeRedrawLabel(ctx, name, x, y);
    };
    if (!rebuild_) rebuild_ = [this] { rebuildScreens(); };
    if (!labelCount_) labelCount_ = [this] { return labelsOfDefaultScreen(); };
    // After the graphics windows have made the activated window the default one.
    connections_.push_back(QObject::connect(main_.mdiArea(), &QMdiArea::subWindowActivated, main_.mdiArea(),
                                            [this](QMdiSubWindow*) {
                                                if (!screens_ || !screens_->defaultWindow()) return;
                                                applyLabelFont(*screens_->defaultWindow());
                                                refreshUndoControls();
                                            }));
}

ViewRecordWindows::ScreenHistory& ViewRecordWindows::historyOf(FormScreen& form) {
    auto& entry = histories_[&form];
    if (!entry) {
        entry = std::make_unique<ScreenHistory>(*this, form);
        applyLabelFont(form);
        // The ring lives as long as its window.
        QObject::connect(&form, &FormScreen::closing, &form,
                         [this](FormScreen* closing) { histories_.erase(closing); });
    }
    return *entry;
}

const UndoRing* ViewRecordWindows::undoRingOf(FormScreen* form) const {
    const auto it = histories_.find(form);
    return it == histories_.end() ? nullptr : &it->second->ring;
}

void ViewRecordWindows::rebuildScreens() {
    if (!screens_) return;
    for (FormScreen* form : screens_->windows()) {
        try {
            buildScreenCloud(form->model(), job_, screens_->scene(), screens_->session());
        } catch (const std::exception& e) {
            prompter_.message(e.what());
        }
        form->redraw();
    }
}

std::int32_t ViewRecordWindows::labelsOfDefaultScreen() {
    FormScreen* form = screens_ ? screens_->defaultWindow() : nullptr;
    if (!form) return 0;
    std::int32_t labels = 0;
    for (const Primitive& item : form->model().display.items)
        if (std::holds_alternative<TextLabel>(item)) ++labels;
    return labels;
}

void ViewRecordWindows::setLabelFont(const platform::TextFont& font) {
    labelFont_ = font;
    if (!screens_) return;
    for (FormScreen* form : screens_->windows()) {
        applyLabelFont(*form);
        form->redraw();
    }
}

void ViewRecordWindows::applyLabelFont(FormScreen& form) const {
    if (labelFont_.name.empty() && labelFont_.size < 1) return;  // the window's own font
    QFont font = form.surface()->font();
    if (!labelFont_.name.empty()) font.setFamily(QString::fromStdString(labelFont_.name));
    if (labelFont_.size >= 1) font.setPointSizeF(labelFont_.size);
    font.setBold(labelFont_.bold);
    font.setItalic(labelFont_.italic);
    form.surface()->setFont(font);
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
    fonts.setFont = [this](const platform::TextFont& font) { setLabelFont(font); };
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
