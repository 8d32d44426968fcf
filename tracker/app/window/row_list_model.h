#pragma once

#include <QAbstractTableModel>
#include <QFont>
#include <QJsonArray>
#include <vector>

#include "tracker/app/profile/tracker_profile.h"
#include "tracker/log/track_document.h"

namespace tracker {

// The row list: one item per row in list order, with the day, drive and parking images, the
// rows' colours, bold days, a tick box in the first column and the kind-and-date tooltip.
// It reads the window's document, which must outlive it or be handed over again by Reset.
class RowListModel : public QAbstractTableModel {
 public:
  RowListModel(const TrackerProfile& profile, QObject* parent);

  // A new document (or none): every row with points starts ticked, unless `ticked` (by
  // row-table index) says otherwise.
  void Reset(const TrackDocument* document, const std::vector<char>& ticked = {});
  // The zone the times are shown in (daylight-saving hour included).
  void SetDisplayOffset(std::int64_t offset_seconds);
  void SetLanguage(int language_index);
  void SetFont(const QFont& font);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

  // The row table index of list row `list_row`, or -1.
  int RowIndexAt(int list_row) const;
  bool Checked(int list_row) const;
  // The ticks by row-table index.
  std::vector<char> TicksByRow() const;
  // The ticked rows in list order, as a trip database saves them.
  std::vector<TripRecord> CheckedRows() const;
  // Per list row: text (three columns), kind, checked, color, bold.
  QJsonArray State() const;

 private:
  const TripRecord* RowAt(int list_row) const;

  const TrackerProfile& profile_;
  const TrackDocument* document_ = nullptr;
  std::vector<char> checked_;
  std::int64_t display_offset_ = 0;
  int language_ = 0;
  QFont font_;
  QFont bold_font_;
};

}  // namespace tracker
