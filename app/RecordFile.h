// A read-only file of fixed-size records, as the instrument's history, information and alarm
// files are: the record count is the file size divided by the record size (a partial record at
// the end is not counted), and records are read in order through a buffer of whole records.
// Every platform failure raises EInOutError with the system's text for the error.
#pragma once

#include <string>
#include <vector>

#include "toolkit/system/WinApi.h"

class TRecordFile {
 public:
  // Opens `fileName` (UTF-8) for reading, sharing reads and writes. Raises EInOutError when the
  // file cannot be opened or its size read.
  TRecordFile(const std::string& fileName, int recordSize);
  ~TRecordFile();
  TRecordFile(const TRecordFile&) = delete;
  TRecordFile& operator=(const TRecordFile&) = delete;

  int RecordSize() const { return recordSize_; }
  // Whole records in the file, taken when it was opened.
  long long RecordCount() const { return recordCount_; }
  bool Eof() const { return next_ >= recordCount_; }
  // The next record (RecordSize bytes, valid until the next call). Raises EInOutError
  // "Read beyond end of file" at the end, or with the system's text when reading fails.
  const unsigned char* Next();
  // Closes the file; reading afterwards raises. Also done by the destructor.
  void Close();

 private:
  void Fill();
  HANDLE handle_ = INVALID_HANDLE_VALUE;
  int recordSize_;
  long long recordCount_ = 0;
  long long next_ = 0;         // number of the record Next returns
  std::vector<unsigned char> buffer_;
  size_t bufferRecords_ = 0;   // whole records in the buffer
  size_t bufferIndex_ = 0;     // next record in the buffer
};
