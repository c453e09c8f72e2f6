#include "library/shell/image_lists.h"

#include <QGuiApplication>

#include <string>

#include "library/res/icons.h"
#include "library/shell/module_state.h"
#include "platform/ui/icon_handles.h"
#include "platform/ui/imagelist.h"

namespace {

HIMAGELIST g_smallImages = nullptr;
HIMAGELIST g_largeImages = nullptr;

// Icon resources in image-index order.
constexpr UINT kImageResources[kImageCount] = {102, 103, 112, 113, 124, 125, 123, 120, 121, 122};

// Every icon resource of the library: the product icon and the item icons.
constexpr UINT kIconIds[] = {100, 102, 103, 104, 112, 113, 120, 121, 122, 123, 124, 125};
constexpr size_t kIconIdCount = sizeof kIconIds / sizeof kIconIds[0];
std::string g_iconPaths[kIconIdCount];
ResourceIcon g_iconTable[kIconIdCount];

bool HaveGuiApplication() { return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr; }

HIMAGELIST MakeList(int cx, int cy) {
  HIMAGELIST list = ImageList_Create(cx, cy, ILC_MASK | ILC_COLORDDB, 4, 0);
  if (!list) return nullptr;
  for (UINT id : kImageResources) {
    auto icon = reinterpret_cast<HICON>(LoadImageA(g_hInstance, MAKEINTRESOURCEA(id), IMAGE_ICON, cx, cy, 0));
    // A missing image still takes its slot, so the indices keep their roles.
    if (!icon) icon = PlatformCreateIcon(QIcon());
    ImageList_ReplaceIcon(list, -1, icon);
    DestroyIcon(icon);
  }
  return list;
}

void EnsureImageLists() {
  if (!g_smallImages || !g_largeImages) BuildImageLists();
}

}  // namespace

void RegisterIconResources(HINSTANCE module) {
  for (size_t i = 0; i < kIconIdCount; ++i) {
    g_iconPaths[i] = IconResourcePath(kIconIds[i]).toStdString();
    g_iconTable[i] = {kIconIds[i], g_iconPaths[i].c_str()};
  }
  PlatformRegisterIcons(module, g_iconTable, kIconIdCount);
}

void UnregisterIconResources(HINSTANCE module) { PlatformUnregisterIcons(module); }

bool BuildImageLists() {
  DestroyImageLists();
  if (!HaveGuiApplication()) return false;
  g_smallImages = MakeList(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON));
  g_largeImages = MakeList(GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
  return g_smallImages && g_largeImages;
}

void DestroyImageLists() {
  if (g_smallImages) ImageList_Destroy(g_smallImages);
  if (g_largeImages) ImageList_Destroy(g_largeImages);
  g_smallImages = nullptr;
  g_largeImages = nullptr;
}

HIMAGELIST SmallImageList() {
  EnsureImageLists();
  return g_smallImages;
}

HIMAGELIST LargeImageList() {
  EnsureImageLists();
  return g_largeImages;
}
