#pragma once
// The program's command line: `--help` and `--version` answer and end the program before any
// window exists (so they work without a display); every other argument that starts with "-" is
// refused, since a job file named on the command line never starts with one; after "--" every
// argument is a job file name, so "-- -odd.tfo" opens the job "-odd.tfo".
//
// The toolkit is given no argument at all: its settings come from its environment variables
// (QT_QPA_PLATFORM, QT_STYLE_OVERRIDE, ...), and a job name such as "-style" is never taken for one.
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace kal {

struct CommandLine {
    enum class Action { Run, ShowHelp, ShowVersion, Refuse };
    Action action = Action::Run;
    // The arguments that are not options, in their order (the job file first); for Run.
    std::vector<std::string> operands;
    // For Refuse: what is wrong, for the standard error stream.
    std::string error;
    bool operator==(const CommandLine&) const = default;
};

// `arguments` excludes the program's own name. --help wins over --version, both over a refusal
// of a later option; an unknown option is refused even after a job file name.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);

// The text --help prints (ends with a line end).
std::string commandLineUsage();

// What the command line asks before the program starts: prints the help or the version to `out`,
// or the refusal and a hint to `err`, and gives the exit status (0 for help and version, 2 for a
// refusal); nothing for Run, when the program starts.
std::optional<int> answerCommandLine(const CommandLine& line, std::ostream& out, std::ostream& err);

}  // namespace kal
