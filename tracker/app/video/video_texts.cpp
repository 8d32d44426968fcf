#include "tracker/app/video/video_texts.h"

#include <array>

#include "tracker/app/settings/language_table.h"

namespace tracker {
namespace {

constexpr std::size_t kTextCount = 9;
using Texts = std::array<std::string_view, kTextCount>;

constexpr Texts kEnglish = {
    "Play video",
    "Choose the card folder...",
    "The card folder with the recordings",
    "No recording covers this moment (%1).\nThe nearest recording starts at %2.",
    "The card holds no recordings.",
    "These GPS logs lie on no card with recordings.\nChoose the card folder once with \"Choose the card "
    "folder...\".",
    "Choose a drive and a point of it first.",
    "The recording player could not be started: %1",
    "The card's recordings are still being read; the video opens when they are.",
};

constexpr Texts kKorean = {
    "영상 보기",
    "메모리 카드 폴더 선택...",
    "녹화 파일이 있는 메모리 카드 폴더",
    "이 시각(%1)의 녹화 파일이 없습니다.\n가장 가까운 녹화 파일은 %2에 시작합니다.",
    "메모리 카드에 녹화 파일이 없습니다.",
    "이 GPS 기록은 녹화 파일이 있는 메모리 카드에 있지 않습니다.\n\"메모리 카드 폴더 선택...\"으로 한 번 "
    "선택하십시오.",
    "먼저 주행과 그 지점을 선택하십시오.",
    "녹화 재생 프로그램을 시작할 수 없습니다: %1",
    "메모리 카드의 녹화 파일을 읽는 중입니다. 다 읽으면 영상이 열립니다.",
};

}  // namespace

std::string_view VideoTextFor(int language_index, VideoText text) {
  const auto item = static_cast<std::size_t>(text);
  const bool korean = language_index >= 0 && language_index < kLanguageCount &&
                      kLanguages[static_cast<std::size_t>(language_index)].code == "eLANG_KOR";
  return (korean ? kKorean : kEnglish)[item];
}

}  // namespace tracker
