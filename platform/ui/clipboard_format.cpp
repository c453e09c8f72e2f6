// Registered clipboard formats: a name (compared without regard to case)
// gets an identifier from 0xC000 up that stays the same for the life of the
// process. "Rich Text Format" is known from the start at 0xC000 so that its
// number does not depend on who registers first.
#include <algorithm>
#include <cctype>
#include <map>
#include <mutex>
#include <string>

#include "platform/ui/ui.h"

namespace {

constexpr UINT kFirst = 0xC000;
constexpr UINT kLast = 0xFFFF;

struct Formats {
  std::mutex lock;
  std::map<std::string, UINT> ids{{"rich text format", kFirst}};
  UINT next = kFirst + 1;
};

Formats& All() {
  static auto* f = new Formats;
  return *f;
}

}  // namespace

extern "C" UINT RegisterClipboardFormatA(LPCSTR lpszFormat) {
  if (!lpszFormat || !*lpszFormat) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::string key = lpszFormat;
  std::transform(key.begin(), key.end(), key.begin(), [](unsigned char c) { return std::tolower(c); });
  std::lock_guard<std::mutex> g(All().lock);
  auto it = All().ids.find(key);
  if (it != All().ids.end()) return it->second;
  if (All().next > kLast) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return 0;
  }
  UINT id = All().next++;
  All().ids.emplace(key, id);
  return id;
}
