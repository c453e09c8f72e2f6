// Image lists, system icon metrics and icon resources. An image list keeps
// icons of one size; the list view of the shell view and the icon objects
// read them by index. A module registers its icon resources (there is no
// resource section on this platform) and LoadImageA then renders one by
// module handle and identifier at the size asked for. Rendering needs a
// QGuiApplication: without one LoadImageA returns null.
#pragma once

#include <QIcon>

#include "platform/com/wintypes.h"

#define SM_CXICON 11
#define SM_CYICON 12
#define SM_CXSMICON 49
#define SM_CYSMICON 50

#define ILC_MASK 0x00000001u
#define ILC_COLOR 0x00000000u
#define ILC_COLORDDB 0x000000FEu
#define ILD_NORMAL 0x00000000u
#define ILD_TRANSPARENT 0x00000001u

#define IMAGE_BITMAP 0u
#define IMAGE_ICON 1u
#define IMAGE_CURSOR 2u
#define LR_DEFAULTCOLOR 0x00000000u

extern "C" {
// 16 for the small icon metrics, 32 for the large ones, 0 for anything else.
int GetSystemMetrics(int nIndex);

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int cInitial, int cGrow);
BOOL ImageList_Destroy(HIMAGELIST himl);
// i = -1 appends; otherwise replaces image i. Returns the index, or -1.
int ImageList_ReplaceIcon(HIMAGELIST himl, int i, HICON hicon);
int ImageList_GetImageCount(HIMAGELIST himl);
BOOL ImageList_GetIconSize(HIMAGELIST himl, int* cx, int* cy);
// A new icon handle (the caller destroys it), or null for a bad index.
HICON ImageList_GetIcon(HIMAGELIST himl, int i, UINT flags);
// Image lists not destroyed yet, so tests can find leaks.
long PlatformLiveImageLists(void);

// Icon resources of a module: identifier and Qt resource path of the image.
struct ResourceIcon {
  UINT id;
  const char* path;
};
// The table must stay valid until PlatformUnregisterIcons for that module.
void PlatformRegisterIcons(HINSTANCE hInstance, const ResourceIcon* table, size_t count);
void PlatformUnregisterIcons(HINSTANCE hInstance);
// IMAGE_ICON only: a new icon handle of size cx x cy (0 means the large
// system size), or null when the module has no such icon or there is no GUI
// application.
HANDLE LoadImageA(HINSTANCE hInst, LPCSTR name, UINT type, int cx, int cy, UINT fuLoad);
}
