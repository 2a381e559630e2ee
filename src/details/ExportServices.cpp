#include "details/ExportServices.h"

#include <exception>

#include "shared/AtomicFile.h"

namespace kal {

std::optional<std::string> tryWriteExportFile(const std::string& path, const std::string& bytes) {
    try {
        writeFileAtomically(path, bytes);
        return std::nullopt;
    } catch (const std::exception& e) {
        return std::string(e.what());
    }
}

void showWriteFailure(const std::string& why, platform::Prompter* prompter) {
    if (prompter)
        prompter->message("The file could not be written; nothing was changed.\n" + why,
                          platform::Buttons::Ok, {}, platform::Icon::Critical);
}

bool writeExportFile(const std::string& path, const std::string& bytes, platform::Prompter* prompter) {
    const std::optional<std::string> why = tryWriteExportFile(path, bytes);
    if (why) showWriteFailure(*why, prompter);
    return !why;
}

bool askReplaceExisting(const std::string& path, platform::Prompter* prompter) {
    if (!prompter) return false;
    return prompter->message("File " + path + " is existing.\nWill you replace it?",
                             platform::Buttons::YesNo) == platform::Answer::Yes;
}

}  // namespace kal
