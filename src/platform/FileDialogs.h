#pragma once
// The open and save dialogs for files. Filters are in the form "Description (*.ext);;All (*)".
// The windows' implementation shows Qt's dialogs; tests answer through a scripted fake.
#include <optional>
#include <string>

namespace kal::platform {

class FileDialogs {
  public:
    virtual ~FileDialogs() = default;

    // Asks for an existing file, starting in `folder`. nullopt when cancelled.
    virtual std::optional<std::string> openFile(const std::string& title, const std::string& filter,
                                                const std::string& folder) = 0;

    // Asks for a file name to write, starting in `folder`; asks before an existing file is
    // overwritten and adds `defaultSuffix` (without dot) to a name that has none. nullopt when
    // cancelled.
    virtual std::optional<std::string> saveFile(const std::string& title, const std::string& filter,
                                                const std::string& folder,
                                                const std::string& defaultSuffix) = 0;
};

}  // namespace kal::platform
