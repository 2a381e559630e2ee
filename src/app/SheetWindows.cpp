#include "app/SheetWindows.h"

#include <QMenu>

namespace kal {

namespace {
constexpr const char* kWindowName = "FormMainSheet";
}

SheetWindows::SheetWindows(JobState& job, JobEvents& events, FormMain& main, platform::Prompter& prompter,
                           std::function<bool()> settingsWritable)
    : job_(job),
      events_(events),
      main_(main),
      prompter_(prompter),
      settingsWritable_(std::move(settingsWritable)) {
    main_.connectCommand(Command::MainSheet, [this] { switchWindow(); });
    // New points and an opened job are shown at once; results and units refresh an open sheet.
    subscriptions_.push_back(events_.subscribe(
        {JobEvent::JobReset, JobEvent::PointsReplaced}, Subscriber::MainSheet, [this](JobEvent e) {
            const bool hasPoints = job_.IdenticalCount + job_.McsOnlyCount + job_.OcsOnlyCount > 0;
            // A new, empty job has nothing to show.
            if (e == JobEvent::JobReset && !hasPoints) return;
            fill();
        }));
    subscriptions_.push_back(events_.subscribe({JobEvent::ResultsChanged, JobEvent::UnitsChanged},
                                               Subscriber::MainSheet, [this](JobEvent) {
                                                   if (form_) fill();
                                               }));
}

SheetWindows::~SheetWindows() {
    subscriptions_.clear();
    if (sub_) delete sub_.data();
}

void SheetWindows::switchWindow() {
    if (form_)
        close();
    else
        fill();
    showOpenState();
}

void SheetWindows::fill() {
    ensureOpen().fill();
    showOpenState();
}

void SheetWindows::showOpenState() {
    if (QAction* a = main_.action(Command::MainSheet)) a->setChecked(form_ != nullptr);
}

FormMainSheet& SheetWindows::ensureOpen() {
    if (form_) return *form_;
    const platform::Services services{&prompter_, &clipboard_, nullptr, nullptr, nullptr};
    form_ = new FormMainSheet(job_, services);
    sub_ = main_.mdiArea()->addSubWindow(form_);
    sub_->setAttribute(Qt::WA_DeleteOnClose);
    sub_->setWindowTitle(form_->windowTitle());
    sub_->resize(form_->size());
    main_.windowPositions().restore(sub_, kWindowName);

    QObject::connect(form_, &FormMainSheet::closed, form_, [this, sub = sub_] {
        main_.windowPositions().store(sub, kWindowName);
        const std::vector<IniEntry> widths = form_->columnWidthEntries();
        if (!widths.empty() && !job_.IniFilePath.empty() && (!settingsWritable_ || settingsWritable_())) {
            try {
                writeIniValues(job_.IniFilePath, widths);
            } catch (const std::exception& e) {
                prompter_.message(e.what());
            }
        }
        form_ = nullptr;
        sub_ = nullptr;
        showOpenState();
    });
    QObject::connect(form_, &FormMainSheet::rowLeftShown, form_,
                     [this](const QString& text) { main_.setStatusPanel(3, text); });
    // The graphics windows mark the point of the current row.
    QObject::connect(form_, &FormMainSheet::currentPointChanged, form_, [this](const QString& name) {
        if (pointSelected_) pointSelected_(name.toStdString());
        main_.redrawGraphicsWindows();
    });
    QObject::connect(form_, &FormMainSheet::contextMenuRequested, form_, [this](const QPoint& at) {
        if (QAction* edit = main_.action(Command::EditMenu); edit && edit->menu()) edit->menu()->popup(at);
    });
    sub_->show();
    showOpenState();
    return *form_;
}

std::optional<int> SheetWindows::goToPoint(const std::string& name) {
    if (!form_) return std::nullopt;
    return form_->goToPoint(name);
}

void SheetWindows::close() {
    if (sub_) sub_->close();
}

}  // namespace kal
