// The exported functions of FlexCelDyn.dll: the handle table, the error convention and the
// boundary that turns every failure (bad arguments, unreadable files, out of memory) into an
// error text, so that no exception or bad handle ever reaches the caller as a crash.
// FLEXCELDYN_REPORTED_VERSION lets a test build report another version.
#include <map>
#include <memory>
#include <mutex>
#include <new>

#include "xls/FlexCelDyn.h"
#include "xls/Workbook.h"
#include "xls/XlsException.h"

#ifndef FLEXCELDYN_REPORTED_VERSION
#define FLEXCELDYN_REPORTED_VERSION 0x061500
#endif

namespace {

// Returned when an error text cannot be allocated; XLFreeError knows not to release it.
wchar_t kOutOfMemoryText[] = L"Out of memory.";

struct Library {
  std::mutex lock;
  int initCount = 0;
  XlsHandle nextHandle = 1;
  std::map<XlsHandle, std::unique_ptr<Workbook>> books;
};

Library& Lib() {
  static Library library;
  return library;
}

XlsError MakeError(const std::wstring& message) {
  auto* text = new (std::nothrow) wchar_t[message.size() + 1];
  if (!text) return kOutOfMemoryText;
  message.copy(text, message.size());
  text[message.size()] = L'\0';
  return text;
}

// Runs `body` under the library lock; nullptr on success, else the failure's text.
template <typename Body>
XlsError Guarded(Body&& body) {
  try {
    std::lock_guard<std::mutex> hold(Lib().lock);
    body();
    return nullptr;
  } catch (const XlsException& e) {
    return MakeError(e.Message());
  } catch (const std::bad_alloc&) {
    return kOutOfMemoryText;
  } catch (...) {
    return MakeError(L"Unexpected internal error.");
  }
}

void RequireInit() {
  if (Lib().initCount == 0) throw XlsException(L"FlexCelDyn has not been started: call XLInit first.");
}

Workbook& Book(XlsHandle handle) {
  RequireInit();
  const auto it = Lib().books.find(handle);
  if (it == Lib().books.end())
    throw XlsException(L"Invalid workbook handle: " + std::to_wstring(handle) + L".");
  return *it->second;
}

template <typename T>
const T& Required(const T* p, const wchar_t* what) {
  if (!p) throw XlsException(std::wstring(L"The ") + what + L" is missing (nil).");
  return *p;
}

std::wstring Text(const wchar_t* p) { return p ? std::wstring(p) : std::wstring(); }

}  // namespace

XlsError __stdcall XLInit() {
  return Guarded([] { ++Lib().initCount; });
}

XlsError __stdcall XLShutdown() {
  return Guarded([] {
    RequireInit();
    if (--Lib().initCount == 0) Lib().books.clear();
  });
}

std::uint32_t __stdcall XLVersion() { return FLEXCELDYN_REPORTED_VERSION; }

XlsError __stdcall XLCreate(std::int32_t options, XlsHandle* handle) {
  return Guarded([&] {
    RequireInit();
    if (!handle) throw XlsException(L"The handle's address is missing (nil).");
    *handle = 0;
    if (options != 0 && options != 1)
      throw XlsException(L"The create option " + std::to_wstring(options) + L" is not 0 or 1.");
    Library& lib = Lib();
    while (lib.nextHandle == 0 || lib.books.count(lib.nextHandle)) ++lib.nextHandle;
    lib.books.emplace(lib.nextHandle, std::make_unique<Workbook>());
    *handle = lib.nextHandle++;
  });
}

XlsError __stdcall XLFree(XlsHandle handle) {
  return Guarded([&] {
    Book(handle);
    Lib().books.erase(handle);
  });
}

XlsError __stdcall XLFreeError(XlsError text) {
  if (text != kOutOfMemoryText) delete[] text;
  return nullptr;
}

XlsError __stdcall XLNewFile(XlsHandle handle, std::int32_t sheetCount, std::int32_t fileFormat) {
  return Guarded([&] {
    Workbook& book = Book(handle);
    if (fileFormat != 0)
      throw XlsException(L"The file format " + std::to_wstring(fileFormat) + L" is not supported.");
    book.NewFile(sheetCount);
  });
}

XlsError __stdcall XLSave(XlsHandle handle, const wchar_t* fileName, std::int32_t fileFormat,
                          std::uint16_t /*delimiter*/, const wchar_t* /*encoding*/) {
  return Guarded([&] {
    const Workbook& book = Book(handle);
    if (fileFormat != 0 && fileFormat != 1)
      throw XlsException(L"The file format " + std::to_wstring(fileFormat) + L" is not supported.");
    book.Save(Text(fileName));
  });
}

XlsError __stdcall XLSetCellValueString(XlsHandle handle, std::int32_t sheet, std::int32_t row,
                                        std::int32_t col, const TRichStringDll* value,
                                        std::int32_t formatIndex) {
  return Guarded([&] {
    Workbook& book = Book(handle);
    const TRichStringDll& v = Required(value, L"cell text");
    if (v.RunCount != 0 || v.Runs) throw XlsException(L"Formatted text runs are not supported.");
    book.SetCellText(sheet, row, col, Text(v.Text), formatIndex);
  });
}

XlsError __stdcall XLAddFormat(XlsHandle handle, const TFlxFormat* format, std::int32_t* index) {
  return Guarded([&] {
    Workbook& book = Book(handle);
    if (!index) throw XlsException(L"The format index's address is missing (nil).");
    *index = book.AddFormat(Required(format, L"format"));
  });
}

XlsError __stdcall XLSetCellFormat(XlsHandle handle, std::int32_t row, std::int32_t col,
                                   std::int32_t formatIndex) {
  return Guarded([&] { Book(handle).SetCellFormat(row, col, formatIndex); });
}

XlsError __stdcall XLMergeCells(XlsHandle handle, std::int32_t row1, std::int32_t col1,
                                std::int32_t row2, std::int32_t col2) {
  return Guarded([&] { Book(handle).MergeCells(row1, col1, row2, col2); });
}

XlsError __stdcall XLSetColWidth(XlsHandle handle, std::int32_t col1, std::int32_t col2,
                                 std::int32_t width) {
  return Guarded([&] { Book(handle).SetColumnWidth(col1, col2, width); });
}

XlsError __stdcall XLAddImageFromFile(XlsHandle handle, const wchar_t* fileName,
                                      IImageProperties properties) {
  return Guarded([&] { Book(handle).AddImage(Text(fileName), properties); });
}

XlsError __stdcall XLGet_GetDefaultFormat(XlsHandle handle, TFlxFormat* format) {
  return Guarded([&] {
    Book(handle);
    if (!format) throw XlsException(L"The format's address is missing (nil).");
    *format = Workbook::DefaultFormat();
  });
}
