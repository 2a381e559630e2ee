#pragma once
// The input dialog's "..from Clipboard" buttons: the clipboard's text becomes a point file in the
// program's data folder, and its path goes into the dialog's box. Nothing is read or checked here;
// the file is read like any point file when the points are loaded or imported.
#include <string>

#include "platform/Clipboard.h"

namespace kal {

// Which box the button fills, and so which file it writes.
enum class ClipboardPointFile {
    Mcs,      // BtnMCSfromClip: "mcs.txt", into TextNameMCS
    Ocs,      // BtnOCSfromClip: "ocs.txt", into TextNameOCS
    MoreMcs,  // BtnMoreMCSClip: "MoreMcs.txt", into TextNameMoreMCS
};

// The file's name in the data folder.
const char* clipboardFileName(ClipboardPointFile which);

// Creates `dataFolder` when it is missing and writes the clipboard's text, as it is, followed by
// CR LF, to the file of `which` in it (an empty clipboard gives a file of one CR LF). Returns the
// file's path, the text for the box. Throws FileError when the folder or file cannot be made.
std::string writeClipboardPointFile(const platform::Clipboard& clipboard, const std::string& dataFolder,
                                    ClipboardPointFile which);

}  // namespace kal
