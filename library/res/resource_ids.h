// Identifiers of every resource of the library: strings, menus, dialogs,
// controls, commands, accelerator tables and icons.
//
// Strings, menus and dialogs are named by their German base identifier; the
// English resource stands at base + 1000 and is reached by adding
// g_languageOffset (0 or 1000). Accelerator tables and icons exist once and
// are loaded without the offset. Control identifiers are the widgets'
// object names ("1014"), so code and tests find controls by these numbers.
#pragma once

// ---------------------------------------------------------------------------
// String table (German ids; English at id + 1000)
// ---------------------------------------------------------------------------
enum : unsigned {
  IDS_STATUS_DATABASE = 1,  // status bar prefix before the folder path

  // Shell view headers, root folder (data sources)
  IDS_HDR_ROOT_DSN = 2,
  IDS_HDR_ROOT_DRIVER = 3,
  IDS_HDR_ROOT_TYPE = 4,
  // Shell view headers, data source folder (tables)
  IDS_HDR_TABLE_NAME = 5,
  IDS_HDR_TABLE_QUALIFIER = 6,
  IDS_HDR_TABLE_OWNER = 7,
  IDS_HDR_TABLE_TYPE = 8,
  IDS_HDR_TABLE_REMARK = 9,

  IDS_YES = 10,
  IDS_NO = 11,
  IDS_STATEMENT_CANCELED = 12,
  IDS_CANCEL = 13,

  // Shell view headers, table folder (columns)
  IDS_HDR_COLUMN_NAME = 14,
  IDS_HDR_COLUMN_TYPE = 15,
  IDS_HDR_COLUMN_NULLABLE = 16,
  IDS_HDR_COLUMN_PRIMKEY = 17,
  IDS_HDR_COLUMN_REMARK = 18,

  // Data source page list headers
  IDS_HDR_INFO_PARAMETER = 19,
  IDS_HDR_INFO_VALUE = 20,

  // Shell view headers, procedure folder (procedure columns)
  IDS_HDR_PROCCOL_NAME = 21,
  IDS_HDR_PROCCOL_INOUT = 22,
  IDS_HDR_PROCCOL_DATATYPE = 23,
  IDS_HDR_PROCCOL_NULLABLE = 24,
  IDS_HDR_PROCCOL_ORDER = 25,
  IDS_HDR_PROCCOL_REMARK = 26,

  IDS_CLASS_INFOTIP = 27,        // registry InfoTip of the namespace class
  IDS_CONFIRM_DELETE_DSN = 29,   // "%s" = data source name
  IDS_HELP_NEW_DSN = 30,
  IDS_HELP_DELETE_DSN = 31,

  // Privileges page headers
  IDS_HDR_PRIV_GRANTOR = 34,
  IDS_HDR_PRIV_GRANTEE = 35,
  IDS_HDR_PRIV_RIGHT = 36,
  IDS_HDR_PRIV_GRANTING = 37,

  // Foreign keys page headers
  IDS_HDR_FK_FROM_COLUMN = 38,
  IDS_HDR_FK_TO_COLUMN = 39,
  IDS_HDR_FK_SEQ = 40,
  IDS_HDR_FK_UPDATE = 41,
  IDS_HDR_FK_DELETE = 42,
  IDS_HDR_FK_KEY = 43,

  IDS_CONFIRM_UNINSTALL = 44,
  IDS_UNINSTALL_TITLE = 45,
  IDS_RICHEDIT_MISSING = 47,
  IDS_HDR_FK_TO_TABLE = 48,
  IDS_SORT_BY = 51,              // "%s" = column header

  // Context menu texts (command offsets 0-8)
  IDS_MENU_EXPLORE = 52,
  IDS_MENU_OPEN = 53,
  IDS_MENU_DELETE = 54,
  IDS_MENU_PROPERTIES = 55,
  IDS_GETTING_DATA = 56,
  IDS_READING_ROW = 58,          // "%ld" = row number
  IDS_COLUMNS_ROWS = 59,         // "%ld" columns, "%ld" rows
  IDS_MENU_SELECT = 60,
  IDS_MENU_STATEMENT = 61,
  IDS_MENU_NEW = 62,
  IDS_NO_RESULT = 64,
  IDS_ROWS_TOUCHED = 68,         // "%ld" = row count
  IDS_CONNECTING = 69,
  IDS_SEARCH_MORE_RECORDS = 70,  // data search: a table matched more records than are listed
  IDS_MENU_CONFIG = 71,
  IDS_MENU_ODBC_ADMIN = 72,
  IDS_VERB_EXECUTE = 73,         // shortcut file verb
  IDS_SHORTCUT_TYPE = 74,        // shortcut file type name
  IDS_SHORTCUT_FILTER = 75,      // save dialog filter, "@" stands for NUL
  IDS_SHORTCUT_SAVE_TITLE = 76,
  IDS_TOO_MANY_PARAMETERS = 77,
  IDS_MENU_ABOUT = 78,
};

// Every string id above, in ascending order. Tests and tools walk this list
// to check that both languages carry each text.
inline constexpr unsigned kAllStringIds[] = {
    IDS_STATUS_DATABASE, IDS_HDR_ROOT_DSN, IDS_HDR_ROOT_DRIVER, IDS_HDR_ROOT_TYPE,
    IDS_HDR_TABLE_NAME, IDS_HDR_TABLE_QUALIFIER, IDS_HDR_TABLE_OWNER, IDS_HDR_TABLE_TYPE,
    IDS_HDR_TABLE_REMARK, IDS_YES, IDS_NO, IDS_STATEMENT_CANCELED, IDS_CANCEL,
    IDS_HDR_COLUMN_NAME, IDS_HDR_COLUMN_TYPE, IDS_HDR_COLUMN_NULLABLE, IDS_HDR_COLUMN_PRIMKEY,
    IDS_HDR_COLUMN_REMARK, IDS_HDR_INFO_PARAMETER, IDS_HDR_INFO_VALUE, IDS_HDR_PROCCOL_NAME,
    IDS_HDR_PROCCOL_INOUT, IDS_HDR_PROCCOL_DATATYPE, IDS_HDR_PROCCOL_NULLABLE,
    IDS_HDR_PROCCOL_ORDER, IDS_HDR_PROCCOL_REMARK, IDS_CLASS_INFOTIP, IDS_CONFIRM_DELETE_DSN,
    IDS_HELP_NEW_DSN, IDS_HELP_DELETE_DSN, IDS_HDR_PRIV_GRANTOR, IDS_HDR_PRIV_GRANTEE,
    IDS_HDR_PRIV_RIGHT, IDS_HDR_PRIV_GRANTING, IDS_HDR_FK_FROM_COLUMN, IDS_HDR_FK_TO_COLUMN,
    IDS_HDR_FK_SEQ, IDS_HDR_FK_UPDATE, IDS_HDR_FK_DELETE, IDS_HDR_FK_KEY,
    IDS_CONFIRM_UNINSTALL, IDS_UNINSTALL_TITLE, IDS_RICHEDIT_MISSING, IDS_HDR_FK_TO_TABLE,
    IDS_SORT_BY, IDS_MENU_EXPLORE, IDS_MENU_OPEN, IDS_MENU_DELETE, IDS_MENU_PROPERTIES,
    IDS_GETTING_DATA, IDS_READING_ROW, IDS_COLUMNS_ROWS, IDS_MENU_SELECT, IDS_MENU_STATEMENT,
    IDS_MENU_NEW, IDS_NO_RESULT, IDS_ROWS_TOUCHED, IDS_CONNECTING, IDS_SEARCH_MORE_RECORDS, IDS_MENU_CONFIG,
    IDS_MENU_ODBC_ADMIN, IDS_VERB_EXECUTE, IDS_SHORTCUT_TYPE, IDS_SHORTCUT_FILTER,
    IDS_SHORTCUT_SAVE_TITLE, IDS_TOO_MANY_PARAMETERS, IDS_MENU_ABOUT,
};

// Offset between a German resource and its English counterpart.
inline constexpr unsigned kEnglishOffset = 1000;

// ---------------------------------------------------------------------------
// Menus (German ids; English at id + 1000)
// ---------------------------------------------------------------------------
enum : unsigned {
  IDR_MENU_RESULT = 1,        // result window menu bar: Selection, Edit
  IDR_MENU_VIEW_FOCUS = 4,    // view merge while focused: Edit (with copy), View
  IDR_MENU_VIEW_NOFOCUS = 5,  // view merge without focus: Edit (no copy), View
};

// ---------------------------------------------------------------------------
// Accelerator tables (language-neutral)
// ---------------------------------------------------------------------------
enum : unsigned {
  IDR_ACCEL_VIEW = 1,      // shell view: Ctrl+A, Ctrl+C
  IDR_ACCEL_RESULT = 128,  // result window: Ctrl+C, Ctrl+Insert, F5
};

// ---------------------------------------------------------------------------
// Dialogs (German ids; English at id + 1000, except 15 and 16 which exist
// once and answer under both ids)
// ---------------------------------------------------------------------------
enum : unsigned {
  IDD_ABOUT = 1,
  IDD_STATEMENT_EDITOR = 3,
  IDD_LOGIN = 4,
  IDD_PARAMETERS = 5,
  IDD_PAGE_COLUMN = 6,
  IDD_PAGE_DSN = 7,
  IDD_PAGE_SETTINGS = 8,
  IDD_PAGE_PROCEDURE = 9,
  IDD_PAGE_FOREIGN_KEYS = 10,
  IDD_PAGE_INDEXES = 11,
  IDD_PAGE_PRIVILEGES = 12,
  IDD_PAGE_PRIMARY_KEYS = 13,
  IDD_FIND_DATA = 15,
  IDD_FIND_RESULT = 16,
};

// ---------------------------------------------------------------------------
// Control identifiers, by dialog or window. The same number may serve
// different dialogs.
// ---------------------------------------------------------------------------
enum : int {
  IDC_STATIC = -1,
  IDC_OK = 1,
  IDC_CANCEL = 2,

  // Result window children
  IDC_RESULT_MESSAGE = 1018,
  IDC_RESULT_LIST = 1019,
  IDC_RESULT_STATUS = 1026,
  IDC_RESULT_CANCEL = 2,

  // Shell view children
  IDC_VIEW_LIST = 2000,
  IDC_VIEW_BANNER = 2001,
  IDC_VIEW_OVERLAY = 2002,

  // About box (1) and settings page (8)
  IDC_WEBSITE = 1045,

  // Statement editor (3)
  IDC_EDITOR_TEXT = 1036,

  // Login dialog (4) and data source page (7)
  IDC_LOGIN_USER = 1014,
  IDC_LOGIN_PASSWORD = 1015,
  IDC_LOGIN_SAVE_PASSWORD = 1056,

  // Parameter prompt (5): statement and the ten value fields 1058-1067
  IDC_PARAM_STATEMENT = 1069,
  IDC_PARAM_FIRST = 1058,
  IDC_PARAM_LAST = 1067,

  // Column page (6)
  IDC_COL_NULLABLE = 1004,
  IDC_COL_NAME = 1005,
  IDC_COL_PRECISION = 1007,
  IDC_COL_LENGTH = 1008,
  IDC_COL_SCALE = 1009,
  IDC_COL_RADIX = 1010,
  IDC_COL_REMARK = 1011,
  IDC_COL_DATATYPE = 1013,

  // Data source page (7)
  IDC_DSN_INFO_LIST = 1001,
  IDC_DSN_USER = 1014,
  IDC_DSN_PASSWORD = 1015,
  IDC_DSN_CLEAR_LOGIN = 1016,
  IDC_DSN_CONNECT = 1017,
  IDC_DSN_MESSAGE = 1018,
  IDC_DSN_LONG_LIST = 1070,

  // Settings page (8)
  IDC_SET_DELETE_PASSWORDS = 1016,
  IDC_SET_MAXCOL = 1027,
  IDC_SET_MAXROW = 1029,
  IDC_SET_CONNECT_SELECT = 1032,
  IDC_SET_CONNECT_DSN = 1034,
  IDC_SET_NULL_VALUE = 1035,
  IDC_SET_SHOW_SYSTAB = 1042,
  IDC_SET_SHOW_PROCS = 1043,
  IDC_SET_PRODUCT = 1045,
  IDC_SET_TIMEOUT = 1057,

  // Table metadata pages (10-13)
  IDC_TABLE_MESSAGE = 1018,
  IDC_TABLE_LIST = 1019,

  // Find Data (15)
  IDC_FIND_TYPE_NUMERIC = 1074,
  IDC_FIND_TYPE_STRING = 1075,
  IDC_FIND_TYPE_DATE = 1076,
  IDC_FIND_VALUE = 1077,
  IDC_FIND_DSN = 1078,
  IDC_FIND_TABLES = 1079,

  // Find Result (16)
  IDC_FOUND_LIST = 1019,
  IDC_FOUND_DSN = 1078,
  IDC_FOUND_TABLE = 1079,

  // Texts that belong to no control with an identifier of its own (prompts,
  // group boxes, the product text of the about box) get one from 1200 up, so
  // that the dialog code can look them up and tests can find the widgets.
  // The label in front of an edit is looked up under the edit's id.
  IDC_ABOUT_ICON = 1200,
  IDC_ABOUT_TEXT = 1201,
  IDC_PARAM_PROMPT = 1202,
  IDC_PROC_NOT_IMPLEMENTED = 1203,
  IDC_SET_TIMEOUT_UNIT = 1204,
  IDC_SET_RESULTS_GROUP = 1205,
  IDC_FIND_WARNING = 1206,
  IDC_FIND_TYPE_GROUP = 1207,
};

// ---------------------------------------------------------------------------
// Command identifiers
// ---------------------------------------------------------------------------
enum : unsigned {
  // Context menu command offsets; the view's File menu carries them as its
  // command identifiers.
  CMD_EXPLORE = 0,
  CMD_OPEN = 1,
  CMD_DELETE = 2,
  CMD_PROPERTIES = 3,
  CMD_SELECT = 4,
  CMD_STATEMENT = 5,
  CMD_NEW_DSN = 6,
  CMD_CONFIG_DSN = 7,
  CMD_ODBC_ADMIN = 8,
  CMD_NONE = 9,
  CMD_FIND_DATA = 10,
  CMD_OFFSET_COUNT = 11,

  // Shell view commands
  IDM_ABOUT = 9,
  IDM_SELECT_ALL = 17,
  IDM_VIEW_REFRESH = 22,
  IDM_VIEW_LARGE_ICONS = 102,
  IDM_VIEW_SMALL_ICONS = 103,
  IDM_VIEW_LIST = 104,
  IDM_VIEW_DETAILS = 105,
  IDM_AUTO_ARRANGE = 106,
  IDM_LINE_UP_ICONS = 107,
  IDM_INVERT_SELECTION = 109,
  IDM_COPY = 112,
  IDM_TOOLBAR_PROPERTIES = 1030,
  IDM_TOOLBAR_DELETE = 1031,
  IDM_TOOLBAR_NEW = 1033,
  IDM_SORT_BY_FIRST = 256,  // 256 + column index
  IDM_SORT_BY_LAST = 288,

  // Result window commands
  IDM_CHANGE_STATEMENT = 100,
  IDM_RESULT_CANCEL = 2,
  IDM_EXIT = 1080,
  IDM_REFRESH = 1081,
  IDM_INSERT_SCRIPT = 1082,
  IDM_NEW_SELECTION_WINDOW = 1083,
  IDM_CREATE_SHORTCUT = 1084,
};

// ---------------------------------------------------------------------------
// Icons (language-neutral)
// ---------------------------------------------------------------------------
enum : unsigned {
  IDI_PRODUCT = 100,
  IDI_DSN_CLOSED = 102,
  IDI_DSN_OPEN = 103,
  IDI_SHORTCUT_FILE = 104,  // shortcut (.dtq) document; in no image list
  IDI_TABLE_CLOSED = 112,
  IDI_TABLE_OPEN = 113,
  IDI_COLUMN_NUMERIC = 120,
  IDI_COLUMN_CHARACTER = 121,
  IDI_COLUMN_DATE = 122,
  IDI_PROCEDURE_COLUMN = 123,  // in the image lists at index 6, no kind chooses it
  IDI_PROCEDURE_CLOSED = 124,
  IDI_PROCEDURE_OPEN = 125,
};

// Every icon id in ascending order, which is the order of icon indexes in
// the module (index 0 is the product icon).
inline constexpr unsigned kAllIconIds[] = {
    IDI_PRODUCT,         IDI_DSN_CLOSED,       IDI_DSN_OPEN,         IDI_SHORTCUT_FILE,
    IDI_TABLE_CLOSED,    IDI_TABLE_OPEN,       IDI_COLUMN_NUMERIC,   IDI_COLUMN_CHARACTER,
    IDI_COLUMN_DATE,     IDI_PROCEDURE_COLUMN, IDI_PROCEDURE_CLOSED, IDI_PROCEDURE_OPEN,
};

// The ten icons of the image lists, in image index order.
inline constexpr unsigned kImageListIconIds[] = {
    IDI_DSN_CLOSED,       IDI_DSN_OPEN,       IDI_TABLE_CLOSED,     IDI_TABLE_OPEN,
    IDI_PROCEDURE_CLOSED, IDI_PROCEDURE_OPEN, IDI_PROCEDURE_COLUMN, IDI_COLUMN_NUMERIC,
    IDI_COLUMN_CHARACTER, IDI_COLUMN_DATE,
};
