// Byte streams: TStream (the abstract read/write/seek contract with ReadBuffer/WriteBuffer
// raising EReadError "Stream read error" / EWriteError "Stream write error"), TMemoryStream
// (growable memory), THandleStream/TFileStream (a platform file; EFCreateError/EFOpenError)
// and TResourceStream (a read-only view of a module's resource; EResNotFound).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/classes/Object.h"
#include "toolkit/system/WinApi.h"

class TComponent;

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

// File open modes, combinable with one share mode.
constexpr unsigned fmCreate = 0xFF00;
constexpr unsigned fmOpenRead = 0x0000;
constexpr unsigned fmOpenWrite = 0x0001;
constexpr unsigned fmOpenReadWrite = 0x0002;
constexpr unsigned fmShareCompat = 0x0000;
constexpr unsigned fmShareExclusive = 0x0010;
constexpr unsigned fmShareDenyWrite = 0x0020;
constexpr unsigned fmShareDenyRead = 0x0030;
constexpr unsigned fmShareDenyNone = 0x0040;

class TStream : public TObject {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  // Up to count bytes; answers how many were read (0 at the end).
  virtual long long Read(void* buffer, long long count) = 0;
  // Up to count bytes; answers how many were written.
  virtual long long Write(const void* buffer, long long count) = 0;
  // New position from origin; answers it.
  virtual long long Seek(long long offset, TSeekOrigin origin) = 0;

  long long Position() const { return const_cast<TStream*>(this)->Seek(0, soCurrent); }
  void SetPosition(long long position) { Seek(position, soBeginning); }
  virtual long long Size() const;
  virtual void SetSize(long long size);

  // Exactly count bytes, or the read/write error.
  void ReadBuffer(void* buffer, long long count);
  void WriteBuffer(const void* buffer, long long count);
  // Copies count bytes from source's position; count 0 copies the whole source from its
  // start. Answers the number copied.
  long long CopyFrom(TStream& source, long long count);

  template <class T>
  T ReadValue() {
    T value{};
    ReadBuffer(&value, sizeof(T));
    return value;
  }
  template <class T>
  void WriteValue(const T& value) {
    WriteBuffer(&value, sizeof(T));
  }

  // Component streaming in the binary layout form (see Filer.h).
  TComponent* ReadComponent(TComponent* instance);
  void WriteComponent(TComponent* instance);
  void WriteDescendent(TComponent* instance, TComponent* ancestor);
};

// A stream over a block of memory it does not manage itself.
class TCustomMemoryStream : public TStream {
 public:
  long long Read(void* buffer, long long count) override;
  long long Seek(long long offset, TSeekOrigin origin) override;
  long long Size() const override { return size_; }
  void* Memory() const { return memory_; }
  void SaveToStream(TStream& stream) const;
  void SaveToFile(const std::string& fileName) const;

 protected:
  void SetPointer(void* memory, long long size);
  long long position_ = 0;

 private:
  void* memory_ = nullptr;
  long long size_ = 0;
};

class TMemoryStream : public TCustomMemoryStream {
 public:
  TMemoryStream() = default;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  long long Write(const void* buffer, long long count) override;
  void SetSize(long long size) override;
  void Clear();
  // Replaces the content with the whole of the stream / file; position 0 afterwards.
  void LoadFromStream(TStream& stream);
  void LoadFromFile(const std::string& fileName);

 private:
  void Reserve(long long capacity);
  std::vector<unsigned char> buffer_;
};

// A stream over an open platform file handle (not closed by this class).
class THandleStream : public TStream {
 public:
  explicit THandleStream(HANDLE handle) : handle_(handle) {}
  long long Read(void* buffer, long long count) override;
  long long Write(const void* buffer, long long count) override;
  long long Seek(long long offset, TSeekOrigin origin) override;
  void SetSize(long long size) override;
  HANDLE Handle() const { return handle_; }

 protected:
  HANDLE handle_;
};

class TFileStream : public THandleStream {
 public:
  // fmCreate creates or truncates (EFCreateError "Cannot create file "%s". %s"); other modes
  // open an existing file (EFOpenError "Cannot open file "%s". %s").
  TFileStream(const std::string& fileName, unsigned mode);
  ~TFileStream() override;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  const std::string& FileName() const { return fileName_; }

 private:
  std::string fileName_;
};

// Read-only view of a resource of a module (null module: the program). Raises EResNotFound
// "Resource %s not found" when the module has no such resource.
class TResourceStream : public TCustomMemoryStream {
 public:
  TResourceStream(HMODULE instance, std::string_view name, const wchar_t* type);
  TResourceStream(HMODULE instance, int id, const wchar_t* type);
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  // Raises EStreamError "Can't write to a read-only resource stream".
  long long Write(const void* buffer, long long count) override;

 private:
  void Initialize(HMODULE instance, const wchar_t* name, const wchar_t* type, const std::string& shown);
};
