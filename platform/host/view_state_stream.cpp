#include "platform/host/view_state_stream.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <string>
#include <vector>

#include "platform/registry/registry.h"

namespace {
class RegistryStream final : public IStream {
 public:
  RegistryStream(std::string valueName, std::vector<BYTE> data, bool writable)
      : valueName_(std::move(valueName)), data_(std::move(data)), writable_(writable) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (riid == IID_IUnknown || riid == IID_ISequentialStream || riid == IID_IStream) {
      *ppv = static_cast<IStream*>(this);
      AddRef();
      return S_OK;
    }
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --refs_;
    if (left == 0) {
      Commit(0);
      delete this;
    }
    return left;
  }

  HRESULT STDMETHODCALLTYPE Read(void* pv, ULONG cb, ULONG* pcbRead) override {
    if (pcbRead) *pcbRead = 0;
    if (!pv && cb) return STG_E_INVALIDFUNCTION;
    const size_t n = pos_ < data_.size() ? std::min<size_t>(cb, data_.size() - pos_) : 0;
    if (n) std::memcpy(pv, data_.data() + pos_, n);
    pos_ += n;
    if (pcbRead) *pcbRead = static_cast<ULONG>(n);
    return n == cb ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Write(const void* pv, ULONG cb, ULONG* pcbWritten) override {
    if (pcbWritten) *pcbWritten = 0;
    if (!writable_) return STG_E_ACCESSDENIED;
    if (!pv && cb) return STG_E_INVALIDFUNCTION;
    if (pos_ + cb > kMaxViewStateBytes) return STG_E_MEDIUMFULL;
    if (data_.size() < pos_ + cb) data_.resize(pos_ + cb);
    if (cb) std::memcpy(data_.data() + pos_, pv, cb);
    pos_ += cb;
    dirty_ = true;
    if (pcbWritten) *pcbWritten = cb;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPos) override {
    long long base = 0;
    switch (origin) {
      case STREAM_SEEK_SET: base = 0; break;
      case STREAM_SEEK_CUR: base = static_cast<long long>(pos_); break;
      case STREAM_SEEK_END: base = static_cast<long long>(data_.size()); break;
      default: return STG_E_INVALIDFUNCTION;
    }
    const long long target = base + move.QuadPart;
    if (target < 0 || target > static_cast<long long>(kMaxViewStateBytes)) return STG_E_INVALIDFUNCTION;
    pos_ = static_cast<size_t>(target);
    if (newPos) newPos->QuadPart = pos_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER size) override {
    if (!writable_) return STG_E_ACCESSDENIED;
    if (size.QuadPart > kMaxViewStateBytes) return STG_E_MEDIUMFULL;
    data_.resize(static_cast<size_t>(size.QuadPart));
    dirty_ = true;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Commit(DWORD) override {
    if (!writable_ || !dirty_) return S_OK;
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kViewStateStreamsKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
      return STG_E_ACCESSDENIED;
    const LSTATUS status = RegSetValueExA(key, valueName_.c_str(), 0, REG_BINARY, data_.data(),
                                          static_cast<DWORD>(data_.size()));
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) return STG_E_ACCESSDENIED;
    dirty_ = false;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Revert() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD) override {
    if (!stat) return STG_E_INVALIDFUNCTION;
    std::memset(stat, 0, sizeof *stat);
    stat->type = 2;  // STGTY_STREAM
    stat->cbSize.QuadPart = data_.size();
    stat->grfMode = writable_ ? STGM_READWRITE : STGM_READ;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(IStream** ppstm) override {
    if (ppstm) *ppstm = nullptr;
    return E_NOTIMPL;
  }

 private:
  ~RegistryStream() = default;
  std::atomic<ULONG> refs_{1};
  std::string valueName_;
  std::vector<BYTE> data_;
  size_t pos_ = 0;
  bool writable_;
  bool dirty_ = false;
};

std::vector<BYTE> readStored(const std::string& valueName, bool* found) {
  *found = false;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kViewStateStreamsKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return {};
  std::vector<BYTE> data;
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExA(key, valueName.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
      type == REG_BINARY && size <= kMaxViewStateBytes) {
    data.resize(size);
    if (RegQueryValueExA(key, valueName.c_str(), nullptr, &type, data.data(), &size) == ERROR_SUCCESS) {
      data.resize(size);
      *found = true;
    } else {
      data.clear();
    }
  }
  RegCloseKey(key);
  return data;
}
}  // namespace

HRESULT OpenViewStateStream(const IdList& absolute, DWORD grfMode, IStream** ppStream) {
  if (!ppStream) return E_POINTER;
  *ppStream = nullptr;
  const std::string valueName = absolute.hashKey();
  const DWORD access = grfMode & 3u;
  if (access == STGM_READ) {
    bool found = false;
    std::vector<BYTE> data = readStored(valueName, &found);
    if (!found) return STG_E_FILENOTFOUND;
    *ppStream = new RegistryStream(valueName, std::move(data), false);
    return S_OK;
  }
  if (access != STGM_WRITE && access != STGM_READWRITE) return E_INVALIDARG;
  *ppStream = new RegistryStream(valueName, {}, true);
  return S_OK;
}
