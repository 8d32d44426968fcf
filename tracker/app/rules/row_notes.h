#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tracker/log/track_point.h"
#include "tracker/log/trip_record.h"

namespace tracker {

// What the user gave a row: its three texts (the stored bytes, untouched) and its tick.
struct RowNotes {
  std::string driver;
  std::string purpose;
  std::string comments;
  bool ticked = true;
};

// The notes of one row, remembered across a re-cut by what stays the same in every zone: the
// row's kind and the UTC date and time of its first fix, and that fix's place in the store.
struct KeptNotes {
  RowType type = RowType::kDay;
  std::int32_t date_number = 0;
  std::int32_t time_number = 0;
  std::int32_t first_point = 0;
  std::int32_t point_count = 0;
  RowNotes notes;
};

// Remembers every row's notes before the rows are cut again. `ticked` is by row-table index
// (missing entries count as ticked); rows without points are left out.
std::vector<KeptNotes> KeepNotes(const RowTable& rows, const std::vector<char>& ticked, const PointStore& points);

// A note that did not fit its field when two rows' notes were joined.
struct OverflowNote {
  std::int32_t row_index = 0;  // the rebuilt row that kept what fitted
  int field = 0;               // 0 driver, 1 purpose, 2 comments
  std::string text;            // the whole note that was not taken
};

struct GivenBack {
  std::vector<char> ticked;            // by row-table index of the rebuilt rows
  std::vector<OverflowNote> overflow;  // empty unless a joined note was too long
};

// Gives the kept notes to the rebuilt rows, which were cut from the same points. A row of the
// same kind whose first fix has the same UTC time takes them as they were. A row that is gone
// hands its texts to the rebuilt row of its kind that now holds its first fix; where both have
// text for a field they are joined (" / " on one line, a new line in the comments). A rebuilt
// row that matched nothing takes the tick of the old row of its kind that held its first fix,
// and starts ticked when there was none.
GivenBack GiveNotesBack(const std::vector<KeptNotes>& kept, RowTable& rows, const PointStore& points);

}  // namespace tracker
