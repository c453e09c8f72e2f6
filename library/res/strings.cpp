#include "library/res/strings.h"

#include "library/shell/module_state.h"

void RegisterModuleResources(HINSTANCE hInstance) {
  PlatformRegisterStrings(hInstance, kStringTable, kStringTableSize);
}

void UnregisterModuleResources(HINSTANCE hInstance) { PlatformUnregisterStrings(hInstance); }

int LoadResString(UINT id, char* buffer, int size) {
  return LoadStringA(g_hInstance, g_languageOffset + id, buffer, size);
}

std::string ResStringAbsolute(UINT absoluteId) {
  char buffer[4096];
  int n = LoadStringA(g_hInstance, absoluteId, buffer, sizeof buffer);
  return n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string();
}

std::string ResString(UINT id) { return ResStringAbsolute(g_languageOffset + id); }
