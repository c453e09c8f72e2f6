#include "platform/host/tree_pane.h"

#include <QApplication>
#include <QHeaderView>
#include <QStyle>

#include "platform/host/host_strings.h"
#include "platform/host/shell_namespace.h"
#include "platform/ui/ui.h"

TreePane::TreePane(QWidget* parent) : QTreeWidget(parent) {
  setObjectName(QStringLiteral("tree"));
  setHeaderHidden(true);
  setColumnCount(1);
  setContextMenuPolicy(Qt::CustomContextMenu);
  connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* node) {
    if (!node->data(0, kFilledRole).toBool()) fill(node);
    node->setIcon(0, node->data(0, kOpenIconRole).value<QIcon>());
  });
  connect(this, &QTreeWidget::itemCollapsed, this,
          [](QTreeWidgetItem* node) { node->setIcon(0, node->data(0, kClosedIconRole).value<QIcon>()); });
  connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* node, QTreeWidgetItem*) {
    if (!quiet_ && node && onActivated) onActivated(idListOf(node));
  });
  connect(this, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
    QTreeWidgetItem* node = itemAt(pos);
    if (node && onContextMenu) onContextMenu(idListOf(node), viewport()->mapToGlobal(pos));
  });
  reload();
}

IdList TreePane::idListOf(const QTreeWidgetItem* node) {
  if (!node) return IdList();
  return IdList::fromBytes(node->data(0, kIdListRole).toByteArray()).value_or(IdList());
}

QTreeWidgetItem* TreePane::addNode(QTreeWidgetItem* parent, const QString& text, const IdList& absolute,
                                   bool hasChildren, const QIcon& closed, const QIcon& open) {
  auto* node = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
  node->setText(0, text);
  node->setData(0, kIdListRole, absolute.toBytes());
  node->setData(0, kClosedIconRole, closed);
  node->setData(0, kOpenIconRole, open.isNull() ? closed : open);
  node->setData(0, kFilledRole, false);
  node->setIcon(0, closed);
  node->setChildIndicatorPolicy(hasChildren ? QTreeWidgetItem::ShowIndicator
                                            : QTreeWidgetItem::DontShowIndicatorWhenChildless);
  return node;
}

void TreePane::reload() {
  quiet_ = true;
  clear();
  QStyle* style = QApplication::style();
  QTreeWidgetItem* root = addNode(nullptr, HostText(IDS_HOST_MY_COMPUTER), MyComputerList(), true,
                                  style->standardIcon(QStyle::SP_ComputerIcon), QIcon());
  fill(root);
  root->setExpanded(true);
  quiet_ = false;
}

void TreePane::fill(QTreeWidgetItem* node) {
  const bool wasQuiet = quiet_;
  quiet_ = true;
  qDeleteAll(node->takeChildren());
  node->setData(0, kFilledRole, true);
  const IdList absolute = idListOf(node);
  QStyle* style = QApplication::style();
  const QIcon dirClosed = style->standardIcon(QStyle::SP_DirClosedIcon);
  const QIcon dirOpen = style->standardIcon(QStyle::SP_DirOpenIcon);
  if (absolute == MyComputerList()) {
    for (const Junction& j : ListJunctions()) addNode(node, j.name, j.absolute, true, dirClosed, dirOpen);
    quiet_ = wasQuiet;
    return;
  }
  HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  ComPtr<IShellFolder> folder;
  ComPtr<IEnumIDList> items;
  if (SUCCEEDED(BindFolder(absolute, folder.put())) &&
      SUCCEEDED(folder->EnumObjects(window(), SHCONTF_FOLDERS, items.put())) && items) {
    for (;;) {
      LPITEMIDLIST raw = nullptr;
      ULONG fetched = 0;
      if (items->Next(1, &raw, &fetched) != S_OK || !raw) break;
      std::optional<IdList> child = IdList::fromRaw(raw);
      CoTaskMemFree(raw);
      if (!child || child->isEmpty()) continue;
      LPCITEMIDLIST item = child->get();
      ULONG attributes = SFGAO_FOLDER | SFGAO_HASSUBFOLDER;
      if (FAILED(folder->GetAttributesOf(1, &item, &attributes)) || !(attributes & SFGAO_FOLDER)) continue;
      ItemIcons icons = IconsOf(folder.get(), *child, window());
      if (icons.closed.isNull()) icons = ItemIcons{dirClosed, dirOpen};
      addNode(node, DisplayNameOf(folder.get(), *child, SHGDN_INFOLDER), absolute + *child,
              (attributes & SFGAO_HASSUBFOLDER) != 0, icons.closed, icons.open);
    }
  }
  if (node->childCount() == 0) node->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
  SetCursor(previous);
  quiet_ = wasQuiet;
}

QTreeWidgetItem* TreePane::nodeOf(const IdList& absolute) const {
  const QByteArray key = absolute.toBytes();
  std::function<QTreeWidgetItem*(QTreeWidgetItem*)> search = [&](QTreeWidgetItem* node) -> QTreeWidgetItem* {
    if (node->data(0, kIdListRole).toByteArray() == key) return node;
    for (int i = 0; i < node->childCount(); ++i)
      if (QTreeWidgetItem* found = search(node->child(i))) return found;
    return nullptr;
  };
  for (int i = 0; i < topLevelItemCount(); ++i)
    if (QTreeWidgetItem* found = search(topLevelItem(i))) return found;
  return nullptr;
}

void TreePane::showCurrent(const IdList& absolute) {
  quiet_ = true;
  // Expand the ancestors one level at a time so that their children exist.
  for (size_t n = 1; n < absolute.itemCount(); ++n)
    if (QTreeWidgetItem* ancestor = nodeOf(absolute.first(n))) ancestor->setExpanded(true);
  if (QTreeWidgetItem* node = nodeOf(absolute)) {
    setCurrentItem(node);
    scrollToItem(node);
  }
  quiet_ = false;
}

void TreePane::refreshFolder(const IdList& absolute) {
  QTreeWidgetItem* node = nodeOf(absolute);
  if (!node || !node->data(0, kFilledRole).toBool()) return;
  const IdList current = idListOf(currentItem());
  const bool expanded = node->isExpanded();
  fill(node);
  node->setExpanded(expanded);
  showCurrent(current);
}
