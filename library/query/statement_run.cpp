#include "library/query/statement_run.h"

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <thread>

#include "library/catalog/odbc_handles.h"
#include "library/catalog/settings.h"
#include "library/catalog/text_utils.h"
#include "library/query/date_time_format.h"
#include "library/query/insert_script.h"
#include "library/query/statement_splitter.h"
#include "library/query/text_buffer.h"
#include "library/res/resource_ids.h"
#include "library/res/strings.h"

RunSettings RunSettings::FromGlobal() {
  RunSettings s;
  s.maxRow = g_settings.MaxRow;
  s.maxCol = g_settings.MaxCol;
  s.nullText = g_settings.NullValue;
  s.keepConnection = g_settings.ConnectSelect;
  return s;
}

// ---- cancel ------------------------------------------------------------------

static std::atomic<FetchObserver> g_fetchObserver{nullptr};

void SetFetchObserverForTesting(FetchObserver observer) { g_fetchObserver.store(observer); }

void RunControl::requestCancel(bool interruptFetch) {
  cancel_.store(true);
  std::lock_guard lock(mutex_);
  if (statement_ != SQL_NULL_HSTMT && (inExecute_ || interruptFetch)) SQLCancel(statement_);
}

void RunControl::attach(SQLHSTMT statement) {
  std::lock_guard lock(mutex_);
  statement_ = statement;
}

void RunControl::detach() {
  std::lock_guard lock(mutex_);
  statement_ = SQL_NULL_HSTMT;
  inExecute_ = false;
}

void RunControl::setInExecute(bool inExecute) {
  std::lock_guard lock(mutex_);
  inExecute_ = inExecute;
}

// ---- workers -----------------------------------------------------------------

namespace {

std::mutex g_runsMutex;
std::condition_variable g_runsDone;
int g_activeRuns = 0;

std::string FormatLong(UINT id, long a) {
  char text[512];
  std::snprintf(text, sizeof text, ResString(id).c_str(), a);
  return text;
}

std::string FormatLong2(UINT id, long a, long b) {
  char text[512];
  std::snprintf(text, sizeof text, ResString(id).c_str(), a, b);
  return text;
}

// One bound result column.
struct BoundColumn {
  std::string name;
  SQLSMALLINT sqlType = 0;
  SQLULEN columnSize = 0;
  SQLSMALLINT decimalDigits = 0;
  SQLSMALLINT nullable = 0;
  SQLSMALLINT cType = SQL_C_CHAR;
  SQLLEN bufferLength = 0;
  std::unique_ptr<char[]> buffer;
  SQLLEN indicator = 0;
  std::string scratch;  // date and time texts of the current row
};

// The ODBC 2 date and time codes and their ODBC 3 twins are bound as
// structures alike; an ODBC 3 environment reports only the latter.
SQLSMALLINT CTypeFor(SQLSMALLINT sqlType) {
  switch (sqlType) {
    case SQL_DATE:
    case SQL_TYPE_DATE: return SQL_C_TYPE_DATE;
    case SQL_TIME:
    case SQL_TYPE_TIME: return SQL_C_TYPE_TIME;
    case SQL_TIMESTAMP:
    case SQL_TYPE_TIMESTAMP: return SQL_C_TYPE_TIMESTAMP;
    default: return SQL_C_CHAR;
  }
}

CellDateTime ReadDateTime(const BoundColumn& column) {
  CellDateTime v;
  switch (column.cType) {
    case SQL_C_TYPE_DATE: {
      SQL_DATE_STRUCT d;
      std::memcpy(&d, column.buffer.get(), sizeof d);
      v.year = static_cast<int16_t>(d.year);
      v.month = d.month;
      v.day = d.day;
      break;
    }
    case SQL_C_TYPE_TIME: {
      SQL_TIME_STRUCT t;
      std::memcpy(&t, column.buffer.get(), sizeof t);
      v.hour = t.hour;
      v.minute = t.minute;
      v.second = t.second;
      break;
    }
    default: {
      SQL_TIMESTAMP_STRUCT ts;  // the fraction is dropped
      std::memcpy(&ts, column.buffer.get(), sizeof ts);
      v.year = static_cast<int16_t>(ts.year);
      v.month = ts.month;
      v.day = ts.day;
      v.hour = ts.hour;
      v.minute = ts.minute;
      v.second = ts.second;
      break;
    }
  }
  return v;
}

void AppendDateTimeText(std::string& out, const BoundColumn& column, const DateTimeFormatter& format,
                        bool scriptMode) {
  const CellDateTime v = ReadDateTime(column);
  switch (column.cType) {
    case SQL_C_TYPE_DATE:
      scriptMode ? DateTimeFormatter::appendDateEscape(out, v) : format.appendDate(out, v);
      break;
    case SQL_C_TYPE_TIME:
      scriptMode ? DateTimeFormatter::appendTimeEscape(out, v) : format.appendTime(out, v);
      break;
    default:
      scriptMode ? DateTimeFormatter::appendTimestampEscape(out, v) : format.appendTimestamp(out, v);
      break;
  }
}

// The length of a character cell as the driver left it in the buffer.
size_t CharLength(const BoundColumn& column) {
  const SQLLEN ind = column.indicator;
  if (ind >= 0 && ind < column.bufferLength) return static_cast<size_t>(ind);
  return ::strnlen(column.buffer.get(), static_cast<size_t>(column.bufferLength));
}

using Clock = std::chrono::steady_clock;
// Rows reach the window by time, a few notices a second, never per row.
constexpr auto kBatchInterval = std::chrono::milliseconds(250);
// The progress texts are shown at their rows, but no more often than this.
constexpr auto kStatusInterval = std::chrono::milliseconds(100);

}  // namespace

int ActiveQueryRuns() {
  std::lock_guard lock(g_runsMutex);
  return g_activeRuns;
}

namespace {

// Threads of finished runs are joined (not detached), so that a caller that
// waited for the runs knows no worker is still executing library code.
struct WorkerThread {
  std::thread thread;
  std::shared_ptr<std::atomic<bool>> done;
};
struct WorkerList {
  std::vector<WorkerThread> items;
  // A worker still running when the process ends is left to the exit.
  ~WorkerList() {
    for (WorkerThread& w : items)
      if (w.thread.joinable()) w.thread.detach();
  }
};
WorkerList g_workerList;  // guarded by g_runsMutex
std::vector<WorkerThread>& g_workers = g_workerList.items;

void ReapFinishedWorkers(bool all) {
  std::vector<std::thread> finished;
  {
    std::lock_guard lock(g_runsMutex);
    for (auto it = g_workers.begin(); it != g_workers.end();) {
      if (all || it->done->load()) {
        finished.push_back(std::move(it->thread));
        it = g_workers.erase(it);
      } else {
        ++it;
      }
    }
  }
  for (std::thread& t : finished) t.join();
}

}  // namespace

bool WaitForQueryRuns(int timeoutMs) {
  {
    std::unique_lock lock(g_runsMutex);
    if (!g_runsDone.wait_for(lock, std::chrono::milliseconds(timeoutMs), [] { return g_activeRuns == 0; }))
      return false;
  }
  ReapFinishedWorkers(true);
  return true;
}

void StartQueryWorker(std::string statement, bool scriptMode, RunSettings settings,
                      std::shared_ptr<QuerySession> session, std::shared_ptr<RunControl> control,
                      std::shared_ptr<RunSink> sink) {
  ReapFinishedWorkers(false);
  auto done = std::make_shared<std::atomic<bool>>(false);
  std::lock_guard lock(g_runsMutex);
  ++g_activeRuns;
  std::thread thread([statement = std::move(statement), scriptMode, settings = std::move(settings),
                      session = std::move(session), control = std::move(control), sink = std::move(sink),
                      done]() mutable {
    ExecuteStatement(statement, scriptMode, settings, *session, *control, *sink);
    // Everything the run held goes before it counts as finished.
    sink.reset();
    session.reset();
    control.reset();
    std::lock_guard lock(g_runsMutex);
    done->store(true);
    --g_activeRuns;
    g_runsDone.notify_all();
  });
  g_workers.push_back({std::move(thread), std::move(done)});
}

// ---- the run -----------------------------------------------------------------

int ExecuteStatement(const std::string& statement, bool scriptMode, const RunSettings& settings,
                     QuerySession& session, RunControl& control, RunSink& sink) {
  RunOutcome outcome;
  outcome.scriptMode = scriptMode;
  TextBuffer script;
  // The user's regional formats as they are now (a settings change re-runs).
  const DateTimeFormatter format;
  ConnectionContext& context = session.context;
  HeapFreeBlock(context.errorText);
  context.errorText = nullptr;

  sink.status(ResString(IDS_CONNECTING));

  SQLHSTMT rawStatement = SQL_NULL_HSTMT;
  if (!AllocStatement(context, session.dataSource.c_str(), &rawStatement)) {
    if (context.errorText) outcome.errorText = context.errorText;
    if (!settings.keepConnection) Disconnect(context);
    sink.finished(std::move(outcome));
    return 1;
  }
  StmtHandle statementOwner(rawStatement);
  const SQLHSTMT stmt = rawStatement;
  control.attach(stmt);
  struct Detach {
    RunControl& control;
    ~Detach() { control.detach(); }
  } detachFirst{control};  // runs before statementOwner frees the handle

  if (settings.maxRow != 0)
    SQLSetStmtAttr(stmt, SQL_ATTR_MAX_ROWS, reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(settings.maxRow)), 0);

  sink.title(StatementTitle(statement));

  SQLRETURN rc = SQL_SUCCESS;
  bool executed = false;
  StatementSplitter splitter(statement);
  std::string piece;
  for (;;) {
    if (control.canceled()) break;
    if (!splitter.next(piece)) break;
    sink.status(piece);
    if (executed) {
      // The next piece reuses the handle: close the previous result first.
      SQLFreeStmt(stmt, SQL_CLOSE);
      SQLFreeStmt(stmt, SQL_RESET_PARAMS);
    }
    control.setInExecute(true);
    rc = SQLPrepare(stmt, reinterpret_cast<SQLCHAR*>(piece.data()), SQL_NTS);
    control.setInExecute(false);
    if (!OdbcSucceeded(rc)) break;

    SQLSMALLINT markers = 0;
    if (!OdbcSucceeded(SQLNumParams(stmt, &markers))) markers = 0;
    if (markers > kMaxParameters) {
      sink.tooManyParameters();
      control.requestCancel();
      break;
    }
    ParameterValues values;
    std::array<SQLLEN, kMaxParameters> indicators{};
    if (markers > 0) {
      values.count = markers;
      values.statement = piece;
      if (!sink.promptParameters(values, settings.nullText)) {
        control.requestCancel();
        break;
      }
      for (int i = 0; i < markers; ++i) {
        std::string& value = values.values[static_cast<size_t>(i)];
        indicators[static_cast<size_t>(i)] = value == settings.nullText ? SQL_NULL_DATA : SQL_NTS;
        // A column size of 0 is refused by some drivers; an empty value
        // still goes as the empty string through its indicator.
        const SQLULEN size = value.empty() ? 1 : value.size();
        rc = SQLBindParameter(stmt, static_cast<SQLUSMALLINT>(i + 1), SQL_PARAM_INPUT, SQL_C_CHAR, SQL_CHAR, size, 0,
                              value.data(), static_cast<SQLLEN>(value.size() + 1), &indicators[static_cast<size_t>(i)]);
        if (!OdbcSucceeded(rc)) break;
      }
      if (!OdbcSucceeded(rc)) break;
    }
    control.setInExecute(true);
    rc = SQLExecute(stmt);
    control.setInExecute(false);
    executed = true;
    if (splitter.lastPieceEndedText() || !OdbcSucceeded(rc)) break;
  }

  std::vector<BoundColumn> columns;
  long rowCount = 0;
  if (!control.canceled() && executed && OdbcSucceeded(rc)) {
    SQLSMALLINT resultColumns = 0;
    rc = SQLNumResultCols(stmt, &resultColumns);
    if (OdbcSucceeded(rc) && resultColumns == 0) {
      SQLLEN touched = 0;
      if (OdbcSucceeded(SQLRowCount(stmt, &touched)))
        outcome.messageText = FormatLong(IDS_ROWS_TOUCHED, static_cast<long>(touched));
      else
        outcome.messageText = ResString(IDS_NO_RESULT);
    } else if (OdbcSucceeded(rc)) {
      int n = resultColumns;
      if (settings.maxCol != 0 && n > settings.maxCol) n = settings.maxCol;
      try {
        columns.reserve(static_cast<size_t>(n));
      } catch (const std::bad_alloc&) {
        outcome.result = 0;
        sink.finished(std::move(outcome));
        return 0;
      }
      bool described = true;
      std::vector<std::string> names;
      for (int i = 1; i <= n; ++i) {
        if (control.canceled()) {
          described = false;
          break;
        }
        // Bound in place: the driver keeps the addresses of buffer and indicator.
        BoundColumn& column = columns.emplace_back();
        SQLCHAR name[129] = {};
        SQLSMALLINT nameLength = 0;
        rc = SQLDescribeCol(stmt, static_cast<SQLUSMALLINT>(i), name, sizeof name, &nameLength, &column.sqlType,
                            &column.columnSize, &column.decimalDigits, &column.nullable);
        if (!OdbcSucceeded(rc)) {
          columns.pop_back();
          described = false;
          break;
        }
        column.name = nameLength == -1 ? std::string() : reinterpret_cast<const char*>(name);
        column.cType = CTypeFor(column.sqlType);
        SQLULEN length = 129;
        if (column.columnSize > length) length = column.columnSize;
        if (column.decimalDigits > 0 && static_cast<SQLULEN>(column.decimalDigits) > length)
          length = static_cast<SQLULEN>(column.decimalDigits);
        if (length > 2048) length = 2048;
        column.bufferLength = static_cast<SQLLEN>(length);
        column.buffer = std::make_unique<char[]>(length + 1);
        rc = SQLBindCol(stmt, static_cast<SQLUSMALLINT>(i), column.cType, column.buffer.get(), column.bufferLength,
                        &column.indicator);
        if (!OdbcSucceeded(rc)) {
          columns.pop_back();
          described = false;
          break;
        }
        names.push_back(column.name);
      }
      if (!scriptMode) sink.columns(names);

      if (described) {
        const int columnCount = static_cast<int>(columns.size());
        RowBatch batch(columnCount);
        std::vector<InsertCell> cells(columns.size());
        auto lastBatch = Clock::now();
        auto lastStatus = Clock::time_point{};
        size_t reserveBytes = 0;
        while (!control.canceled() && (settings.maxRow == 0 || rowCount < settings.maxRow)) {
          rc = SQLFetch(stmt);
          if (!OdbcSucceeded(rc)) break;
          if ((rowCount < 100 && rowCount % 10 == 0) || rowCount % 100 == 0) {
            const auto now = Clock::now();
            if (now - lastStatus >= kStatusInterval) {
              lastStatus = now;
              sink.status(FormatLong(IDS_READING_ROW, rowCount));
            }
          }
          if (scriptMode) {
            for (size_t c = 0; c < columns.size(); ++c) {
              BoundColumn& column = columns[c];
              const char* text = nullptr;
              if (column.indicator != SQL_NULL_DATA) {
                if (column.cType == SQL_C_CHAR) {
                  column.buffer[static_cast<size_t>(column.bufferLength)] = '\0';
                  text = column.buffer.get();
                } else {
                  column.scratch.clear();
                  AppendDateTimeText(column.scratch, column, format, true);
                  text = column.scratch.c_str();
                }
              }
              cells[c] = InsertCell{column.name, column.sqlType, text};
            }
            if (!AppendInsertRow(script, cells)) {
              ++rowCount;
              break;
            }
          } else {
            std::string& arena = batch.arena();
            for (const BoundColumn& column : columns) {
              if (column.indicator == SQL_NULL_DATA)
                arena.append(settings.nullText);
              else if (column.cType == SQL_C_CHAR)
                arena.append(column.buffer.get(), CharLength(column));
              else
                AppendDateTimeText(arena, column, format, false);
              batch.endCell();
            }
            if ((rowCount & 63) == 0 || batch.textBytes() >= RowBatch::kMaxArenaBytes) {
              const auto now = Clock::now();
              if (now - lastBatch >= kBatchInterval || batch.textBytes() >= RowBatch::kMaxArenaBytes) {
                lastBatch = now;
                reserveBytes = batch.textBytes();
                const size_t cells = batch.rowCount() * columns.size();
                sink.rows(std::move(batch));
                batch = RowBatch(columnCount);
                // The next batch will be about as large as this one.
                batch.reserve(reserveBytes + reserveBytes / 8, cells + cells / 8);
              }
            }
          }
          ++rowCount;
          if (FetchObserver observer = g_fetchObserver.load(std::memory_order_relaxed)) observer(rowCount, control);
        }
        if (!batch.empty()) sink.rows(std::move(batch));
        sink.status(FormatLong2(IDS_COLUMNS_ROWS, columnCount, rowCount));
      }
    }
  }
  columns.clear();

  control.detach();
  CollectDiagnostics(&context.errorText, rc, SQL_HANDLE_STMT, stmt);
  if (context.errorText) outcome.errorText = context.errorText;
  statementOwner.reset();
  if (!settings.keepConnection) Disconnect(context);

  outcome.canceled = control.canceled();
  if (scriptMode && outcome.errorText.empty() && outcome.messageText.empty()) {
    outcome.scriptReady = true;
    outcome.script.assign(script.view());
  }
  sink.finished(std::move(outcome));
  return 1;
}
