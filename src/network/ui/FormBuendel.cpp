#include "network/ui/FormBuendel.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>

#include "shared/ui/NumberBox.h"

namespace kal {

namespace {

// The design's twips at 96 dots per inch.
int px(int twips) { return twips / 15; }

void place(QWidget* w, int left, int top, int width, int height) {
    w->setGeometry(px(left), px(top), px(width), px(height));
}

QPlainTextEdit* textBox(QWidget* parent, const char* name, bool horizontalBar) {
    auto* box = new QPlainTextEdit(parent);
    box->setObjectName(name);
    box->setLineWrapMode(horizontalBar ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setHorizontalScrollBarPolicy(horizontalBar ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    return box;
}

// The boxes show CR LF line ends as single line breaks.
QString shown(const std::string& text) {
    QString s = QString::fromStdString(text);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return s;
}

}  // namespace

FormBuendel::FormBuendel(JobState& job, NetworkWindowServices services, QWidget* parent)
    : QWidget(parent), job_(job), services_(std::move(services)) {
    setObjectName("FormBuendel");
    setWindowTitle(QStringLiteral("B\u00fcndel "));
    setFixedSize(px(16020), px(8520));

    settingsFrame_ = new QGroupBox(QStringLiteral("Settings"), this);
    settingsFrame_->setObjectName("FrameSettings");
    place(settingsFrame_, 240, 120, 3615, 855);
    auto* use = new QLabel(QStringLiteral("use"), settingsFrame_);
    use->setObjectName("Label1");
    place(use, 120, 360, 495, 375);
    reduce_ = new NumberBox(settingsFrame_);
    reduce_->setText(QStringLiteral("100"));
    reduce_->setObjectName("TextReduce");
    reduce_->setToolTip(
        QStringLiteral("This reduces the calculation time, e. g. for a first raw calculation"));
    place(reduce_, 480, 280, 975, 375);
    auto* ofPoints = new QLabel(QStringLiteral("% of the original Points"), settingsFrame_);
    ofPoints->setObjectName("Label2");
    place(ofPoints, 1560, 360, 1695, 375);
    // The sentence stays whole where the system's font is wider than the design's.
    if (ofPoints->sizeHint().width() > ofPoints->width()) {
        ofPoints->resize(ofPoints->sizeHint().width(), ofPoints->height());
        settingsFrame_->resize(ofPoints->geometry().right() + px(120), settingsFrame_->height());
    }

    fixedDatum_ = new QPushButton(QStringLiteral("Command1"), this);
    fixedDatum_->setObjectName("Command1");
    fixedDatum_->setToolTip(
        QStringLiteral("fixed datum: station 1 x, y, z, station 2 x, y and station 3 x held"));
    place(fixedDatum_, 7440, 360, 1695, 495);
    calculate_ = new QPushButton(QStringLiteral("&Calculate"), this);
    calculate_->setObjectName("BtnCalculate");
    place(calculate_, 14520, 360, 1215, 375);
    stop_ = new QPushButton(QStringLiteral("&S T O P"), this);
    stop_->setObjectName("CommandSTOP");
    place(stop_, 14520, 840, 1215, 375);

    auto* running = new QGroupBox(QStringLiteral("Running Calculation ..."), this);
    running->setObjectName("Frame1");
    place(running, 240, 1440, 10215, 6855);
    run_ = textBox(running, "TextRUN", false);
    place(run_, 240, 360, 9735, 3375);
    whatDo_ = textBox(running, "TextWhatDO", true);
    place(whatDo_, 240, 3960, 9615, 2685);
    auto* resultsFrame = new QGroupBox(QStringLiteral("Results"), this);
    resultsFrame->setObjectName("FrameResults");
    place(resultsFrame, 10680, 1440, 5055, 6855);
    results_ = textBox(resultsFrame, "TextResults", true);
    place(results_, 240, 360, 4575, 6255);

    setTabOrder(reduce_, calculate_);
    setTabOrder(calculate_, run_);
    setTabOrder(run_, stop_);
    setTabOrder(stop_, whatDo_);
    setTabOrder(whatDo_, results_);
    setTabOrder(results_, fixedDatum_);

    connect(calculate_, &QPushButton::clicked, this, [this] { calculate(); });
    connect(stop_, &QPushButton::clicked, this, [this] { stop(); });
    connect(fixedDatum_, &QPushButton::clicked, this, [this] { runFixedDatum(); });
}

NetworkRunOutcome FormBuendel::calculate() { return runGuarded(false); }

NetworkRunOutcome FormBuendel::runFixedDatum() { return runGuarded(true); }

void FormBuendel::stop() {
    job_.StopFlag = true;
    QCoreApplication::processEvents();
}

NetworkRunOutcome FormBuendel::runGuarded(bool variant) {
    if (running_ || !services_.runServices) return {};
    NetworkServices services = services_.runServices();
    services.view = this;
    const std::string percent = reduce_->text().toStdString();
    setRunning(true);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    NetworkRunOutcome outcome;
    try {
        outcome = variant ? runFixedDatumVariant(job_, percent, services)
                          : calculateNetwork(job_, percent, services);
    } catch (const std::exception& e) {
        if (services.prompter)
            services.prompter->message(std::string("The network adjustment failed.\n") + e.what());
    }
    QApplication::restoreOverrideCursor();
    setRunning(false);
    if (closeAfterRun_) close();
    return outcome;
}

void FormBuendel::setRunning(bool running) {
    running_ = running;
    calculate_->setEnabled(!running);
    fixedDatum_->setEnabled(!running);
    reduce_->setEnabled(!running);
    stop_->setEnabled(true);
    if (services_.running) services_.running(running);
}

void FormBuendel::step(const std::string& line) {
    whatDoText_.prepend(QString::fromStdString(line) + QLatin1Char('\n'));
    whatDo_->setPlainText(whatDoText_);
    whatDo_->repaint();
}

void FormBuendel::summary(const std::string& line) {
    runText_.prepend(shown(line) + QLatin1Char('\n'));
    run_->setPlainText(runText_);
    run_->repaint();
}

void FormBuendel::clearSummary() {
    runText_.clear();
    run_->clear();
}

void FormBuendel::showResults(const std::string& text) {
    results_->setPlainText(shown(text));
    results_->repaint();
}

void FormBuendel::closeEvent(QCloseEvent* event) {
    if (running_) {
        // Closing during a run is STOP; the window goes once the run has ended.
        job_.StopFlag = true;
        closeAfterRun_ = true;
        event->ignore();
        return;
    }
    emit closed();
    QWidget::closeEvent(event);
}

}  // namespace kal
