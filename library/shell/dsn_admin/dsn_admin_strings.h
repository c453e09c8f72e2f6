// Texts of the data source dialogs (New, Configure, ODBC administrator), in
// German and English. They sit in a table of their own next to the dialogs:
// the identifiers are German, the English text stands at id + 1000 and is
// picked by g_languageOffset like every other text of the library.
#pragma once

#include <string>

enum DsnText : unsigned {
  DSN_TITLE_NEW = 1,
  DSN_TITLE_CONFIGURE,
  DSN_TITLE_ADMIN,
  DSN_LABEL_DRIVER,
  DSN_LABEL_NAME,
  DSN_LABEL_SCOPE,
  DSN_SCOPE_USER,
  DSN_SCOPE_SYSTEM,
  DSN_LABEL_ATTRIBUTES,
  DSN_HDR_KEYWORD,
  DSN_HDR_VALUE,
  DSN_BUTTON_ADD_ROW,
  DSN_BUTTON_REMOVE_ROW,
  DSN_TAB_USER,
  DSN_TAB_SYSTEM,
  DSN_TAB_DRIVERS,
  DSN_BUTTON_ADD,
  DSN_BUTTON_CONFIGURE,
  DSN_BUTTON_REMOVE,
  DSN_BUTTON_CLOSE,
  DSN_HDR_DSN,
  DSN_HDR_DRIVER,
  DSN_ERR_NO_NAME,
  DSN_ERR_NO_DRIVER,
  DSN_ERR_EXISTS,           // "%s" = name
  DSN_ERR_NOT_FOUND,        // "%s" = name
  DSN_ERR_BAD_ATTRIBUTE,    // "%s" = keyword
  DSN_ERR_NAME_REFUSED,     // fallback when the installer gives no text
  DSN_ERR_WRITE_FAILED,     // fallback when the installer gives no text
  DSN_ERR_NO_DRIVERS,
  DSN_LAST
};

// The text in the user's language; "%s" in it is replaced by `argument`.
std::string DsnAdminText(DsnText id, const std::string& argument = {});
// The same for a given language offset (0 German, 1000 English).
std::string DsnAdminTextIn(unsigned languageOffset, DsnText id);
