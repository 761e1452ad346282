// The one exception type inside the workbook writer: a UTF-16 message that the C interface
// hands back to the caller as its error text. Nothing else crosses the library boundary.
#pragma once

#include <exception>
#include <string>

class XlsException : public std::exception {
 public:
  explicit XlsException(std::wstring message) : message_(std::move(message)) {}
  const std::wstring& Message() const noexcept { return message_; }
  const char* what() const noexcept override { return "FlexCelDyn error"; }

 private:
  std::wstring message_;
};

// The platform's text for a system error code, without trailing line breaks.
std::wstring SystemErrorText(unsigned long code);
