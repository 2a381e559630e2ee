#include <gtest/gtest.h>

#include <sstream>

#include "shell/CommandLine.h"

namespace kal {
namespace {

using Action = CommandLine::Action;

TEST(CommandLine, OptionsAnswerRefuseOrLeaveTheJobFile) {
    struct Case {
        std::vector<std::string> args;
        Action action;
        std::vector<std::string> operands;
        std::string error;
    };
    const Case cases[] = {
        {{}, Action::Run, {}, ""},
        {{"examples/demo-job.tfo"}, Action::Run, {"examples/demo-job.tfo"}, ""},
        {{"\"/home/u/My Jobs/a.tfo\""}, Action::Run, {"\"/home/u/My Jobs/a.tfo\""}, ""},
        {{"--help"}, Action::ShowHelp, {}, ""},
        {{"a.tfo", "--help"}, Action::ShowHelp, {}, ""},  // options may follow the job file
        {{"--version"}, Action::ShowVersion, {}, ""},
        {{"--version", "--help"}, Action::ShowHelp, {}, ""},
        {{"--bogus", "--help"}, Action::ShowHelp, {}, ""},
        {{"--bogus"}, Action::Refuse, {}, "unknown option '--bogus'"},
        {{"-h"}, Action::Refuse, {}, "unknown option '-h'"},
        {{"-"}, Action::Refuse, {}, "unknown option '-'"},
        {{"-platform", "offscreen"}, Action::Refuse, {}, "unknown option '-platform'"},
        {{"a.tfo", "-x", "-y"}, Action::Refuse, {}, "unknown option '-x'"},
        {{"--help=yes"}, Action::Refuse, {}, "unknown option '--help=yes'"},
        {{"--", "-odd.tfo"}, Action::Run, {"-odd.tfo"}, ""},
        {{"--", "--help"}, Action::Run, {"--help"}, ""},  // after "--" nothing is an option
        {{"--", "--"}, Action::Run, {"--"}, ""},
        {{"", "b.tfo"}, Action::Run, {"", "b.tfo"}, ""},
    };
    for (const Case& c : cases) {
        std::string shown;
        for (const auto& a : c.args) shown += "[" + a + "]";
        SCOPED_TRACE(shown);
        const CommandLine line = parseCommandLine(c.args);
        EXPECT_EQ(line.action, c.action);
        EXPECT_EQ(line.operands, c.operands);
        EXPECT_EQ(line.error, c.error);
    }
}

TEST(CommandLine, HelpAndVersionGoToStandardOutputARefusalToStandardErrorWithStatusTwo) {
    struct Case {
        std::vector<std::string> args;
        std::optional<int> status;
        std::string outStart, errStart;
    };
    const Case cases[] = {
        {{"--help"}, 0, "Usage: kalvoreth ", ""},
        {{"--version"}, 0, "Kalvoreth 2.", ""},
        {{"--nope"}, 2, "", "kalvoreth: unknown option '--nope'\n"},
        {{"job.tfo"}, std::nullopt, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.front());
        std::ostringstream out, err;
        EXPECT_EQ(answerCommandLine(parseCommandLine(c.args), out, err), c.status);
        EXPECT_EQ(out.str().substr(0, c.outStart.size()), c.outStart);
        EXPECT_EQ(err.str().substr(0, c.errStart.size()), c.errStart);
        EXPECT_EQ(out.str().empty(), c.outStart.empty());
        EXPECT_EQ(err.str().empty(), c.errStart.empty());
    }
    EXPECT_NE(commandLineUsage().find("--version"), std::string::npos);
}

}  // namespace
}  // namespace kal
