// The settings page (dialog 8 / 1008) and its handler, which serves the
// whole system: the module-wide settings, shown when the page is first shown
// and taken over when it is destroyed, and "Delete all passwords".
#pragma once

#include <cstdint>

#include "library/propsheet/handler_base.h"

class SettingsPageHandler final : public PropertySheetHandler {
 public:
  // Null when memory runs out; the caller's AddRef makes the count 1.
  static SettingsPageHandler* Create();

  HRESULT STDMETHODCALLTYPE AddPages(LPFNADDPROPSHEETPAGE pfnAddPage, LPARAM lParam) override;

 private:
  SettingsPageHandler() : PropertySheetHandler(nullptr) {}
};

// The value of the leading decimal digits of `text` (at most its first
// `maxChars` characters), 0 when it starts with none; wraps at 2^32.
uint32_t LeadingDecimal(const char* text, int maxChars);
