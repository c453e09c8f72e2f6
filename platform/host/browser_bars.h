// The browser's toolbar and status bar as a view reaches them through
// IShellBrowser (SetToolbarItems, SendControlMsg with FCW_TOOLBAR/FCW_STATUS,
// SetStatusTextSB).
#pragma once

#include <QIcon>
#include <QLabel>
#include <QStatusBar>
#include <QToolBar>
#include <functional>
#include <vector>

#include "platform/com/shlobj.h"

class BrowserToolbar : public QToolBar {
  Q_OBJECT
 public:
  explicit BrowserToolbar(QWidget* parent);
  // Replaces the view's buttons (the host's own stay in front).
  void setViewButtons(const TBBUTTON* buttons, UINT count, std::function<QString(int)> tooltipFor);
  void clearViewButtons();
  LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  QAction* viewButton(int commandId) const;
  // Called with the command identifier when a view button is pressed.
  std::function<void(int)> onViewCommand;

 private:
  std::vector<QIcon> images_;    // the image list: strips added by TB_ADDBITMAP
  std::vector<QAction*> viewActions_;
};

class BrowserStatusBar : public QStatusBar {
  Q_OBJECT
 public:
  explicit BrowserStatusBar(QWidget* parent);
  void setSimpleText(const QString& text);
  LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  QString partText(int part) const;
  int partCount() const { return static_cast<int>(parts_.size()); }

 private:
  void setParts(int count, const int* rightEdges);
  std::vector<QLabel*> parts_;
};
