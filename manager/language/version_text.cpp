#include "manager/language/version_text.h"

namespace language {

std::string VersionText(std::string_view label, int major, int minor, int release, int build) {
  std::string text(label);
  text += ' ';
  text +=
      std::to_string(major) + '.' + std::to_string(minor) + '.' + std::to_string(release) + '.' + std::to_string(build);
  return text;
}

}  // namespace language
