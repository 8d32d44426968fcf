#include "tracker/app/rules/command_line.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using tracker::PathFromArgument;
using Arguments = std::vector<std::string>;

TEST(CommandLine, SplittingGroupsQuotedBlanksAndRefusesAnOddQuote) {
  struct Case {
    const char* line;
    std::optional<Arguments> expected;
  };
  const std::vector<Case> cases = {
      {"kel-tracker /media/card/GPSLOG", Arguments{"kel-tracker", "/media/card/GPSLOG"}},
      {"\"/opt/kel tracker/kel-tracker\" \"/media/my card\"",
       Arguments{"/opt/kel tracker/kel-tracker", "/media/my card"}},
      // Quotes may open and close inside an argument.
      {"kel-tracker /media/\"my card\"/GPS second", Arguments{"kel-tracker", "/media/my card/GPS", "second"}},
      // Tabs are blanks, runs of blanks are one separator, and quotes keep tabs.
      {"kel-tracker\t \t/media/card\t", Arguments{"kel-tracker", "/media/card"}},
      {"kel-tracker \"a\tb\"", Arguments{"kel-tracker", "a\tb"}},
      {"a \"b c\" \"\" d\"e\"f", Arguments{"a", "b c", "", "def"}},
      {"   \t ", Arguments{}},
      {"kel-tracker \"/media/my card/GPSLOG", std::nullopt},
      {"kel-tracker \"/media/card\" \"", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(tracker::SplitCommandLine(c.line), c.expected) << c.line;
}

TEST(CommandLine, AnArgumentFromTheShellKeepsItsBlanksUnlessItStillCarriesQuotes) {
  EXPECT_EQ(PathFromArgument("/media/my card/GPSLOG"), "/media/my card/GPSLOG");
  EXPECT_EQ(PathFromArgument("\"/media/my card/GPSLOG\""), "/media/my card/GPSLOG");
  EXPECT_EQ(PathFromArgument("\"/media/a b\" ignored"), "/media/a b");
  EXPECT_FALSE(PathFromArgument("\"/media/my card/GPSLOG"));
  EXPECT_FALSE(PathFromArgument("\"\""));
  EXPECT_FALSE(PathFromArgument(""));
}

}  // namespace
