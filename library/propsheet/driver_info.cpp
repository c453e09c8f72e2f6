#include "library/propsheet/driver_info.h"

#include <array>
#include <cstring>

#include "library/catalog/connection.h"

// Name lists of the flags and code types: the standard's constant names
// without their prefix, visited in this order. "Not supported" is the one
// literal text; it is the same in both languages.
namespace {

constexpr InfoName kConvertNames[] = {
    {0x4000, "BIGINT"}, {0x400, "BINARY"}, {0x1000, "BIT"}, {1, "CHAR"}, {0x8000, "DATE"}, {4, "DECIMAL"},
    {0x80, "DOUBLE"}, {0x20, "FLOAT"}, {8, "INTEGER"}, {0x80000, "INTERVAL_YEAR_MONTH"},
    {0x100000, "INTERVAL_DAY_TIME"}, {0x40000, "LONGVARBINARY"}, {0x200, "LONGVARCHAR"}, {2, "NUMERIC"},
    {0x40, "REAL"}, {0x10, "SMALLINT"}, {0x10000, "TIME"}, {0x20000, "TIMESTAMP"}, {0x2000, "TINYINT"},
    {0x800, "VARBINARY"}, {0x100, "VARCHAR"},
};
constexpr InfoName kAggregateFunctionsNames[] = {
    {0x3F, "ALL"}, {1, "AVG"}, {2, "COUNT"}, {0x20, "DISTINCT"}, {4, "MAX"}, {8, "MIN"}, {0x10, "SUM"},
};
constexpr InfoName kAlterDomainNames[] = {
    {2, "ADD_DOMAIN_CONSTRAINT"}, {8, "ADD_DOMAIN_DEFAULT"}, {1, "CONSTRAINT_NAME_DEFINITION"},
    {4, "DROP_DOMAIN_CONSTRAINT"}, {0x10, "DROP_DOMAIN_DEFAULT"}, {0x80, "ADD_CONSTRAINT_DEFERRABLE"},
    {0x100, "ADD_CONSTRAINT_NON_DEFERRABLE"}, {0x20, "ADD_CONSTRAINT_INITIALLY_DEFERRED"},
    {0x40, "ADD_CONSTRAINT_INITIALLY_IMMEDIATE"},
};
constexpr InfoName kAlterTableNames[] = {
    {1, "ADD_COLUMN"}, {2, "DROP_COLUMN"}, {8, "ADD_CONSTRAINT"}, {0x80, "ADD_COLUMN_COLLATION"},
    {0x40, "ADD_COLUMN_DEFAULT"}, {0x20, "ADD_COLUMN_SINGLE"}, {0x1000, "ADD_TABLE_CONSTRAINT"},
    {0x8000, "CONSTRAINT_NAME_DEFINITION"}, {0x400, "DROP_COLUMN_CASCADE"}, {0x200, "DROP_COLUMN_DEFAULT"},
    {0x800, "DROP_COLUMN_RESTRICT"}, {0x2000, "DROP_TABLE_CONSTRAINT_CASCADE"},
    {0x4000, "DROP_TABLE_CONSTRAINT_RESTRICT"}, {0x100, "SET_COLUMN_DEFAULT"},
    {0x10000, "CONSTRAINT_INITIALLY_DEFERRED"}, {0x20000, "CONSTRAINT_INITIALLY_IMMEDIATE"},
    {0x40000, "CONSTRAINT_DEFERRABLE"}, {0x80000, "CONSTRAINT_NON_DEFERRABLE"},
};
constexpr InfoName kAsyncModeNames[] = {
    {1, "CONNECTION"}, {2, "STATEMENT"}, {0, "NONE"},
};
constexpr InfoName kBatchRowCountNames[] = {
    {4, "ROLLED_UP"}, {1, "PROCEDURES"}, {2, "EXPLICIT"},
};
constexpr InfoName kBatchSupportNames[] = {
    {1, "SELECT_EXPLICIT"}, {2, "ROW_COUNT_EXPLICIT"}, {4, "SELECT_PROC"}, {8, "ROW_COUNT_PROC"},
};
constexpr InfoName kBookmarkPersistenceNames[] = {
    {1, "CLOSE"}, {2, "DELETE"}, {4, "DROP"}, {8, "TRANSACTION"}, {0x10, "UPDATE"}, {0x20, "OTHER_HSTMT"},
};
constexpr InfoName kCatalogLocationNames[] = {
    {1, "START"}, {2, "END"},
};
constexpr InfoName kCatalogUsageNames[] = {
    {1, "DML_STATEMENTS"}, {2, "PROCEDURE_INVOCATION"}, {4, "TABLE_DEFINITION"}, {8, "INDEX_DEFINITION"},
    {0x10, "PRIVILEGE_DEFINITION"},
};
constexpr InfoName kConvertFunctionsNames[] = {
    {2, "CVT_CAST"}, {1, "CVT_CONVERT"},
};
constexpr InfoName kCorrelationNameNames[] = {
    {0, "NONE"}, {1, "DIFFERENT"}, {2, "ANY"},
};
constexpr InfoName kCreateAssertionNames[] = {
    {0, "Not supported"}, {1, "CREATE_ASSERTION"}, {0x10, "CONSTRAINT_INITIALLY_DEFERRED"},
    {0x20, "CONSTRAINT_INITIALLY_IMMEDIATE"}, {0x40, "CONSTRAINT_DEFERRABLE"},
    {0x80, "CONSTRAINT_NON_DEFERRABLE"},
};
constexpr InfoName kCreateCharacterSetNames[] = {
    {0, "Not supported"}, {1, "CREATE_CHARACTER_SET"}, {2, "COLLATE_CLAUSE"}, {4, "LIMITED_COLLATION"},
};
constexpr InfoName kCreateCollationNames[] = {
    {0, "Not supported"}, {1, "CREATE_COLLATION"},
};
constexpr InfoName kCreateDomainNames[] = {
    {0, "Not supported"}, {1, "CREATE_DOMAIN"}, {0x10, "CONSTRAINT_NAME_DEFINITION"}, {2, "DEFAULT"},
    {4, "CONSTRAINT"}, {8, "COLLATION"}, {0x20, "CONSTRAINT_INITIALLY_DEFERRED"},
    {0x40, "CONSTRAINT_INITIALLY_IMMEDIATE"}, {0x80, "CONSTRAINT_DEFERRABLE"},
    {0x100, "CONSTRAINT_NON_DEFERRABLE"},
};
constexpr InfoName kCreateSchemaNames[] = {
    {0, "Not supported"}, {1, "CREATE_SCHEMA"}, {2, "AUTHORIZATION"}, {4, "DEFAULT_CHARACTER_SET"},
};
constexpr InfoName kCreateTableNames[] = {
    {1, "CREATE_TABLE"}, {0x1000, "TABLE_CONSTRAINT"}, {0x2000, "CONSTRAINT_NAME_DEFINITION"},
    {2, "COMMIT_PRESERVE"}, {4, "COMMIT_DELETE"}, {8, "GLOBAL_TEMPORARY"}, {0x10, "LOCAL_TEMPORARY"},
    {0x200, "COLUMN_CONSTRAINT"}, {0x400, "COLUMN_DEFAULT"}, {0x800, "COLUMN_COLLATION"},
    {0x20, "CONSTRAINT_INITIALLY_DEFERRED"}, {0x40, "CONSTRAINT_INITIALLY_IMMEDIATE"},
    {0x80, "CONSTRAINT_DEFERRABLE"}, {0x100, "CONSTRAINT_NON_DEFERRABLE"},
};
constexpr InfoName kCreateTranslationNames[] = {
    {0, "Not supported"}, {1, "CREATE_TRANSLATION"},
};
constexpr InfoName kCreateViewNames[] = {
    {0, "Not supported"}, {1, "CREATE_VIEW"}, {2, "CHECK_OPTION"}, {4, "CASCADED"}, {8, "LOCAL"},
};
constexpr InfoName kCursorCommitBehaviorNames[] = {
    {0, "DELETE"}, {1, "CLOSE"}, {2, "PRESERVE"},
};
constexpr InfoName kCursorRollbackBehaviorNames[] = {
    {0, "DELETE"}, {1, "CLOSE"}, {2, "PRESERVE"},
};
constexpr InfoName kCursorSensitivityNames[] = {
    {1, "INSENSITIVE"}, {0, "UNSPECIFIED"}, {2, "SENSITIVE"},
};
constexpr InfoName kDatetimeLiteralsNames[] = {
    {0, "Not supported"}, {1, "DATE"}, {2, "TIME"}, {4, "TIMESTAMP"}, {8, "INTERVAL_YEAR"},
    {0x10, "INTERVAL_MONTH"}, {0x20, "INTERVAL_DAY"}, {0x40, "INTERVAL_HOUR"}, {0x80, "INTERVAL_MINUTE"},
    {0x100, "INTERVAL_SECOND"}, {0x200, "INTERVAL_YEAR_TO_MONTH"}, {0x400, "INTERVAL_DAY_TO_HOUR"},
    {0x800, "INTERVAL_DAY_TO_MINUTE"}, {0x1000, "INTERVAL_DAY_TO_SECOND"}, {0x2000, "INTERVAL_HOUR_TO_MINUTE"},
    {0x4000, "INTERVAL_HOUR_TO_SECOND"}, {0x8000, "INTERVAL_MINUTE_TO_SECOND"},
};
constexpr InfoName kDdlIndexNames[] = {
    {0, "Not supported"}, {1, "CREATE_INDEX"}, {2, "DROP_INDEX"},
};
constexpr InfoName kDefaultTxnIsolationNames[] = {
    {0, "Not supported"}, {1, "READ_UNCOMMITTED"}, {2, "READ_COMMITTED"}, {4, "REPEATABLE_READ"},
    {8, "SERIALIZABLE"},
};
constexpr InfoName kDropAssertionNames[] = {
    {0, "Not supported"}, {1, "DROP_ASSERTION"},
};
constexpr InfoName kDropCharacterSetNames[] = {
    {0, "Not supported"}, {1, "DROP_CHARACTER_SET"},
};
constexpr InfoName kDropCollationNames[] = {
    {0, "Not supported"}, {1, "DROP_COLLATION"},
};
constexpr InfoName kDropDomainNames[] = {
    {0, "Not supported"}, {1, "DROP_DOMAIN"}, {4, "CASCADE"}, {2, "RESTRICT"},
};
constexpr InfoName kDropSchemaNames[] = {
    {0, "Not supported"}, {1, "DROP_SCHEMA"}, {4, "CASCADE"}, {2, "RESTRICT"},
};
constexpr InfoName kDropTableNames[] = {
    {0, "Not supported"}, {1, "DROP_TABLE"}, {4, "CASCADE"}, {2, "RESTRICT"},
};
constexpr InfoName kDropTranslationNames[] = {
    {0, "Not supported"}, {1, "DROP_TRANSLATION"},
};
constexpr InfoName kDropViewNames[] = {
    {0, "Not supported"}, {1, "DROP_VIEW"}, {4, "CASCADE"}, {2, "RESTRICT"},
};
constexpr InfoName kDynamicCursorAttributes1Names[] = {
    {0, "Not supported"}, {1, "NEXT"}, {2, "ABSOLUTE"}, {4, "RELATIVE"}, {8, "BOOKMARK"},
    {0x80, "LOCK_EXCLUSIVE"}, {0x40, "LOCK_NO_CHANGE"}, {0x100, "LOCK_UNLOCK"}, {0x200, "POS_POSITION"},
    {0x400, "POS_UPDATE"}, {0x800, "POS_DELETE"}, {0x1000, "POS_REFRESH"}, {0x2000, "POSITIONED_UPDATE"},
    {0x4000, "POSITIONED_DELETE"}, {0x8000, "SELECT_FOR_UPDATE"}, {0x10000, "BULK_ADD"},
    {0x20000, "BULK_UPDATE_BY_BOOKMARK"}, {0x40000, "BULK_DELETE_BY_BOOKMARK"},
    {0x80000, "BULK_FETCH_BY_BOOKMARK"},
};
constexpr InfoName kDynamicCursorAttributes2Names[] = {
    {0, "Not supported"}, {1, "READ_ONLY_CONCURRENCY"}, {2, "LOCK_CONCURRENCY"}, {4, "OPT_ROWVER_CONCURRENCY"},
    {8, "OPT_VALUES_CONCURRENCY"}, {0x10, "SENSITIVITY_ADDITIONS"}, {0x20, "SENSITIVITY_DELETIONS"},
    {0x40, "SENSITIVITY_UPDATES"}, {0x80, "MAX_ROWS_SELECT"}, {0x100, "MAX_ROWS_INSERT"},
    {0x200, "MAX_ROWS_DELETE"}, {0x400, "MAX_ROWS_UPDATE"}, {0x800, "MAX_ROWS_CATALOG"},
    {0xF80, "MAX_ROWS_AFFECTS_ALL"}, {0x1000, "CRC_EXACT"}, {0x2000, "CRC_APPROXIMATE"},
    {0x4000, "SIMULATE_NON_UNIQUE"}, {0x8000, "SIMULATE_TRY_UNIQUE"}, {0x10000, "SIMULATE_UNIQUE"},
};
constexpr InfoName kFetchDirectionNames[] = {
    {1, "FETCH_NEXT"}, {2, "FETCH_FIRST"}, {4, "FETCH_LAST"}, {8, "FETCH_PRIOR"}, {0x10, "FETCH_ABSOLUTE"},
    {0x20, "FETCH_RELATIVE"}, {0x80, "FETCH_BOOKMARK"},
};
constexpr InfoName kFileUsageNames[] = {
    {0, "NOT_SUPPORTED"}, {1, "TABLE"}, {2, "CATALOG"},
};
constexpr InfoName kForwardOnlyCursorAttributes1Names[] = {
    {0, "Not supported"}, {1, "NEXT"}, {0x80, "LOCK_EXCLUSIVE"}, {0x40, "LOCK_NO_CHANGE"},
    {0x100, "LOCK_UNLOCK"}, {0x200, "POS_POSITION"}, {0x400, "POS_UPDATE"}, {0x800, "POS_DELETE"},
    {0x1000, "POS_REFRESH"}, {0x2000, "POSITIONED_UPDATE"}, {0x4000, "POSITIONED_DELETE"},
    {0x8000, "SELECT_FOR_UPDATE"}, {0x10000, "BULK_ADD"}, {0x20000, "BULK_UPDATE_BY_BOOKMARK"},
    {0x40000, "BULK_DELETE_BY_BOOKMARK"}, {0x80000, "BULK_FETCH_BY_BOOKMARK"},
};
constexpr InfoName kForwardOnlyCursorAttributes2Names[] = {
    {0, "Not supported"}, {1, "READ_ONLY_CONCURRENCY"}, {2, "LOCK_CONCURRENCY"}, {4, "OPT_ROWVER_CONCURRENCY"},
    {8, "OPT_VALUES_CONCURRENCY"}, {0x10, "SENSITIVITY_ADDITIONS"}, {0x20, "SENSITIVITY_DELETIONS"},
    {0x40, "SENSITIVITY_UPDATES"}, {0x80, "MAX_ROWS_SELECT"}, {0x100, "MAX_ROWS_INSERT"},
    {0x200, "MAX_ROWS_DELETE"}, {0x400, "MAX_ROWS_UPDATE"}, {0x800, "MAX_ROWS_CATALOG"},
    {0xF80, "MAX_ROWS_AFFECTS_ALL"}, {0x1000, "CRC_EXACT"}, {0x2000, "CRC_APPROXIMATE"},
    {0x4000, "SIMULATE_NON_UNIQUE"}, {0x8000, "SIMULATE_TRY_UNIQUE"}, {0x10000, "SIMULATE_UNIQUE"},
};
constexpr InfoName kGetdataExtensionsNames[] = {
    {0, "Not supported"}, {1, "ANY_COLUMN"}, {2, "ANY_ORDER"}, {4, "BLOCK"}, {8, "BOUND"},
};
constexpr InfoName kGroupByNames[] = {
    {4, "COLLATE"}, {0, "NOT_SUPPORTED"}, {1, "GROUP_BY_EQUALS_SELECT"}, {2, "GROUP_BY_CONTAINS_SELECT"},
    {3, "NO_RELATION"},
};
constexpr InfoName kIdentifierCaseNames[] = {
    {0, "Not supported"}, {1, "UPPER"}, {2, "LOWER"}, {3, "SENSITIVE"}, {4, "MIXED"},
};
constexpr InfoName kIndexKeywordsNames[] = {
    {0, "NONE"}, {1, "ASC"}, {2, "DESC"}, {3, "ALL"},
};
constexpr InfoName kInfoSchemaViewsNames[] = {
    {0, "Not supported"}, {1, "ASSERTIONS"}, {2, "CHARACTER_SETS"}, {4, "CHECK_CONSTRAINTS"}, {8, "COLLATIONS"},
    {0x10, "COLUMN_DOMAIN_USAGE"}, {0x20, "COLUMN_PRIVILEGES"}, {0x40, "COLUMNS"},
    {0x80, "CONSTRAINT_COLUMN_USAGE"}, {0x100, "CONSTRAINT_TABLE_USAGE"}, {0x200, "DOMAIN_CONSTRAINTS"},
    {0x400, "DOMAINS"}, {0x800, "KEY_COLUMN_USAGE"}, {0x1000, "REFERENTIAL_CONSTRAINTS"}, {0x2000, "SCHEMATA"},
    {0x4000, "SQL_LANGUAGES"}, {0x8000, "TABLE_CONSTRAINTS"}, {0x10000, "TABLE_PRIVILEGES"},
    {0x20000, "TABLES"}, {0x40000, "TRANSLATIONS"}, {0x80000, "USAGE_PRIVILEGES"},
    {0x100000, "VIEW_COLUMN_USAGE"}, {0x200000, "VIEW_TABLE_USAGE"}, {0x400000, "VIEWS"},
};
constexpr InfoName kInsertStatementNames[] = {
    {0, "Not supported"}, {1, "INSERT_LITERALS"}, {2, "INSERT_SEARCHED"}, {4, "SELECT_INTO"},
};
constexpr InfoName kKeysetCursorAttributes1Names[] = {
    {0, "Not supported"}, {1, "NEXT"}, {2, "ABSOLUTE"}, {4, "RELATIVE"}, {8, "BOOKMARK"},
    {0x80, "LOCK_EXCLUSIVE"}, {0x40, "LOCK_NO_CHANGE"}, {0x100, "LOCK_UNLOCK"}, {0x200, "POS_POSITION"},
    {0x400, "POS_UPDATE"}, {0x800, "POS_DELETE"}, {0x1000, "POS_REFRESH"}, {0x2000, "POSITIONED_UPDATE"},
    {0x4000, "POSITIONED_DELETE"}, {0x8000, "SELECT_FOR_UPDATE"}, {0x10000, "BULK_ADD"},
    {0x20000, "BULK_UPDATE_BY_BOOKMARK"}, {0x40000, "BULK_DELETE_BY_BOOKMARK"},
    {0x80000, "BULK_FETCH_BY_BOOKMARK"},
};
constexpr InfoName kKeysetCursorAttributes2Names[] = {
    {0, "Not supported"}, {1, "READ_ONLY_CONCURRENCY"}, {2, "LOCK_CONCURRENCY"}, {4, "OPT_ROWVER_CONCURRENCY"},
    {8, "OPT_VALUES_CONCURRENCY"}, {0x10, "SENSITIVITY_ADDITIONS"}, {0x20, "SENSITIVITY_DELETIONS"},
    {0x40, "SENSITIVITY_UPDATES"}, {0x80, "MAX_ROWS_SELECT"}, {0x100, "MAX_ROWS_INSERT"},
    {0x200, "MAX_ROWS_DELETE"}, {0x400, "MAX_ROWS_UPDATE"}, {0x800, "MAX_ROWS_CATALOG"},
    {0xF80, "MAX_ROWS_AFFECTS_ALL"}, {0x1000, "CRC_EXACT"}, {0x2000, "CRC_APPROXIMATE"},
    {0x4000, "SIMULATE_NON_UNIQUE"}, {0x8000, "SIMULATE_TRY_UNIQUE"}, {0x10000, "SIMULATE_UNIQUE"},
};
constexpr InfoName kLockTypesNames[] = {
    {1, "NO_CHANGE"}, {2, "EXCLUSIVE"}, {4, "UNLOCK"},
};
constexpr InfoName kNonNullableColumnsNames[] = {
    {0, "NULL"}, {1, "NON_NULL"},
};
constexpr InfoName kNullCollationNames[] = {
    {4, "END"}, {0, "HIGH"}, {1, "LOW"}, {2, "START"},
};
constexpr InfoName kNumericFunctionsNames[] = {
    {1, "ABS"}, {2, "ACOS"}, {4, "ASIN"}, {8, "ATAN"}, {0x10, "ATAN2"}, {0x20, "CEILING"}, {0x40, "COS"},
    {0x80, "COT"}, {0x40000, "DEGREES"}, {0x100, "EXP"}, {0x200, "FLOOR"}, {0x400, "LOG"}, {0x80000, "LOG10"},
    {0x800, "MOD"}, {0x10000, "PI"}, {0x100000, "POWER"}, {0x200000, "RADIANS"}, {0x20000, "RAND"},
    {0x400000, "ROUND"}, {0x1000, "SIGN"}, {0x2000, "SIN"}, {0x4000, "SQRT"}, {0x8000, "TAN"},
    {0x800000, "TRUNCATE"},
};
constexpr InfoName kOdbcApiConformanceNames[] = {
    {0, "NONE"}, {1, "LEVEL1"}, {2, "LEVEL2"},
};
constexpr InfoName kOdbcInterfaceConformanceNames[] = {
    {1, "CORE"}, {2, "LEVEL1"}, {3, "LEVEL2"},
};
constexpr InfoName kOdbcSqlConformanceNames[] = {
    {0, "MINIMUM"}, {1, "CORE"}, {2, "EXTENDED"},
};
constexpr InfoName kOjCapabilitiesNames[] = {
    {0, "Not supported"}, {1, "LEFT"}, {2, "RIGHT"}, {4, "FULL"}, {8, "NESTED"}, {0x10, "NOT_ORDERED"},
    {0x20, "INNER"}, {0x40, "ALL_COMPARISON_OPS"},
};
constexpr InfoName kParamArrayRowCountsNames[] = {
    {0, "Not supported"}, {1, "BATCH"}, {2, "NO_BATCH"},
};
constexpr InfoName kParamArraySelectsNames[] = {
    {0, "Not supported"}, {1, "BATCH"}, {2, "NO_BATCH"}, {3, "NO_SELECT"},
};
constexpr InfoName kQuotedIdentifierCaseNames[] = {
    {0, "Not supported"}, {1, "UPPER"}, {2, "LOWER"}, {3, "SENSITIVE"}, {4, "MIXED"},
};
constexpr InfoName kSchemaUsageNames[] = {
    {0, "Not supported"}, {1, "DML_STATEMENTS"}, {2, "PROCEDURE_INVOCATION"}, {4, "TABLE_DEFINITION"},
    {8, "INDEX_DEFINITION"}, {0x10, "PRIVILEGE_DEFINITION"},
};
constexpr InfoName kScrollOptionsNames[] = {
    {0, "Not supported"}, {1, "FORWARD_ONLY"}, {0x10, "STATIC"}, {2, "KEYSET_DRIVEN"}, {4, "DYNAMIC"},
    {8, "MIXED"},
};
constexpr InfoName kSqlConformanceNames[] = {
    {1, "SQL92_ENTRY"}, {2, "FIPS127_2_TRANSITIONAL"}, {8, "SQL92_FULL"}, {4, "SQL92_INTERMEDIATE"},
};
constexpr InfoName kSql92DatetimeFunctionsNames[] = {
    {0, "Not supported"}, {1, "CURRENT_DATE"}, {2, "CURRENT_TIME"}, {4, "CURRENT_TIMESTAMP"},
};
constexpr InfoName kSql92ForeignKeyDeleteRuleNames[] = {
    {0, "Not supported"}, {1, "CASCADE"}, {2, "NO_ACTION"}, {4, "SET_DEFAULT"}, {8, "SET_NULL"},
};
constexpr InfoName kSql92ForeignKeyUpdateRuleNames[] = {
    {0, "Not supported"}, {1, "CASCADE"}, {2, "NO_ACTION"}, {4, "SET_DEFAULT"}, {8, "SET_NULL"},
};
constexpr InfoName kSql92NumericValueFunctionsNames[] = {
    {0, "Not supported"}, {1, "BIT_LENGTH"}, {2, "CHAR_LENGTH"}, {4, "CHARACTER_LENGTH"}, {8, "EXTRACT"},
    {0x10, "OCTET_LENGTH"}, {0x20, "POSITION"},
};
constexpr InfoName kSql92PredicatesNames[] = {
    {0, "Not supported"}, {0x800, "BETWEEN"}, {0x1000, "COMPARISON"}, {1, "EXISTS"}, {0x400, "IN"},
    {2, "ISNOTNULL"}, {4, "ISNULL"}, {0x200, "LIKE"}, {8, "MATCH_FULL"}, {0x10, "MATCH_PARTIAL"},
    {0x20, "MATCH_UNIQUE_FULL"}, {0x40, "MATCH_UNIQUE_PARTIAL"}, {0x80, "OVERLAPS"},
    {0x2000, "QUANTIFIED_COMPARISON"}, {0x100, "UNIQUE"},
};
constexpr InfoName kSql92RelationalJoinOperatorsNames[] = {
    {0, "Not supported"}, {1, "CORRESPONDING_CLAUSE"}, {2, "CROSS_JOIN"}, {4, "EXCEPT_JOIN"},
    {8, "FULL_OUTER_JOIN"}, {0x10, "INNER_JOIN"}, {0x20, "INTERSECT_JOIN"}, {0x40, "LEFT_OUTER_JOIN"},
    {0x80, "NATURAL_JOIN"}, {0x100, "RIGHT_OUTER_JOIN"}, {0x200, "UNION_JOIN"},
};
constexpr InfoName kSql92RevokeNames[] = {
    {0, "Not supported"}, {0x20, "CASCADE"}, {0x80, "DELETE_TABLE"}, {0x10, "GRANT_OPTION_FOR"},
    {0x200, "INSERT_COLUMN"}, {0x100, "INSERT_TABLE"}, {0x800, "REFERENCES_COLUMN"},
    {0x400, "REFERENCES_TABLE"}, {0x40, "RESTRICT"}, {0x1000, "SELECT_TABLE"}, {0x4000, "UPDATE_COLUMN"},
    {0x2000, "UPDATE_TABLE"}, {1, "USAGE_ON_DOMAIN"}, {2, "USAGE_ON_CHARACTER_SET"}, {4, "USAGE_ON_COLLATION"},
    {8, "USAGE_ON_TRANSLATION"},
};
constexpr InfoName kSql92RowValueConstructorNames[] = {
    {0, "Not supported"}, {1, "VALUE_EXPRESSION"}, {2, "NULL"}, {4, "DEFAULT"}, {8, "ROW_SUBQUERY"},
};
constexpr InfoName kSql92StringFunctionsNames[] = {
    {0, "Not supported"}, {1, "CONVERT"}, {2, "LOWER"}, {4, "UPPER"}, {8, "SUBSTRING"}, {0x10, "TRANSLATE"},
    {0x20, "TRIM_BOTH"}, {0x40, "TRIM_LEADING"}, {0x80, "TRIM_TRAILING"},
};
constexpr InfoName kSql92ValueExpressionsNames[] = {
    {0, "Not supported"}, {1, "CASE"}, {2, "CAST"}, {4, "COALESCE"}, {8, "NULLIF"},
};
constexpr InfoName kStandardCliConformanceNames[] = {
    {0, "Not supported"}, {1, "XOPEN_CLI_VERSION1"}, {2, "ISO92_CLI"},
};
constexpr InfoName kStaticCursorAttributes1Names[] = {
    {0, "Not supported"}, {1, "NEXT"}, {2, "ABSOLUTE"}, {4, "RELATIVE"}, {8, "BOOKMARK"},
    {0x40, "LOCK_NO_CHANGE"}, {0x80, "LOCK_EXCLUSIVE"}, {0x100, "LOCK_UNLOCK"}, {0x200, "POS_POSITION"},
    {0x400, "POS_UPDATE"}, {0x800, "POS_DELETE"}, {0x1000, "POS_REFRESH"}, {0x2000, "POSITIONED_UPDATE"},
    {0x4000, "POSITIONED_DELETE"}, {0x8000, "SELECT_FOR_UPDATE"}, {0x10000, "BULK_ADD"},
    {0x20000, "BULK_UPDATE_BY_BOOKMARK"}, {0x40000, "BULK_DELETE_BY_BOOKMARK"},
    {0x80000, "BULK_FETCH_BY_BOOKMARK"},
};
constexpr InfoName kStaticCursorAttributes2Names[] = {
    {0, "Not supported"}, {1, "READ_ONLY_CONCURRENCY"}, {2, "LOCK_CONCURRENCY"}, {4, "OPT_ROWVER_CONCURRENCY"},
    {8, "OPT_VALUES_CONCURRENCY"}, {0x10, "SENSITIVITY_ADDITIONS"}, {0x20, "SENSITIVITY_DELETIONS"},
    {0x40, "SENSITIVITY_UPDATES"}, {0x80, "MAX_ROWS_SELECT"}, {0x100, "MAX_ROWS_INSERT"},
    {0x200, "MAX_ROWS_DELETE"}, {0x400, "MAX_ROWS_UPDATE"}, {0x800, "MAX_ROWS_CATALOG"},
    {0xF80, "MAX_ROWS_AFFECTS_ALL"}, {0x1000, "CRC_EXACT"}, {0x2000, "CRC_APPROXIMATE"},
    {0x4000, "SIMULATE_NON_UNIQUE"}, {0x8000, "SIMULATE_TRY_UNIQUE"}, {0x10000, "SIMULATE_UNIQUE"},
};
constexpr InfoName kSubqueriesNames[] = {
    {0, "Not supported"}, {0x10, "CORRELATED_SUBQUERIES"}, {1, "COMPARISON"}, {2, "EXISTS"}, {4, "IN"},
    {8, "QUANTIFIED"},
};
constexpr InfoName kSystemFunctionsNames[] = {
    {0, "Not supported"}, {2, "DBNAME"}, {4, "IFNULL"}, {1, "USERNAME"},
};
constexpr InfoName kTimedateAddIntervalsNames[] = {
    {0, "Not supported"}, {1, "FRAC_SECOND"}, {2, "SECOND"}, {4, "MINUTE"}, {8, "HOUR"}, {0x10, "DAY"},
    {0x20, "WEEK"}, {0x40, "MONTH"}, {0x80, "QUARTER"}, {0x100, "YEAR"},
};
constexpr InfoName kTimedateDiffIntervalsNames[] = {
    {0, "Not supported"}, {1, "FRAC_SECOND"}, {2, "SECOND"}, {4, "MINUTE"}, {8, "HOUR"}, {0x10, "DAY"},
    {0x20, "WEEK"}, {0x40, "MONTH"}, {0x80, "QUARTER"}, {0x100, "YEAR"},
};
constexpr InfoName kTimedateFunctionsNames[] = {
    {0, "Not supported"}, {0x20000, "CURRENT_DATE"}, {0x40000, "CURRENT_TIME"}, {0x80000, "CURRENT_TIMESTAMP"},
    {2, "CURDATE"}, {0x200, "CURTIME"}, {0x8000, "DAYNAME"}, {4, "DAYOFMONTH"}, {8, "DAYOFWEEK"},
    {0x10, "DAYOFYEAR"}, {0x100000, "EXTRACT"}, {0x400, "HOUR"}, {0x800, "MINUTE"}, {0x20, "MONTH"},
    {0x10000, "MONTHNAME"}, {1, "NOW"}, {0x40, "QUARTER"}, {0x1000, "SECOND"}, {0x2000, "TIMESTAMPADD"},
    {0x4000, "TIMESTAMPDIFF"}, {0x80, "WEEK"}, {0x100, "YEAR"},
};
constexpr InfoName kTxnCapableNames[] = {
    {0, "NONE"}, {1, "DML"}, {3, "DDL_COMMIT"}, {4, "DDL_IGNORE"}, {2, "ALL"},
};
constexpr InfoName kTxnIsolationOptionNames[] = {
    {0, "Not supported"}, {1, "READ_UNCOMMITTED"}, {2, "READ_COMMITTED"}, {4, "REPEATABLE_READ"},
    {8, "SERIALIZABLE"},
};
constexpr InfoName kUnionNames[] = {
    {0, "Not supported"}, {1, "UNION"}, {2, "UNION_ALL"},
};

template <size_t N>
constexpr InfoNameList Names(const InfoName (&names)[N]) { return {names, N}; }

using K = InfoKind;
constexpr bool S = true;   // short and long list
constexpr bool L = false;  // long list only

}  // namespace

const DriverInfoRow kDriverInfoRows[kDriverInfoRowCount] = {
    {20, "SQL_ACCESSIBLE_PROCEDURES", K::String, L, {}},
    {19, "SQL_ACCESSIBLE_TABLES", K::String, L, {}},
    {0, "SQL_ACTIVE_CONNECTIONS", K::U16, L, {}},
    {116, "SQL_ACTIVE_ENVIRONMENTS", K::U16, L, {}},
    {169, "SQL_AGGREGATE_FUNCTIONS", K::Flags32, L, Names(kAggregateFunctionsNames)},
    {117, "SQL_ALTER_DOMAIN", K::Flags32, L, Names(kAlterDomainNames)},
    {86, "SQL_ALTER_TABLE", K::Flags32, L, Names(kAlterTableNames)},
    {10021, "SQL_ASYNC_MODE", K::Code32, L, Names(kAsyncModeNames)},
    {120, "SQL_BATCH_ROW_COUNT ", K::Flags32, L, Names(kBatchRowCountNames)},
    {121, "SQL_BATCH_SUPPORT", K::Flags32, L, Names(kBatchSupportNames)},
    {82, "SQL_BOOKMARK_PERSISTENCE", K::Flags32, L, Names(kBookmarkPersistenceNames)},
    {114, "SQL_CATALOG_LOCATION", K::Code16, L, Names(kCatalogLocationNames)},
    {10003, "SQL_CATALOG_NAME", K::String, L, {}},
    {41, "SQL_CATALOG_NAME_SEPARATOR", K::String, L, {}},
    {42, "SQL_CATALOG_TERM", K::String, L, {}},
    {92, "SQL_CATALOG_USAGE", K::Flags32, L, Names(kCatalogUsageNames)},
    {10004, "SQL_COLLATION_SEQ", K::String, L, {}},
    {87, "SQL_COLUMN_ALIAS", K::String, L, {}},
    {53, "SQL_CONVERT_BIGINT", K::Flags32, L, Names(kConvertNames)},
    {54, "SQL_CONVERT_BINARY", K::Flags32, L, Names(kConvertNames)},
    {55, "SQL_CONVERT_BIT", K::Flags32, L, Names(kConvertNames)},
    {56, "SQL_CONVERT_CHAR", K::Flags32, L, Names(kConvertNames)},
    {57, "SQL_CONVERT_DATE", K::Flags32, L, Names(kConvertNames)},
    {58, "SQL_CONVERT_DECIMAL", K::Flags32, L, Names(kConvertNames)},
    {59, "SQL_CONVERT_DOUBLE", K::Flags32, L, Names(kConvertNames)},
    {60, "SQL_CONVERT_FLOAT ", K::Flags32, L, Names(kConvertNames)},
    {61, "SQL_CONVERT_INTEGER", K::Flags32, L, Names(kConvertNames)},
    {124, "SQL_CONVERT_INTERVAL_YEAR_MONTH", K::Flags32, L, Names(kConvertNames)},
    {123, "SQL_CONVERT_INTERVAL_DAY_TIME", K::Flags32, L, Names(kConvertNames)},
    {71, "SQL_CONVERT_LONGVARBINARY", K::Flags32, L, Names(kConvertNames)},
    {62, "SQL_CONVERT_LONGVARCHAR", K::Flags32, L, Names(kConvertNames)},
    {63, "SQL_CONVERT_NUMERIC", K::Flags32, L, Names(kConvertNames)},
    {64, "SQL_CONVERT_REAL", K::Flags32, L, Names(kConvertNames)},
    {65, "SQL_CONVERT_SMALLINT", K::Flags32, L, Names(kConvertNames)},
    {66, "SQL_CONVERT_TIME", K::Flags32, L, Names(kConvertNames)},
    {67, "SQL_CONVERT_TIMESTAMP", K::Flags32, L, Names(kConvertNames)},
    {68, "SQL_CONVERT_TINYINT", K::Flags32, L, Names(kConvertNames)},
    {69, "SQL_CONVERT_VARBINARY", K::Flags32, L, Names(kConvertNames)},
    {70, "SQL_CONVERT_VARCHAR", K::Flags32, L, Names(kConvertNames)},
    {48, "SQL_CONVERT_FUNCTIONS", K::Flags32, L, Names(kConvertFunctionsNames)},
    {74, "SQL_CORRELATION_NAME", K::Code16, L, Names(kCorrelationNameNames)},
    {127, "SQL_CREATE_ASSERTION", K::Flags32, L, Names(kCreateAssertionNames)},
    {128, "SQL_CREATE_CHARACTER_SET", K::Flags32, L, Names(kCreateCharacterSetNames)},
    {129, "SQL_CREATE_COLLATION", K::Flags32, L, Names(kCreateCollationNames)},
    {130, "SQL_CREATE_DOMAIN", K::Flags32, L, Names(kCreateDomainNames)},
    {131, "SQL_CREATE_SCHEMA", K::Flags32, L, Names(kCreateSchemaNames)},
    {132, "SQL_CREATE_TABLE", K::Flags32, L, Names(kCreateTableNames)},
    {133, "SQL_CREATE_TRANSLATION", K::Flags32, L, Names(kCreateTranslationNames)},
    {134, "SQL_CREATE_VIEW", K::Flags32, L, Names(kCreateViewNames)},
    {23, "SQL_CURSOR_COMMIT_BEHAVIOR", K::Code16, L, Names(kCursorCommitBehaviorNames)},
    {24, "SQL_CURSOR_ROLLBACK_BEHAVIOR", K::Code16, L, Names(kCursorRollbackBehaviorNames)},
    {10001, "SQL_CURSOR_SENSITIVITY", K::Code32, L, Names(kCursorSensitivityNames)},
    {2, "SQL_DATA_SOURCE_NAME", K::String, S, {}},
    {25, "SQL_DATA_SOURCE_READ_ONLY", K::String, S, {}},
    {16, "SQL_DATABASE_NAME", K::String, S, {}},
    {119, "SQL_DATETIME_LITERALS", K::Flags32, L, Names(kDatetimeLiteralsNames)},
    {17, "SQL_DBMS_NAME", K::String, S, {}},
    {18, "SQL_DBMS_VER", K::String, S, {}},
    {170, "SQL_DDL_INDEX", K::Flags32, L, Names(kDdlIndexNames)},
    {26, "SQL_DEFAULT_TXN_ISOLATION", K::Code32, L, Names(kDefaultTxnIsolationNames)},
    {10002, "SQL_DESCRIBE_PARAMETER", K::String, L, {}},
    {171, "SQL_DM_VER", K::String, S, {}},
    {6, "SQL_DRIVER_NAME", K::String, S, {}},
    {77, "SQL_DRIVER_ODBC_VER", K::String, S, {}},
    {7, "SQL_DRIVER_VER", K::String, S, {}},
    {136, "SQL_DROP_ASSERTION", K::Flags32, L, Names(kDropAssertionNames)},
    {137, "SQL_DROP_CHARACTER_SET", K::Flags32, L, Names(kDropCharacterSetNames)},
    {138, "SQL_DROP_COLLATION", K::Flags32, L, Names(kDropCollationNames)},
    {139, "SQL_DROP_DOMAIN", K::Flags32, L, Names(kDropDomainNames)},
    {140, "SQL_DROP_SCHEMA", K::Flags32, L, Names(kDropSchemaNames)},
    {141, "SQL_DROP_TABLE", K::Flags32, L, Names(kDropTableNames)},
    {142, "SQL_DROP_TRANSLATION", K::Flags32, L, Names(kDropTranslationNames)},
    {143, "SQL_DROP_VIEW", K::Flags32, L, Names(kDropViewNames)},
    {144, "SQL_DYNAMIC_CURSOR_ATTRIBUTES1", K::Flags32, L, Names(kDynamicCursorAttributes1Names)},
    {145, "SQL_DYNAMIC_CURSOR_ATTRIBUTES2", K::Flags32, L, Names(kDynamicCursorAttributes2Names)},
    {27, "SQL_EXPRESSIONS_IN_ORDERBY", K::String, L, {}},
    {8, "SQL_FETCH_DIRECTION", K::Flags32, L, Names(kFetchDirectionNames)},
    {84, "SQL_FILE_USAGE", K::Code16, L, Names(kFileUsageNames)},
    {146, "SQL_FORWARD_ONLY_CURSOR_ATTRIBUTES1", K::Flags32, L, Names(kForwardOnlyCursorAttributes1Names)},
    {147, "SQL_FORWARD_ONLY_CURSOR_ATTRIBUTES2", K::Flags32, L, Names(kForwardOnlyCursorAttributes2Names)},
    {81, "SQL_GETDATA_EXTENSIONS", K::Flags32, L, Names(kGetdataExtensionsNames)},
    {88, "SQL_GROUP_BY", K::Code16, L, Names(kGroupByNames)},
    {28, "SQL_IDENTIFIER_CASE", K::Code16, L, Names(kIdentifierCaseNames)},
    {29, "SQL_IDENTIFIER_QUOTE_CHAR", K::String, S, {}},
    {148, "SQL_INDEX_KEYWORDS", K::Flags32, L, Names(kIndexKeywordsNames)},
    {149, "SQL_INFO_SCHEMA_VIEWS", K::Flags32, L, Names(kInfoSchemaViewsNames)},
    {172, "SQL_INSERT_STATEMENT", K::Flags32, L, Names(kInsertStatementNames)},
    {73, "SQL_INTEGRITY", K::String, L, {}},
    {150, "SQL_KEYSET_CURSOR_ATTRIBUTES1", K::Flags32, L, Names(kKeysetCursorAttributes1Names)},
    {151, "SQL_KEYSET_CURSOR_ATTRIBUTES2", K::Flags32, L, Names(kKeysetCursorAttributes2Names)},
    {89, "SQL_KEYWORDS", K::String, L, {}},
    {113, "SQL_LIKE_ESCAPE_CLAUSE", K::String, L, {}},
    {78, "SQL_LOCK_TYPES", K::Flags32, L, Names(kLockTypesNames)},
    {10022, "SQL_MAX_ASYNC_CONCURRENT_STATEMENTS", K::I32, L, {}},
    {112, "SQL_MAX_BINARY_LITERAL_LEN", K::I32, L, {}},
    {34, "SQL_MAX_CATALOG_NAME_LEN", K::U16, L, {}},
    {108, "SQL_MAX_CHAR_LITERAL_LEN", K::I32, L, {}},
    {30, "SQL_MAX_COLUMN_NAME_LEN", K::U16, L, {}},
    {97, "SQL_MAX_COLUMNS_IN_GROUP_BY", K::U16, L, {}},
    {98, "SQL_MAX_COLUMNS_IN_INDEX", K::U16, L, {}},
    {99, "SQL_MAX_COLUMNS_IN_ORDER_BY", K::U16, L, {}},
    {100, "SQL_MAX_COLUMNS_IN_SELECT", K::U16, L, {}},
    {101, "SQL_MAX_COLUMNS_IN_TABLE", K::U16, L, {}},
    {1, "SQL_MAX_CONCURRENT_ACTIVITIES", K::U16, L, {}},
    {31, "SQL_MAX_CURSOR_NAME_LEN", K::U16, L, {}},
    {0, "SQL_MAX_DRIVER_CONNECTIONS", K::U16, L, {}},
    {10005, "SQL_MAX_IDENTIFIER_LEN", K::U16, L, {}},
    {102, "SQL_MAX_INDEX_SIZE", K::I32, L, {}},
    {33, "SQL_MAX_PROCEDURE_NAME_LEN", K::U16, L, {}},
    {104, "SQL_MAX_ROW_SIZE", K::I32, L, {}},
    {103, "SQL_MAX_ROW_SIZE_INCLUDES_LONG", K::String, L, {}},
    {32, "SQL_MAX_SCHEMA_NAME_LEN", K::U16, L, {}},
    {105, "SQL_MAX_STATEMENT_LEN", K::I32, L, {}},
    {35, "SQL_MAX_TABLE_NAME_LEN", K::U16, L, {}},
    {106, "SQL_MAX_TABLES_IN_SELECT", K::U16, L, {}},
    {107, "SQL_MAX_USER_NAME_LEN", K::U16, L, {}},
    {36, "SQL_MULT_RESULT_SETS", K::String, L, {}},
    {37, "SQL_MULTIPLE_ACTIVE_TXN", K::String, L, {}},
    {111, "SQL_NEED_LONG_DATA_LEN", K::String, L, {}},
    {75, "SQL_NON_NULLABLE_COLUMNS", K::Code16, L, Names(kNonNullableColumnsNames)},
    {85, "SQL_NULL_COLLATION", K::Code16, L, Names(kNullCollationNames)},
    {49, "SQL_NUMERIC_FUNCTIONS", K::Flags32, L, Names(kNumericFunctionsNames)},
    {9, "SQL_ODBC_API_CONFORMANCE", K::Code16, S, Names(kOdbcApiConformanceNames)},
    {152, "SQL_ODBC_INTERFACE_CONFORMANCE", K::Code32, S, Names(kOdbcInterfaceConformanceNames)},
    {15, "SQL_ODBC_SQL_CONFORMANCE", K::Code16, S, Names(kOdbcSqlConformanceNames)},
    {10, "SQL_ODBC_VER", K::String, S, {}},
    {115, "SQL_OJ_CAPABILITIES", K::Flags32, L, Names(kOjCapabilitiesNames)},
    {90, "SQL_ORDER_BY_COLUMNS_IN_SELECT", K::String, L, {}},
    {153, "SQL_PARAM_ARRAY_ROW_COUNTS", K::Code32, L, Names(kParamArrayRowCountsNames)},
    {154, "SQL_PARAM_ARRAY_SELECTS", K::Code32, L, Names(kParamArraySelectsNames)},
    {40, "SQL_PROCEDURE_TERM", K::String, L, {}},
    {21, "SQL_PROCEDURES", K::String, L, {}},
    {93, "SQL_QUOTED_IDENTIFIER_CASE", K::Code16, L, Names(kQuotedIdentifierCaseNames)},
    {11, "SQL_ROW_UPDATES", K::String, L, {}},
    {39, "SQL_SCHEMA_TERM", K::String, S, {}},
    {91, "SQL_SCHEMA_USAGE", K::Flags32, L, Names(kSchemaUsageNames)},
    {44, "SQL_SCROLL_OPTIONS", K::Flags32, L, Names(kScrollOptionsNames)},
    {14, "SQL_SEARCH_PATTERN_ESCAPE", K::String, S, {}},
    {13, "SQL_SERVER_NAME", K::String, S, {}},
    {94, "SQL_SPECIAL_CHARACTERS", K::String, S, {}},
    {118, "SQL_SQL_CONFORMANCE", K::Code32, S, Names(kSqlConformanceNames)},
    {155, "SQL_SQL92_DATETIME_FUNCTIONS", K::Flags32, L, Names(kSql92DatetimeFunctionsNames)},
    {156, "SQL_SQL92_FOREIGN_KEY_DELETE_RULE", K::Flags32, L, Names(kSql92ForeignKeyDeleteRuleNames)},
    {157, "SQL_SQL92_FOREIGN_KEY_UPDATE_RULE", K::Flags32, L, Names(kSql92ForeignKeyUpdateRuleNames)},
    {159, "SQL_SQL92_NUMERIC_VALUE_FUNCTIONS", K::Flags32, L, Names(kSql92NumericValueFunctionsNames)},
    {160, "SQL_SQL92_PREDICATES", K::Flags32, L, Names(kSql92PredicatesNames)},
    {161, "SQL_SQL92_RELATIONAL_JOIN_OPERATORS", K::Flags32, L, Names(kSql92RelationalJoinOperatorsNames)},
    {162, "SQL_SQL92_REVOKE", K::Flags32, L, Names(kSql92RevokeNames)},
    {163, "SQL_SQL92_ROW_VALUE_CONSTRUCTOR", K::Flags32, L, Names(kSql92RowValueConstructorNames)},
    {164, "SQL_SQL92_STRING_FUNCTIONS", K::Flags32, S, Names(kSql92StringFunctionsNames)},
    {165, "SQL_SQL92_VALUE_EXPRESSIONS", K::Flags32, L, Names(kSql92ValueExpressionsNames)},
    {166, "SQL_STANDARD_CLI_CONFORMANCE", K::Flags32, S, Names(kStandardCliConformanceNames)},
    {167, "SQL_STATIC_CURSOR_ATTRIBUTES1", K::Flags32, L, Names(kStaticCursorAttributes1Names)},
    {168, "SQL_STATIC_CURSOR_ATTRIBUTES2", K::Flags32, L, Names(kStaticCursorAttributes2Names)},
    {95, "SQL_SUBQUERIES", K::Flags32, S, Names(kSubqueriesNames)},
    {51, "SQL_SYSTEM_FUNCTIONS", K::Flags32, L, Names(kSystemFunctionsNames)},
    {45, "SQL_TABLE_TERM", K::String, S, {}},
    {109, "SQL_TIMEDATE_ADD_INTERVALS", K::Flags32, L, Names(kTimedateAddIntervalsNames)},
    {110, "SQL_TIMEDATE_DIFF_INTERVALS", K::Flags32, L, Names(kTimedateDiffIntervalsNames)},
    {52, "SQL_TIMEDATE_FUNCTIONS", K::Flags32, L, Names(kTimedateFunctionsNames)},
    {46, "SQL_TXN_CAPABLE", K::Code16, L, Names(kTxnCapableNames)},
    {72, "SQL_TXN_ISOLATION_OPTION", K::Flags32, L, Names(kTxnIsolationOptionNames)},
    {96, "SQL_UNION", K::Flags32, L, Names(kUnionNames)},
    {47, "SQL_USER_NAME", K::String, S, {}},
    {10000, "SQL_XOPEN_CLI_YEAR", K::String, L, {}},
};

void AppendFlagName(char* buffer, const char* name) {
  const size_t used = std::strlen(buffer);
  const size_t length = std::strlen(name);
  // Signed arithmetic: a nearly full buffer must refuse, not wrap around.
  if (static_cast<long>(kDecodeBufferSize) - static_cast<long>(used) - static_cast<long>(length) <= 5) return;
  char* end = buffer + used;
  if (used > 0) {
    std::memcpy(end, " | ", 3);
    end += 3;
  }
  std::memcpy(end, name, length + 1);
}

std::string DecodeInfoValue(const DriverInfoRow& row, uint32_t value) {
  switch (row.kind) {
    case InfoKind::String:
      return {};
    case InfoKind::U16:
      return std::to_string(static_cast<uint16_t>(value));
    case InfoKind::I32:
      return std::to_string(static_cast<int32_t>(value));
    case InfoKind::Flags16:
    case InfoKind::Flags32:
    case InfoKind::Code16:
    case InfoKind::Code32:
      break;
  }
  const bool flags = row.kind == InfoKind::Flags16 || row.kind == InfoKind::Flags32;
  std::array<char, kDecodeBufferSize> buffer{};
  for (size_t i = 0; i < row.names.count; ++i) {
    const InfoName& entry = row.names.names[i];
    const bool match = flags ? (entry.code == 0 ? value == 0 : (value & entry.code) == entry.code)
                             : value == entry.code;
    if (match) AppendFlagName(buffer.data(), entry.name);
  }
  return buffer.data();
}

bool FetchInfoRow(SQLHDBC connection, const DriverInfoRow& row, std::string* text) {
  SQLRETURN rc = SQL_ERROR;
  uint32_t value = 0;
  switch (row.kind) {
    case InfoKind::String: {
      // The driver cuts a longer value to the buffer, terminator included.
      std::array<char, kDecodeBufferSize> buffer{};
      SQLSMALLINT length = 0;
      rc = SQLGetInfo(connection, row.type, buffer.data(), static_cast<SQLSMALLINT>(buffer.size()), &length);
      if (!OdbcSucceeded(rc)) return false;
      buffer.back() = '\0';
      *text = buffer.data();
      return true;
    }
    case InfoKind::U16:
    case InfoKind::Flags16:
    case InfoKind::Code16: {
      SQLUSMALLINT small = 0;
      rc = SQLGetInfo(connection, row.type, &small, sizeof small, nullptr);
      value = small;
      break;
    }
    case InfoKind::I32:
    case InfoKind::Flags32:
    case InfoKind::Code32: {
      SQLUINTEGER wide = 0;
      rc = SQLGetInfo(connection, row.type, &wide, sizeof wide, nullptr);
      value = wide;
      break;
    }
  }
  if (!OdbcSucceeded(rc)) return false;
  *text = DecodeInfoValue(row, value);
  return true;
}
