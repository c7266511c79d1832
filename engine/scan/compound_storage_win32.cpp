// The Windows build opens compound files with the system's structured storage, over the bytes in memory:
// nothing is written to a temporary file. Our own reader checks the structure first.
#include <objbase.h>
#include <windows.h>

#include <propidl.h>

#include "engine/scan/compound_file.h"

namespace {

// The format id of the summary-information property set.
constexpr FMTID kSummaryInformation = {0xF29F85E0, 0x4FF9, 0x1068, {0xAB, 0x91, 0x08, 0x00, 0x2B, 0x27, 0xB3, 0xD9}};

// Releases a COM interface when it goes out of scope.
template <typename Interface>
class ComRef {
 public:
  ComRef() = default;
  ~ComRef() {
    if (p_ != nullptr) p_->Release();
  }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  Interface** Out() { return &p_; }
  Interface* operator->() const { return p_; }
  Interface* Get() const { return p_; }

 private:
  Interface* p_ = nullptr;
};

bool OpenStorageOnBytes(const uint8_t* data, size_t size, ComRef<IStorage>* storage) {
  if (size > 0xFFFFFFFFu) return false;
  ComRef<ILockBytes> bytes;
  if (FAILED(CreateILockBytesOnHGlobal(nullptr, TRUE, bytes.Out()))) return false;
  ULARGE_INTEGER at{};
  ULONG written = 0;
  if (FAILED(bytes->WriteAt(at, data, static_cast<ULONG>(size), &written)) || written != size) return false;
  if (StgIsStorageILockBytes(bytes.Get()) != S_OK) return false;
  return SUCCEEDED(StgOpenStorageOnILockBytes(bytes.Get(), nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, nullptr, 0,
                                              storage->Out()));
}

std::string ReadAppNameProperty(IPropertyStorage* properties) {
  PROPSPEC wanted{};
  wanted.ulKind = PRSPEC_PROPID;
  wanted.propid = kPidAppName;
  PROPVARIANT value;
  PropVariantInit(&value);
  std::string name;
  if (properties->ReadMultiple(1, &wanted, &value) == S_OK && value.vt == VT_LPSTR && value.pszVal != nullptr) {
    name = value.pszVal;
  }
  PropVariantClear(&value);
  return name;
}

}  // namespace

std::string ReadCompoundAppName(const uint8_t* data, size_t size) {
  // The storage trusts the directory's links: a damaged directory is never handed to it.
  if (!IsSoundCompoundFile(data, size)) return {};
  ComRef<IStorage> storage;
  if (!OpenStorageOnBytes(data, size, &storage)) return {};
  ComRef<IPropertySetStorage> sets;
  if (FAILED(storage->QueryInterface(IID_IPropertySetStorage, reinterpret_cast<void**>(sets.Out())))) return {};
  ComRef<IPropertyStorage> properties;
  if (FAILED(sets->Open(kSummaryInformation, STGM_READ | STGM_SHARE_EXCLUSIVE, properties.Out()))) return {};
  return ReadAppNameProperty(properties.Get());
}
