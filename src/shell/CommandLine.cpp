#include "shell/CommandLine.h"

#include <ostream>

#include "shared/Version.h"

namespace kal {

CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine line;
    bool help = false, version = false, optionsEnded = false;
    std::optional<std::string> refused;
    for (const std::string& arg : arguments) {
        if (optionsEnded || arg.empty() || arg[0] != '-') {
            line.operands.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help") {
            help = true;
        } else if (arg == "--version") {
            version = true;
        } else if (!refused) {
            refused = arg;
        }
    }
    if (help) return {CommandLine::Action::ShowHelp, {}, {}};
    if (version) return {CommandLine::Action::ShowVersion, {}, {}};
    if (refused) return {CommandLine::Action::Refuse, {}, "unknown option '" + *refused + "'"};
    return line;
}

std::string commandLineUsage() {
    return "Usage: kalvoreth [--help | --version] [--] [JOB_FILE]\n"
           "Best-fit transformation between measured and nominal 3D point sets.\n"
           "Starts with the job file JOB_FILE (*.tfo) opened, or with an empty job.\n"
           "\n"
           "  --help     show this help and exit\n"
           "  --version  show the version and exit\n"
           "  --         end of the options: the next argument is the job file even\n"
           "             when its name starts with \"-\"\n";
}

std::optional<int> answerCommandLine(const CommandLine& line, std::ostream& out, std::ostream& err) {
    switch (line.action) {
        case CommandLine::Action::Run:
            return std::nullopt;
        case CommandLine::Action::ShowHelp:
            out << commandLineUsage();
            return 0;
        case CommandLine::Action::ShowVersion:
            out << "Kalvoreth " << versionText() << '\n';
            return 0;
        case CommandLine::Action::Refuse:
            err << "kalvoreth: " << line.error << "\nTry 'kalvoreth --help' for more information.\n";
            return 2;
    }
    return 2;
}

}  // namespace kal
