#include "app/NetworkWindows.h"

#include <QStyle>

namespace kal {

NetworkWindows::NetworkWindows(JobState& job, JobEvents& events, FormMain& main, platform::Prompter& prompter,
                               InputWindows* input, CalculationWindows* calculation,
                               std::function<bool()> settingsWritable)
    : job_(job),
      events_(events),
      main_(main),
      prompter_(prompter),
      input_(input),
      calculation_(calculation),
      settingsWritable_(std::move(settingsWritable)) {
    main_.connectCommand(Command::NetworkAdjustmentMenu, [this] { open(); });
}

NetworkWindows::~NetworkWindows() {
    if (sub_) delete sub_.data();
}

FormBuendel& NetworkWindows::open() {
    if (form_) {
        main_.mdiArea()->setActiveSubWindow(sub_);
        return *form_;
    }
    NetworkWindowServices services;
    services.runServices = [this] { return runServices(); };
    services.running = [this](bool running) { runRunning(running); };
    form_ = new FormBuendel(job_, std::move(services));
    sub_ = main_.mdiArea()->addSubWindow(form_);
    sub_->setAttribute(Qt::WA_DeleteOnClose);
    const int border = sub_->style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, sub_);
    const int title = sub_->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, sub_);
    sub_->resize(form_->width() + 2 * border, form_->height() + title + border);
    // No stored position: the window opens where the main window puts a new child.
    QObject::connect(form_, &FormBuendel::closed, form_, [this, sub = sub_] {
        form_ = nullptr;
        sub_ = nullptr;
        if (sub) sub->close();
    });
    sub_->show();
    return *form_;
}

NetworkServices NetworkWindows::runServices() {
    NetworkServices s;
    s.prompter = &prompter_;
    s.events = &eventPump_;
    s.clipboard = &clipboard_;
    s.progress = &main_.progressWindow();
    s.dataFolder = job_.AppDataFolder;
    s.load = mainWindowLoadServices(job_, events_, main_, prompter_, eventPump_, settingsWritable_);
    return s;
}

void NetworkWindows::runRunning(bool running) {
    lock_.setRunning(main_, calculation_, running);
    if (input_ && input_->window()) input_->window()->setJobBusy(running);
}

}  // namespace kal
