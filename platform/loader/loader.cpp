// The module loader: a table of loaded modules over dlopen/dlsym/dlclose.
//
// Invariants:
// - One record per module file, for the life of the process: loading the
//   same file again (by any name that reaches it) gives the same handle, and
//   a module that was unloaded and is loaded again keeps its handle. A stale
//   handle therefore never points at freed memory.
// - refs counts LoadLibrary calls not yet matched by FreeLibrary; the module
//   is attached (DllMain PROCESS_ATTACH) once when refs goes 0 -> 1 and
//   detached before its dlclose when refs goes back to 0.
// - The table lock is recursive and held while DllMain runs, as Windows holds
//   its loader lock: a DllMain may load or query modules on its own thread.
#include "platform/loader/loader.h"

#include <dlfcn.h>
#include <link.h>
#include <strings.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/com/hresult.h"

struct PlatformModule {
  std::string path;      // file that was opened (or the built-in name)
  void* dl = nullptr;    // dlopen handle while loaded
  long refs = 0;
  bool builtin = false;  // RICHED32.DLL, the program: never opened or closed
  bool callsDllMain = false;
};

namespace {

struct ModuleTable {
  std::recursive_mutex lock;
  std::vector<std::unique_ptr<PlatformModule>> modules;  // in first-load order
  PlatformModule richEdit;
  PlatformModule program;
  bool exitHandlerInstalled = false;
};

ModuleTable& Table() {
  // Never destroyed: the exit handler and late FreeLibrary calls from other
  // static destructors still need it.
  static ModuleTable* t = [] {
    auto* table = new ModuleTable;
    table->richEdit.path = "RICHED32.DLL";
    table->richEdit.builtin = true;
    table->program.builtin = true;
    table->program.dl = dlopen(nullptr, RTLD_NOW);
    return table;
  }();
  return *t;
}

std::string ProgramPath() {
  char buf[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return {};
  return std::string(buf, static_cast<size_t>(n));
}

std::string PlatformLibraryPath() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&LoadLibraryA), &info) && info.dli_fname) return info.dli_fname;
  return {};
}

std::string SystemDirectory() {
  if (const char* d = std::getenv("DATROVA_SYSTEM_DIR"); d && *d) return d;
  if (const char* x = std::getenv("XDG_DATA_HOME"); x && *x) return std::string(x) + "/datrova/system";
  const char* home = std::getenv("HOME");
  return std::string(home ? home : "") + "/.local/share/datrova/system";
}

bool FileExists(const std::string& p) { return access(p.c_str(), F_OK) == 0; }

std::string Canonical(const std::string& p) {
  char buf[PATH_MAX];
  return realpath(p.c_str(), buf) ? std::string(buf) : p;
}

// Maps a module name to the file to open, or "" when there is none. The
// well-known names are matched without regard to case, as Windows does.
std::string Resolve(const char* name) {
  if (strcasecmp(name, "shell32.dll") == 0) return PlatformLibraryPath();
  if (strcasecmp(name, "setupapi.dll") == 0) return PlatformLibraryPath();
  if (strcasecmp(name, "ODBC32.DLL") == 0) return "libodbc.so.2";
  if (strcasecmp(name, "ODBCCP32.DLL") == 0) return "libodbcinst.so.2";
  std::string n = name;
  if (n.find('/') != std::string::npos) return FileExists(n) ? Canonical(n) : std::string();
  std::string exe = ProgramPath();
  if (auto slash = exe.rfind('/'); slash != std::string::npos) {
    std::string p = exe.substr(0, slash + 1) + n;
    if (FileExists(p)) return Canonical(p);
  }
  std::string p = SystemDirectory() + "/" + n;
  if (FileExists(p)) return Canonical(p);
  return {};
}

// A symbol of the module itself: dlsym on a handle also searches the
// module's dependencies, but Windows' GetProcAddress sees only the module's
// own exports (a library that links Datrova.so must not get its DllMain).
void* OwnSymbol(void* dl, const char* name) {
  void* sym = dlsym(dl, name);
  if (!sym) return nullptr;
  link_map* self = nullptr;
  if (dlinfo(dl, RTLD_DI_LINKMAP, &self) != 0 || !self) return nullptr;
  Dl_info info{};
  link_map* owner = nullptr;
  if (!dladdr1(sym, &info, reinterpret_cast<void**>(&owner), RTLD_DL_LINKMAP) || owner != self) return nullptr;
  return sym;
}

DllMainProc EntryPoint(PlatformModule* m) {
  if (!m->dl || !m->callsDllMain) return nullptr;
  return reinterpret_cast<DllMainProc>(OwnSymbol(m->dl, "DllMain"));
}

bool IsModule(ModuleTable& t, HMODULE h) {
  if (h == &t.richEdit || h == &t.program) return true;
  for (auto& m : t.modules)
    if (m.get() == h) return true;
  return false;
}

// Detaches and closes a module whose last reference is gone.
void Unload(PlatformModule* m) {
  if (DllMainProc entry = EntryPoint(m)) entry(m, DLL_PROCESS_DETACH, nullptr);
  dlclose(m->dl);
  m->dl = nullptr;
  m->refs = 0;
}

// At process exit, modules still loaded are detached (newest first) but not
// closed: their code may still be needed by other exit handlers. Installed
// with atexit on the first load, so it runs before the destructors of every
// static object that existed by then (the registry's cache among them);
// a QApplication is normally gone by then, having lived in main().
void DetachAllAtExit() {
  ModuleTable& t = Table();
  std::lock_guard<std::recursive_mutex> g(t.lock);
  for (auto it = t.modules.rbegin(); it != t.modules.rend(); ++it) {
    PlatformModule* m = it->get();
    if (m->refs > 0 && m->dl) {
      if (DllMainProc entry = EntryPoint(m)) entry(m, DLL_PROCESS_DETACH, nullptr);
      m->refs = 0;
    }
  }
}

HMODULE Load(const char* name, bool callDllMain) {
  if (!name || !*name) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  ModuleTable& t = Table();
  std::lock_guard<std::recursive_mutex> g(t.lock);
  if (strcasecmp(name, "RICHED32.DLL") == 0) {
    ++t.richEdit.refs;
    return &t.richEdit;
  }
  std::string file = Resolve(name);
  if (file.empty()) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  PlatformModule* m = nullptr;
  for (auto& rec : t.modules)
    if (rec->path == file) m = rec.get();
  if (m && m->refs > 0) {
    ++m->refs;
    return m;
  }
  void* dl = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!dl) {
    // The file exists but does not load: a bad format or a missing dependency.
    SetLastError(ERROR_BAD_FORMAT);
    return nullptr;
  }
  // Another name for a module that is already loaded (a symlink, a relative
  // path): the dlopen handle is the same.
  for (auto& rec : t.modules) {
    if (rec->refs > 0 && rec->dl == dl) {
      dlclose(dl);
      ++rec->refs;
      return rec.get();
    }
  }
  if (!m) {
    t.modules.push_back(std::make_unique<PlatformModule>());
    m = t.modules.back().get();
    m->path = file;
  }
  m->dl = dl;
  m->refs = 1;
  m->callsDllMain = callDllMain;
  if (!t.exitHandlerInstalled) {
    t.exitHandlerInstalled = true;
    std::atexit(DetachAllAtExit);
  }
  if (DllMainProc entry = EntryPoint(m)) {
    if (!entry(m, DLL_PROCESS_ATTACH, nullptr)) {
      // As on Windows, a refused attach is followed by a detach call so the
      // module can undo what its attach did.
      Unload(m);
      SetLastError(ERROR_DLL_INIT_FAILED);
      return nullptr;
    }
  }
  return m;
}

size_t CopyOut(const std::string& text, LPSTR buffer, DWORD size) {
  // Windows: the text is cut to size - 1 and terminated; a cut text returns
  // size and ERROR_INSUFFICIENT_BUFFER.
  if (!buffer || size == 0) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  if (text.size() + 1 > size) {
    std::memcpy(buffer, text.data(), size - 1);
    buffer[size - 1] = '\0';
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return size;
  }
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return text.size();
}

}  // namespace

extern "C" {

HMODULE LoadLibraryA(LPCSTR lpLibFileName) { return Load(lpLibFileName, true); }

HMODULE LoadLibraryExA(LPCSTR lpLibFileName, HANDLE /*hFile*/, DWORD dwFlags) {
  // A module loaded as data or without resolving references is not
  // initialised on Windows; its DllMain is not called. (The dependencies of
  // a module are found through its rpath here, so the altered search path
  // flag needs nothing.)
  const bool init = (dwFlags & (LOAD_LIBRARY_AS_DATAFILE | DONT_RESOLVE_DLL_REFERENCES)) == 0;
  return Load(lpLibFileName, init);
}

BOOL FreeLibrary(HMODULE hLibModule) {
  ModuleTable& t = Table();
  std::lock_guard<std::recursive_mutex> g(t.lock);
  if (!hLibModule || !IsModule(t, hLibModule) || hLibModule->refs <= 0) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (hLibModule->builtin) {
    --hLibModule->refs;
    return TRUE;
  }
  if (--hLibModule->refs == 0) Unload(hLibModule);
  return TRUE;
}

FARPROC GetProcAddress(HMODULE hModule, LPCSTR lpProcName) {
  ModuleTable& t = Table();
  std::lock_guard<std::recursive_mutex> g(t.lock);
  if (!hModule || !IsModule(t, hModule) || !hModule->dl) {
    SetLastError(hModule == &t.richEdit ? ERROR_PROC_NOT_FOUND : ERROR_INVALID_HANDLE);
    return nullptr;
  }
  // An ordinal (a value below 64 Ki in place of the name) names nothing here.
  if (!lpProcName || reinterpret_cast<uintptr_t>(lpProcName) < 0x10000) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  void* sym = hModule == &t.program ? dlsym(hModule->dl, lpProcName) : OwnSymbol(hModule->dl, lpProcName);
  if (!sym) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  return reinterpret_cast<FARPROC>(sym);
}

DWORD GetModuleFileNameA(HMODULE hModule, LPSTR lpFilename, DWORD nSize) {
  std::string path;
  {
    ModuleTable& t = Table();
    std::lock_guard<std::recursive_mutex> g(t.lock);
    if (!hModule || hModule == &t.program) {
      path = ProgramPath();
    } else if (IsModule(t, hModule)) {
      path = hModule->path;
      if (hModule->dl) {
        // ODBC32.DLL and friends were opened by soname: report the file.
        link_map* lm = nullptr;
        if (dlinfo(hModule->dl, RTLD_DI_LINKMAP, &lm) == 0 && lm && lm->l_name && *lm->l_name) path = lm->l_name;
      }
    } else {
      // Not a handle of ours: an address inside some loaded object.
      Dl_info info{};
      if (!dladdr(reinterpret_cast<void*>(hModule), &info) || !info.dli_fname) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return 0;
      }
      path = info.dli_fname;
    }
  }
  return static_cast<DWORD>(CopyOut(path, lpFilename, nSize));
}

HMODULE GetModuleHandleA(LPCSTR lpModuleName) {
  ModuleTable& t = Table();
  std::lock_guard<std::recursive_mutex> g(t.lock);
  if (!lpModuleName) return &t.program;
  if (strcasecmp(lpModuleName, "RICHED32.DLL") == 0) return t.richEdit.refs > 0 ? &t.richEdit : nullptr;
  std::string file = Resolve(lpModuleName);
  const std::string want = lpModuleName;
  for (auto& m : t.modules) {
    if (m->refs <= 0) continue;
    if (!file.empty() && m->path == file) return m.get();
    // A bare file name matches a loaded module of that name wherever it lies.
    std::string base = m->path.substr(m->path.rfind('/') + 1);
    if (want.find('/') == std::string::npos && strcasecmp(base.c_str(), want.c_str()) == 0) return m.get();
  }
  SetLastError(ERROR_MOD_NOT_FOUND);
  return nullptr;
}

void CoFreeUnusedLibraries(void) {
  ModuleTable& t = Table();
  std::lock_guard<std::recursive_mutex> g(t.lock);
  // A module that answers S_OK has no live object and no server lock: all of
  // its references are let go at once, as COM does for the servers it
  // loaded. Its handle stays a valid (unloaded) record.
  for (auto& rec : t.modules) {
    PlatformModule* m = rec.get();
    if (m->refs <= 0 || !m->dl) continue;
    auto canUnload = reinterpret_cast<HRESULT (*)()>(OwnSymbol(m->dl, "DllCanUnloadNow"));
    if (canUnload && canUnload() == S_OK) Unload(m);
  }
}

UINT GetSystemDirectoryA(LPSTR lpBuffer, UINT uSize) {
  std::string dir = SystemDirectory();
  // Windows: the length without terminator when it fits, else the size
  // needed including the terminator.
  if (!lpBuffer || dir.size() + 1 > uSize) return static_cast<UINT>(dir.size() + 1);
  std::memcpy(lpBuffer, dir.c_str(), dir.size() + 1);
  return static_cast<UINT>(dir.size());
}
}
