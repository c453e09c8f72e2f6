// Reads one level of the ODBC catalog into a list of items: the data sources
// of the driver manager, the tables, views and procedures of a data source,
// the columns of a table (with their primary key positions) and the
// parameters and result columns of a procedure. Rows keep the driver's order.
#pragma once

#include "library/catalog/connection.h"
#include "library/catalog/item_id.h"

// Folder levels: what a folder lists.
inline constexpr int kLevelRoot = 1;
inline constexpr int kLevelDsn = 2;
inline constexpr int kLevelTable = 3;
inline constexpr int kLevelProcedure = 4;

// A singly linked list of one-item lists. Nodes and items come from the shell
// allocator and belong to the list.
class CatalogItemList {
 public:
  struct Node {
    Node* next;
    LPITEMIDLIST item;
  };

  CatalogItemList() = default;
  CatalogItemList(const CatalogItemList&) = delete;
  CatalogItemList& operator=(const CatalogItemList&) = delete;
  ~CatalogItemList() { Clear(); }

  // Takes ownership of `item`. False when the item is null or no node can be
  // had (the item is then freed).
  bool Append(LPITEMIDLIST item);
  void Clear();
  Node* head() const { return head_; }
  size_t size() const { return size_; }

 private:
  Node* head_ = nullptr;
  Node* tail_ = nullptr;
  size_t size_ = 0;
};

// What a folder tells the reader about itself.
struct CatalogSource {
  ConnectionContext* context;  // the folder's connection context
  int level;                   // kLevelRoot ... kLevelProcedure, 0 for none
  LPCITEMIDLIST ownIdList;     // the path below the root (data source first)
};

// Reads what `flags` (SHCONTF_FOLDERS, SHCONTF_NONFOLDERS) select at the
// source's level and appends it to `out`. False when filling failed; the
// caller then discards the whole list. ODBC errors land in the context's
// error text; nothing is shown here.
bool ReadCatalog(const CatalogSource& source, DWORD flags, CatalogItemList& out);
