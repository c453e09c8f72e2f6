#include "library/shell/dsn_admin/dsn_admin_strings.h"

#include "library/shell/module_state.h"

namespace {

struct Pair {
  DsnText id;
  const char* german;
  const char* english;
};

constexpr Pair kTexts[] = {
    {DSN_TITLE_NEW, "Neue Datenquelle", "New data source"},
    {DSN_TITLE_CONFIGURE, "Datenquelle konfigurieren", "Configure data source"},
    {DSN_TITLE_ADMIN, "ODBC Administrator", "ODBC administrator"},
    {DSN_LABEL_DRIVER, "&Treiber:", "&Driver:"},
    {DSN_LABEL_NAME, "&Name der Datenquelle:", "Data source &name:"},
    {DSN_LABEL_SCOPE, "Gültig für:", "Available to:"},
    {DSN_SCOPE_USER, "&Benutzer", "&User"},
    {DSN_SCOPE_SYSTEM, "&System", "&System"},
    {DSN_LABEL_ATTRIBUTES, "&Eigenschaften:", "&Attributes:"},
    {DSN_HDR_KEYWORD, "Schlüsselwort", "Keyword"},
    {DSN_HDR_VALUE, "Wert", "Value"},
    {DSN_BUTTON_ADD_ROW, "Zeile &hinzufügen", "Add &row"},
    {DSN_BUTTON_REMOVE_ROW, "Zeile &entfernen", "R&emove row"},
    {DSN_TAB_USER, "Benutzer-DSN", "User DSN"},
    {DSN_TAB_SYSTEM, "System-DSN", "System DSN"},
    {DSN_TAB_DRIVERS, "Treiber", "Drivers"},
    {DSN_BUTTON_ADD, "&Hinzufügen...", "&Add..."},
    {DSN_BUTTON_CONFIGURE, "&Konfigurieren...", "&Configure..."},
    {DSN_BUTTON_REMOVE, "&Entfernen", "&Remove"},
    {DSN_BUTTON_CLOSE, "Schließen", "Close"},
    {DSN_HDR_DSN, "Name", "Name"},
    {DSN_HDR_DRIVER, "Treiber", "Driver"},
    {DSN_ERR_NO_NAME, "Bitte geben Sie einen Namen für die Datenquelle ein.", "Please enter a name for the data source."},
    {DSN_ERR_NO_DRIVER, "Bitte wählen Sie einen Treiber.", "Please choose a driver."},
    {DSN_ERR_EXISTS, "Eine Datenquelle mit dem Namen %s gibt es bereits.", "A data source named %s exists already."},
    {DSN_ERR_NOT_FOUND, "Die Datenquelle %s wurde nicht gefunden.", "The data source %s was not found."},
    {DSN_ERR_BAD_ATTRIBUTE, "Die Eigenschaft \"%s\" kann so nicht gespeichert werden.",
     "The attribute \"%s\" cannot be stored as written."},
    {DSN_ERR_NAME_REFUSED, "Der Name der Datenquelle ist ungültig.", "The data source name is not valid."},
    {DSN_ERR_WRITE_FAILED, "Die Datenquelle konnte nicht gespeichert werden.", "The data source could not be written."},
    {DSN_ERR_NO_DRIVERS, "Es sind keine ODBC-Treiber installiert.", "No ODBC drivers are installed."},
};
static_assert(sizeof kTexts / sizeof kTexts[0] == DSN_LAST - 1, "every text in both languages");

}  // namespace

std::string DsnAdminTextIn(unsigned languageOffset, DsnText id) {
  for (const Pair& p : kTexts)
    if (p.id == id) return languageOffset == 0 ? p.german : p.english;
  return {};
}

std::string DsnAdminText(DsnText id, const std::string& argument) {
  std::string text = DsnAdminTextIn(g_languageOffset, id);
  const size_t at = text.find("%s");
  if (at != std::string::npos) text.replace(at, 2, argument);
  return text;
}
