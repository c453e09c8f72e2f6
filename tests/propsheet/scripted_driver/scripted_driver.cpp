// The smallest ODBC driver that the unixODBC driver manager loads, for the
// two behaviours no real driver shows: it has no SQLForeignKeys at all (so the
// driver manager reports the function unsupported), and it refuses
// SQLGetInfo(SQL_DBMS_VER). Every other information type answers with a
// fixed value; catalog functions fail with a diagnostic record.
#include <sql.h>
#include <sqlext.h>

#include <cstring>
#include <new>

namespace {

struct Handle {
  SQLSMALLINT type;
  const char* state = nullptr;  // the last failure, or null
  const char* message = nullptr;
};

SQLRETURN Fail(SQLHANDLE handle, const char* state, const char* message) {
  auto* h = static_cast<Handle*>(handle);
  h->state = state;
  h->message = message;
  return SQL_ERROR;
}

SQLRETURN CopyText(const char* text, SQLPOINTER out, SQLSMALLINT size, SQLSMALLINT* length) {
  const size_t n = std::strlen(text);
  if (length) *length = static_cast<SQLSMALLINT>(n);
  if (out && size > 0) {
    const size_t copied = n < static_cast<size_t>(size) ? n : static_cast<size_t>(size - 1);
    std::memcpy(out, text, copied);
    static_cast<char*>(out)[copied] = '\0';
  }
  return SQL_SUCCESS;
}

}  // namespace

extern "C" {

SQLRETURN SQLAllocHandle(SQLSMALLINT type, SQLHANDLE, SQLHANDLE* out) {
  *out = new (std::nothrow) Handle{type};
  return *out ? SQL_SUCCESS : SQL_ERROR;
}

SQLRETURN SQLFreeHandle(SQLSMALLINT, SQLHANDLE handle) {
  delete static_cast<Handle*>(handle);
  return SQL_SUCCESS;
}

SQLRETURN SQLFreeStmt(SQLHSTMT, SQLUSMALLINT) { return SQL_SUCCESS; }
SQLRETURN SQLSetEnvAttr(SQLHENV, SQLINTEGER, SQLPOINTER, SQLINTEGER) { return SQL_SUCCESS; }
SQLRETURN SQLSetConnectAttr(SQLHDBC, SQLINTEGER, SQLPOINTER, SQLINTEGER) { return SQL_SUCCESS; }
SQLRETURN SQLSetStmtAttr(SQLHSTMT, SQLINTEGER, SQLPOINTER, SQLINTEGER) { return SQL_SUCCESS; }

SQLRETURN SQLConnect(SQLHDBC, SQLCHAR*, SQLSMALLINT, SQLCHAR*, SQLSMALLINT, SQLCHAR*, SQLSMALLINT) {
  return SQL_SUCCESS;
}
SQLRETURN SQLDisconnect(SQLHDBC) { return SQL_SUCCESS; }

SQLRETURN SQLGetInfo(SQLHDBC connection, SQLUSMALLINT type, SQLPOINTER value, SQLSMALLINT size,
                     SQLSMALLINT* length) {
  switch (type) {
    case SQL_DBMS_VER:
      return Fail(connection, "HY096", "[scripted] SQL_DBMS_VER is not answered");
    case SQL_DBMS_NAME: return CopyText("Scripted", value, size, length);
    case SQL_DRIVER_ODBC_VER: return CopyText("03.00", value, size, length);
    case SQL_DRIVER_NAME: return CopyText("scripted_driver.so", value, size, length);
    case SQL_DRIVER_VER: return CopyText("01.00.0000", value, size, length);
    case SQL_OWNER_TERM: return CopyText("owner", value, size, length);
    case SQL_TABLE_TERM: return CopyText("table", value, size, length);
    case SQL_CATALOG_NAME: return CopyText("N", value, size, length);
    case SQL_PROCEDURES: return CopyText("N", value, size, length);
    case SQL_DATA_SOURCE_NAME: return CopyText("Scripted", value, size, length);
    default: break;
  }
  // Numbers of any width: a zeroed 32-bit value reads as 0 at 16 bits too;
  // text types get the empty text.
  if (value && size >= static_cast<SQLSMALLINT>(sizeof(SQLUINTEGER)))
    std::memset(value, 0, sizeof(SQLUINTEGER));
  else if (value && size >= static_cast<SQLSMALLINT>(sizeof(SQLUSMALLINT)))
    std::memset(value, 0, sizeof(SQLUSMALLINT));
  else if (value && size > 0)
    static_cast<char*>(value)[0] = '\0';
  if (length) *length = 0;
  return SQL_SUCCESS;
}

SQLRETURN SQLGetDiagRec(SQLSMALLINT, SQLHANDLE handle, SQLSMALLINT record, SQLCHAR* state, SQLINTEGER* native,
                        SQLCHAR* message, SQLSMALLINT size, SQLSMALLINT* length) {
  auto* h = static_cast<Handle*>(handle);
  if (!h || !h->state || record != 1) return SQL_NO_DATA;
  if (state) std::memcpy(state, h->state, 6);
  if (native) *native = 0;
  return CopyText(h->message, message, size, length);
}

SQLRETURN SQLTablePrivileges(SQLHSTMT statement, SQLCHAR*, SQLSMALLINT, SQLCHAR*, SQLSMALLINT, SQLCHAR*,
                             SQLSMALLINT) {
  return Fail(statement, "HY000", "[scripted] no catalog");
}
SQLRETURN SQLPrimaryKeys(SQLHSTMT statement, SQLCHAR*, SQLSMALLINT, SQLCHAR*, SQLSMALLINT, SQLCHAR*, SQLSMALLINT) {
  return Fail(statement, "HY000", "[scripted] no catalog");
}
SQLRETURN SQLStatistics(SQLHSTMT statement, SQLCHAR*, SQLSMALLINT, SQLCHAR*, SQLSMALLINT, SQLCHAR*, SQLSMALLINT,
                        SQLUSMALLINT, SQLUSMALLINT) {
  return Fail(statement, "HY000", "[scripted] no catalog");
}
SQLRETURN SQLNumResultCols(SQLHSTMT, SQLSMALLINT* count) {
  *count = 0;
  return SQL_SUCCESS;
}
SQLRETURN SQLFetch(SQLHSTMT) { return SQL_NO_DATA; }
SQLRETURN SQLBindCol(SQLHSTMT, SQLUSMALLINT, SQLSMALLINT, SQLPOINTER, SQLLEN, SQLLEN*) { return SQL_SUCCESS; }
}
