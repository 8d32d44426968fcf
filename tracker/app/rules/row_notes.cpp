#include "tracker/app/rules/row_notes.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <optional>
#include <tuple>

#include "tracker/log/field_text.h"

namespace tracker {

namespace {

using Key = std::tuple<RowType, std::int32_t, std::int32_t>;

bool HasPoints(const TripRecord& row, const PointStore& points) {
  return row.point_count > 0 && row.first_point >= 0 &&
         static_cast<std::int64_t>(row.first_point) + row.point_count <= static_cast<std::int64_t>(points.size());
}

Key KeyOf(const TripRecord& row, const PointStore& points) {
  const TrackPoint& first = points[static_cast<std::size_t>(row.first_point)];
  return {row.type, first.date_number, first.time_number};
}

// Rows of one kind by their first fix, to find the one that holds a given fix.
class Holders {
 public:
  void Add(RowType type, std::int32_t first, std::int32_t count, std::size_t index) {
    spans_[type].push_back({first, first + count, index});
  }
  void Sort() {
    for (auto& [type, spans] : spans_) std::sort(spans.begin(), spans.end());
  }
  // The latest-starting row of `type` whose fixes include `point`.
  std::optional<std::size_t> Holding(RowType type, std::int32_t point) const {
    const auto found = spans_.find(type);
    if (found == spans_.end()) return std::nullopt;
    const std::vector<Span>& spans = found->second;
    auto it = std::upper_bound(spans.begin(), spans.end(), point,
                               [](std::int32_t p, const Span& span) { return p < span.first; });
    // Rows of one kind never overlap, except parking rows that share a fix with a neighbour.
    for (int k = 0; k < 2 && it != spans.begin(); ++k) {
      --it;
      if (point < it->end) return it->index;
    }
    return std::nullopt;
  }

 private:
  struct Span {
    std::int32_t first;
    std::int32_t end;
    std::size_t index;
    bool operator<(const Span& other) const {
      return std::tie(first, end, index) < std::tie(other.first, other.end, other.index);
    }
  };
  std::map<RowType, std::vector<Span>> spans_;
};

constexpr std::size_t FieldSize(int field) {
  return field == 0 ? sizeof(TripRecord::driver) : sizeof(TripRecord::purpose);
}

char* FieldOf(TripRecord& row, int field) { return field == 0 ? row.driver : field == 1 ? row.purpose : row.comments; }

const std::string& NoteOf(const RowNotes& notes, int field) {
  return field == 0 ? notes.driver : field == 1 ? notes.purpose : notes.comments;
}

std::string_view Stored(const char* field, std::size_t size) {
  const void* nul = std::memchr(field, '\0', size);
  return {field, nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - field) : size};
}

void Store(char* field, std::size_t size, std::string_view text) {
  const std::size_t n = std::min(text.size(), size - 1);
  std::memcpy(field, text.data(), n);
  std::memset(field + n, 0, size - n);
}

}  // namespace

std::vector<KeptNotes> KeepNotes(const RowTable& rows, const std::vector<char>& ticked, const PointStore& points) {
  std::vector<KeptNotes> kept;
  kept.reserve(rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const TripRecord& row = rows[i];
    if (!HasPoints(row, points)) continue;
    const auto [type, date, time] = KeyOf(row, points);
    kept.push_back({type, date, time, row.first_point, row.point_count,
                    RowNotes{std::string(FieldText(row.driver)), std::string(FieldText(row.purpose)),
                             std::string(FieldText(row.comments)), i >= ticked.size() || ticked[i] != 0}});
  }
  return kept;
}

GivenBack GiveNotesBack(const std::vector<KeptNotes>& kept, RowTable& rows, const PointStore& points) {
  GivenBack result;
  result.ticked.assign(rows.size(), 1);
  std::vector<char> matched(rows.size(), 0);

  std::map<Key, std::size_t> by_key;
  Holders holders;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (!HasPoints(rows[i], points)) continue;
    by_key.emplace(KeyOf(rows[i], points), i);
    holders.Add(rows[i].type, rows[i].first_point, rows[i].point_count, i);
  }
  holders.Sort();

  // Rows that are still there take their notes and tick first, so a joined note never pushes
  // a row's own note out of its field.
  std::vector<const KeptNotes*> gone;
  for (const KeptNotes& notes : kept) {
    const auto found = by_key.find({notes.type, notes.date_number, notes.time_number});
    if (found == by_key.end()) {
      gone.push_back(&notes);
      continue;
    }
    TripRecord& row = rows[found->second];
    for (int field = 0; field < 3; ++field) Store(FieldOf(row, field), FieldSize(field), NoteOf(notes.notes, field));
    result.ticked[found->second] = notes.notes.ticked ? 1 : 0;
    matched[found->second] = 1;
  }

  for (const KeptNotes* notes : gone) {
    const std::optional<std::size_t> holder = holders.Holding(notes->type, notes->first_point);
    for (int field = 0; field < 3; ++field) {
      const std::string& text = NoteOf(notes->notes, field);
      if (text.empty()) continue;
      if (!holder) {
        result.overflow.push_back({-1, field, text});
        continue;
      }
      char* target = FieldOf(rows[*holder], field);
      const std::size_t size = FieldSize(field);
      const std::string_view own = Stored(target, size);
      std::string joined = own.empty() ? text : std::string(own) + (field == 2 ? "\n" : " / ") + text;
      if (joined.size() > size - 1) {
        result.overflow.push_back({static_cast<std::int32_t>(*holder), field, text});
        continue;
      }
      Store(target, size, joined);
    }
  }

  // Rows new to this zone keep the tick of the old row of their kind that held their first fix.
  Holders old_holders;
  for (std::size_t k = 0; k < kept.size(); ++k)
    old_holders.Add(kept[k].type, kept[k].first_point, kept[k].point_count, k);
  old_holders.Sort();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (matched[i] || !HasPoints(rows[i], points)) continue;
    if (const auto old = old_holders.Holding(rows[i].type, rows[i].first_point)) {
      result.ticked[i] = kept[*old].notes.ticked ? 1 : 0;
    }
  }
  return result;
}

}  // namespace tracker
