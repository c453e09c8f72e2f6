// The library's string tables: German texts at identifiers 1-79, English at
// 1001-1078. Every text is loaded as LoadStringA(g_hInstance,
// g_languageOffset + id, ...) so the user's language picks the table.
#pragma once

#include <string>

#include "platform/loader/loader.h"

// Registers the string tables for a module handle with the platform (done by
// DllMain at process attach; tests that link the library statically call it
// with a null handle, which stands for the program itself).
void RegisterModuleResources(HINSTANCE hInstance);
void UnregisterModuleResources(HINSTANCE hInstance);

// LoadStringA(g_hInstance, g_languageOffset + id, buffer, size).
int LoadResString(UINT id, char* buffer, int size);
// The same as a std::string (empty when the string does not exist).
std::string ResString(UINT id);
// A text by its absolute identifier, without the language offset.
std::string ResStringAbsolute(UINT absoluteId);

// The tables themselves (string_table.cpp).
extern const ResourceString kStringTable[];
extern const size_t kStringTableSize;
