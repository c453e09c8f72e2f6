#include "library/propsheet/table_pages.h"

#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <clocale>
#include <cstring>
#include <new>
#include <vector>

#include "library/catalog/connection.h"
#include "library/catalog/item_id.h"
#include "library/catalog/login_dialog.h"
#include "library/res/resource_ids.h"
#include "library/res/strings.h"
#include "library/shell/shell_folder.h"
#include "platform/ui/ui.h"
#include "platform/ui/wait_cursor.h"

int CompareTableRecords(const TableRecord* a, const TableRecord* b) {
  if (!a || !b) return -1;
  const int byName = std::strcoll(a->sortName, b->sortName);
  if (byName != 0) return byName < 0 ? -1 : 1;
  return a->sortNumber < b->sortNumber ? -1 : 1;
}

const char* ReferentialRuleText(int16_t rule) {
  // 0 and 1 are the program's own texts. For 2 to 4 the standard's names are
  // what a user of the data source's own tools reads (the older table had
  // "DELETE" for 3, which says nothing about what the server does).
  switch (rule) {
    case SQL_CASCADE: return "CASCADE";
    case SQL_RESTRICT: return "RESTRICT";
    case SQL_SET_NULL: return "SET NULL";
    case SQL_NO_ACTION: return "NO ACTION";
    case SQL_SET_DEFAULT: return "SET DEFAULT";
    default: return nullptr;
  }
}

namespace {

constexpr int kColumnWidth = 100;
constexpr int kKeyColumnWidth = 200;
constexpr SQLLEN kTextColumnSize = 129;

// Bound result columns: text as SQL_C_CHAR into 129 bytes, 16-bit numbers as
// SQL_C_SSHORT, each with its own indicator.
struct TextColumn {
  char data[kTextColumnSize] = "";
  SQLLEN indicator = SQL_NULL_DATA;
  bool isNull() const { return indicator == SQL_NULL_DATA; }
  QString text() const { return isNull() ? QString() : QString::fromUtf8(data); }
};
struct ShortColumn {
  SQLSMALLINT value = 0;
  SQLLEN indicator = SQL_NULL_DATA;
  bool isNull() const { return indicator == SQL_NULL_DATA; }
};

// One list row before it goes into the list: its texts by column and, on the
// pages with records, its sort key.
struct Row {
  QStringList texts;
  const TableRecord* record = nullptr;
};

class TablePage final : public PropertyPage {
 public:
  TablePage(QWidget* parent, LPCPROPSHEETPAGEA ppsp) : PropertyPage(parent, ppsp) {
    list_ = new QTreeWidget(this);
    list_->setObjectName(QString::number(IDC_TABLE_LIST));
    list_->setRootIsDecorated(false);
    list_->setSortingEnabled(false);
    list_->header()->setSectionsClickable(false);
    list_->setSelectionMode(TemplateBase() == IDD_PAGE_PRIMARY_KEYS || TemplateBase() == IDD_PAGE_INDEXES
                                ? QAbstractItemView::SingleSelection
                                : QAbstractItemView::ExtendedSelection);
    message_ = new QLabel(this);
    message_->setObjectName(QString::number(IDC_TABLE_MESSAGE));
    message_->setWordWrap(true);
    message_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    message_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    message_->hide();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_, 1);
    layout->addWidget(message_, 1);
  }

  void Fill() {
    auto* handler = static_cast<TablePagesHandler*>(Handler());
    if (!handler) return;
    switch (TemplateBase()) {
      case IDD_PAGE_INDEXES: FillIndexes(*handler); break;
      case IDD_PAGE_FOREIGN_KEYS: FillForeignKeys(*handler); break;
      case IDD_PAGE_PRIVILEGES: FillPrivileges(*handler); break;
      case IDD_PAGE_PRIMARY_KEYS: FillPrimaryKeys(*handler); break;
      default: break;
    }
  }

 private:
  // The steps every fill shares: columns, statement, catalog call, bind,
  // fetch, sort, release. `call` runs the catalog function; `bind` binds the
  // columns the result has (given their count); `row` turns the bound values
  // of one fetched row into a list row.
  template <typename Call, typename Bind, typename MakeRow>
  void RunCatalogFill(TablePagesHandler& handler, bool sorted, Call call, Bind bind, MakeRow row) {
    if (handler.Table().empty() || !handler.Folder()) return;
    ConnectionContext& context = handler.Folder()->Connection();
    SQLHSTMT statement = SQL_NULL_HSTMT;
    if (!AllocStatement(context, handler.DataSource().c_str(), &statement)) {
      ReleaseStatement(context, &statement);
      return;
    }
    std::vector<Row> rows;  // in list order: each new row goes to the top
    SQLRETURN rc = call(statement);
    if (!OdbcSucceeded(rc)) {
      ReportStatementError(context, rc, statement);
      ShowError(context);
    } else {
      SQLSMALLINT columns = 0;
      SQLNumResultCols(statement, &columns);
      bind(statement, columns);
      while ((rc = SQLFetch(statement)) != SQL_NO_DATA) {
        if (!OdbcSucceeded(rc)) {
          // The rows already read stay; the error is kept without a message.
          ReportStatementError(context, rc, statement);
          break;
        }
        Row next = row();
        if (!next.texts.isEmpty()) rows.insert(rows.begin(), std::move(next));  // empty: a skipped row
      }
    }
    if (sorted) {
      std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) {
        if (!a.record || !b.record) return a.record == nullptr && b.record != nullptr;
        return CompareTableRecords(a.record, b.record) < 0;
      });
    }
    AddRows(rows);
    ReleaseStatement(context, &statement);
  }

  void ShowError(const ConnectionContext& context) {
    message_->setText(QString::fromUtf8(context.errorText ? context.errorText : ""));
    message_->show();
    list_->hide();
  }

  void SetColumns(const QStringList& headers, int width) {
    list_->setColumnCount(static_cast<int>(headers.size()));
    list_->setHeaderLabels(headers);
    for (int i = 0; i < headers.size(); ++i) list_->setColumnWidth(i, width);
  }

  void AddRows(const std::vector<Row>& rows) {
    QList<QTreeWidgetItem*> items;
    for (const Row& row : rows) {
      auto* item = new QTreeWidgetItem(row.texts);
      item->setData(0, Qt::UserRole, QVariant::fromValue(reinterpret_cast<quintptr>(row.record)));
      items.append(item);
    }
    list_->addTopLevelItems(items);
  }

  static QString Res(UINT id) { return QString::fromUtf8(ResString(id)); }

  // Catalog, schema and table as the catalog functions take them: a missing
  // or empty catalog or schema is passed as null with length 0.
  struct Names {
    SQLCHAR* catalog;
    SQLSMALLINT catalogLength;
    SQLCHAR* schema;
    SQLSMALLINT schemaLength;
    SQLCHAR* table;
  };
  static Names NamesOf(const TablePagesHandler& handler) {
    auto text = [](const std::string& s) {
      return s.empty() ? nullptr : reinterpret_cast<SQLCHAR*>(const_cast<char*>(s.c_str()));
    };
    Names names{text(handler.Catalog()), 0, text(handler.Schema()), 0, text(handler.Table())};
    names.catalogLength = names.catalog ? SQL_NTS : 0;
    names.schemaLength = names.schema ? SQL_NTS : 0;
    return names;
  }

  static void BindText(SQLHSTMT statement, SQLSMALLINT columns, SQLUSMALLINT number, TextColumn& column) {
    if (number <= columns)
      SQLBindCol(statement, number, SQL_C_CHAR, column.data, kTextColumnSize, &column.indicator);
  }
  static void BindShort(SQLHSTMT statement, SQLSMALLINT columns, SQLUSMALLINT number, ShortColumn& column) {
    if (number <= columns)
      SQLBindCol(statement, number, SQL_C_SSHORT, &column.value, sizeof column.value, &column.indicator);
  }

  static TableRecord* Record(TablePagesHandler& handler, int16_t number, const char* name) {
    TableRecord* record = handler.NewRecord();
    if (!record) return nullptr;
    record->sortNumber = number;
    CopyUtf8Cut(record->sortName, sizeof record->sortName, name, kSortNameMax);
    return record;
  }

  void FillPrivileges(TablePagesHandler& handler) {
    ConnectionContext* context = handler.Folder() ? &handler.Folder()->Connection() : nullptr;
    if (context) LoadDriverTerms(*context, handler.DataSource().c_str());
    const bool ownerColumn = context && context->ownerTerm[0] != '\0';
    const bool catalogColumn = context && context->catalogsSupported;
    // The catalog and owner columns appear only where the driver has words
    // for them: without an owner term and without catalogs they are left out.
    QStringList headers;
    if (catalogColumn) headers << QString::fromUtf8(context->catalogTerm);
    if (ownerColumn) headers << QString::fromUtf8(context->ownerTerm);
    headers << Res(IDS_HDR_PRIV_GRANTOR) << Res(IDS_HDR_PRIV_GRANTEE) << Res(IDS_HDR_PRIV_RIGHT)
            << Res(IDS_HDR_PRIV_GRANTING);
    SetColumns(headers, kColumnWidth);

    TextColumn cat, schem, grantor, grantee, privilege, grantable;
    const Names names = NamesOf(handler);
    RunCatalogFill(
        handler, false,
        [&](SQLHSTMT s) {
          return SQLTablePrivileges(s, names.catalog, names.catalogLength, names.schema, names.schemaLength,
                                    names.table, SQL_NTS);
        },
        [&](SQLHSTMT s, SQLSMALLINT n) {
          BindText(s, n, 1, cat);
          BindText(s, n, 2, schem);
          BindText(s, n, 4, grantor);
          BindText(s, n, 5, grantee);
          BindText(s, n, 6, privilege);
          BindText(s, n, 7, grantable);
        },
        [&] {
          Row row;
          if (catalogColumn) row.texts << cat.text();
          if (ownerColumn) row.texts << schem.text();
          row.texts << grantor.text() << grantee.text() << privilege.text() << grantable.text();
          return row;
        });
  }

  void FillPrimaryKeys(TablePagesHandler& handler) {
    // One column without header text.
    SetColumns({QString()}, kKeyColumnWidth);
    TextColumn cat, schem, table, column, keyName;
    ShortColumn sequence;
    const Names names = NamesOf(handler);
    RunCatalogFill(
        handler, true,
        [&](SQLHSTMT s) {
          return SQLPrimaryKeys(s, names.catalog, names.catalogLength, names.schema, names.schemaLength,
                                names.table, SQL_NTS);
        },
        [&](SQLHSTMT s, SQLSMALLINT n) {
          BindText(s, n, 1, cat);
          BindText(s, n, 2, schem);
          BindText(s, n, 3, table);
          BindText(s, n, 4, column);
          BindShort(s, n, 5, sequence);
          BindText(s, n, 6, keyName);
        },
        [&] {
          Row row;
          row.record = Record(handler, sequence.isNull() ? 0 : sequence.value, column.isNull() ? "" : column.data);
          row.texts << column.text();
          return row;
        });
  }

  void FillForeignKeys(TablePagesHandler& handler) {
    SetColumns({Res(IDS_HDR_FK_FROM_COLUMN), Res(IDS_HDR_FK_TO_TABLE), Res(IDS_HDR_FK_TO_COLUMN),
                Res(IDS_HDR_FK_SEQ), Res(IDS_HDR_FK_UPDATE), Res(IDS_HDR_FK_DELETE), Res(IDS_HDR_FK_KEY)},
               kColumnWidth);
    TextColumn pkTable, pkColumn, fkTable, fkColumn, fkName, pkName;
    ShortColumn sequence, updateRule, deleteRule;
    const Names names = NamesOf(handler);
    auto rule = [](const ShortColumn& value) {
      const char* text = value.isNull() ? nullptr : ReferentialRuleText(value.value);
      return text ? QString::fromUtf8(text) : QString();
    };
    RunCatalogFill(
        handler, true,
        [&](SQLHSTMT s) {
          // This table as the primary key table; any referring table.
          return SQLForeignKeys(s, names.catalog, names.catalogLength, names.schema, names.schemaLength,
                                names.table, SQL_NTS, nullptr, 0, nullptr, 0, nullptr, 0);
        },
        [&](SQLHSTMT s, SQLSMALLINT n) {
          BindText(s, n, 3, pkTable);
          BindText(s, n, 4, pkColumn);
          BindText(s, n, 7, fkTable);
          BindText(s, n, 8, fkColumn);
          BindShort(s, n, 9, sequence);
          BindShort(s, n, 10, updateRule);
          BindShort(s, n, 11, deleteRule);
          BindText(s, n, 12, fkName);
          BindText(s, n, 13, pkName);
        },
        [&] {
          Row row;
          row.record = Record(handler, sequence.isNull() ? 0 : sequence.value, fkName.isNull() ? "" : fkName.data);
          row.texts << pkColumn.text() << fkTable.text() << fkColumn.text()
                    << (sequence.isNull() ? QString() : QString::number(sequence.value)) << rule(updateRule)
                    << rule(deleteRule) << fkName.text();
          return row;
        });
  }

  void FillIndexes(TablePagesHandler& handler) {
    // Fixed English headers in both languages.
    SetColumns({QStringLiteral("Unique"), QStringLiteral("Indexname"), QStringLiteral("Type"),
                QStringLiteral("Position"), QStringLiteral("Col-Name"), QStringLiteral("Asc/Desc")},
               kColumnWidth);
    ConnectionContext* context = handler.Folder() ? &handler.Folder()->Connection() : nullptr;
    if (context) LoadDriverTerms(*context, handler.DataSource().c_str());
    const bool catalogs = context && context->catalogsSupported;
    const std::string separator = context ? context->catalogSeparator : "";

    TextColumn qualifier, indexName, columnName;
    ShortColumn nonUnique, type, position;
    char ascOrDesc[2] = "";
    SQLLEN ascIndicator = SQL_NULL_DATA;
    const Names names = NamesOf(handler);
    RunCatalogFill(
        handler, true,
        [&](SQLHSTMT s) {
          return SQLStatistics(s, names.catalog, names.catalogLength, names.schema, names.schemaLength,
                               names.table, SQL_NTS, SQL_INDEX_ALL, SQL_QUICK);
        },
        [&](SQLHSTMT s, SQLSMALLINT n) {
          BindShort(s, n, 4, nonUnique);
          BindText(s, n, 5, qualifier);
          BindText(s, n, 6, indexName);
          BindShort(s, n, 7, type);
          BindShort(s, n, 8, position);
          BindText(s, n, 9, columnName);
          if (n >= 10) SQLBindCol(s, 10, SQL_C_CHAR, ascOrDesc, sizeof ascOrDesc, &ascIndicator);
        },
        [&] {
          Row row;
          // The table's statistics row is no index.
          if (!type.isNull() && type.value == SQL_TABLE_STAT) return row;
          std::string display;
          if (catalogs && !qualifier.isNull()) display = std::string(qualifier.data) + separator;
          if (!indexName.isNull()) display += indexName.data;
          if (display.size() > 1023) display.resize(1023);
          row.record = Record(handler, position.isNull() ? 0 : position.value, display.c_str());
          QString unique;
          if (!nonUnique.isNull() && nonUnique.value == SQL_FALSE) unique = QStringLiteral("UNIQUE");
          if (!nonUnique.isNull() && nonUnique.value == SQL_TRUE) unique = QStringLiteral("NON-UNIQUE");
          QString typeText;
          if (!type.isNull()) {
            if (type.value == SQL_INDEX_CLUSTERED) typeText = QStringLiteral("Clustered");
            if (type.value == SQL_INDEX_HASHED) typeText = QStringLiteral("Hashed");
            if (type.value == SQL_INDEX_OTHER) typeText = QStringLiteral("Other");
          }
          row.texts << unique << QString::fromUtf8(display) << typeText
                    << (position.isNull() ? QString() : QString::number(position.value)) << columnName.text()
                    << (ascIndicator == SQL_NULL_DATA ? QString() : QString::fromUtf8(ascOrDesc));
          return row;
        });
  }

  QTreeWidget* list_;
  QLabel* message_;
};

HWND CreateTablePage(HWND parent, LPCPROPSHEETPAGEA ppsp) { return new TablePage(parent, ppsp); }

INT_PTR TablePageProc(HWND hwnd, UINT msg, WPARAM, LPARAM lParam) {
  auto* page = dynamic_cast<TablePage*>(hwnd);
  if (!page) return FALSE;
  switch (msg) {
    case WM_INITDIALOG: {
      WaitCursor wait;
      page->Attach(reinterpret_cast<LPCPROPSHEETPAGEA>(lParam));
      page->Fill();
      return TRUE;
    }
    case WM_CLOSE:
      if (auto* handler = static_cast<TablePagesHandler*>(page->Handler())) handler->FreeRecords();
      return TRUE;
    default:
      return FALSE;
  }
}

std::string TextOf(const char* text) { return text ? text : ""; }

}  // namespace

TablePagesHandler::TablePagesHandler(ShellFolder* folder, LPCITEMIDLIST item)
    : PropertySheetHandler(item), folder_(folder) {
  if (folder_) folder_->AddRef();
}

TablePagesHandler::~TablePagesHandler() {
  records_.clear();
  if (folder_) folder_->Release();
}

TablePagesHandler* TablePagesHandler::Create(ShellFolder* folder, LPCITEMIDLIST item) {
  return new (std::nothrow) TablePagesHandler(folder, item);
}

TableRecord* TablePagesHandler::NewRecord() {
  try {
    return &records_.emplace_front();
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

HRESULT TablePagesHandler::AddPages(LPFNADDPROPSHEETPAGE pfnAddPage, LPARAM lParam) {
  if (!folder_) return S_OK;
  dataSource_ = TextOf(folder_->GetFolderDsn());
  LPCITEMIDLIST item = IsTableItem(IdList()) ? IdList() : folder_->GetFolderTableItem();
  table_ = TextOf(GetItemText(0, item));
  catalog_ = TextOf(GetItemText(1, item));
  schema_ = TextOf(GetItemText(2, item));

  ConnectionContext& context = folder_->Connection();
  if (!Connect(context, dataSource_.c_str())) return S_OK;  // Connect has told the user

  struct PageOfFunction {
    SQLUSMALLINT function;
    UINT templateBase;
  };
  static constexpr PageOfFunction kPages[] = {
      {SQL_API_SQLTABLEPRIVILEGES, IDD_PAGE_PRIVILEGES},
      {SQL_API_SQLPRIMARYKEYS, IDD_PAGE_PRIMARY_KEYS},
      {SQL_API_SQLFOREIGNKEYS, IDD_PAGE_FOREIGN_KEYS},
      {SQL_API_SQLSTATISTICS, IDD_PAGE_INDEXES},
  };
  for (const PageOfFunction& page : kPages) {
    SQLUSMALLINT supported = SQL_FALSE;
    const SQLRETURN rc = SQLGetFunctions(context.connection, page.function, &supported);
    if (OdbcSucceeded(rc) && supported == SQL_TRUE)
      AddPage(page.templateBase, TablePageProc, CreateTablePage, pfnAddPage, lParam);
  }
  SQLHSTMT none = SQL_NULL_HSTMT;
  ReleaseStatement(context, &none);
  return S_OK;
}
