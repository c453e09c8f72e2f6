// The columns the view shows at each folder level: header string, and the
// position of the column's width in the settings' width table. Column i of
// a level shows item text number i of the listed items.
#pragma once

#include <QString>
#include <vector>

struct ConnectionContext;

struct ViewColumn {
  QString header;
  int width;       // pixels; 0 hides a column the driver does not support
  int widthSlot;   // index into g_settings.columnWidths
  bool fixedByDriver = false;  // width forced to 0 by the driver, not the user's
};

// First width table position and column count of a level (1 root, 2 data
// source, 3 table, 4 procedure); {0, 0} for anything else.
struct ColumnRange {
  int first;
  int count;
};
ColumnRange ColumnRangeOf(int level);

// The columns of a level with their headers and stored widths. At level 2
// the qualifier and owner headers take the driver's catalog and schema terms
// when `terms` holds them (null or not loaded: the string table texts).
std::vector<ViewColumn> ColumnsOfLevel(int level, const ConnectionContext* terms);
