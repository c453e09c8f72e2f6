#include "library/shell/item_list_model.h"

#include <algorithm>
#include <numeric>

#include "library/catalog/item_id.h"
#include "library/catalog/settings.h"
#include "library/shell/image_lists.h"
#include "library/shell/module_state.h"
#include "library/shell/shell_folder.h"
#include "platform/ui/icon_handles.h"
#include "platform/ui/imagelist.h"

ItemListModel::ItemListModel(ShellFolder* folder, QObject* parent) : QAbstractTableModel(parent), folder_(folder) {}

ItemListModel::~ItemListModel() {
  for (Row& row : rows_) FreeIdList(row.idList);
}

int ItemListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ItemListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(headers_.size());
}

Qt::ItemFlags ItemListModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

QVariant ItemListModel::data(const QModelIndex& index, int role) const {
  if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) return {};
  const Row& row = rows_[static_cast<size_t>(index.row())];
  switch (role) {
    case Qt::DisplayRole: return textOf(row, index.column());
    case Qt::DecorationRole:
      if (index.column() != 0) return {};
      return iconOf(imageOf(row));
    default: return {};
  }
}

QVariant ItemListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= headers_.size()) return {};
  if (role == Qt::DisplayRole) return headers_[section];
  if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
  return {};
}

void ItemListModel::setHeaders(const QStringList& headers) {
  beginResetModel();
  headers_ = headers;
  for (Row& row : rows_) row.texts.assign(static_cast<size_t>(headers_.size()), std::nullopt);
  endResetModel();
}

void ItemListModel::appendItems(std::vector<LPITEMIDLIST> items) {
  if (items.empty()) return;
  const int first = static_cast<int>(rows_.size());
  beginInsertRows(QModelIndex(), first, first + static_cast<int>(items.size()) - 1);
  rows_.reserve(rows_.size() + items.size());
  for (LPITEMIDLIST list : items) {
    Row row;
    row.idList = list;
    row.texts.assign(static_cast<size_t>(headers_.size()), std::nullopt);
    rows_.push_back(std::move(row));
  }
  endInsertRows();
}

void ItemListModel::clear() {
  if (rows_.empty()) return;
  beginRemoveRows(QModelIndex(), 0, static_cast<int>(rows_.size()) - 1);
  for (Row& row : rows_) FreeIdList(row.idList);
  rows_.clear();
  endRemoveRows();
}

void ItemListModel::sortItems(LPARAM sortParameter) {
  if (rows_.size() < 2 || !folder_) return;
  emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  std::vector<int> order(rows_.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    const HRESULT r = folder_->CompareIDs(sortParameter, rows_[static_cast<size_t>(a)].idList,
                                          rows_[static_cast<size_t>(b)].idList);
    return static_cast<int32_t>(r) < 0;
  });
  std::vector<int> newRowOf(rows_.size());
  std::vector<Row> sorted;
  sorted.reserve(rows_.size());
  for (size_t i = 0; i < order.size(); ++i) {
    newRowOf[static_cast<size_t>(order[i])] = static_cast<int>(i);
    sorted.push_back(std::move(rows_[static_cast<size_t>(order[i])]));
  }
  rows_ = std::move(sorted);
  const QModelIndexList before = persistentIndexList();
  QModelIndexList after;
  after.reserve(before.size());
  for (const QModelIndex& old : before) after.push_back(index(newRowOf[static_cast<size_t>(old.row())], old.column()));
  changePersistentIndexList(before, after);
  emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void ItemListModel::setLargeIcons(bool large) {
  if (large == largeIcons_) return;
  largeIcons_ = large;
  iconCache_.clear();
  if (!rows_.empty()) emit dataChanged(index(0, 0), index(static_cast<int>(rows_.size()) - 1, 0), {Qt::DecorationRole});
}

LPCITEMIDLIST ItemListModel::itemIdList(int row) const {
  if (row < 0 || static_cast<size_t>(row) >= rows_.size()) return nullptr;
  return rows_[static_cast<size_t>(row)].idList;
}

QString ItemListModel::infoText(int row) const {
  if (row < 0 || static_cast<size_t>(row) >= rows_.size()) return {};
  const char* text = GetItemText(1, rows_[static_cast<size_t>(row)].idList);
  return text ? QString::fromUtf8(text) : QString();
}

QString ItemListModel::textOf(const Row& row, int column) const {
  if (column < 0 || static_cast<size_t>(column) >= row.texts.size()) return {};
  std::optional<QString>& cached = row.texts[static_cast<size_t>(column)];
  if (cached) return *cached;
  QString text;
  if (column == 0) {
    STRRET name{};
    if (folder_ && SUCCEEDED(folder_->GetDisplayNameOf(row.idList, SHGDN_INFOLDER, &name)) &&
        name.uType == STRRET_WSTR && name.pOleStr) {
      text = QString::fromUtf16(name.pOleStr);
      g_shellMalloc->Free(name.pOleStr);
    }
  } else {
    const char* item = GetItemText(column, row.idList);
    text = QString::fromUtf8(item ? item : g_settings.NullValue);
  }
  cached = text;
  return text;
}

int ItemListModel::imageOf(const Row& row) const {
  if (row.image) return *row.image;
  int image = -1;
  if (folder_) {
    LPCITEMIDLIST items[] = {row.idList};
    ComPtr<IExtractIconA> extract;
    if (SUCCEEDED(folder_->GetUIObjectOf(nullptr, 1, items, IID_IExtractIconA, nullptr, extract.putVoid())) &&
        extract) {
      UINT flags = 0;
      extract->GetIconLocation(GIL_FORSHELL, nullptr, 0, &image, &flags);
    }
  }
  row.image = image;
  return image;
}

QIcon ItemListModel::iconOf(int image) const {
  if (image < 0) return {};
  auto found = iconCache_.find(image);
  if (found != iconCache_.end()) return found->second;
  QIcon icon;
  if (HICON handle = ImageList_GetIcon(largeIcons_ ? LargeImageList() : SmallImageList(), image, 0)) {
    icon = PlatformIconOf(handle);
    DestroyIcon(handle);
  }
  iconCache_.emplace(image, icon);
  return icon;
}
