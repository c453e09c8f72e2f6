#include "library/query/result_model.h"

#include <algorithm>

void ResultModel::clear() {
  beginResetModel();
  columns_.clear();
  batches_.clear();
  firstRows_.clear();
  rows_ = 0;
  endResetModel();
}

void ResultModel::setColumns(std::vector<std::string> names) {
  beginResetModel();
  columns_ = std::move(names);
  batches_.clear();
  firstRows_.clear();
  rows_ = 0;
  endResetModel();
}

void ResultModel::appendBatch(RowBatch&& batch) {
  if (batch.empty() || batch.columnCount() != static_cast<int>(columns_.size())) return;
  const int added = static_cast<int>(batch.rowCount());
  beginInsertRows({}, rows_, rows_ + added - 1);
  firstRows_.push_back(rows_);
  batches_.push_back(std::move(batch));
  rows_ += added;
  endInsertRows();
}

int ResultModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int ResultModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

std::string_view ResultModel::cellText(int row, int column) const {
  if (row < 0 || row >= rows_ || column < 0 || column >= static_cast<int>(columns_.size())) return {};
  const auto it = std::upper_bound(firstRows_.begin(), firstRows_.end(), row);
  const size_t batch = static_cast<size_t>(it - firstRows_.begin()) - 1;
  return batches_[batch].cell(static_cast<size_t>(row - firstRows_[batch]), column);
}

QVariant ResultModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid()) return {};
  const std::string_view text = cellText(index.row(), index.column());
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QVariant ResultModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Vertical) return section + 1;
  if (section < 0 || section >= static_cast<int>(columns_.size())) return {};
  return QString::fromStdString(columns_[static_cast<size_t>(section)]);
}
