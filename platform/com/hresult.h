// HRESULT codes with their real Windows values.
#pragma once

#include "platform/com/wintypes.h"

#define SUCCEEDED(hr) (static_cast<HRESULT>(hr) >= 0)
#define FAILED(hr) (static_cast<HRESULT>(hr) < 0)
#define HRESULT_CODE(hr) ((hr) & 0xFFFF)

inline constexpr HRESULT MakeHResult(uint32_t v) { return static_cast<HRESULT>(v); }

#define S_OK ((HRESULT)0)
#define S_FALSE ((HRESULT)1)
#define E_NOTIMPL MakeHResult(0x80004001u)
#define E_NOINTERFACE MakeHResult(0x80004002u)
#define E_POINTER MakeHResult(0x80004003u)
#define E_ABORT MakeHResult(0x80004004u)
#define E_FAIL MakeHResult(0x80004005u)
#define E_UNEXPECTED MakeHResult(0x8000FFFFu)
#define E_ACCESSDENIED MakeHResult(0x80070005u)
#define E_HANDLE MakeHResult(0x80070006u)
#define E_OUTOFMEMORY MakeHResult(0x8007000Eu)
#define E_INVALIDARG MakeHResult(0x80070057u)
#define CLASS_E_NOAGGREGATION MakeHResult(0x80040110u)
#define CLASS_E_CLASSNOTAVAILABLE MakeHResult(0x80040111u)
#define SELFREG_E_CLASS MakeHResult(0x80040201u)
#define DV_E_FORMATETC MakeHResult(0x80040064u)
#define DV_E_TYMED MakeHResult(0x80040069u)
#define STG_E_FILENOTFOUND MakeHResult(0x80030002u)
#define STG_E_INVALIDFUNCTION MakeHResult(0x80030001u)
#define STG_E_ACCESSDENIED MakeHResult(0x80030005u)
#define STG_E_MEDIUMFULL MakeHResult(0x80030070u)

inline constexpr HRESULT HRESULT_FROM_WIN32(uint32_t code) {
  return code == 0 ? S_OK : static_cast<HRESULT>((code & 0x0000FFFFu) | (7u << 16) | 0x80000000u);
}
