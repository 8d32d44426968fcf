#include "tracker/log/trip_list.h"

#include <algorithm>
#include <numeric>
#include <tuple>

#include "tracker/log/field_text.h"

namespace tracker {

namespace {

int KindRank(RowType type) {
  switch (type) {
    case RowType::kDay: return 0;
    case RowType::kDrive: return 1;
    default: return 2;
  }
}

}  // namespace

std::vector<std::int32_t> ListOrder(const RowTable& rows) {
  std::vector<std::int32_t> order(rows.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](std::int32_t a, std::int32_t b) {
    const TripRecord& x = rows[static_cast<std::size_t>(a)];
    const TripRecord& y = rows[static_cast<std::size_t>(b)];
    return std::tuple(FieldText(x.start_date), FieldText(x.start_time), KindRank(x.type)) <
           std::tuple(FieldText(y.start_date), FieldText(y.start_time), KindRank(y.type));
  });
  return order;
}

}  // namespace tracker
