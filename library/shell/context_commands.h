// The commands of the context menu, by offset. Each runs on the GUI thread
// with what the menu object holds; none reports back (InvokeCommand answers
// S_OK whatever the outcome, failures reach the user in message boxes).
#pragma once

#include <string>

#include "platform/com/shlobj.h"

class ShellFolder;

struct CommandTarget {
  ShellFolder* folder;   // may be null
  HWND owner;            // owner of dialogs and message boxes
  bool exploreMode;
  LPITEMIDLIST* items;   // relative to the folder, ended by a null entry
  UINT count;
  IShellView* view;      // the view that invoked the command, or null
};

void RunContextCommand(UINT offset, const CommandTarget& target);

// Sends the view its details (true) or list (false) mode command; nothing
// without a view.
void SwitchViewMode(IShellView* view, bool details);

// The statements of "&Select * from": one table, and the chosen columns of
// a table (text 0 of each, joined by "," without blanks, or "*" for none).
// Empty when there is no table name.
std::string TableSelectStatement(LPCITEMIDLIST table);
std::string ColumnSelectStatement(const LPITEMIDLIST* columns, UINT count, LPCITEMIDLIST table);
// SBSP_ flags of explore (offset 0) and open (offset 1) by explore mode.
UINT BrowseFlags(UINT offset, bool exploreMode);
