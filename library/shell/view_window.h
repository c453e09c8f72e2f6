// The view window of class "DatrovaNSClass": the banner (control 2001) on
// top, and below it the list (control 2000) and the overlay (control 2002)
// that covers the list to show progress and errors. Its message entry is
// the view's window procedure.
#pragma once

#include <QLabel>
#include <QPointer>
#include <QWidget>

#include "platform/ui/window_messages.h"

class ItemListModel;
class ItemListView;
class ShellView;

inline constexpr int kListControlId = 2000;
inline constexpr int kBannerControlId = 2001;
inline constexpr int kOverlayControlId = 2002;
inline constexpr const char* kViewWindowClass = "DatrovaNSClass";

class ViewWindow final : public QWidget, public MessageTarget {
  Q_OBJECT
 public:
  ViewWindow(ShellView* view, ItemListModel* model, QWidget* parent);
  ~ViewWindow() override;

  LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

  QLabel* banner() const { return banner_; }
  ItemListView* list() const { return list_; }
  QLabel* overlay() const { return overlay_; }
  ItemListModel* model() const { return model_; }
  int bannerHeight() const { return bannerHeight_; }

  // Shows `text` over the list (which is hidden), or the list again.
  void showOverlay(const QString& text);
  void showList();

  // The view forgets the window before it is destroyed.
  void detachView() { view_ = nullptr; }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;

 private:
  void layoutChildren();

  ShellView* view_;
  ItemListModel* model_;
  QLabel* banner_;
  ItemListView* list_;
  QLabel* overlay_;
  int bannerHeight_;
};
