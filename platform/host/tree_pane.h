// The folder tree of explore mode: My Computer, its junctions, and below
// them the folders that report SFGAO_HASSUBFOLDER, filled on expansion with
// EnumObjects(SHCONTF_FOLDERS). Each node shows its closed icon, and its open
// icon while expanded. Nodes keep only their absolute ID list: folders are
// bound for a fill and released again, so an extension can unload once the
// user has left it.
#pragma once

#include <QTreeWidget>
#include <functional>

#include "platform/host/id_list.h"

class TreePane : public QTreeWidget {
  Q_OBJECT
 public:
  static constexpr int kIdListRole = Qt::UserRole + 1;
  static constexpr int kClosedIconRole = Qt::UserRole + 2;
  static constexpr int kOpenIconRole = Qt::UserRole + 3;
  static constexpr int kFilledRole = Qt::UserRole + 4;

  explicit TreePane(QWidget* parent);
  // Builds the top again: My Computer and the registered junctions.
  void reload();
  // The node of an absolute list, when it is in the tree.
  QTreeWidgetItem* nodeOf(const IdList& absolute) const;
  static IdList idListOf(const QTreeWidgetItem* node);
  // Selects the node of `absolute` (expanding its ancestors that are
  // present) without reporting it as the user's choice.
  void showCurrent(const IdList& absolute);
  // Fills the children of every filled node for `absolute` again.
  void refreshFolder(const IdList& absolute);

  std::function<void(const IdList&)> onActivated;  // the user chose a node
  std::function<void(const IdList&, const QPoint&)> onContextMenu;

 private:
  QTreeWidgetItem* addNode(QTreeWidgetItem* parent, const QString& text, const IdList& absolute, bool hasChildren,
                           const QIcon& closed, const QIcon& open);
  void fill(QTreeWidgetItem* node);
  bool quiet_ = false;
};
