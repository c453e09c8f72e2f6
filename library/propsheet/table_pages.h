// The table metadata pages and their handler: privileges (dialog 12),
// primary key (13), foreign keys that refer to the table (10) and indexes
// (11), each added only when the driver supports its catalog function, and
// each filled once, when it is first shown, through the folder's connection.
#pragma once

#include <cstdint>
#include <forward_list>
#include <string>

#include "library/propsheet/handler_base.h"

class ShellFolder;

// The sort key of one row of the primary key, foreign key and index pages.
inline constexpr size_t kSortNameMax = 129;  // bytes kept of a sort name
struct TableRecord {
  int16_t sortNumber = 0;
  char sortName[kSortNameMax + 1] = "";
};

// The order of two rows: -1 when either has no record; otherwise the sort
// names by the locale's collation and, for equal names, the smaller number
// first (two equal numbers give 1).
int CompareTableRecords(const TableRecord* a, const TableRecord* b);

// Texts of the foreign key update and delete rules (SQL_CASCADE ...), null
// for an unknown value.
const char* ReferentialRuleText(int16_t rule);

class TablePagesHandler final : public PropertySheetHandler {
 public:
  // For the table `item` (or, when it is no table, the table of `folder`),
  // shown by `folder`. The handler holds a reference on the folder.
  static TablePagesHandler* Create(ShellFolder* folder, LPCITEMIDLIST item);

  HRESULT STDMETHODCALLTYPE AddPages(LPFNADDPROPSHEETPAGE pfnAddPage, LPARAM lParam) override;

  ShellFolder* Folder() const { return folder_; }
  const std::string& DataSource() const { return dataSource_; }
  const std::string& Catalog() const { return catalog_; }
  const std::string& Schema() const { return schema_; }
  const std::string& Table() const { return table_; }

  // A new record at the head of the handler's list; null when memory runs out.
  TableRecord* NewRecord();
  // Frees every record of the list.
  void FreeRecords() { records_.clear(); }

 private:
  TablePagesHandler(ShellFolder* folder, LPCITEMIDLIST item);
  ~TablePagesHandler() override;

  ShellFolder* folder_;
  std::string dataSource_;
  std::string catalog_;
  std::string schema_;
  std::string table_;
  // Newest first. Freed with the handler (after every page of it is gone),
  // so no list ever holds a freed record.
  std::forward_list<TableRecord> records_;
};
