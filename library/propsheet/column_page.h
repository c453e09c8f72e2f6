// The column page (dialog 6 / 1006) and its handler: the description of one
// column as its item carries it (name, SQL type, sizes, nullability, remark),
// read without going to the database.
#pragma once

#include <cstdint>

#include "library/propsheet/handler_base.h"

class ColumnPageHandler final : public PropertySheetHandler {
 public:
  // For the column item `item` (a list; null stands for the empty list).
  static ColumnPageHandler* Create(LPCITEMIDLIST item);

  // Adds the column page always; it shows nothing when the item is no column.
  HRESULT STDMETHODCALLTYPE AddPages(LPFNADDPROPSHEETPAGE pfnAddPage, LPARAM lParam) override;

 private:
  explicit ColumnPageHandler(LPCITEMIDLIST item) : PropertySheetHandler(item) {}
};

// The name of an SQL data type code ("SQL_VARCHAR" for 12), or null for a
// code that the table does not know (SQL_REAL and the ODBC 3 date and time
// codes among them).
const char* SqlTypeName(int16_t dataType);
