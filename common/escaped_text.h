#pragma once

#include <string>
#include <string_view>

namespace common {

// `text` made safe for one field of a line-per-row listing: tab, newline and carriage return
// become \t, \n and \r, other control characters (C1 ones included) and bytes that are not UTF-8 become \xNN, and a
// backslash becomes \\, so that a name from a card can never start a row or a column of its own
// and the escaped text reads back to the same bytes.
std::string EscapedForListing(std::string_view text);

// `text` as XML character data or an attribute value (GPX, KML): the markup characters become
// entities, and control characters that XML 1.0 cannot hold (all but tab, newline and carriage
// return) are left out.
std::string XmlEscaped(std::string_view text);

}  // namespace common
