#include "library/shell/item_list_view.h"

#include <QEvent>
#include <QFocusEvent>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QToolTip>
#include <QVBoxLayout>

#include "library/shell/item_list_model.h"

ItemListView::ItemListView(ItemListModel* model, QWidget* parent)
    : QWidget(parent), model_(model), selection_(new QItemSelectionModel(model, this)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);

  details_ = new QTreeView(this);
  details_->setModel(model_);
  details_->setSelectionModel(selection_);
  details_->setRootIsDecorated(false);
  details_->setItemsExpandable(false);
  details_->setUniformRowHeights(true);
  details_->setAllColumnsShowFocus(true);  // full row select
  details_->setSortingEnabled(false);     // sorting goes through the folder
  details_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  details_->setTextElideMode(Qt::ElideRight);
  QHeaderView* header = details_->header();
  header->setSectionsMovable(true);  // header drag and drop
  header->setSectionsClickable(true);
  header->setStretchLastSection(false);
  header->setMinimumSectionSize(0);
  header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  connect(header, &QHeaderView::sectionClicked, this, [this](int column) {
    if (onColumnClick) onColumnClick(column);
  });
  connect(header, &QHeaderView::sectionResized, this, [this](int, int, int) {
    if (!applyingWidths_ && onColumnsResized) onColumnsResized();
  });

  icons_ = new QListView(this);
  icons_->setModel(model_);
  icons_->setSelectionModel(selection_);
  icons_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  icons_->setMovement(QListView::Static);
  icons_->setResizeMode(QListView::Adjust);
  icons_->setUniformItemSizes(true);

  layout->addWidget(details_);
  layout->addWidget(icons_);
  for (QAbstractItemView* view : {static_cast<QAbstractItemView*>(details_), static_cast<QAbstractItemView*>(icons_)})
    wire(view);
  setFocusProxy(details_);
  setViewMode(FVM_DETAILS);
  setSingleSelection(false);
}

void ItemListView::wire(QAbstractItemView* view) {
  view->setSelectionBehavior(QAbstractItemView::SelectRows);
  view->setContextMenuPolicy(Qt::CustomContextMenu);
  view->installEventFilter(this);
  view->viewport()->installEventFilter(this);
  connect(view, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
    if (!oneClick_ && index.isValid() && onActivate) onActivate();
  });
  connect(view, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
    if (oneClick_ && index.isValid() && onActivate) onActivate();
  });
  connect(view, &QWidget::customContextMenuRequested, this, [this, view](const QPoint& pos) {
    if (onContextMenu) onContextMenu(view->viewport()->mapToGlobal(pos));
  });
}

void ItemListView::setViewMode(int mode) {
  if (mode < FVM_ICON || mode > FVM_DETAILS) mode = FVM_ICON;
  mode_ = mode;
  const bool hadFocus = current()->hasFocus();
  switch (mode) {
    case FVM_ICON:
      icons_->setViewMode(QListView::IconMode);
      icons_->setFlow(QListView::LeftToRight);
      icons_->setWrapping(true);
      icons_->setIconSize(QSize(32, 32));
      icons_->setGridSize(QSize(96, 64));
      icons_->setWordWrap(false);  // no label wrap
      break;
    case FVM_SMALLICON:
      icons_->setViewMode(QListView::ListMode);
      icons_->setFlow(QListView::LeftToRight);
      icons_->setWrapping(true);
      icons_->setIconSize(QSize(16, 16));
      icons_->setGridSize(QSize(160, 22));
      break;
    case FVM_LIST:
      icons_->setViewMode(QListView::ListMode);
      icons_->setFlow(QListView::TopToBottom);
      icons_->setWrapping(true);
      icons_->setIconSize(QSize(16, 16));
      icons_->setGridSize(QSize(160, 22));
      break;
    default: break;
  }
  const bool report = mode == FVM_DETAILS;
  details_->setVisible(report);
  icons_->setVisible(!report);
  setFocusProxy(current());
  if (hadFocus) current()->setFocus(Qt::OtherFocusReason);
}

QAbstractItemView* ItemListView::current() const {
  if (mode_ == FVM_DETAILS) return details_;
  return icons_;
}

void ItemListView::setSingleSelection(bool single) {
  const auto mode = single ? QAbstractItemView::SingleSelection : QAbstractItemView::ExtendedSelection;
  details_->setSelectionMode(mode);
  icons_->setSelectionMode(mode);
}

void ItemListView::setOneClickActivate(bool oneClick) {
  oneClick_ = oneClick;
  // Hot tracking: the row under the mouse is highlighted.
  details_->setMouseTracking(oneClick);
  icons_->setMouseTracking(oneClick);
}

void ItemListView::setColumnWidths(const std::vector<int>& widths) {
  applyingWidths_ = true;
  QHeaderView* header = details_->header();
  for (size_t i = 0; i < widths.size() && static_cast<int>(i) < header->count(); ++i)
    header->resizeSection(static_cast<int>(i), widths[i]);
  applyingWidths_ = false;
}

std::vector<int> ItemListView::columnWidths() const {
  std::vector<int> widths;
  const QHeaderView* header = details_->header();
  for (int i = 0; i < header->count(); ++i) widths.push_back(header->sectionSize(i));
  return widths;
}

std::vector<int> ItemListView::selectedRows() const {
  std::vector<int> rows;
  for (const QModelIndex& index : selection_->selectedRows()) rows.push_back(index.row());
  std::sort(rows.begin(), rows.end());
  return rows;
}

void ItemListView::setRowSelected(int row, bool selected) {
  const QModelIndex index = model_->index(row, 0);
  if (!index.isValid()) return;
  selection_->select(index, (selected ? QItemSelectionModel::Select : QItemSelectionModel::Deselect) |
                                QItemSelectionModel::Rows);
}

void ItemListView::selectAll() {
  const int rows = model_->rowCount();
  if (rows == 0) return;
  const QItemSelection all(model_->index(0, 0), model_->index(rows - 1, model_->columnCount() - 1));
  selection_->select(all, QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

void ItemListView::invertSelection() {
  const int rows = model_->rowCount();
  if (rows == 0) return;
  const QItemSelection all(model_->index(0, 0), model_->index(rows - 1, model_->columnCount() - 1));
  selection_->select(all, QItemSelectionModel::Toggle | QItemSelectionModel::Rows);
}

void ItemListView::focusRow(int row) {
  const QModelIndex index = model_->index(row, 0);
  if (index.isValid()) selection_->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
}

bool ItemListView::eventFilter(QObject* watched, QEvent* event) {
  const bool isView = watched == details_ || watched == icons_;
  switch (event->type()) {
    case QEvent::KeyPress:
      if (isView) {
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && !selection_->selectedRows().isEmpty()) {
          if (onActivate) onActivate();
          return true;
        }
      }
      break;
    case QEvent::FocusIn:
      if (isView && onFocus) onFocus(true);
      break;
    case QEvent::FocusOut: {
      // A popup menu opening or the window losing activation does not take
      // the view's focus away from the user's point of view.
      const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
      if (isView && onFocus && reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
        onFocus(false);
      break;
    }
    case QEvent::ToolTip: {
      if (isView || !infoTips_ || !infoTipFor) break;
      auto* help = static_cast<QHelpEvent*>(event);
      QAbstractItemView* view = current();
      if (watched != view->viewport()) break;
      const QModelIndex index = view->indexAt(help->pos());
      QString tip;
      if (index.isValid()) {
        // A name that the list cuts short is shown in full above the tip.
        const QModelIndex name = model_->index(index.row(), 0);
        const QString text = name.data(Qt::DisplayRole).toString();
        const QRect rect = view->visualRect(name);
        const int needed = view->fontMetrics().horizontalAdvance(text) + view->iconSize().width() + 12;
        const QString info = infoTipFor(index.row());
        tip = needed > rect.width() ? text : QString();
        if (!info.isEmpty()) tip = tip.isEmpty() ? info : tip + QLatin1Char('\n') + info;
      }
      if (tip.isEmpty()) QToolTip::hideText();
      else QToolTip::showText(help->globalPos(), tip, view->viewport());
      return true;
    }
    default: break;
  }
  return QWidget::eventFilter(watched, event);
}
