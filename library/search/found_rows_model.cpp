#include "library/search/found_rows_model.h"

namespace {
// The list's headings; the dialog exists in one language only.
constexpr const char* kHeadings[FoundRowsModel::ColumnCount] = {"DSN", "TABLE", "KEY"};
}  // namespace

int FoundRowsModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int FoundRowsModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant FoundRowsModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount() || index.column() >= ColumnCount) return {};
  if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
  const Row& r = row(index.row());
  switch (index.column()) {
    case ColumnDataSource:
      return r.dataSource;
    case ColumnTable:
      return r.table;
    default:
      return r.key;
  }
}

QVariant FoundRowsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount)
    return QAbstractTableModel::headerData(section, orientation, role);
  return QString::fromLatin1(kHeadings[section]);
}

void FoundRowsModel::prependRow(Row row) {
  beginInsertRows(QModelIndex(), 0, 0);
  rows_.push_back(std::move(row));
  endInsertRows();
}

const FoundRowsModel::Row& FoundRowsModel::row(int index) const {
  return rows_[rows_.size() - 1 - static_cast<size_t>(index)];
}
