#include "tracker/app/settings/window_texts.h"

#include <array>
#include <cstddef>

namespace tracker {

namespace {

constexpr std::size_t kCount = static_cast<std::size_t>(WindowText::kCount);
using Texts = std::array<std::string_view, kCount>;

constexpr Texts kEnglish = {
    "Open a GPS log folder or a trip database",
    "%1 is not a %2 trip database (%3). It was not opened.",
    "%1 cannot be opened: %2.",
    "%1 cannot be read.",
    "%1 could not be written.",
    "After the time-zone change these notes no longer fit beside the notes of the row that took "
    "them over, so they were written into no row. Copy what you want to keep:",
    "This note is full: it holds %1 bytes.",
    "Select a row to write its notes",
    "the file cannot be opened",
    "too short for a trip database",
    "not a trip database of this program",
    "a trip database of a newer version",
    "damaged trip database header",
    "the trip database's size does not match its header",
    "damaged row block",
    "damaged point block",
    "a row refers to points that are not there",
    "out of memory",
};

constexpr Texts kKorean = {
    "GPS 로그 폴더 또는 주행 기록 파일 열기",
    "%1은(는) %2의 주행 기록 파일(%3)이 아닙니다. 열지 않았습니다.",
    "%1을(를) 열 수 없습니다: %2.",
    "%1을(를) 읽을 수 없습니다.",
    "%1에 저장할 수 없습니다.",
    "시간대를 바꾼 뒤 메모를 넘겨받은 행의 칸에 다 들어가지 않아 어느 행에도 쓰지 않은 메모입니다. "
    "남길 내용을 복사하세요:",
    "메모 칸이 가득 찼습니다: %1바이트까지 들어갑니다.",
    "메모를 쓸 행을 먼저 선택하세요",
    "파일을 열 수 없습니다",
    "주행 기록 파일로는 너무 짧습니다",
    "이 프로그램의 주행 기록 파일이 아닙니다",
    "더 새 버전의 주행 기록 파일입니다",
    "주행 기록 파일의 머리글이 손상되었습니다",
    "주행 기록 파일의 크기가 머리글과 맞지 않습니다",
    "행 블록이 손상되었습니다",
    "위치 블록이 손상되었습니다",
    "없는 위치를 가리키는 행이 있습니다",
    "메모리가 부족합니다",
};

constexpr int kKoreanIndex = 1;

}  // namespace

std::string_view Text(int language_index, WindowText text) {
  const auto i = static_cast<std::size_t>(text);
  if (i >= kCount) return {};
  const Texts& texts = language_index == kKoreanIndex ? kKorean : kEnglish;
  return texts[i].empty() ? kEnglish[i] : texts[i];
}

}  // namespace tracker
