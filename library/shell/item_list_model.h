// The shell view's list as a Qt model. It keeps one copy of each item's ID
// list (freed when the row goes) and asks the folder for everything it
// shows: the name through GetDisplayNameOf, the icon through the item's
// IExtractIconA, the other columns as the item's texts (or the settings'
// null value text). Values are kept once asked, as a list view keeps
// callback values it was told to store.
#pragma once

#include <QAbstractTableModel>
#include <QIcon>
#include <QStringList>
#include <map>
#include <optional>
#include <vector>

#include "platform/com/shlobj.h"

class ShellFolder;

class ItemListModel final : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit ItemListModel(ShellFolder* folder, QObject* parent = nullptr);
  ~ItemListModel() override;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  void setHeaders(const QStringList& headers);
  // Takes ownership of the lists (task allocator blocks) and appends them.
  void appendItems(std::vector<LPITEMIDLIST> items);
  void clear();
  // Reorders the rows with the folder's CompareIDs(sortParameter, ...);
  // persistent indexes (selection, focus) follow their rows.
  void sortItems(LPARAM sortParameter);
  // Icons from the large image list (icon mode) or the small one.
  void setLargeIcons(bool large);

  // The stored ID list of a row, or null.
  LPCITEMIDLIST itemIdList(int row) const;
  // Item text 1 of a row (info tip text), empty when absent.
  QString infoText(int row) const;

 private:
  struct Row {
    LPITEMIDLIST idList = nullptr;
    mutable std::vector<std::optional<QString>> texts;
    mutable std::optional<int> image;
  };
  QString textOf(const Row& row, int column) const;
  int imageOf(const Row& row) const;
  QIcon iconOf(int image) const;

  ShellFolder* folder_;  // the view holds the reference
  QStringList headers_;
  std::vector<Row> rows_;
  bool largeIcons_ = false;
  mutable std::map<int, QIcon> iconCache_;
};
