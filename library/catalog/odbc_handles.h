// Small owners for ODBC handles: each frees its handle with SQLFreeHandle when
// it goes out of scope, a statement owner also closes its cursor first. They
// are move-only; release() hands the raw handle to a caller that keeps it
// elsewhere (a connection context stores raw handles).
#pragma once

#include "library/catalog/odbc_api.h"

#include <utility>

template <SQLSMALLINT HandleType>
class OdbcHandle {
 public:
  OdbcHandle() = default;
  explicit OdbcHandle(SQLHANDLE h) : h_(h) {}  // adopts h
  OdbcHandle(const OdbcHandle&) = delete;
  OdbcHandle& operator=(const OdbcHandle&) = delete;
  OdbcHandle(OdbcHandle&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
  OdbcHandle& operator=(OdbcHandle&& o) noexcept {
    if (this != &o) reset(std::exchange(o.h_, nullptr));
    return *this;
  }
  ~OdbcHandle() { reset(); }

  // Allocates a new handle of this type under `parent` (null for an
  // environment), freeing any handle held before. Returns the ODBC code.
  SQLRETURN allocate(SQLHANDLE parent) {
    reset();
    return SQLAllocHandle(HandleType, parent, &h_);
  }

  SQLHANDLE get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }
  SQLHANDLE release() { return std::exchange(h_, nullptr); }

  void reset(SQLHANDLE h = nullptr) {
    SQLHANDLE old = std::exchange(h_, h);
    if (old == nullptr) return;
    if constexpr (HandleType == SQL_HANDLE_STMT) SQLFreeStmt(old, SQL_CLOSE);
    SQLFreeHandle(HandleType, old);
  }

 private:
  SQLHANDLE h_ = nullptr;
};

using EnvHandle = OdbcHandle<SQL_HANDLE_ENV>;
using DbcHandle = OdbcHandle<SQL_HANDLE_DBC>;
using StmtHandle = OdbcHandle<SQL_HANDLE_STMT>;

// A connection handle that is also connected: disconnects before it frees.
class ConnectedDbc {
 public:
  ConnectedDbc() = default;
  ConnectedDbc(const ConnectedDbc&) = delete;
  ConnectedDbc& operator=(const ConnectedDbc&) = delete;
  ConnectedDbc(ConnectedDbc&& o) noexcept
      : dbc_(std::move(o.dbc_)), connected_(std::exchange(o.connected_, false)) {}
  ConnectedDbc& operator=(ConnectedDbc&& o) noexcept {
    if (this != &o) {
      disconnect();
      dbc_ = std::move(o.dbc_);
      connected_ = std::exchange(o.connected_, false);
    }
    return *this;
  }
  ~ConnectedDbc() { disconnect(); }

  DbcHandle& handle() { return dbc_; }
  SQLHDBC get() const { return dbc_.get(); }
  bool connected() const { return connected_; }
  void markConnected() { connected_ = true; }
  void disconnect() {
    if (connected_) SQLDisconnect(dbc_.get());
    connected_ = false;
  }

 private:
  DbcHandle dbc_;
  bool connected_ = false;
};
