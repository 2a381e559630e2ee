#pragma once
// What start-up and shut-down need of the job commands: opening the job named on the command
// line, and saving a changed job on the way out. The job commands implement it; until they are
// wired in, a stand-in says that it cannot do either.
#include <string>

#include "platform/Prompter.h"

namespace kal {

class JobFileCommands {
  public:
    virtual ~JobFileCommands() = default;
    // Opens the job file (OpenFile); reports its own failures (a missing file among them).
    virtual void openJobFile(const std::string& path) = 0;
    // Saves the job to its file, or asks for a name while it is untitled. True when the job was
    // written; false when the user cancelled or the save failed (having said why).
    virtual bool saveJob() = 0;
};

// The stand-in: it opens and saves nothing and says so.
class JobFileCommandsUnavailable : public JobFileCommands {
  public:
    explicit JobFileCommandsUnavailable(platform::Prompter& prompter) : prompter_(prompter) {}
    void openJobFile(const std::string& path) override {
        prompter_.message("Job files cannot be opened in this build:\r\n" + path, platform::Buttons::Ok, {},
                          platform::Icon::Exclamation);
    }
    bool saveJob() override {
        prompter_.message("Jobs cannot be saved in this build.", platform::Buttons::Ok, {},
                          platform::Icon::Exclamation);
        return false;
    }

  private:
    platform::Prompter& prompter_;
};

}  // namespace kal
