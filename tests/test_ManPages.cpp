// The manual pages trovelin(1) and trovelin-cli(1), made from the programs' --help at build time:
// man reads them without a warning, and every command and option the help names is in them.

#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <string>

#include "support/RunCommand.h"

namespace trovelin {
namespace {

// The options (--out, -s) and the command lines (trovelin-cli harvest) that a help text names.
std::set<std::string> namesIn(const std::string& help)
{
    static const std::regex name(R"((?:^|[\s\[])(--?[a-z][a-z-]*|trovelin-cli [a-z]+))");
    std::set<std::string> names;
    for (auto it = std::sregex_iterator(help.begin(), help.end(), name); it != std::sregex_iterator(); ++it)
        names.insert((*it)[1]);
    return names;
}

TEST(ManPages, EachPageIsReadWithoutWarningsAndNamesWhatItsHelpNames)
{
    for (const auto& [program, page] : {std::pair{TROVELIN_APP, "trovelin.1.gz"}, std::pair{TROVELIN_CLI, "trovelin-cli.1.gz"}}) {
        const std::string path = std::string(TROVELIN_BINARY_DIR) + "/man/" + page;
        // As lintian reads pages: every groff warning on, plain ASCII so that options read as typed.
        const testing::CommandOutcome shown =
            testing::runCommand("LC_ALL=C.UTF-8 MANWIDTH=250 MAN_KEEP_FORMATTING= man --warnings -E ascii -l '" + path + "'");
        ASSERT_EQ(shown.status, 0) << page << shown.err;
        EXPECT_EQ(shown.err, "") << page;
        // Filled lines may widen the spaces between words.
        const std::string text = std::regex_replace(shown.out, std::regex(" +"), " ");
        const std::string help = testing::runCommand(std::string("'") + program + "' --help").out;
        ASSERT_FALSE(help.empty());
        for (const std::string& name : namesIn(help)) EXPECT_NE(text.find(name), std::string::npos) << page << ": " << name;
    }
}

}  // namespace
}  // namespace trovelin
