#include "tracker/app/rules/note_box.h"

#include <algorithm>
#include <vector>

namespace tracker {

namespace {

bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The longest head of `text`, ending between two characters, for which `fits` holds; a longer
// head never fits once a shorter one does not.
std::size_t LongestHead(std::string_view text, const std::function<bool(std::string_view)>& fits) {
  std::vector<std::size_t> ends{0};
  for (std::size_t i = 1; i <= text.size(); ++i) {
    if (i == text.size() || !IsContinuation(text[i])) ends.push_back(i);
  }
  std::size_t low = 0, high = ends.size() - 1;  // ends[low] fits or is empty
  while (low < high) {
    const std::size_t middle = (low + high + 1) / 2;
    if (fits(text.substr(0, ends[middle]))) {
      low = middle;
    } else {
      high = middle - 1;
    }
  }
  return ends[low];
}

}  // namespace

std::size_t NoteBytes(RowTextField field) {
  return field == RowTextField::kDriver ? sizeof(TripRecord::driver) - 1 : sizeof(TripRecord::purpose) - 1;
}

FittedNote FitNote(std::string_view before, std::string_view after, std::size_t limit,
                   const std::function<std::size_t(std::string_view)>& stored_size) {
  const auto size = [&](std::string_view text) { return stored_size ? stored_size(text) : text.size(); };
  if (size(after) <= limit) return {std::string(after), after.size(), false};
  // What the edit left alone: a common head and a common tail, each of whole characters.
  const std::size_t most = std::min(before.size(), after.size());
  std::size_t head = 0;
  while (head < most && before[head] == after[head]) ++head;
  while (head > 0 && head < after.size() && IsContinuation(after[head])) --head;
  std::size_t tail = 0;
  while (tail < most - head && before[before.size() - 1 - tail] == after[after.size() - 1 - tail]) ++tail;
  while (tail > 0 && IsContinuation(after[after.size() - tail])) --tail;

  const std::string_view front = after.substr(0, head);
  const std::string_view back = after.substr(after.size() - tail);
  const std::string_view inserted = after.substr(head, after.size() - head - tail);
  const std::size_t kept = LongestHead(inserted, [&](std::string_view part) {
    return size(std::string(front) + std::string(part) + std::string(back)) <= limit;
  });
  FittedNote fitted{std::string(front) + std::string(inserted.substr(0, kept)) + std::string(back), head + kept, true};
  if (size(fitted.text) > limit) {
    // Too long before the edit (a note read from a code page): its end goes.
    fitted.text.resize(LongestHead(fitted.text, [&](std::string_view part) { return size(part) <= limit; }));
    fitted.cursor = std::min(fitted.cursor, fitted.text.size());
  }
  return fitted;
}

}  // namespace tracker
