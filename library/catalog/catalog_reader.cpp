#include "library/catalog/catalog_reader.h"

#include <cstring>

#include "library/catalog/settings.h"
#include "platform/com/winbase.h"

// ---------------------------------------------------------------------------
// CatalogItemList

bool CatalogItemList::Append(LPITEMIDLIST item) {
  if (!item) return false;
  auto* node = static_cast<Node*>(ShellAllocator()->Alloc(sizeof(Node)));
  if (!node) {
    FreeIdList(item);
    return false;
  }
  node->next = nullptr;
  node->item = item;
  if (tail_)
    tail_->next = node;
  else
    head_ = node;
  tail_ = node;
  ++size_;
  return true;
}

void CatalogItemList::Clear() {
  IMalloc* malloc = ShellAllocator();
  for (Node* node = head_; node;) {
    Node* next = node->next;
    FreeIdList(node->item);
    malloc->Free(node);
    node = next;
  }
  head_ = tail_ = nullptr;
  size_ = 0;
}

namespace {

// Catalog buffer sizes: the longest texts an item can hold.
constexpr SQLSMALLINT kDsnNameSize = 33;
constexpr SQLSMALLINT kDsnDescriptionSize = 256;
constexpr SQLLEN kNameSize = 129;
constexpr SQLLEN kRemarksSize = 255;
// A data source name as the folder passes it on (254 characters).
constexpr int kDsnBufferSize = 255;
// The value stored for a numeric catalog field that is NULL.
constexpr int32_t kNullNumber = -2;

// A character column bound for fetching. The indicator starts as NULL, so a
// column the result lacks (and that is therefore never bound) reads as NULL.
template <SQLLEN Size>
struct TextField {
  char text[Size] = "";
  SQLLEN indicator = SQL_NULL_DATA;
  const char* value() const { return indicator == SQL_NULL_DATA ? nullptr : text; }
};

template <typename T>
struct NumberField {
  T number = 0;
  SQLLEN indicator = SQL_NULL_DATA;
  bool isNull() const { return indicator == SQL_NULL_DATA; }
  T valueOr(T fallback) const { return isNull() ? fallback : number; }
};

// Binds the fields of one catalog result, each only when the result has
// that many columns.
class Binder {
 public:
  explicit Binder(SQLHSTMT statement) : statement_(statement) {
    if (!OdbcSucceeded(SQLNumResultCols(statement, &columns_))) columns_ = 0;
  }
  template <SQLLEN Size>
  void Bind(SQLUSMALLINT column, TextField<Size>& field) {
    if (column <= columns_) SQLBindCol(statement_, column, SQL_C_CHAR, field.text, Size, &field.indicator);
  }
  void Bind(SQLUSMALLINT column, NumberField<SQLSMALLINT>& field) {
    if (column <= columns_) SQLBindCol(statement_, column, SQL_C_SSHORT, &field.number, 0, &field.indicator);
  }
  void Bind(SQLUSMALLINT column, NumberField<SQLINTEGER>& field) {
    if (column <= columns_) SQLBindCol(statement_, column, SQL_C_SLONG, &field.number, 0, &field.indicator);
  }

 private:
  SQLHSTMT statement_;
  SQLSMALLINT columns_ = 0;
};

// One catalog statement of the folder's data source; gives it back (and
// disconnects unless ConnectDSN is on) however the read ends.
class CatalogStatement {
 public:
  CatalogStatement(ConnectionContext& context, const char* dsn) : context_(context), dsn_(dsn) {}
  CatalogStatement(const CatalogStatement&) = delete;
  CatalogStatement& operator=(const CatalogStatement&) = delete;
  ~CatalogStatement() {
    if (statement_ != SQL_NULL_HSTMT) ReleaseStatement(context_, &statement_);
  }
  // Frees any statement held before and takes a new one.
  bool Allocate() { return AllocStatement(context_, dsn_, &statement_); }
  SQLHSTMT get() const { return statement_; }
  // A failed call: diagnostics into the context's error text.
  void Report(SQLRETURN rc) { ReportStatementError(context_, rc, statement_); }

 private:
  ConnectionContext& context_;
  const char* dsn_;
  SQLHSTMT statement_ = SQL_NULL_HSTMT;
};

// A text argument of a catalog call: the text with SQL_NTS, or null with
// length 0 when it is absent.
SQLCHAR* ArgText(const char* text) { return reinterpret_cast<SQLCHAR*>(const_cast<char*>(text)); }
SQLSMALLINT ArgLength(const char* text) { return text ? SQL_NTS : 0; }

// Asks the driver whether it has a function; false when the call fails.
bool DriverHasFunction(SQLHDBC connection, SQLUSMALLINT function) {
  SQLUSMALLINT supported = SQL_FALSE;
  SQLRETURN rc = SQLGetFunctions(connection, function, &supported);
  return OdbcSucceeded(rc) && supported == SQL_TRUE;
}

bool ReadDataSources(ConnectionContext& context, CatalogItemList& out) {
  if (context.environment == SQL_NULL_HENV && !OdbcSucceeded(AllocEnvironment(&context.environment)))
    return true;  // no driver manager environment: an empty list
  bool ok = true;
  bool user = true;
  SQLUSMALLINT direction = SQL_FETCH_FIRST_USER;
  for (;;) {
    SQLCHAR name[kDsnNameSize] = "";
    SQLCHAR description[kDsnDescriptionSize] = "";
    SQLSMALLINT nameLength = 0;
    SQLSMALLINT descriptionLength = 0;
    SQLRETURN rc = SQLDataSources(context.environment, direction, name, kDsnNameSize, &nameLength, description,
                                  kDsnDescriptionSize, &descriptionLength);
    if (OdbcSucceeded(rc)) {
      if (!out.Append(CreateDsnItem(reinterpret_cast<char*>(name), reinterpret_cast<char*>(description), user))) {
        ok = false;
        break;
      }
      direction = SQL_FETCH_NEXT;
    } else if (rc == SQL_NO_DATA) {
      if (!user) break;
      user = false;
      direction = SQL_FETCH_FIRST_SYSTEM;
    } else {
      CollectDiagnostics(&context.errorText, rc, SQL_HANDLE_ENV, context.environment);
      ok = false;
      break;
    }
  }
  if (!g_settings.ConnectDSN) Disconnect(context);
  return ok;
}

bool ReadProcedures(CatalogStatement& statement, CatalogItemList& out) {
  // A driver that cannot list procedures still shows its tables.
  SQLRETURN rc = SQLProcedures(statement.get(), nullptr, 0, nullptr, 0, nullptr, 0);
  if (!OdbcSucceeded(rc)) {
    statement.Report(rc);
    return true;
  }
  TextField<kNameSize> catalog, schema, name;
  TextField<kRemarksSize> remarks;
  NumberField<SQLSMALLINT> type;
  Binder binder(statement.get());
  binder.Bind(1, catalog);
  binder.Bind(2, schema);
  binder.Bind(3, name);
  binder.Bind(7, remarks);
  binder.Bind(8, type);
  while ((rc = SQLFetch(statement.get())) != SQL_NO_DATA) {
    if (!OdbcSucceeded(rc)) {
      statement.Report(rc);
      return false;
    }
    const char* typeText = ProcedureTypeText(type.number, type.isNull());
    if (!out.Append(CreateProcedureItem(catalog.value(), schema.value(), name.value(), typeText, remarks.value())))
      return false;
  }
  return true;
}

bool ReadTables(ConnectionContext& context, const char* dsn, CatalogItemList& out) {
  CatalogStatement statement(context, dsn);
  if (!statement.Allocate()) return false;
  SQLRETURN rc;
  if (g_settings.ShowSysTab) {
    rc = SQLTables(statement.get(), nullptr, 0, nullptr, 0, nullptr, 0, nullptr, 0);
  } else {
    static char kUserTypes[] = "TABLE,VIEW,ALIAS,SYNONYM";
    rc = SQLTables(statement.get(), nullptr, 0, nullptr, 0, nullptr, 0, ArgText(kUserTypes), SQL_NTS);
  }
  if (!OdbcSucceeded(rc)) {
    statement.Report(rc);
    return false;
  }
  TextField<kNameSize> catalog, schema, name, type;
  TextField<kRemarksSize> remarks;
  Binder binder(statement.get());
  binder.Bind(1, catalog);
  binder.Bind(2, schema);
  binder.Bind(3, name);
  binder.Bind(4, type);
  binder.Bind(5, remarks);
  while ((rc = SQLFetch(statement.get())) != SQL_NO_DATA) {
    if (!OdbcSucceeded(rc)) {
      statement.Report(rc);
      return false;
    }
    if (!out.Append(CreateTableItem(catalog.value(), schema.value(), name.value(), type.value(), remarks.value())))
      return false;
  }
  if (!g_settings.ShowProcs || !DriverHasFunction(context.connection, SQL_API_SQLPROCEDURES)) return true;
  if (!statement.Allocate()) return true;  // the tables stand; the reason is in the error text
  return ReadProcedures(statement, out);
}

// Sets the key sequence of the first listed column whose name equals the
// key column's (case-sensitive, as lstrcmpA compares).
void MarkKeyColumn(CatalogItemList& out, const char* column, SQLSMALLINT sequence) {
  for (CatalogItemList::Node* node = out.head(); node; node = node->next) {
    const char* name = GetItemText(0, node->item);
    if (!name || lstrcmpA(name, column) != 0) continue;
    ColumnHeader header;
    if (GetColumnHeader(node->item, &header)) {
      header.keySequence = sequence;
      SetColumnHeader(node->item, header);
    }
    return;
  }
}

bool ReadPrimaryKeys(CatalogStatement& statement, const char* catalog, const char* schema, const char* table,
                     CatalogItemList& out) {
  SQLRETURN rc = SQLPrimaryKeys(statement.get(), ArgText(catalog), ArgLength(catalog), ArgText(schema),
                                ArgLength(schema), ArgText(table), SQL_NTS);
  if (!OdbcSucceeded(rc)) {
    statement.Report(rc);  // the columns stand without key positions
    return true;
  }
  TextField<kNameSize> column;
  NumberField<SQLSMALLINT> sequence;
  Binder binder(statement.get());
  binder.Bind(4, column);
  binder.Bind(5, sequence);
  while ((rc = SQLFetch(statement.get())) != SQL_NO_DATA) {
    if (!OdbcSucceeded(rc)) {
      statement.Report(rc);
      return false;
    }
    if (column.value() && !sequence.isNull()) MarkKeyColumn(out, column.value(), sequence.number);
  }
  return true;
}

bool ReadColumns(ConnectionContext& context, const char* dsn, LPCITEMIDLIST tableItem, CatalogItemList& out) {
  const char* table = GetItemText(0, tableItem);
  const char* catalog = GetItemText(1, tableItem);
  const char* schema = GetItemText(2, tableItem);
  if (!table) return false;
  CatalogStatement statement(context, dsn);
  if (!statement.Allocate()) return false;
  // Only the answer counts; a failed call leaves "not supported".
  bool hasPrimaryKeys = DriverHasFunction(context.connection, SQL_API_SQLPRIMARYKEYS);
  if (!DriverHasFunction(context.connection, SQL_API_SQLCOLUMNS)) return false;

  SQLRETURN rc = SQLColumns(statement.get(), ArgText(catalog), ArgLength(catalog), ArgText(schema),
                            ArgLength(schema), ArgText(table), SQL_NTS, nullptr, 0);
  if (!OdbcSucceeded(rc)) {
    statement.Report(rc);
    return false;
  }
  TextField<kNameSize> name, typeName;
  TextField<kRemarksSize> remarks;
  NumberField<SQLSMALLINT> dataType, digits, radix, nullable;
  NumberField<SQLINTEGER> size, bufferLength;
  Binder binder(statement.get());
  binder.Bind(4, name);
  binder.Bind(5, dataType);
  binder.Bind(6, typeName);
  binder.Bind(7, size);
  binder.Bind(8, bufferLength);
  binder.Bind(9, digits);
  binder.Bind(10, radix);
  binder.Bind(11, nullable);
  binder.Bind(12, remarks);
  while ((rc = SQLFetch(statement.get())) != SQL_NO_DATA) {
    if (!OdbcSucceeded(rc)) {
      statement.Report(rc);
      return false;
    }
    const char* columnName = name.value() ? name.value() : "";
    LPITEMIDLIST item = CreateColumnItem(
        catalog, schema, table, columnName, dataType.valueOr(0), typeName.value(), size.valueOr(kNullNumber),
        bufferLength.valueOr(kNullNumber), digits.valueOr(kNullNumber), radix.valueOr(kNullNumber),
        nullable.valueOr(SQL_NO_NULLS) == SQL_NULLABLE, remarks.value());
    if (!out.Append(item)) return false;
  }
  if (!hasPrimaryKeys) return true;
  if (!statement.Allocate()) return true;  // the columns stand without key positions
  return ReadPrimaryKeys(statement, catalog, schema, table, out);
}

bool ReadProcedureColumns(ConnectionContext& context, const char* dsn, LPCITEMIDLIST procedureItem,
                          CatalogItemList& out) {
  const char* procedure = GetItemText(0, procedureItem);
  const char* catalog = GetItemText(1, procedureItem);
  const char* schema = GetItemText(2, procedureItem);
  if (!procedure) return false;
  CatalogStatement statement(context, dsn);
  if (!statement.Allocate()) return false;
  SQLRETURN rc = SQLProcedureColumns(statement.get(), ArgText(catalog), ArgLength(catalog), ArgText(schema),
                                     ArgLength(schema), ArgText(procedure), SQL_NTS, nullptr, 0);
  if (!OdbcSucceeded(rc)) {
    statement.Report(rc);
    return false;
  }
  TextField<kNameSize> name, typeName;
  TextField<kRemarksSize> remarks;
  NumberField<SQLSMALLINT> columnType, dataType, digits, nullable;
  NumberField<SQLINTEGER> size, bufferLength;
  Binder binder(statement.get());
  binder.Bind(4, name);
  binder.Bind(5, columnType);
  binder.Bind(6, dataType);
  binder.Bind(7, typeName);
  binder.Bind(8, size);
  binder.Bind(9, bufferLength);
  binder.Bind(10, digits);
  binder.Bind(12, nullable);
  binder.Bind(13, remarks);
  int16_t ordinal = 0;
  while ((rc = SQLFetch(statement.get())) != SQL_NO_DATA) {
    if (!OdbcSucceeded(rc)) {
      statement.Report(rc);
      return false;
    }
    ++ordinal;
    // A NULL COLUMN_TYPE is no known kind: the empty type text.
    const char* columnTypeText = ProcColumnTypeText(columnType.valueOr(-1));
    LPITEMIDLIST item = CreateProcColumnItem(
        ordinal, catalog, schema, procedure, name.value(), columnTypeText, dataType.valueOr(0), typeName.value(),
        size.valueOr(kNullNumber), bufferLength.valueOr(kNullNumber), digits.valueOr(kNullNumber),
        nullable.valueOr(SQL_NO_NULLS) == SQL_NULLABLE, remarks.value());
    if (!out.Append(item)) return false;
  }
  return true;
}

// The first item of `kind` in the list, or null.
LPCITEMIDLIST FindFirstOfKind(LPCITEMIDLIST list, uint32_t kind) {
  for (LPCITEMIDLIST item = list; item && item->mkid.cb != 0; item = GetNextItem(item))
    if (GetItemKind(item) == kind) return item;
  return nullptr;
}

}  // namespace

bool ReadCatalog(const CatalogSource& source, DWORD flags, CatalogItemList& out) {
  const bool folders = (flags & SHCONTF_FOLDERS) != 0;
  const bool nonFolders = (flags & SHCONTF_NONFOLDERS) != 0;
  ConnectionContext& context = *source.context;
  char dsn[kDsnBufferSize] = "";
  GetItemTextCopy(0, FindFirstOfKind(source.ownIdList, KIND_DSN), dsn, sizeof dsn);

  switch (source.level) {
    case kLevelRoot:
      return folders ? ReadDataSources(context, out) : true;
    case kLevelDsn:
      return folders ? ReadTables(context, dsn, out) : true;
    case kLevelTable:
      return nonFolders ? ReadColumns(context, dsn, FindFirstOfKind(source.ownIdList, KIND_TABLE), out) : true;
    case kLevelProcedure:
      return nonFolders ? ReadProcedureColumns(context, dsn, FindFirstOfKind(source.ownIdList, KIND_PROCEDURE), out)
                        : true;
    default:
      return true;
  }
}
