// The data source page (dialog 7 / 1007) and its handler: the saved login of
// a data source (edit, clear, test, saved on OK) and what the driver reports
// about itself, as the short or long list of the driver information catalog.
#pragma once

#include "library/catalog/login_dialog.h"
#include "library/propsheet/handler_base.h"

class DsnPageHandler final : public PropertySheetHandler {
 public:
  // For the data source named by the first KIND_DSN item of `list` (null
  // stands for the empty list).
  static DsnPageHandler* Create(LPCITEMIDLIST list);

  // Adds the data source page when the list names a data source.
  HRESULT STDMETHODCALLTYPE AddPages(LPFNADDPROPSHEETPAGE pfnAddPage, LPARAM lParam) override;

  // Text 0 of the first data source item of the own list, or null.
  const char* DataSource() const { return dataSource_; }
  // The login the page works with (UTF-8, at most kLoginEditLimit characters).
  LoginPrompt& Login() { return login_; }

 private:
  explicit DsnPageHandler(LPCITEMIDLIST list);

  const char* dataSource_;  // points into the own list
  LoginPrompt login_;       // wiped when the handler goes
};
