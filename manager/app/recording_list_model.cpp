#include "manager/app/recording_list_model.h"

namespace app {

void RecordingListModel::SetList(const library::RecordingList* list) {
  beginResetModel();
  list_ = list;
  endResetModel();
}

void RecordingListModel::Reset() {
  beginResetModel();
  endResetModel();
}

int RecordingListModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid() || list_ == nullptr) return 0;
  return list_->recordingCount();
}

int RecordingListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 3; }

QVariant RecordingListModel::data(const QModelIndex& index, int role) const {
  if (list_ == nullptr || !index.isValid()) return {};
  if (role == Qt::DisplayRole) return QString::fromStdString(list_->RowText(index.row(), index.column()));
  if (role == Qt::TextAlignmentRole) return int(Qt::AlignCenter);
  return {};
}

}  // namespace app
