#include "tracker/log/text_number.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tracker/log/field_text.h"

namespace {

// A stored field read the quick way must give what atof gives for its text, bit for bit: the
// figures of a scan are compared with those of files written before.
TEST(FieldToDouble, GivesWhatAtofGivesForEveryFieldText) {
  const std::vector<std::string> texts = {"37.50000",
                                          "-122.30660",
                                          "127.00000",
                                          "-0.00001",
                                          "-0.0",
                                          "0",
                                          "027.5",
                                          ".5",
                                          "5.",
                                          "-",
                                          "",
                                          "+3.5",
                                          " 12.5",
                                          "1e3",
                                          "12.3.4",
                                          "0x1A",
                                          "-.5",
                                          "99999999.9",
                                          "1234567890.12345",
                                          "9.87654321012345",
                                          "12a",
                                          "--1"};
  for (const std::string& text : texts) {
    char field[11];
    tracker::SetFieldText(field, text);
    const double expected = std::strtod(std::string(tracker::FieldText(field)).c_str(), nullptr);
    const double quick = tracker::FieldToDouble(field);
    EXPECT_EQ(std::memcmp(&quick, &expected, sizeof quick), 0) << '"' << text << "\" gave " << quick;
  }
  // A damaged field with no terminator ends at its width.
  char full[9];
  std::memcpy(full, "123456789", 9);
  EXPECT_EQ(tracker::FieldToDouble(full), 123456789.0);
}

}  // namespace
