#include "tracker/app/rules/note_box.h"

#include <algorithm>

namespace tracker {

namespace {

bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The longest head of `text` of at most `size` bytes that ends between two characters.
std::string_view Head(std::string_view text, std::size_t size) {
  if (text.size() <= size) return text;
  std::size_t end = size;
  while (end > 0 && IsContinuation(text[end])) --end;
  return text.substr(0, end);
}

}  // namespace

std::size_t NoteBytes(RowTextField field) {
  return field == RowTextField::kDriver ? sizeof(TripRecord::driver) - 1 : sizeof(TripRecord::purpose) - 1;
}

FittedNote FitNote(std::string_view before, std::string_view after, std::size_t limit) {
  if (after.size() <= limit) return {std::string(after), after.size(), false};
  // What the edit left alone: a common head and a common tail, each of whole characters.
  const std::size_t most = std::min(before.size(), after.size());
  std::size_t head = 0;
  while (head < most && before[head] == after[head]) ++head;
  while (head > 0 && head < after.size() && IsContinuation(after[head])) --head;
  std::size_t tail = 0;
  while (tail < most - head && before[before.size() - 1 - tail] == after[after.size() - 1 - tail]) ++tail;
  while (tail > 0 && IsContinuation(after[after.size() - tail])) --tail;

  const std::string_view inserted = after.substr(head, after.size() - head - tail);
  const std::size_t room = limit > head + tail ? limit - head - tail : 0;
  const std::string_view kept = Head(inserted, room);
  FittedNote fitted{std::string(after.substr(0, head)) + std::string(kept) + std::string(after.substr(after.size() - tail)),
                    head + kept.size(), true};
  if (fitted.text.size() > limit) {
    fitted.text = std::string(Head(fitted.text, limit));
    fitted.cursor = std::min(fitted.cursor, fitted.text.size());
  }
  return fitted;
}

bool NoteFull(std::string_view text, std::size_t limit) { return text.size() >= limit; }

}  // namespace tracker
