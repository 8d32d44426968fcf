#pragma once

#include <QAbstractTableModel>

#include "manager/library/recording_list.h"

namespace app {

// The recording list control's rows: it holds no data of its own and asks the recording list
// for each text (date, time, cause), as an owner-data list does.
class RecordingListModel : public QAbstractTableModel {
 public:
  explicit RecordingListModel(QObject* parent) : QAbstractTableModel(parent) {}

  // The list to show; the model reads it until told of another one.
  void SetList(const library::RecordingList* list);
  // The list's rows changed.
  void Reset();

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;

 private:
  const library::RecordingList* list_ = nullptr;
};

}  // namespace app
