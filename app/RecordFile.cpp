// Buffered reading of fixed-size records.
#include "app/RecordFile.h"

#include <algorithm>

#include "toolkit/rtl/SysUtils.h"
#include "toolkit/rtl/TextConv.h"

namespace {

constexpr size_t kBufferBytes = 256 * 1024;

[[noreturn]] void RaiseLastError() {
  throw EInOutError(SysErrorMessage(GetLastError()));
}

}  // namespace

TRecordFile::TRecordFile(const std::string& fileName, int recordSize) : recordSize_(recordSize) {
  if (recordSize <= 0) throw EInOutError("Invalid record size");
  handle_ = CreateFileW(Utf8ToWide(fileName).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                        nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (handle_ == INVALID_HANDLE_VALUE) RaiseLastError();
  LARGE_INTEGER size;
  if (!GetFileSizeEx(handle_, &size)) {
    const DWORD code = GetLastError();
    Close();
    throw EInOutError(SysErrorMessage(code));
  }
  recordCount_ = size.QuadPart / recordSize;
  const size_t perBuffer = std::max<size_t>(1, kBufferBytes / static_cast<size_t>(recordSize));
  buffer_.resize(perBuffer * static_cast<size_t>(recordSize));
}

TRecordFile::~TRecordFile() { Close(); }

void TRecordFile::Close() {
  if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  handle_ = INVALID_HANDLE_VALUE;
}

void TRecordFile::Fill() {
  if (handle_ == INVALID_HANDLE_VALUE) throw EInOutError("File not open");
  const long long left = recordCount_ - next_;
  const size_t wanted = static_cast<size_t>(
      std::min<long long>(left, static_cast<long long>(buffer_.size() / static_cast<size_t>(recordSize_))));
  const DWORD bytes = static_cast<DWORD>(wanted * static_cast<size_t>(recordSize_));
  DWORD got = 0;
  if (!ReadFile(handle_, buffer_.data(), bytes, &got, nullptr)) RaiseLastError();
  bufferRecords_ = got / static_cast<DWORD>(recordSize_);
  bufferIndex_ = 0;
  // The file shrank since it was opened.
  if (bufferRecords_ == 0) throw EInOutError("Read beyond end of file");
}

const unsigned char* TRecordFile::Next() {
  if (next_ >= recordCount_) throw EInOutError("Read beyond end of file");
  if (bufferIndex_ >= bufferRecords_) Fill();
  const unsigned char* record = buffer_.data() + bufferIndex_ * static_cast<size_t>(recordSize_);
  ++bufferIndex_;
  ++next_;
  return record;
}
