#include "library/shell/extract_icon.h"

#include "library/catalog/item_id.h"
#include "library/shell/image_lists.h"
#include "platform/ui/imagelist.h"

namespace {

// SQL data type codes that choose a column's image.
int ColumnImage(int16_t dataType) {
  if (dataType >= 2 && dataType <= 8) return kImageColumnNumeric;  // NUMERIC ... DOUBLE
  if (dataType == 9 || dataType == 91 || dataType == 92 || dataType == 93 || (dataType >= 101 && dataType <= 113))
    return kImageColumnDateTime;  // DATETIME, TYPE_DATE/TIME/TIMESTAMP, intervals
  return kImageColumnText;        // character, binary, bit, tinyint, bigint, legacy date/time ...
}

}  // namespace

bool ChooseIconIndex(LPCITEMIDLIST item, bool open, int* index) {
  switch (GetItemKind(item)) {
    case KIND_DSN:
      *index = open ? kImageDsnOpen : kImageDsn;
      return true;
    case KIND_TABLE:
      *index = open ? kImageTableOpen : kImageTable;
      return true;
    case KIND_PROCEDURE:
      *index = open ? kImageProcedureOpen : kImageProcedure;
      return true;
    case KIND_COLUMN: {
      ColumnHeader header;
      if (!GetColumnHeader(item, &header)) return false;
      *index = ColumnImage(header.dataType);
      return true;
    }
    case KIND_PROCCOLUMN:
      // Parameters and result columns carry no data type in their item, so
      // they cannot take a column image by type; they show the one image no
      // other kind uses (icon 123), which sets them apart from table columns.
      *index = kImageSpare;
      return true;
    default:
      return false;
  }
}

ExtractIcon* ExtractIcon::Create(LPCITEMIDLIST path) {
  LPITEMIDLIST copy = CloneIdList(path);
  if (!copy) return nullptr;
  auto* object = new (std::nothrow) ExtractIcon(copy);
  if (!object) FreeIdList(copy);
  return object;
}

ExtractIcon::~ExtractIcon() { FreeIdList(path_); }

IUnknown* ExtractIcon::FindInterface(REFIID riid) {
  return LookupInterface(riid, {{&IID_IUnknown, this}, {&IID_IExtractIconA, this}});
}

HRESULT ExtractIcon::GetIconLocation(UINT uFlags, LPSTR /*pszIconFile*/, UINT /*cchMax*/, int* piIndex,
                                     UINT* pwFlags) {
  if (pwFlags) *pwFlags = GIL_NOTFILENAME;
  int index = 0;
  if (piIndex && ChooseIconIndex(FindLastItem(path_), (uFlags & GIL_OPENICON) != 0, &index)) *piIndex = index;
  return S_OK;
}

HRESULT ExtractIcon::Extract(LPCSTR /*pszFile*/, UINT nIconIndex, HICON* phiconLarge, HICON* phiconSmall,
                             UINT /*nIconSize*/) {
  const int index = static_cast<int>(nIconIndex);
  if (phiconLarge) *phiconLarge = ImageList_GetIcon(LargeImageList(), index, ILD_TRANSPARENT);
  if (phiconSmall) *phiconSmall = ImageList_GetIcon(SmallImageList(), index, ILD_TRANSPARENT);
  return S_OK;
}
