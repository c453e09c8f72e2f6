// The library's string tables: German texts at identifiers 1-78, English at
// 1001-1078 (German id + 1000). Texts are UTF-8; "&" marks the mnemonic of a
// menu text, "%s"/"%ld" are printf placeholders filled by the caller, and
// trailing blanks are part of the text.
//
// Where only one language of a text was handed to us, the other was written
// by us; such texts carry the mark "(ours)".
#include "library/res/resource_ids.h"
#include "library/res/strings.h"

const ResourceString kStringTable[] = {
    // ---- German --------------------------------------------------------
    {IDS_STATUS_DATABASE, "Datenbank: "},
    {IDS_HDR_ROOT_DSN, "DSN"},
    {IDS_HDR_ROOT_DRIVER, "Treiber"},
    {IDS_HDR_ROOT_TYPE, "Typ"},
    {IDS_HDR_TABLE_NAME, "Name"},
    {IDS_HDR_TABLE_QUALIFIER, "Katalog"},
    {IDS_HDR_TABLE_OWNER, "Eigentümer"},
    {IDS_HDR_TABLE_TYPE, "Typ"},
    {IDS_HDR_TABLE_REMARK, "Bemerkung"},
    {IDS_YES, "Ja"},
    {IDS_NO, "Nein"},
    {IDS_STATEMENT_CANCELED, "Statement abgebrochen !"},  // (ours)
    {IDS_CANCEL, "Abbrechen"},                            // (ours)
    {IDS_HDR_COLUMN_NAME, "Name"},
    {IDS_HDR_COLUMN_TYPE, "Typ"},
    {IDS_HDR_COLUMN_NULLABLE, "Null möglich"},
    {IDS_HDR_COLUMN_PRIMKEY, "Prim.Key"},
    {IDS_HDR_COLUMN_REMARK, "Bemerkung"},
    {IDS_HDR_INFO_PARAMETER, "Parameter"},
    {IDS_HDR_INFO_VALUE, "Wert"},
    {IDS_HDR_PROCCOL_NAME, "Name"},
    {IDS_HDR_PROCCOL_INOUT, "Ein/Ausgabe"},
    {IDS_HDR_PROCCOL_DATATYPE, "Datentyp"},
    {IDS_HDR_PROCCOL_NULLABLE, "Null möglich"},
    {IDS_HDR_PROCCOL_ORDER, "Reihenfolge"},
    {IDS_HDR_PROCCOL_REMARK, "Bemerkung"},
    {IDS_CLASS_INFOTIP,
     "Der Datrova zeigt die Struktur und die Daten von ODBC-Datenquellen."},  // (ours)
    {IDS_CONFIRM_DELETE_DSN, "Möchten Sie die Datenquelle %s wirklich löschen"},
    {IDS_HELP_NEW_DSN, "Neue DSN hinzufügen..."},
    {IDS_HELP_DELETE_DSN, "DSN löschen..."},
    {IDS_HDR_PRIV_GRANTOR, "Aussteller"},
    {IDS_HDR_PRIV_GRANTEE, "Empfänger"},
    {IDS_HDR_PRIV_RIGHT, "Recht"},
    {IDS_HDR_PRIV_GRANTING, "Weitergeben"},
    {IDS_HDR_FK_FROM_COLUMN, "von Spalte"},
    {IDS_HDR_FK_TO_COLUMN, "zu Spalte"},
    {IDS_HDR_FK_SEQ, "Lfd"},
    {IDS_HDR_FK_UPDATE, "Update"},
    {IDS_HDR_FK_DELETE, "Löschen"},
    {IDS_HDR_FK_KEY, "Schlüssel"},
    {IDS_CONFIRM_UNINSTALL, "Möchten Sie den Datrova wirklich deinstallieren ?"},  // (ours)
    {IDS_UNINSTALL_TITLE, "Datrova"},                                            // (ours)
    {IDS_RICHEDIT_MISSING,
     "Die Datei RICHED32.DLL konnte nicht geladen werden. Das Bearbeiten von SQL-Statement "
     "wird nicht möglich sein."},
    {IDS_HDR_FK_TO_TABLE, "zu Tabelle"},
    {IDS_SORT_BY, "nach %s"},
    {IDS_MENU_EXPLORE, "&Explorer"},  // (ours: the program keeps its name in German)
    {IDS_MENU_OPEN, "&Öffnen"},
    {IDS_MENU_DELETE, "&Löschen"},
    {IDS_MENU_PROPERTIES, "&Eigenschaften"},
    {IDS_GETTING_DATA, "Bitte warten ... Daten werden gelesen."},
    {IDS_READING_ROW, "Lese Zeile %ld ..."},           // (ours)
    {IDS_COLUMNS_ROWS, "%ld Spalten, %ld Zeilen"},     // (ours)
    {IDS_MENU_SELECT, "&Select * from"},               // (ours: SQL keeps its keywords)
    {IDS_MENU_STATEMENT, "SQL-Statement ..."},         // (ours)
    {IDS_MENU_NEW, "&Neu"},
    {IDS_NO_RESULT, "Das SQL-Statement hat kein Ergebnis geliefert."},    // (ours)
    {IDS_ROWS_TOUCHED, "Das SQL-Statement hat %ld Zeilen bearbeitet."},   // (ours)
    {IDS_CONNECTING, "Verbindung zur Datenbank wird hergestellt"},        // (ours)
    {IDS_SEARCH_MORE_RECORDS, "Weitere Datensätze gefunden (nur die ersten 100 sind aufgeführt)"},  // (ours)
    {IDS_MENU_CONFIG, "&Konfigurieren..."},
    {IDS_MENU_ODBC_ADMIN, "&ODBC Administrator..."},
    {IDS_VERB_EXECUTE, "&Ausführen"},                                     // (ours)
    {IDS_SHORTCUT_TYPE, "Datrova-Verknüpfung"},                           // (ours)
    {IDS_SHORTCUT_FILTER, "Datrova-Verknüpfungen (*.dtq)@*.dtq@"},        // (ours)
    {IDS_SHORTCUT_SAVE_TITLE, "Datrova-Verknüpfung erstellen"},           // (ours)
    {IDS_TOO_MANY_PARAMETERS,
     "Für SQL-Statements sind nur 10 Parameter implementiert. Das Statement wird nicht "
     "ausgeführt."},  // (ours)
    {IDS_MENU_ABOUT, "über den Datrova..."},

    // ---- English -------------------------------------------------------
    {kEnglishOffset + IDS_STATUS_DATABASE, "Database:"},
    {kEnglishOffset + IDS_HDR_ROOT_DSN, "DSN"},
    {kEnglishOffset + IDS_HDR_ROOT_DRIVER, "Driver"},
    {kEnglishOffset + IDS_HDR_ROOT_TYPE, "Type"},
    {kEnglishOffset + IDS_HDR_TABLE_NAME, "Name"},
    {kEnglishOffset + IDS_HDR_TABLE_QUALIFIER, "Qualifier"},
    {kEnglishOffset + IDS_HDR_TABLE_OWNER, "Owner"},
    {kEnglishOffset + IDS_HDR_TABLE_TYPE, "Type"},
    {kEnglishOffset + IDS_HDR_TABLE_REMARK, "Remark"},
    {kEnglishOffset + IDS_YES, "Yes"},
    {kEnglishOffset + IDS_NO, "No"},
    {kEnglishOffset + IDS_STATEMENT_CANCELED, "Statement canceled !"},
    {kEnglishOffset + IDS_CANCEL, "Cancel"},
    {kEnglishOffset + IDS_HDR_COLUMN_NAME, "Name"},
    {kEnglishOffset + IDS_HDR_COLUMN_TYPE, "Type"},
    {kEnglishOffset + IDS_HDR_COLUMN_NULLABLE, "Nullable"},
    {kEnglishOffset + IDS_HDR_COLUMN_PRIMKEY, "Prim.Key"},
    {kEnglishOffset + IDS_HDR_COLUMN_REMARK, "Remark"},
    {kEnglishOffset + IDS_HDR_INFO_PARAMETER, "Parameter"},
    {kEnglishOffset + IDS_HDR_INFO_VALUE, "Value"},
    {kEnglishOffset + IDS_HDR_PROCCOL_NAME, "Name"},
    {kEnglishOffset + IDS_HDR_PROCCOL_INOUT, "In/Out"},
    {kEnglishOffset + IDS_HDR_PROCCOL_DATATYPE, "Datatype"},
    {kEnglishOffset + IDS_HDR_PROCCOL_NULLABLE, "Nullable"},
    {kEnglishOffset + IDS_HDR_PROCCOL_ORDER, "Order"},
    {kEnglishOffset + IDS_HDR_PROCCOL_REMARK, "Remark"},
    {kEnglishOffset + IDS_CLASS_INFOTIP,
     "The Datrova shows the structure and data of ODBC-Datasources."},
    {kEnglishOffset + IDS_CONFIRM_DELETE_DSN, "Do you really want to delete the Datasource %s"},
    {kEnglishOffset + IDS_HELP_NEW_DSN, "Add a new DSN"},
    {kEnglishOffset + IDS_HELP_DELETE_DSN, "Delete DSN"},
    {kEnglishOffset + IDS_HDR_PRIV_GRANTOR, "Grantor"},
    {kEnglishOffset + IDS_HDR_PRIV_GRANTEE, "Grantee"},
    {kEnglishOffset + IDS_HDR_PRIV_RIGHT, "Right"},
    {kEnglishOffset + IDS_HDR_PRIV_GRANTING, "Granting"},
    {kEnglishOffset + IDS_HDR_FK_FROM_COLUMN, "from Column"},
    {kEnglishOffset + IDS_HDR_FK_TO_COLUMN, "to Column"},
    {kEnglishOffset + IDS_HDR_FK_SEQ, "Lfd"},
    {kEnglishOffset + IDS_HDR_FK_UPDATE, "Update"},
    {kEnglishOffset + IDS_HDR_FK_DELETE, "Delete"},
    {kEnglishOffset + IDS_HDR_FK_KEY, "Key"},
    {kEnglishOffset + IDS_CONFIRM_UNINSTALL, "Do you really want to deinstall the Datrova ?"},
    {kEnglishOffset + IDS_UNINSTALL_TITLE, "Datrova"},
    // The English table carries the German sentence as well.
    {kEnglishOffset + IDS_RICHEDIT_MISSING,
     "Die Datei RICHED32.DLL konnte nicht geladen werden. Das Bearbeiten von SQL-Statement "
     "wird nicht möglich sein."},
    {kEnglishOffset + IDS_HDR_FK_TO_TABLE, "to table"},
    {kEnglishOffset + IDS_SORT_BY, "by %s"},
    {kEnglishOffset + IDS_MENU_EXPLORE, "&Explorer"},
    {kEnglishOffset + IDS_MENU_OPEN, "&Open"},
    {kEnglishOffset + IDS_MENU_DELETE, "&Delete..."},
    {kEnglishOffset + IDS_MENU_PROPERTIES, "&Properties..."},
    {kEnglishOffset + IDS_GETTING_DATA, "Getting data ... please wait"},
    {kEnglishOffset + IDS_READING_ROW, "Reading row %ld ..."},
    {kEnglishOffset + IDS_COLUMNS_ROWS, "%ld columns, %ld rows"},
    {kEnglishOffset + IDS_MENU_SELECT, "&Select * from"},
    {kEnglishOffset + IDS_MENU_STATEMENT, "SQL-Statement ..."},
    {kEnglishOffset + IDS_MENU_NEW, "&New..."},
    {kEnglishOffset + IDS_NO_RESULT, "The SQL-Statement did not return any result."},
    {kEnglishOffset + IDS_ROWS_TOUCHED, "The SQL-statement touched %ld rows."},
    {kEnglishOffset + IDS_CONNECTING, "Connecting to the database"},
    {kEnglishOffset + IDS_SEARCH_MORE_RECORDS, "More records found (only the first 100 are listed)"},
    {kEnglishOffset + IDS_MENU_CONFIG, "&Config..."},
    {kEnglishOffset + IDS_MENU_ODBC_ADMIN, "&ODBC administrator..."},
    {kEnglishOffset + IDS_VERB_EXECUTE, "&Execute"},
    {kEnglishOffset + IDS_SHORTCUT_TYPE, "Datrova-Shortcut"},
    {kEnglishOffset + IDS_SHORTCUT_FILTER, "Datrova-Shortcuts (*.dtq)@*.dtq@"},
    {kEnglishOffset + IDS_SHORTCUT_SAVE_TITLE, "Create Datrova-Shortcut"},
    {kEnglishOffset + IDS_TOO_MANY_PARAMETERS,
     "For SQL-Statements only 10 Parameters are implemented. The statement will not be "
     "executed."},
    {kEnglishOffset + IDS_MENU_ABOUT, "about Datrova..."},
};
const size_t kStringTableSize = sizeof kStringTable / sizeof kStringTable[0];
