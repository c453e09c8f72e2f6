#include "library/shell/view_columns.h"

#include <algorithm>

#include "library/catalog/connection.h"
#include "library/catalog/settings.h"
#include "library/res/resource_ids.h"
#include "library/res/strings.h"

namespace {

constexpr UINT kRootHeaders[] = {IDS_HDR_ROOT_DSN, IDS_HDR_ROOT_DRIVER, IDS_HDR_ROOT_TYPE};
constexpr UINT kTableHeaders[] = {IDS_HDR_TABLE_NAME, IDS_HDR_TABLE_QUALIFIER, IDS_HDR_TABLE_OWNER,
                                  IDS_HDR_TABLE_TYPE, IDS_HDR_TABLE_REMARK};
constexpr UINT kColumnHeaders[] = {IDS_HDR_COLUMN_NAME, IDS_HDR_COLUMN_TYPE, IDS_HDR_COLUMN_NULLABLE,
                                   IDS_HDR_COLUMN_PRIMKEY, IDS_HDR_COLUMN_REMARK};
constexpr UINT kProcColumnHeaders[] = {IDS_HDR_PROCCOL_NAME,     IDS_HDR_PROCCOL_INOUT, IDS_HDR_PROCCOL_DATATYPE,
                                       IDS_HDR_PROCCOL_NULLABLE, IDS_HDR_PROCCOL_ORDER, IDS_HDR_PROCCOL_REMARK};

constexpr int kMinFirstColumnWidth = 50;

struct LevelColumns {
  const UINT* headers;
  int count;
  int firstSlot;
};

LevelColumns ColumnsOf(int level) {
  switch (level) {
    case 1: return {kRootHeaders, 3, 0};
    case 2: return {kTableHeaders, 5, 3};
    case 3: return {kColumnHeaders, 5, 8};
    case 4: return {kProcColumnHeaders, 6, 13};
    default: return {nullptr, 0, 0};
  }
}

}  // namespace

ColumnRange ColumnRangeOf(int level) {
  const LevelColumns set = ColumnsOf(level);
  return {set.firstSlot, set.count};
}

std::vector<ViewColumn> ColumnsOfLevel(int level, const ConnectionContext* terms) {
  const LevelColumns set = ColumnsOf(level);
  std::vector<ViewColumn> columns;
  for (int i = 0; i < set.count; ++i) {
    ViewColumn column;
    column.header = QString::fromUtf8(ResString(set.headers[i]));
    column.widthSlot = set.firstSlot + i;
    column.width = std::max(0, g_settings.columnWidths[column.widthSlot]);
    if (i == 0) column.width = std::max(column.width, kMinFirstColumnWidth);
    columns.push_back(column);
  }
  if (level == 2 && terms && terms->termsLoaded) {
    columns[1].header = QString::fromUtf8(terms->catalogTerm);
    if (!terms->catalogsSupported) {
      columns[1].width = 0;
      columns[1].fixedByDriver = true;
    }
    columns[2].header = QString::fromUtf8(terms->ownerTerm);
    if (terms->ownerTerm[0] == '\0') {
      columns[2].width = 0;
      columns[2].fixedByDriver = true;
    }
  }
  return columns;
}
