// The right-hand pane: hosts the IShellView of the current folder (or the
// host's own list of My Computer's junctions) and switches the view's UI
// state as the keyboard focus enters and leaves it.
#pragma once

#include <QListWidget>
#include <QPointer>
#include <QVBoxLayout>
#include <QWidget>

#include "platform/com/shlobj.h"
#include "platform/host/id_list.h"

class ViewPane : public QWidget {
  Q_OBJECT
 public:
  explicit ViewPane(QWidget* parent);
  ~ViewPane() override;

  // Leaves the current folder (SaveViewState, DestroyViewWindow) and shows
  // `absolute` through `browser`. `mode` is the view mode to offer the new
  // view (it may restore its own from the view state stream).
  HRESULT show(const IdList& absolute, IShellBrowser* browser, UINT mode);
  // Leaves the current folder without showing another.
  void leave();
  void refresh();

  IShellView* view() const { return view_.get(); }
  IShellFolder* folder() const { return folder_.get(); }
  HWND viewWindow() const { return viewWindow_; }
  QListWidget* computerList() const { return computerList_; }
  UINT currentMode() const;
  // The UI state last given to the view (SVUIA_*).
  UINT uiState() const { return uiState_; }

 signals:
  void junctionActivated(const QByteArray& absolute);
  void junctionContextMenu(const QByteArray& absolute, const QPoint& globalPos);

 private:
  void onFocusChanged(QWidget* old, QWidget* now);
  void activate(UINT state);
  void fillComputerList();

  QVBoxLayout* layout_;
  QListWidget* computerList_;
  ComPtr<IShellFolder> folder_;
  ComPtr<IShellView> view_;
  QPointer<QWidget> viewWindow_;
  UINT uiState_ = SVUIA_DEACTIVATE;
  UINT lastMode_ = FVM_DETAILS;
};
