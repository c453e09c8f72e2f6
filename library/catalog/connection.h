// The ODBC connection context of a folder, page or result window: environment
// and connection handles, the diagnostics of the last failed call, and the
// driver's vocabulary (its words for table, owner, catalog, procedure).
//
// A context is used by one thread at a time. It owns its handles and its
// error text: destroying it disconnects and frees them.
#pragma once

#include "library/catalog/odbc_api.h"

inline constexpr int kTermSize = 255;           // 254 characters and the NUL
inline constexpr int kSeparatorSize = 50;       // 49 characters and the NUL
inline constexpr int kLoginTextMax = 254;       // characters of a user name or password kept

struct ConnectionContext {
  ConnectionContext() = default;
  ConnectionContext(const ConnectionContext&) = delete;
  ConnectionContext& operator=(const ConnectionContext&) = delete;
  ~ConnectionContext();

  char* errorText = nullptr;            // heap block (HeapAllocBlock) or null
  SQLHENV environment = SQL_NULL_HENV;  // allocated on first use
  SQLHDBC connection = SQL_NULL_HDBC;   // allocated on first use
  bool connected = false;               // between SQLConnect and SQLDisconnect

  bool termsLoaded = false;
  bool proceduresSupported = false;
  char procedureTerm[kTermSize] = "";   // empty when procedures are not supported
  char tableTerm[kTermSize] = "";
  char ownerTerm[kTermSize] = "";
  char catalogTerm[kTermSize] = "";     // read only when catalogs are supported
  char catalogSeparator[kSeparatorSize] = "";
  bool catalogsSupported = false;
};

// SQL_SUCCESS or SQL_SUCCESS_WITH_INFO.
inline bool OdbcSucceeded(SQLRETURN rc) { return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO; }

// Allocates an ODBC 3 environment; returns the code of the last call made.
SQLRETURN AllocEnvironment(SQLHENV* environment);

// Connects the context to `dataSource` with the saved login, prompting for a
// login while the data source refuses it. Other failures are shown in a
// message box. True when connected (also when it already was).
bool Connect(ConnectionContext& context, const char* dataSource);

// Frees a statement already held in *statement, connects, and allocates a new
// statement on the connection.
bool AllocStatement(ConnectionContext& context, const char* dataSource, SQLHSTMT* statement);

// Frees the statement and nulls it; disconnects unless ConnectDSN is on.
bool ReleaseStatement(ConnectionContext& context, SQLHSTMT* statement);

// Disconnects when connected, then frees connection and environment.
void Disconnect(ConnectionContext& context);

// Replaces *errorText with the diagnostic records of `handle` after a call
// that returned `rc`: "STATE\r\nmessage" records joined by "\r\n". Success
// codes and SQL_NO_DATA leave the slot empty. Returns true when any record
// has the state 28000 (login refused).
bool CollectDiagnostics(char** errorText, SQLRETURN rc, SQLSMALLINT handleType, SQLHANDLE handle);

// CollectDiagnostics of a statement into the context's error text; shows
// nothing.
void ReportStatementError(ConnectionContext& context, SQLRETURN rc, SQLHSTMT statement);

// Reads the driver's vocabulary once. `dataSource` is the folder's data
// source; null or empty stands for the root folder, which has none.
void LoadDriverTerms(ConnectionContext& context, const char* dataSource);

// Shows the system's text for an error code in a message box titled with the
// product name; nothing for code 0 or a code without text.
void ShowSystemError(HWND owner, DWORD code);
// The same with GetLastError().
void ShowSystemError(HWND owner);
