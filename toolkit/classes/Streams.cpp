// Byte streams over memory, files and module resources.
#include "toolkit/classes/Streams.h"

#include <algorithm>
#include <cstring>

#include "toolkit/classes/TypInfo.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/rtl/TextConv.h"

// ---- TStream ----------------------------------------------------------------------------------

const TClassInfo& TStream::StaticClass() {
  static const TClassInfo info = TClassBuilder<TStream>("TStream", &TObject::StaticClass()).Build();
  return info;
}

long long TStream::Size() const {
  auto* self = const_cast<TStream*>(this);
  const long long pos = self->Seek(0, soCurrent);
  const long long size = self->Seek(0, soEnd);
  self->Seek(pos, soBeginning);
  return size;
}

void TStream::SetSize(long long) {}

void TStream::ReadBuffer(void* buffer, long long count) {
  if (count != 0 && Read(buffer, count) != count) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, long long count) {
  if (count != 0 && Write(buffer, count) != count) throw EWriteError("Stream write error");
}

long long TStream::CopyFrom(TStream& source, long long count) {
  if (count == 0) {
    source.SetPosition(0);
    count = source.Size();
  }
  const long long total = count;
  std::vector<unsigned char> buffer(static_cast<size_t>(std::min<long long>(count, 61440)) + 1);
  while (count > 0) {
    const long long n = std::min<long long>(count, static_cast<long long>(buffer.size()));
    source.ReadBuffer(buffer.data(), n);
    WriteBuffer(buffer.data(), n);
    count -= n;
  }
  return total;
}

// ---- TCustomMemoryStream ------------------------------------------------------------------

void TCustomMemoryStream::SetPointer(void* memory, long long size) {
  memory_ = memory;
  size_ = size;
}

long long TCustomMemoryStream::Read(void* buffer, long long count) {
  if (position_ < 0 || count <= 0) return 0;
  const long long n = std::min(count, size_ - position_);
  if (n <= 0) return 0;
  std::memcpy(buffer, static_cast<const unsigned char*>(memory_) + position_, static_cast<size_t>(n));
  position_ += n;
  return n;
}

long long TCustomMemoryStream::Seek(long long offset, TSeekOrigin origin) {
  switch (origin) {
    case soBeginning:
      position_ = offset;
      break;
    case soCurrent:
      position_ += offset;
      break;
    case soEnd:
      position_ = size_ + offset;
      break;
  }
  return position_;
}

void TCustomMemoryStream::SaveToStream(TStream& stream) const {
  if (size_ != 0) stream.WriteBuffer(memory_, size_);
}

void TCustomMemoryStream::SaveToFile(const std::string& fileName) const {
  TFileStream file(fileName, fmCreate);
  SaveToStream(file);
}

// ---- TMemoryStream ------------------------------------------------------------------------

const TClassInfo& TMemoryStream::StaticClass() {
  static const TClassInfo info = TClassBuilder<TMemoryStream>("TMemoryStream", &TStream::StaticClass()).Build();
  return info;
}

void TMemoryStream::Reserve(long long capacity) {
  if (capacity <= static_cast<long long>(buffer_.size())) return;
  // Grow in 8 KiB steps, at least by a quarter, so that appending stays linear.
  long long grown = std::max<long long>(capacity, static_cast<long long>(buffer_.size()) * 5 / 4);
  grown = (grown + 0x1FFF) & ~0x1FFFLL;
  try {
    buffer_.resize(static_cast<size_t>(grown));
  } catch (const std::bad_alloc&) {
    throw EStreamError("Out of memory while expanding memory stream");
  }
}

long long TMemoryStream::Write(const void* buffer, long long count) {
  if (position_ < 0 || count <= 0) return 0;
  const long long end = position_ + count;
  if (end > Size()) {
    Reserve(end);
    SetPointer(buffer_.data(), end);
  }
  std::memcpy(buffer_.data() + position_, buffer, static_cast<size_t>(count));
  position_ = end;
  return count;
}

void TMemoryStream::SetSize(long long size) {
  const long long old = Size();
  Reserve(size);
  if (size > old) std::memset(buffer_.data() + old, 0, static_cast<size_t>(size - old));
  SetPointer(buffer_.empty() ? nullptr : buffer_.data(), size);
  if (position_ > size) position_ = size;
}

void TMemoryStream::Clear() {
  buffer_.clear();
  buffer_.shrink_to_fit();
  SetPointer(nullptr, 0);
  position_ = 0;
}

void TMemoryStream::LoadFromStream(TStream& stream) {
  stream.SetPosition(0);
  const long long n = stream.Size();
  SetSize(n);
  if (n != 0) stream.ReadBuffer(Memory(), n);
  position_ = 0;
}

void TMemoryStream::LoadFromFile(const std::string& fileName) {
  TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(file);
}

// ---- THandleStream / TFileStream ----------------------------------------------------------

long long THandleStream::Read(void* buffer, long long count) {
  long long total = 0;
  auto* p = static_cast<unsigned char*>(buffer);
  while (count > 0) {
    DWORD got = 0;
    const DWORD want = static_cast<DWORD>(std::min<long long>(count, 0x40000000));
    if (!ReadFile(handle_, p, want, &got, nullptr)) return total == 0 ? -1 : total;
    if (got == 0) break;
    total += got;
    p += got;
    count -= got;
  }
  return total;
}

long long THandleStream::Write(const void* buffer, long long count) {
  long long total = 0;
  auto* p = static_cast<const unsigned char*>(buffer);
  while (count > 0) {
    DWORD put = 0;
    const DWORD want = static_cast<DWORD>(std::min<long long>(count, 0x40000000));
    if (!WriteFile(handle_, p, want, &put, nullptr)) return total == 0 ? -1 : total;
    if (put == 0) break;
    total += put;
    p += put;
    count -= put;
  }
  return total;
}

long long THandleStream::Seek(long long offset, TSeekOrigin origin) {
  LARGE_INTEGER distance, result;
  distance.QuadPart = offset;
  const DWORD method = origin == soBeginning ? FILE_BEGIN : origin == soCurrent ? FILE_CURRENT : FILE_END;
  if (!SetFilePointerEx(handle_, distance, &result, method)) return -1;
  return result.QuadPart;
}

void THandleStream::SetSize(long long size) {
  Seek(size, soBeginning);
  if (!SetEndOfFile(handle_)) throw EStreamError("Stream write error");
}

const TClassInfo& TFileStream::StaticClass() {
  static const TClassInfo info = TClassBuilder<TFileStream>("TFileStream", &TStream::StaticClass()).Abstract().Build();
  return info;
}

namespace {

HANDLE OpenFileHandle(const std::string& fileName, unsigned mode) {
  static const DWORD access[3] = {GENERIC_READ, GENERIC_WRITE, GENERIC_READ | GENERIC_WRITE};
  static const DWORD share[5] = {0, 0, FILE_SHARE_READ, FILE_SHARE_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE};
  const std::wstring wide = Utf8ToWide(fileName);
  const unsigned shareIndex = (mode & 0xF0) >> 4;
  const DWORD shareMode = shareIndex <= 4 ? share[shareIndex] : 0;
  if ((mode & fmCreate) == fmCreate) {
    return CreateFileW(wide.c_str(), GENERIC_READ | GENERIC_WRITE, shareMode, nullptr, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  const unsigned accessIndex = mode & 3;
  return CreateFileW(wide.c_str(), accessIndex <= 2 ? access[accessIndex] : GENERIC_READ, shareMode,
                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

TFileStream::TFileStream(const std::string& fileName, unsigned mode)
    : THandleStream(OpenFileHandle(fileName, mode)), fileName_(fileName) {
  if (handle_ == INVALID_HANDLE_VALUE) {
    const std::string reason = SysErrorMessage(GetLastError());
    if ((mode & fmCreate) == fmCreate) {
      throw EFCreateError(Format("Cannot create file \"%s\". %s", {fileName, reason}));
    }
    throw EFOpenError(Format("Cannot open file \"%s\". %s", {fileName, reason}));
  }
}

TFileStream::~TFileStream() {
  if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
}

// ---- TResourceStream ----------------------------------------------------------------------

const TClassInfo& TResourceStream::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TResourceStream>("TResourceStream", &TStream::StaticClass()).Abstract().Build();
  return info;
}

TResourceStream::TResourceStream(HMODULE instance, std::string_view name, const wchar_t* type) {
  const std::wstring wide = Utf8ToWide(name);
  Initialize(instance, wide.c_str(), type, std::string(name));
}

TResourceStream::TResourceStream(HMODULE instance, int id, const wchar_t* type) {
  Initialize(instance, MAKEINTRESOURCEW(id), type, std::to_string(id));
}

void TResourceStream::Initialize(HMODULE instance, const wchar_t* name, const wchar_t* type,
                                 const std::string& shown) {
  HRSRC info = FindResourceW(instance, name, type);
  if (info == nullptr) throw EResNotFound(Format("Resource %s not found", {shown}));
  HGLOBAL data = LoadResource(instance, info);
  if (data == nullptr) throw EResNotFound(Format("Resource %s not found", {shown}));
  SetPointer(LockResource(data), SizeofResource(instance, info));
}

long long TResourceStream::Write(const void*, long long) {
  throw EStreamError("Can't write to a read-only resource stream");
}
