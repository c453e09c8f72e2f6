// The procedure page (dialog 9 / 1009) and its handler: a placeholder page
// for procedures and procedure columns that says it is not implemented yet.
#pragma once

#include <string>

#include "library/propsheet/handler_base.h"

class ShellFolder;

class ProcedurePageHandler final : public PropertySheetHandler {
 public:
  // For the procedure or procedure column `item` shown by `folder`. The
  // handler holds a reference on the folder while it lives.
  static ProcedurePageHandler* Create(ShellFolder* folder, LPCITEMIDLIST item);

  HRESULT STDMETHODCALLTYPE AddPages(LPFNADDPROPSHEETPAGE pfnAddPage, LPARAM lParam) override;

  const std::string& DataSource() const { return dataSource_; }
  const std::string& Procedure() const { return procedure_; }

 private:
  ProcedurePageHandler(ShellFolder* folder, LPCITEMIDLIST item);
  ~ProcedurePageHandler() override;

  ShellFolder* folder_;
  std::string dataSource_;
  std::string schema_;
  std::string catalog_;
  std::string procedure_;
};
