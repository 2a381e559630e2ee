#include "input/ClipboardPointFiles.h"

#include <filesystem>
#include <system_error>

#include "shared/AtomicFile.h"
#include "shared/Errors.h"

namespace kal {

const char* clipboardFileName(ClipboardPointFile which) {
    switch (which) {
        case ClipboardPointFile::Mcs:
            return "mcs.txt";
        case ClipboardPointFile::Ocs:
            return "ocs.txt";
        case ClipboardPointFile::MoreMcs:
            return "MoreMcs.txt";
    }
    return "mcs.txt";
}

std::string writeClipboardPointFile(const platform::Clipboard& clipboard, const std::string& dataFolder,
                                    ClipboardPointFile which) {
    std::error_code ec;
    std::filesystem::create_directories(dataFolder, ec);
    if (ec) throw FileError(dataFolder, 0, "The folder cannot be created: " + ec.message());
    const bool endsInSeparator =
        !dataFolder.empty() && (dataFolder.back() == '/' || dataFolder.back() == '\\');
    const std::string path = dataFolder + (endsInSeparator ? "" : "/") + clipboardFileName(which);
    writeFileAtomically(path, clipboard.text() + "\r\n");
    return path;
}

}  // namespace kal
