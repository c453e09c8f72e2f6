#include "library/catalog/connection.h"

#include <cstring>

#include "library/catalog/gui_thread.h"
#include "library/catalog/login_dialog.h"
#include "library/catalog/odbc_handles.h"
#include "library/catalog/settings.h"
#include "library/catalog/text_utils.h"
#include "library/shell/module_state.h"
#include "platform/com/winbase.h"
#include "platform/ui/ui.h"

namespace {

constexpr SQLSMALLINT kMessageBufferSize = 512;  // SQLGetDiagRec message text, NUL included
constexpr DWORD kSystemMessageSize = 511;

void FreeText(char** slot) {
  if (*slot) HeapFreeBlock(*slot);
  *slot = nullptr;
}

// Appends "[\r\n]STATE\r\nmessage" to *slot in a new heap block; false (slot
// unchanged) when no block can be had.
bool AppendRecord(char** slot, const char* state, const char* message) {
  const size_t oldLength = *slot ? std::strlen(*slot) : 0;
  const size_t stateLength = std::strlen(state);
  const size_t messageLength = std::strlen(message);
  const size_t separator = oldLength ? 2 : 0;
  const size_t total = oldLength + separator + stateLength + 2 + messageLength + 1;
  char* block = static_cast<char*>(HeapAllocBlock(total));
  if (!block) return false;
  char* p = block;
  if (oldLength) {
    std::memcpy(p, *slot, oldLength);
    p += oldLength;
    std::memcpy(p, "\r\n", 2);
    p += 2;
  }
  std::memcpy(p, state, stateLength);
  p += stateLength;
  std::memcpy(p, "\r\n", 2);
  p += 2;
  std::memcpy(p, message, messageLength + 1);
  FreeText(slot);
  *slot = block;
  return true;
}

void GetInfoText(SQLHDBC dbc, SQLUSMALLINT type, char* buffer, SQLSMALLINT size) {
  SQLSMALLINT length = 0;
  buffer[0] = '\0';
  // The code is not examined: a driver that does not know the type leaves
  // the buffer empty, which is the right answer for a vocabulary word.
  if (!OdbcSucceeded(SQLGetInfo(dbc, type, buffer, size, &length))) buffer[0] = '\0';
  buffer[size - 1] = '\0';
}

bool GetInfoYes(SQLHDBC dbc, SQLUSMALLINT type) {
  char answer[kTermSize];
  GetInfoText(dbc, type, answer, sizeof answer);
  return answer[0] == 'Y';
}

}  // namespace

ConnectionContext::~ConnectionContext() {
  Disconnect(*this);
  FreeText(&errorText);
}

SQLRETURN AllocEnvironment(SQLHENV* environment) {
  *environment = SQL_NULL_HENV;
  EnvHandle env;
  SQLRETURN rc = env.allocate(SQL_NULL_HANDLE);
  if (!OdbcSucceeded(rc)) return rc;
  rc = SQLSetEnvAttr(env.get(), SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
  // The environment is kept whatever the attribute call answered; the caller
  // judges the code, and a context that holds it frees it on Disconnect.
  *environment = env.release();
  return rc;
}

bool Connect(ConnectionContext& context, const char* dataSource) {
  if (context.environment == SQL_NULL_HENV) {
    context.connection = SQL_NULL_HDBC;
    context.connected = false;
    SQLRETURN rc = AllocEnvironment(&context.environment);
    if (!OdbcSucceeded(rc)) {
      // Keep no half-made environment: the next call starts afresh.
      if (context.environment != SQL_NULL_HENV) SQLFreeHandle(SQL_HANDLE_ENV, context.environment);
      context.environment = SQL_NULL_HENV;
      return false;
    }
  }

  if (context.connection == SQL_NULL_HDBC) {
    context.connected = false;
    SQLRETURN rc = SQLAllocHandle(SQL_HANDLE_DBC, context.environment, &context.connection);
    if (!OdbcSucceeded(rc)) {
      context.connection = SQL_NULL_HDBC;
      CollectDiagnostics(&context.errorText, rc, SQL_HANDLE_ENV, context.environment);
      return false;
    }
    SQLSetConnectAttr(context.connection, SQL_ATTR_LOGIN_TIMEOUT,
                      reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(g_settings.Timeout)), SQL_IS_UINTEGER);
  }

  if (context.connected) return true;

  // The texts of this attempt; wiped when they go out of scope.
  LoginPrompt login;
  LoadLogin(dataSource, login.user, kLoginBufferSize, login.password, kLoginBufferSize);

  // Attempts are not limited: each further one needs the user's OK in the
  // prompt, and Cancel always ends the loop.
  for (;;) {
    SQLRETURN rc = SQLConnect(context.connection,
                              reinterpret_cast<SQLCHAR*>(const_cast<char*>(dataSource ? dataSource : "")),
                              dataSource ? SQL_NTS : 0, reinterpret_cast<SQLCHAR*>(login.user), SQL_NTS,
                              reinterpret_cast<SQLCHAR*>(login.password), SQL_NTS);
    if (OdbcSucceeded(rc)) {
      context.connected = true;
      return true;
    }

    if (!CollectDiagnostics(&context.errorText, rc, SQL_HANDLE_DBC, context.connection)) {
      GuiMessageBox(nullptr, context.errorText ? context.errorText : "", kProductTitle,
                    MB_ICONINFORMATION | MB_SYSTEMMODAL);
      return false;
    }

    // Login refused: ask with the texts just tried.
    if (!PromptForLogin(login)) return false;

    // The stored layout has room for 254 characters each; cut whole
    // characters so that no UTF-8 sequence is split.
    CopyUtf8Cut(login.user, sizeof login.user, login.user, kLoginTextMax);
    CopyUtf8Cut(login.password, sizeof login.password, login.password, kLoginTextMax);
    if (g_savePassword.load()) SaveLogin(dataSource, login.user, login.password);
  }
}

bool AllocStatement(ConnectionContext& context, const char* dataSource, SQLHSTMT* statement) {
  if (*statement != SQL_NULL_HSTMT) SQLFreeHandle(SQL_HANDLE_STMT, *statement);
  *statement = SQL_NULL_HSTMT;
  if (!Connect(context, dataSource)) return false;
  SQLRETURN rc = SQLAllocHandle(SQL_HANDLE_STMT, context.connection, statement);
  if (!OdbcSucceeded(rc)) {
    *statement = SQL_NULL_HSTMT;
    CollectDiagnostics(&context.errorText, rc, SQL_HANDLE_DBC, context.connection);
    return false;
  }
  return true;
}

bool ReleaseStatement(ConnectionContext& context, SQLHSTMT* statement) {
  if (*statement != SQL_NULL_HSTMT) SQLFreeHandle(SQL_HANDLE_STMT, *statement);
  *statement = SQL_NULL_HSTMT;
  if (!g_settings.ConnectDSN) Disconnect(context);
  return true;
}

void Disconnect(ConnectionContext& context) {
  if (context.connected) SQLDisconnect(context.connection);
  context.connected = false;
  if (context.connection != SQL_NULL_HDBC) SQLFreeHandle(SQL_HANDLE_DBC, context.connection);
  context.connection = SQL_NULL_HDBC;
  if (context.environment != SQL_NULL_HENV) SQLFreeHandle(SQL_HANDLE_ENV, context.environment);
  context.environment = SQL_NULL_HENV;
}

bool CollectDiagnostics(char** errorText, SQLRETURN rc, SQLSMALLINT handleType, SQLHANDLE handle) {
  FreeText(errorText);
  bool loginRefused = false;
  if (OdbcSucceeded(rc) || rc == SQL_NO_DATA) return false;
  if (handle == SQL_NULL_HANDLE) return false;

  for (SQLSMALLINT record = 1;; ++record) {
    SQLCHAR state[6] = "";
    SQLINTEGER nativeError = 0;
    SQLCHAR message[kMessageBufferSize] = "";
    SQLSMALLINT length = 0;
    SQLRETURN diag =
        SQLGetDiagRec(handleType, handle, record, state, &nativeError, message, sizeof message, &length);
    // SQL_SUCCESS_WITH_INFO means the message was cut to the buffer: keep
    // the cut text and go on, so that no later record is lost.
    if (!OdbcSucceeded(diag)) break;
    const char* stateText = reinterpret_cast<const char*>(state);
    if (std::strcmp(stateText, "28000") == 0) loginRefused = true;
    if (!AppendRecord(errorText, stateText, reinterpret_cast<const char*>(message))) break;
  }
  return loginRefused;
}

void ReportStatementError(ConnectionContext& context, SQLRETURN rc, SQLHSTMT statement) {
  CollectDiagnostics(&context.errorText, rc, SQL_HANDLE_STMT, statement);
}

void LoadDriverTerms(ConnectionContext& context, const char* dataSource) {
  if (context.termsLoaded || !dataSource || !*dataSource) return;
  if (!Connect(context, dataSource)) return;
  SQLHDBC dbc = context.connection;

  context.proceduresSupported = GetInfoYes(dbc, SQL_PROCEDURES);
  if (context.proceduresSupported)
    GetInfoText(dbc, SQL_PROCEDURE_TERM, context.procedureTerm, sizeof context.procedureTerm);
  else
    context.procedureTerm[0] = '\0';

  GetInfoText(dbc, SQL_OWNER_TERM, context.ownerTerm, sizeof context.ownerTerm);
  GetInfoText(dbc, SQL_TABLE_TERM, context.tableTerm, sizeof context.tableTerm);

  context.catalogsSupported = GetInfoYes(dbc, SQL_CATALOG_NAME);
  if (context.catalogsSupported) {
    GetInfoText(dbc, SQL_CATALOG_TERM, context.catalogTerm, sizeof context.catalogTerm);
    GetInfoText(dbc, SQL_CATALOG_NAME_SEPARATOR, context.catalogSeparator, sizeof context.catalogSeparator);
  } else {
    context.catalogTerm[0] = '\0';
    context.catalogSeparator[0] = '\0';
  }
  context.termsLoaded = true;
}

void ShowSystemError(HWND owner, DWORD code) {
  if (code == 0) return;
  char text[kSystemMessageSize + 1] = "";
  if (FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, code, 0, text, kSystemMessageSize, nullptr) == 0) return;
  GuiMessageBox(owner, text, kProductTitle, MB_OK);
}

void ShowSystemError(HWND owner) { ShowSystemError(owner, GetLastError()); }
