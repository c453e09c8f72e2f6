// Helpers of the property sheet tests: folders made for a path, a sheet run
// under a dialog watcher, and readers of the sheet's tabs and lists.
#pragma once

#include <QDialog>
#include <QStringList>

#include <functional>
#include <memory>
#include <ostream>

#include "library/catalog/item_id.h"
#include "library/shell/shell_folder.h"

class QTabWidget;
class QTreeWidget;

struct ReleaseFolder {
  void operator()(ShellFolder* folder) const {
    if (folder) folder->Release();
  }
};
using FolderPtr = std::unique_ptr<ShellFolder, ReleaseFolder>;

struct FreeList {
  void operator()(ITEMIDLIST* list) const { FreeIdList(list); }
};
using ListPtr = std::unique_ptr<ITEMIDLIST, FreeList>;

// A folder below `parent` (null: the root) for the relative path `relative`.
FolderPtr MakeFolder(ShellFolder* parent, LPCITEMIDLIST relative);

ListPtr DsnItem(const char* name);
ListPtr TableItem(const char* name, const char* schema = nullptr, const char* catalog = nullptr);

// Shows the properties of `cidl` items of `folder` and lets `act` look at the
// sheet and close it. Returns PropertySheetA's result; `seen` counts sheets.
INT_PTR RunProperties(ShellFolder* folder, UINT cidl, LPCITEMIDLIST* apidl, const std::function<void(QDialog*)>& act,
                      int* seen = nullptr);

QTabWidget* SheetTabs(QDialog* sheet);
// The tab texts and the pages' object names (template ids) in tab order.
QStringList TabTexts(QDialog* sheet);
QStringList PageIds(QDialog* sheet);
// Shows the page with the template id (with language offset) and returns it.
QWidget* ShowPage(QDialog* sheet, int templateId);
void PressOk(QDialog* sheet);
void PressCancel(QDialog* sheet);

// The texts of a list column, top to bottom.
QStringList ColumnTexts(QTreeWidget* list, int column);
QStringList HeaderTexts(QTreeWidget* list);

// Readable failure messages for Qt texts.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QStringList& texts, std::ostream* out) {
  *out << '{' << texts.join(QStringLiteral(", ")).toStdString() << '}';
}
