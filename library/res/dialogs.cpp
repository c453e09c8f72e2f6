#include "library/res/dialogs.h"

#include "library/res/resource_ids.h"
#include "library/shell/module_state.h"

// The maker's lines and the address are ours to choose.
const char kProductInfoText[] = "Datrova Version 2.2\n(c) Brenmoor\nwww.brenmoor.example";
const char kMakerWebAddress[] = "https://www.brenmoor.example/datrova/";

namespace {

using K = DialogControlKind;

template <size_t N>
constexpr DialogDef Dialog(UINT id, const char* caption, const DialogControlText (&controls)[N]) {
  return {id, caption, controls, N};
}

// ---- 1: about box (both languages carry the German caption) ---------------
constexpr DialogControlText kAboutDe[] = {
    {IDC_ABOUT_TEXT, K::Label, kProductInfoText},
    {IDC_OK, K::DefaultButton, "OK"},
    {IDC_WEBSITE, K::Button, "&Web-Seite"},
};
constexpr DialogControlText kAboutEn[] = {
    {IDC_ABOUT_TEXT, K::Label, kProductInfoText},
    {IDC_OK, K::DefaultButton, "OK"},
    {IDC_WEBSITE, K::Button, "&Web-Site"},
};

// ---- 3: statement editor (German caption ours) -----------------------------
constexpr DialogControlText kEditorDe[] = {
    {IDC_OK, K::DefaultButton, "OK"},
    {IDC_CANCEL, K::Button, "Abbrechen"},
};
constexpr DialogControlText kEditorEn[] = {
    {IDC_OK, K::DefaultButton, "OK"},
    {IDC_CANCEL, K::Button, "Cancel"},
};

// ---- 4: login prompt ("Passwort &speichern" ours) ---------------------------
constexpr DialogControlText kLoginDe[] = {
    {IDC_LOGIN_USER, K::Label, "&Loginname:"},
    {IDC_LOGIN_PASSWORD, K::Label, "&Passwort:"},
    {IDC_LOGIN_SAVE_PASSWORD, K::CheckBox, "Passwort &speichern"},
    {IDC_OK, K::DefaultButton, "OK"},
    {IDC_CANCEL, K::Button, "Abbrechen"},
};
constexpr DialogControlText kLoginEn[] = {
    {IDC_LOGIN_USER, K::Label, "&Loginname:"},
    {IDC_LOGIN_PASSWORD, K::Label, "&Password:"},
    {IDC_LOGIN_SAVE_PASSWORD, K::CheckBox, "&Save Password"},
    {IDC_OK, K::DefaultButton, "OK"},
    {IDC_CANCEL, K::Button, "Cancel"},
};

// ---- 5: parameter prompt (German texts ours) --------------------------------
#define DATROVA_PARAM_LABELS                                                              \
  {IDC_PARAM_FIRST + 0, K::Label, "1."}, {IDC_PARAM_FIRST + 1, K::Label, "2."},           \
      {IDC_PARAM_FIRST + 2, K::Label, "3."}, {IDC_PARAM_FIRST + 3, K::Label, "4."},       \
      {IDC_PARAM_FIRST + 4, K::Label, "5."}, {IDC_PARAM_FIRST + 5, K::Label, "6."},       \
      {IDC_PARAM_FIRST + 6, K::Label, "7."}, {IDC_PARAM_FIRST + 7, K::Label, "8."},       \
      {IDC_PARAM_FIRST + 8, K::Label, "9."}, {IDC_PARAM_FIRST + 9, K::Label, "10."}
constexpr DialogControlText kParamsDe[] = {
    {IDC_PARAM_PROMPT, K::Label, "Zum Ausführen des SQL-Statements werden Parameter benötigt:"},
    DATROVA_PARAM_LABELS,
    {IDC_OK, K::DefaultButton, "OK"},
    {IDC_CANCEL, K::Button, "Abbrechen"},
};
constexpr DialogControlText kParamsEn[] = {
    {IDC_PARAM_PROMPT, K::Label, "To execute the SQL-Statement, some Parameters are needed:"},
    DATROVA_PARAM_LABELS,
    {IDC_OK, K::DefaultButton, "OK"},
    {IDC_CANCEL, K::Button, "Cancel"},
};
#undef DATROVA_PARAM_LABELS

// ---- 6: column page ----------------------------------------------------------
constexpr DialogControlText kColumnDe[] = {
    {IDC_COL_NAME, K::Label, "Name:"},
    {IDC_COL_DATATYPE, K::Label, "Datentyp:"},
    {IDC_COL_PRECISION, K::Label, "Genauigkeit:"},
    {IDC_COL_LENGTH, K::Label, "Länge:"},
    {IDC_COL_SCALE, K::Label, "Nachkomma:"},
    {IDC_COL_RADIX, K::Label, "Basis:"},
    {IDC_COL_NULLABLE, K::CheckBox, "Null erlaubt:"},
    {IDC_COL_REMARK, K::Label, "Bemerkung:"},
};
constexpr DialogControlText kColumnEn[] = {
    {IDC_COL_NAME, K::Label, "Name:"},
    {IDC_COL_DATATYPE, K::Label, "Datatype:"},
    {IDC_COL_PRECISION, K::Label, "Precision:"},
    {IDC_COL_LENGTH, K::Label, "Length:"},
    {IDC_COL_SCALE, K::Label, "Scale:"},
    {IDC_COL_RADIX, K::Label, "Radix:"},
    {IDC_COL_NULLABLE, K::CheckBox, "Nullable"},
    {IDC_COL_REMARK, K::Label, "Remark:"},
};

// ---- 7: data source page -----------------------------------------------------
constexpr DialogControlText kDsnDe[] = {
    {IDC_DSN_USER, K::Label, "&Loginname:"},
    {IDC_DSN_PASSWORD, K::Label, "&Passwort:"},
    {IDC_DSN_CLEAR_LOGIN, K::Button, "User und Passwort &löschen"},
    {IDC_DSN_CONNECT, K::Button, "&Verbinden"},
    {IDC_DSN_LONG_LIST, K::Button, "&Ausführliche Liste"},
};
constexpr DialogControlText kDsnEn[] = {
    {IDC_DSN_USER, K::Label, "&Loginname:"},
    {IDC_DSN_PASSWORD, K::Label, "&Password:"},
    {IDC_DSN_CLEAR_LOGIN, K::Button, "Delete User and Password"},
    {IDC_DSN_CONNECT, K::Button, "&Connect"},
    {IDC_DSN_LONG_LIST, K::Button, "&Long list"},
};

// ---- 8: settings page ----------------------------------------------------------
// The unit label "s" is the same in both languages.
constexpr DialogControlText kSettingsDe[] = {
    {IDC_SET_PRODUCT, K::Button, kProductInfoText},
    {IDC_SET_NULL_VALUE, K::Label, "Text für &Nullwerte:"},
    {IDC_SET_CONNECT_DSN, K::CheckBox, "Verbindung zur &Datenbank halten"},
    {IDC_SET_SHOW_SYSTAB, K::CheckBox, "System&tabellen anzeigen"},
    {IDC_SET_SHOW_PROCS, K::CheckBox, "&Prozeduren anzeigen"},
    {IDC_SET_TIMEOUT, K::Label, "&Login Timeout"},
    {IDC_SET_TIMEOUT_UNIT, K::Label, "s"},
    {IDC_SET_RESULTS_GROUP, K::GroupBox, "Selektionsergebnisse"},
    {IDC_SET_MAXCOL, K::Label, "Maximale &Spalten (0=unbegrenzt):"},
    {IDC_SET_MAXROW, K::Label, "Maximale &Zeilen (0=unbegrenzt):"},
    {IDC_SET_CONNECT_SELECT, K::CheckBox, "&Verbindung zur Datenbank halten"},
    {IDC_SET_DELETE_PASSWORDS, K::Button, "&Alle Passwörter löschen"},
};
constexpr DialogControlText kSettingsEn[] = {
    {IDC_SET_PRODUCT, K::Button, kProductInfoText},
    {IDC_SET_NULL_VALUE, K::Label, "Text for &Null-Values"},
    {IDC_SET_CONNECT_DSN, K::CheckBox, "&Hold Connection to Database"},
    {IDC_SET_SHOW_SYSTAB, K::CheckBox, "Show &Systemtables"},
    {IDC_SET_SHOW_PROCS, K::CheckBox, "Show &Procedures"},
    {IDC_SET_TIMEOUT, K::Label, "&Login Timeout"},
    {IDC_SET_TIMEOUT_UNIT, K::Label, "s"},
    {IDC_SET_RESULTS_GROUP, K::GroupBox, "Results of selections"},
    {IDC_SET_MAXCOL, K::Label, "Maximal &Columns (0=unlimited):"},
    {IDC_SET_MAXROW, K::Label, "Maximal &Rows (unlimited):"},
    {IDC_SET_CONNECT_SELECT, K::CheckBox, "Hold Connection to &Database:"},
    {IDC_SET_DELETE_PASSWORDS, K::Button, "Delete all &passwords"},
};

// ---- 9: procedure page (the German text ends in a blank) --------------------
constexpr DialogControlText kProcedureDe[] = {
    {IDC_PROC_NOT_IMPLEMENTED, K::Label, "Noch nicht implementiert. "},
};
constexpr DialogControlText kProcedureEn[] = {
    {IDC_PROC_NOT_IMPLEMENTED, K::Label, "Not yet implemented"},
};

// ---- 15, 16: data search, one language; texts as given, "Abbrechen" included
constexpr DialogControlText kFindData[] = {
    {IDC_FIND_WARNING, K::Label,
     "Attention: If you run this function, the machine can be blocked for a long time - or "
     "even break down. Please save all data before continuing!"},
    {IDC_FIND_DSN, K::Label, "DSN to be seached (t.ex. 'PROD_DB,DBFR*')"},
    {IDC_FIND_TABLES, K::Label, "Tables to be searched (t.ex. 'EMP, PROD*')"},
    {IDC_FIND_TYPE_GROUP, K::GroupBox, "Datatypes to be searched"},
    {IDC_FIND_TYPE_NUMERIC, K::RadioButton, "Numeric (int, float, ...)"},
    {IDC_FIND_TYPE_STRING, K::RadioButton, "String (char, varchar, ...)"},
    {IDC_FIND_TYPE_DATE, K::RadioButton, "Date"},
    {IDC_FIND_VALUE, K::Label, "Search entry:"},
    {IDC_OK, K::DefaultButton, "OK"},
    {IDC_CANCEL, K::Button, "Abbrechen"},
};
constexpr DialogControlText kFindResult[] = {
    {IDC_FOUND_DSN, K::Label, "Current DSN:"},
    {IDC_FOUND_TABLE, K::Label, "Current Table:"},
    {IDC_CANCEL, K::Button, "Cancel"},
};

// The table pages (10-13) hold only a list and a message area: a caption and
// no texts.
constexpr DialogDef Captioned(UINT id, const char* caption) { return {id, caption, nullptr, 0}; }

constexpr UINT En(UINT id) { return kEnglishOffset + id; }

constexpr DialogDef kDialogs[] = {
    Dialog(IDD_ABOUT, "Über den Datrova", kAboutDe),
    Dialog(En(IDD_ABOUT), "Über den Datrova", kAboutEn),
    Dialog(IDD_STATEMENT_EDITOR, "SQL-Statement eingeben", kEditorDe),
    Dialog(En(IDD_STATEMENT_EDITOR), "Insert SQL-Statement", kEditorEn),
    Dialog(IDD_LOGIN, "Anmeldung an der Datenbank", kLoginDe),
    Dialog(En(IDD_LOGIN), "Login to Database", kLoginEn),
    Dialog(IDD_PARAMETERS, "Parameter", kParamsDe),
    Dialog(En(IDD_PARAMETERS), "Parameters", kParamsEn),
    Dialog(IDD_PAGE_COLUMN, "Spalte", kColumnDe),
    Dialog(En(IDD_PAGE_COLUMN), "Column", kColumnEn),
    Dialog(IDD_PAGE_DSN, "DSN", kDsnDe),
    Dialog(En(IDD_PAGE_DSN), "DSN", kDsnEn),
    Dialog(IDD_PAGE_SETTINGS, "Datrova", kSettingsDe),
    Dialog(En(IDD_PAGE_SETTINGS), "Datrova", kSettingsEn),
    Dialog(IDD_PAGE_PROCEDURE, "Prozedur", kProcedureDe),
    Dialog(En(IDD_PAGE_PROCEDURE), "Procedure", kProcedureEn),
    Captioned(IDD_PAGE_FOREIGN_KEYS, "Tabellen Fremdschlüssel"),
    Captioned(En(IDD_PAGE_FOREIGN_KEYS), "Table foreign keys"),
    Captioned(IDD_PAGE_INDEXES, "Tabellen Indizes"),
    Captioned(En(IDD_PAGE_INDEXES), "Table Indexes"),
    Captioned(IDD_PAGE_PRIVILEGES, "Tabellen Rechte"),
    Captioned(En(IDD_PAGE_PRIVILEGES), "Table rights"),
    Captioned(IDD_PAGE_PRIMARY_KEYS, "Tabellen Primärschlüssel"),
    Captioned(En(IDD_PAGE_PRIMARY_KEYS), "Table primary keys"),
    Dialog(IDD_FIND_DATA, "Find Data", kFindData),
    Dialog(IDD_FIND_RESULT, "Find Result", kFindResult),
};

}  // namespace

const DialogDef* FindDialogDef(UINT absoluteId) {
  // The data search dialogs exist once: an English user asks for 1015/1016.
  if (absoluteId == En(IDD_FIND_DATA) || absoluteId == En(IDD_FIND_RESULT))
    absoluteId -= kEnglishOffset;
  for (const DialogDef& dialog : kDialogs) {
    if (dialog.id == absoluteId) return &dialog;
  }
  return nullptr;
}

std::string DialogCaption(UINT dialogBaseId) {
  const DialogDef* dialog = FindDialogDef(g_languageOffset + dialogBaseId);
  return dialog ? std::string(dialog->caption) : std::string();
}

std::string DialogText(UINT dialogBaseId, int controlId) {
  const DialogDef* dialog = FindDialogDef(g_languageOffset + dialogBaseId);
  if (!dialog) return {};
  for (size_t i = 0; i < dialog->controlCount; ++i) {
    if (dialog->controls[i].controlId == controlId) return dialog->controls[i].text;
  }
  return {};
}
