#include "input/InputFilesDialog.h"

#include <charconv>

#include "shared/FileHelpers.h"

namespace kal {

namespace {

bool onlyDigits(const std::string& text) {
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

// Digits that fit a 32-bit count (the search's limit); "" fits.
bool fitsLimit(const std::string& text) {
    if (text.empty()) return true;
    std::int32_t n = 0;
    const char* end = text.data() + text.size();
    const auto r = std::from_chars(text.data(), end, n);
    return r.ec == std::errc() && r.ptr == end;
}

// Runs the hooks' end on every way out of a load.
class RunningLoad {
  public:
    RunningLoad(InputFilesState& state, const InputFilesDialog::LoadHooks& hooks)
        : state_(state), hooks_(hooks) {
        state_.loadRunning = true;
        if (hooks_.loadRunning) hooks_.loadRunning(true);
    }
    ~RunningLoad() {
        state_.loadRunning = false;
        try {
            if (hooks_.loadRunning) hooks_.loadRunning(false);
        } catch (...) {
            // The load's own outcome or exception is what the caller must hear.
        }
    }
    RunningLoad(const RunningLoad&) = delete;
    RunningLoad& operator=(const RunningLoad&) = delete;

  private:
    InputFilesState& state_;
    const InputFilesDialog::LoadHooks& hooks_;
};

}  // namespace

InputFilesWidths inputFilesWidths(double windowTwips) {
    double w = windowTwips;
    if (w < 350) w = 500;
    if (w < 650) w = 800;
    return {w, w - 450, w - 600};
}

void InputFilesDialog::open(const JobState& job) {
    // A fresh window: the design's texts and ticks, then the job's values.
    const bool busy = state_.jobBusy;
    state_ = InputFilesState();
    state_.jobBusy = busy;
    state_.maxOcsText = input_files_text::kMaxOcsDefault;
    // The box opens showing the default limit, so that is the text a stray key falls back to;
    // an empty box would let the distance search run over every OCS point.
    lastAcceptedMaxOcs_ = input_files_text::kMaxOcsDefault;
    networkFile_.clear();

    state_.method = PointMatchMethod::ByName;
    state_.affixIsPrefix = true;
    state_.moreMcsEnabled = job.DataLoaded;
    // A job names its point files as they were picked; a relative name is meant from the job's
    // own folder, not from wherever the program was started.
    state_.mcsPath = pathBesideJobFile(job.MCS_FileName, job.CurrentJobFile);
    state_.ocsPath = pathBesideJobFile(job.OCS_FileName, job.CurrentJobFile);
    state_.nameMcs = job.NameMCS.empty() ? "MCS" : job.NameMCS;
    state_.nameOcs = job.NameOCS.empty() ? "OCS" : job.NameOCS;
    selectFormat(job.OcsFormatIndex);
    applyEnablingRules();
}

void InputFilesDialog::setPath(PathBox box, std::string text) {
    switch (box) {
        case PathBox::Mcs:
            state_.mcsPath = std::move(text);
            break;
        case PathBox::Ocs:
            state_.ocsPath = std::move(text);
            break;
        case PathBox::MoreMcs:
            state_.moreMcsPath = std::move(text);
            break;
    }
}

const std::string& InputFilesDialog::path(PathBox box) const {
    switch (box) {
        case PathBox::Mcs:
            return state_.mcsPath;
        case PathBox::Ocs:
            return state_.ocsPath;
        case PathBox::MoreMcs:
            break;
    }
    return state_.moreMcsPath;
}

void InputFilesDialog::selectFormat(int index) {
    if (index < kOcsAscii || index > kOcsParaboloid) index = kOcsAscii;
    state_.format = static_cast<OcsFormat>(index);
}

void InputFilesDialog::chooseMethod(PointMatchMethod method) {
    state_.method = method;
    applyEnablingRules();
}

void InputFilesDialog::setUseOnlyFirst(bool ticked) {
    state_.useOnlyFirst = ticked;
    applyEnablingRules();
}

void InputFilesDialog::setRenameMcs(bool ticked) {
    state_.renameMcs = ticked;
    if (ticked) state_.renameOcs = false;
}

void InputFilesDialog::setRenameOcs(bool ticked) {
    state_.renameOcs = ticked;
    if (ticked) state_.renameMcs = false;
}

const std::string& InputFilesDialog::editMaxOcsText(const std::string& text) {
    state_.maxOcsText = onlyDigits(text) && fitsLimit(text) ? text : lastAcceptedMaxOcs_;
    lastAcceptedMaxOcs_ = state_.maxOcsText;
    return state_.maxOcsText;
}

void InputFilesDialog::applyEnablingRules() {
    const bool distances = state_.method == PointMatchMethod::ByDistances;
    state_.useOnlyFirstEnabled = distances;
    state_.limitEnabled = distances && state_.useOnlyFirst;
    // Disabling keeps the ticks: they act only in the coordinate matching anyway.
    state_.renameEnabled = state_.method == PointMatchMethod::ByCoordinates;
}

bool InputFilesDialog::browse(PathBox box, const JobState& job, platform::FileDialogs& dialogs) {
    const std::string& folder = box == PathBox::Ocs ? job.LastOCSRoot : job.LastMCSRoot;
    const auto chosen = dialogs.openFile("", "All Files (*)", folder);
    if (!chosen || chosen->empty()) return false;
    setPath(box, *chosen);
    return true;
}

bool InputFilesDialog::browseNetworkFile(platform::FileDialogs& dialogs) {
    const auto chosen = dialogs.openFile("", "All Files (*)", "");
    if (!chosen || chosen->empty()) return false;
    networkFile_ = *chosen;
    return true;
}

std::string InputFilesDialog::exploreTarget(PathBox box) const { return folderOfPath(path(box)); }

PointLoadRequest InputFilesDialog::request() const {
    PointLoadRequest r;
    r.mcsFile = state_.mcsPath;
    r.ocsFile = state_.ocsPath;
    r.nameMcs = state_.nameMcs;
    r.nameOcs = state_.nameOcs;
    r.ocsFormat = state_.format;
    r.method = state_.method;
    if (state_.method == PointMatchMethod::ByDistances)
        r.ocsLimit = ocsLimitFromControls(state_.useOnlyFirst, state_.maxOcsText);
    // The rename boxes act in the coordinate matching only, whatever ticks they keep.
    if (state_.method == PointMatchMethod::ByCoordinates)
        r.renameMcs = state_.renameMcs, r.renameOcs = state_.renameOcs;
    r.networkFile = networkFile_;
    return r;
}

std::optional<PointLoadOutcome> InputFilesDialog::load(JobState& job, const PointLoadServices& services,
                                                       const LoadHooks& hooks) {
    if (state_.loadRunning || state_.jobBusy) return std::nullopt;
    const PointLoadRequest r = request();
    RunningLoad running(state_, hooks);
    PointLoadOutcome outcome = loadPoints(job, r, services);
    // The network file is read once: the next load reads points again.
    if (outcome.status == PointLoadStatus::NetworkLoaded) networkFile_.clear();
    return outcome;
}

}  // namespace kal
