#include "manager/setup/settings_path.h"

namespace setup {
namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

char SeparatorOf(std::string_view path) {
  return path.find('\\') != std::string_view::npos && path.find('/') == std::string_view::npos ? '\\' : '/';
}

}  // namespace

std::string CardFolderFromChoice(std::string_view chosen) {
  std::string folder(chosen);
  if (folder.empty() || IsSeparator(folder.back())) return folder;
  folder += SeparatorOf(chosen);
  return folder;
}

std::string SettingsFolder(std::string_view card_folder) {
  return CardFolderFromChoice(card_folder) + "SETUP";
}

std::string SettingsFilePath(std::string_view card_folder) {
  std::string path = SettingsFolder(card_folder);
  path += SeparatorOf(path);
  path += "Setup.ini";
  return path;
}

}  // namespace setup
