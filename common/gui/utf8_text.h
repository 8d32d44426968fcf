#pragma once

#include <QString>
#include <string_view>

namespace gui {

// Our texts are UTF-8 in std::string and std::string_view (not necessarily null-terminated).
inline QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace gui
