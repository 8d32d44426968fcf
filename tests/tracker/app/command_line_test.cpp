#include "tracker/app/rules/command_line.h"

#include <gtest/gtest.h>

namespace {

using tracker::PathFromArgument;
using tracker::PathFromCommandLine;

TEST(CommandLine, TheFirstArgumentAfterTheProgramIsThePathWithoutItsQuotes) {
  EXPECT_EQ(PathFromCommandLine("kel-tracker /media/card/GPSLOG"), "/media/card/GPSLOG");
  EXPECT_EQ(PathFromCommandLine("kel-tracker \"/media/my card/GPSLOG\""), "/media/my card/GPSLOG");
  EXPECT_EQ(PathFromCommandLine("\"/opt/kel tracker/kel-tracker\" /media/card"), "/media/card");
  // Quotes may open and close inside an argument; only the first argument counts.
  EXPECT_EQ(PathFromCommandLine("kel-tracker /media/\"my card\"/GPS second third"), "/media/my card/GPS");
  // Tabs are blanks, and runs of blanks are one separator.
  EXPECT_EQ(PathFromCommandLine("kel-tracker\t \t/media/card\t"), "/media/card");
  EXPECT_EQ(PathFromCommandLine("kel-tracker \"a\tb\""), "a\tb");
}

TEST(CommandLine, AnOddNumberOfQuotesOrNoArgumentOpensNothing) {
  EXPECT_FALSE(PathFromCommandLine("kel-tracker \"/media/my card/GPSLOG"));
  EXPECT_FALSE(PathFromCommandLine("kel-tracker \"/media/card\" \""));
  EXPECT_FALSE(PathFromCommandLine("kel-tracker"));
  EXPECT_FALSE(PathFromCommandLine("kel-tracker   \t "));
  EXPECT_FALSE(PathFromCommandLine("kel-tracker \"\""));
  EXPECT_FALSE(PathFromCommandLine(""));
}

TEST(CommandLine, SplittingKeepsEveryArgument) {
  const auto arguments = tracker::SplitCommandLine("a \"b c\" \"\" d\"e\"f");
  ASSERT_TRUE(arguments);
  EXPECT_EQ(*arguments, (std::vector<std::string>{"a", "b c", "", "def"}));
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
