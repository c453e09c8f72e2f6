// The view's list control (control 2000): one model shown either as a report
// (a tree view without branches, with a header whose columns can be dragged
// and resized) or as icons, small icons or a list (a list view). Both share
// the model and one selection model, so the selection and the focus survive
// a change of the view mode.
#pragma once

#include <QItemSelectionModel>
#include <QListView>
#include <QTreeView>
#include <QWidget>
#include <functional>
#include <vector>

#include "platform/com/shlobj.h"

class ItemListModel;

class ItemListView final : public QWidget {
  Q_OBJECT
 public:
  ItemListView(ItemListModel* model, QWidget* parent);

  // FVM_ICON ... FVM_DETAILS; anything else is treated as FVM_ICON.
  void setViewMode(int mode);
  int viewMode() const { return mode_; }
  void setSingleSelection(bool single);
  // Single-click activation with hot tracking (true) or double click.
  void setOneClickActivate(bool oneClick);
  void setInfoTips(bool on) { infoTips_ = on; }

  // Columns (header widths in pixels) of the report mode.
  void setColumnWidths(const std::vector<int>& widths);
  std::vector<int> columnWidths() const;

  QTreeView* details() const { return details_; }
  QListView* icons() const { return icons_; }
  QAbstractItemView* current() const;
  QItemSelectionModel* selection() const { return selection_; }
  ItemListModel* model() const { return model_; }

  // The selected rows in ascending order.
  std::vector<int> selectedRows() const;
  void selectAll();
  void invertSelection();
  void setRowSelected(int row, bool selected);
  void focusRow(int row);

  // Callbacks to the view.
  std::function<void()> onActivate;                  // double click / Enter
  std::function<void(QPoint global)> onContextMenu;  // right click
  std::function<void(int column)> onColumnClick;
  std::function<void()> onColumnsResized;            // the user dragged a divider
  std::function<void(bool focusIn)> onFocus;
  std::function<QString(int row)> infoTipFor;        // tip text, or empty

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void wire(QAbstractItemView* view);

  ItemListModel* model_;
  QItemSelectionModel* selection_;
  QTreeView* details_;
  QListView* icons_;
  int mode_ = FVM_DETAILS;
  bool oneClick_ = false;
  bool infoTips_ = false;
  bool applyingWidths_ = false;
};
