// COM start-up for the shell units and the small vocabulary every shell file shares: the OLE
// error exception, the check that raises it, and a move-only holder of one interface reference.
// Shell interfaces are plain pointers; a holder only makes "released on every path" automatic.
#pragma once

#include <utility>

#include "toolkit/rtl/SysUtils.h"
#include "toolkit/system/WinApi.h"

#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

// Initialises COM for the calling thread (CoInitialize); ShellIntfShutdown undoes it only when
// the start-up succeeded. Called once each, in this order, by the program's entry.
void ShellIntfStartup();
void ShellIntfShutdown();

// A failed platform (OLE) call; Message() is the system's text for the code.
class EOleSysError : public Exception {
 public:
  explicit EOleSysError(HRESULT code);
  EOleSysError(std::string message, HRESULT code) : Exception(std::move(message)), code_(code) {}
  HRESULT ErrorCode() const noexcept { return code_; }
  const char* ClassName() const noexcept override { return "EOleSysError"; }

 private:
  HRESULT code_;
};

// Raises EOleSysError when `result` is a failure code.
void OleCheck(HRESULT result);

// Owns one reference of a COM interface: released when the holder dies or is reset.
template <class T>
class TComRef {
 public:
  TComRef() = default;
  explicit TComRef(T* adopted) : p_(adopted) {}
  TComRef(const TComRef&) = delete;
  TComRef& operator=(const TComRef&) = delete;
  TComRef(TComRef&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  TComRef& operator=(TComRef&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.p_, nullptr));
    return *this;
  }
  ~TComRef() { Reset(); }

  T* Get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // Out-parameter for a creator: releases what is held and hands out the slot.
  T** Put() { Reset(); return &p_; }
  void** PutVoid() { return reinterpret_cast<void**>(Put()); }
  // Gives the reference to the caller.
  T* Detach() { return std::exchange(p_, nullptr); }
  void Reset(T* adopted = nullptr) {
    if (p_) p_->Release();
    p_ = adopted;
  }

 private:
  T* p_ = nullptr;
};

// Where exceptions that a shell window procedure catches at its boundary go: the application's
// exception handler once the program installs it; until then a plain error box.
using TKxExceptionHandler = void (*)(const Exception& error);
void SetShellExceptionHandler(TKxExceptionHandler handler);
void ShellHandleException(const Exception& error);
