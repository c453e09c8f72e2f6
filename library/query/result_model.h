// The table model of the result list 1019: column names and the rows of a
// run, kept as the batches the worker delivered.
#pragma once

#include <QAbstractTableModel>
#include <string>
#include <vector>

#include "library/query/result_rows.h"

class ResultModel : public QAbstractTableModel {
 public:
  using QAbstractTableModel::QAbstractTableModel;

  // Drops all rows and columns (the list as a run starts).
  void clear();
  // Sets the columns of a new result; rows must be empty.
  void setColumns(std::vector<std::string> names);
  // Appends a batch with one insertion notice. Batches of another column
  // count are ignored.
  void appendBatch(RowBatch&& batch);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // The cell text as stored (UTF-8).
  std::string_view cellText(int row, int column) const;

 private:
  std::vector<std::string> columns_;
  std::vector<RowBatch> batches_;
  std::vector<int> firstRows_;  // first model row of each batch
  int rows_ = 0;
};
