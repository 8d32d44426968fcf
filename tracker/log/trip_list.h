#pragma once

#include <cstdint>
#include <vector>

#include "tracker/log/trip_record.h"

namespace tracker {

// The rows and the order in which the list shows them.
struct TripList {
  RowTable rows;
  std::vector<std::int32_t> order;  // row indices, list order
};

// List order: by start date text, then start time text, then day rows before drive rows before
// parking rows; rows that tie keep their table order.
std::vector<std::int32_t> ListOrder(const RowTable& rows);

}  // namespace tracker
