#include "tracker/app/window/row_list_model.h"

#include <QColor>
#include <QJsonObject>
#include <QPixmap>
#include <array>

#include "common/gui/utf8_text.h"
#include "tracker/app/rules/note_text.h"
#include "tracker/app/rules/row_list.h"
#include "tracker/app/settings/language_table.h"
#include "tracker/app/window/skin.h"

namespace tracker {

namespace {

constexpr int kColumnItems[3] = {kTextDate, kTextStart, kTextEnd};

using gui::FromUtf8;

const QPixmap& RowImage(int image) {
  static const std::array<QPixmap, 3> images = [] {
    const QPixmap& strip = SkinBitmap(skin::kRowImages);
    return std::array<QPixmap, 3>{strip.copy(0, 0, 16, 16), strip.copy(16, 0, 16, 16), strip.copy(32, 0, 16, 16)};
  }();
  return images[static_cast<std::size_t>(image) % images.size()];
}

}  // namespace

RowListModel::RowListModel(const TrackerProfile& profile, QObject* parent)
    : QAbstractTableModel(parent), profile_(profile) {}

void RowListModel::Reset(const TrackDocument* document, const std::vector<char>& ticked) {
  beginResetModel();
  document_ = document;
  checked_.clear();
  if (document_ != nullptr) {
    checked_.reserve(document_->trips.order.size());
    for (int list_row = 0; list_row < static_cast<int>(document_->trips.order.size()); ++list_row) {
      const bool has_points = MakeListItem(*RowAt(list_row), document_->points, display_offset_).checked;
      const auto row_index = static_cast<std::size_t>(RowIndexAt(list_row));
      checked_.push_back(has_points && (row_index >= ticked.size() || ticked[row_index] != 0) ? 1 : 0);
    }
  }
  endResetModel();
}

void RowListModel::SetDisplayOffset(std::int64_t offset_seconds) {
  if (offset_seconds == display_offset_) return;
  display_offset_ = offset_seconds;
  if (rowCount() > 0) emit dataChanged(index(0, 1), index(rowCount() - 1, 2), {Qt::DisplayRole});
}

void RowListModel::SetLanguage(int language_index) {
  language_ = language_index;
  emit headerDataChanged(Qt::Horizontal, 0, 2);
  if (rowCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, 2), {Qt::ToolTipRole});
}

void RowListModel::SetFont(const QFont& font) {
  font_ = font;
  bold_font_ = font;
  bold_font_.setWeight(QFont::Bold);
}

int RowListModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid() || document_ == nullptr) return 0;
  return static_cast<int>(document_->trips.order.size());
}

int RowListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 3; }

const TripRecord* RowListModel::RowAt(int list_row) const {
  const int row_index = RowIndexAt(list_row);
  if (row_index < 0) return nullptr;
  return &document_->trips.rows[static_cast<std::size_t>(row_index)];
}

int RowListModel::RowIndexAt(int list_row) const {
  if (document_ == nullptr || list_row < 0 || list_row >= static_cast<int>(document_->trips.order.size())) return -1;
  const std::int32_t row_index = document_->trips.order[static_cast<std::size_t>(list_row)];
  if (row_index < 0 || static_cast<std::size_t>(row_index) >= document_->trips.rows.size()) return -1;
  return row_index;
}

bool RowListModel::Checked(int list_row) const {
  return list_row >= 0 && list_row < static_cast<int>(checked_.size()) && checked_[static_cast<std::size_t>(list_row)];
}

QVariant RowListModel::data(const QModelIndex& index, int role) const {
  const TripRecord* row = RowAt(index.row());
  if (row == nullptr) return {};
  switch (role) {
    case Qt::DisplayRole: {
      const ListItem item = MakeListItem(*row, document_->points, display_offset_);
      return FromUtf8(item.columns[static_cast<std::size_t>(index.column())]);
    }
    case Qt::DecorationRole:
      if (index.column() == 0) return RowImage(MakeListItem(*row, document_->points, display_offset_).image);
      return {};
    case Qt::ForegroundRole: return QColor::fromRgb(MakeListItem(*row, document_->points, display_offset_).rgb);
    case Qt::FontRole: return row->type == RowType::kDay ? bold_font_ : font_;
    case Qt::CheckStateRole:
      if (index.column() == 0) return Checked(index.row()) ? Qt::Checked : Qt::Unchecked;
      return {};
    case Qt::ToolTipRole: return FromUtf8(RowToolTip(*row, language_, profile_));
    default: return {};
  }
}

QVariant RowListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section > 2) {
    return QAbstractTableModel::headerData(section, orientation, role);
  }
  return FromUtf8(Text(language_, kColumnItems[section], profile_));
}

Qt::ItemFlags RowListModel::flags(const QModelIndex& index) const {
  Qt::ItemFlags flags = QAbstractTableModel::flags(index);
  if (index.isValid() && index.column() == 0) flags |= Qt::ItemIsUserCheckable;
  return flags;
}

bool RowListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::CheckStateRole || index.column() != 0 || index.row() < 0 ||
      index.row() >= static_cast<int>(checked_.size())) {
    return false;
  }
  checked_[static_cast<std::size_t>(index.row())] = value.toInt() == Qt::Checked ? 1 : 0;
  emit dataChanged(index, index, {Qt::CheckStateRole});
  return true;
}

std::vector<char> RowListModel::TicksByRow() const {
  std::vector<char> ticked(document_ ? document_->trips.rows.size() : 0, 1);
  for (int list_row = 0; list_row < static_cast<int>(checked_.size()); ++list_row) {
    const int row_index = RowIndexAt(list_row);
    if (row_index >= 0) ticked[static_cast<std::size_t>(row_index)] = checked_[static_cast<std::size_t>(list_row)];
  }
  return ticked;
}

std::vector<TripRecord> RowListModel::CheckedRows() const {
  std::vector<TripRecord> rows;
  for (int list_row = 0; list_row < rowCount(); ++list_row) {
    if (Checked(list_row)) rows.push_back(*RowAt(list_row));
  }
  return rows;
}

QJsonArray RowListModel::State() const {
  QJsonArray rows;
  for (int list_row = 0; list_row < rowCount(); ++list_row) {
    const TripRecord& row = *RowAt(list_row);
    const ListItem item = MakeListItem(row, document_->points, display_offset_);
    QJsonArray text;
    for (const std::string& column : item.columns) text.append(FromUtf8(column));
    rows.append(QJsonObject{
        {"text", text},
        {"kind", RowKindName(row.type)},
        {"checked", Checked(list_row)},
        {"color", QColor::fromRgb(item.rgb).name()},
        {"bold", item.bold},
        {"notes", QJsonObject{{"driver", FromUtf8(NoteText(RowText(row, RowTextField::kDriver), language_))},
                              {"purpose", FromUtf8(NoteText(RowText(row, RowTextField::kPurpose), language_))},
                              {"comments", FromUtf8(NoteText(RowText(row, RowTextField::kComments), language_))}}},
    });
  }
  return rows;
}

}  // namespace tracker
