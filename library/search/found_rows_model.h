// The rows of a "Find Result" list: data source, qualified table name and
// "KEY". New rows go in at the top, so the newest stands first.
#pragma once

#include <QAbstractTableModel>
#include <QString>

#include <vector>

class FoundRowsModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  enum Column { ColumnDataSource = 0, ColumnTable = 1, ColumnKey = 2, ColumnCount = 3 };

  struct Row {
    QString dataSource;
    QString table;
    QString key;
  };

  using QAbstractTableModel::QAbstractTableModel;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

  // Inserts `row` at index 0.
  void prependRow(Row row);
  // Row `index` counted from the top (0 is the newest).
  const Row& row(int index) const;

 private:
  // Kept oldest first, so that a new row is a push_back; the view's row i
  // is rows_[size - 1 - i].
  std::vector<Row> rows_;
};
