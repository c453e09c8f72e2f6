#include "platform/ui/imagelist.h"

#include <QGuiApplication>
#include <QPixmap>
#include <atomic>
#include <mutex>
#include <vector>

#include "platform/ui/icon_handles.h"

struct PlatformImageList {
  int cx = 0;
  int cy = 0;
  std::vector<QIcon> icons;
};

namespace {

std::atomic<long> g_liveImageLists{0};

struct IconTable {
  HINSTANCE module;
  const ResourceIcon* table;
  size_t count;
};

std::mutex g_iconTablesMutex;
std::vector<IconTable> g_iconTables;

// The identifier inside MAKEINTRESOURCEA, or 0 for a named resource.
UINT ResourceIdOf(LPCSTR name) {
  auto value = reinterpret_cast<ULONG_PTR>(name);
  return value <= 0xFFFF ? static_cast<UINT>(value) : 0;
}

const char* FindIconPath(HINSTANCE module, UINT id) {
  std::lock_guard<std::mutex> lock(g_iconTablesMutex);
  for (const IconTable& t : g_iconTables) {
    if (t.module != module) continue;
    for (size_t i = 0; i < t.count; ++i)
      if (t.table[i].id == id) return t.table[i].path;
  }
  return nullptr;
}

}  // namespace

int GetSystemMetrics(int nIndex) {
  switch (nIndex) {
    case SM_CXSMICON:
    case SM_CYSMICON:
      return 16;
    case SM_CXICON:
    case SM_CYICON:
      return 32;
    default:
      return 0;
  }
}

HIMAGELIST ImageList_Create(int cx, int cy, UINT /*flags*/, int cInitial, int /*cGrow*/) {
  if (cx <= 0 || cy <= 0) return nullptr;
  auto* list = new PlatformImageList{cx, cy, {}};
  if (cInitial > 0) list->icons.reserve(static_cast<size_t>(cInitial));
  ++g_liveImageLists;
  return list;
}

BOOL ImageList_Destroy(HIMAGELIST himl) {
  if (!himl) return FALSE;
  delete himl;
  --g_liveImageLists;
  return TRUE;
}

int ImageList_ReplaceIcon(HIMAGELIST himl, int i, HICON hicon) {
  if (!himl || !hicon) return -1;
  // Every image of a list has the list's size, whatever the icon offers
  // (QIcon hands out smaller pixmaps as they are, never enlarged).
  QPixmap pixmap = PlatformIconOf(hicon).pixmap(himl->cx, himl->cy);
  if (!pixmap.isNull() && pixmap.size() != QSize(himl->cx, himl->cy))
    pixmap = pixmap.scaled(himl->cx, himl->cy, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  QIcon scaled(pixmap);
  if (i == -1) {
    himl->icons.push_back(scaled);
    return static_cast<int>(himl->icons.size()) - 1;
  }
  if (i < 0 || static_cast<size_t>(i) >= himl->icons.size()) return -1;
  himl->icons[static_cast<size_t>(i)] = scaled;
  return i;
}

int ImageList_GetImageCount(HIMAGELIST himl) { return himl ? static_cast<int>(himl->icons.size()) : 0; }

BOOL ImageList_GetIconSize(HIMAGELIST himl, int* cx, int* cy) {
  if (!himl || !cx || !cy) return FALSE;
  *cx = himl->cx;
  *cy = himl->cy;
  return TRUE;
}

HICON ImageList_GetIcon(HIMAGELIST himl, int i, UINT /*flags*/) {
  if (!himl || i < 0 || static_cast<size_t>(i) >= himl->icons.size()) return nullptr;
  return PlatformCreateIcon(himl->icons[static_cast<size_t>(i)]);
}

long PlatformLiveImageLists(void) { return g_liveImageLists.load(); }

void PlatformRegisterIcons(HINSTANCE hInstance, const ResourceIcon* table, size_t count) {
  PlatformUnregisterIcons(hInstance);
  std::lock_guard<std::mutex> lock(g_iconTablesMutex);
  g_iconTables.push_back({hInstance, table, count});
}

void PlatformUnregisterIcons(HINSTANCE hInstance) {
  std::lock_guard<std::mutex> lock(g_iconTablesMutex);
  std::erase_if(g_iconTables, [hInstance](const IconTable& t) { return t.module == hInstance; });
}

HANDLE LoadImageA(HINSTANCE hInst, LPCSTR name, UINT type, int cx, int cy, UINT /*fuLoad*/) {
  if (type != IMAGE_ICON || !qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return nullptr;
  const char* path = FindIconPath(hInst, ResourceIdOf(name));
  if (!path) return nullptr;
  if (cx <= 0) cx = GetSystemMetrics(SM_CXICON);
  if (cy <= 0) cy = GetSystemMetrics(SM_CYICON);
  QPixmap pixmap = QIcon(QString::fromUtf8(path)).pixmap(cx, cy);
  if (pixmap.isNull()) return nullptr;
  return reinterpret_cast<HANDLE>(PlatformCreateIcon(QIcon(pixmap)));
}
