// The accelerator tables as data (language-neutral, loaded without the
// language offset) and a helper that installs one on a widget.
//
//   table 1 (shell view):     Ctrl+A -> 17 select all, Ctrl+C -> 112 copy
//   table 128 (result window): Ctrl+C and Ctrl+Insert -> 112 copy, F5 -> 1081 refresh
#pragma once

#include <QKeySequence>
#include <cstddef>
#include <functional>
#include <vector>

#include "platform/com/wintypes.h"

class QAction;
class QWidget;

struct AcceleratorDef {
  QKeyCombination key;
  UINT commandId;
};

struct AcceleratorTable {
  UINT id;
  const AcceleratorDef* entries;
  size_t count;
};

// The table with this id (1 or 128), or null.
const AcceleratorTable* FindAcceleratorTable(UINT tableId);

// The command of a key in a table, or 0 when the key is not in it. Used
// where a key press has to be translated by hand (a key notified by a
// child list), as TranslateAccelerator does.
UINT TranslateAcceleratorKey(UINT tableId, QKeyCombination key);

// Adds one QAction per entry of the table to the widget, with the key as its
// shortcut (context: the widget and its children), the command id on the
// action (PlatformMenuItemId), and `onCommand(commandId)` run when the key
// fires. Returns the actions (owned by the widget); empty for an unknown
// table.
std::vector<QAction*> InstallAccelerators(QWidget* widget, UINT tableId,
                                          std::function<void(UINT commandId)> onCommand);
