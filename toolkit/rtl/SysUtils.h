// The run-time library's core services, as the program's code expects them: exception classes,
// Format/FormatFloat/FormatDateTime with process-wide format settings, number and date
// conversions, TDateTime arithmetic, and string and path helpers. Text is UTF-8 throughout.
// Conversions that fail raise EConvertError with the run-time library's messages.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// ---- Exceptions ---------------------------------------------------------------------------

// Base of every exception the toolkit and the program raise; Message() is UTF-8.
class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : message_(std::move(message)) {}
  const std::string& Message() const noexcept { return message_; }
  void SetMessage(std::string message) { message_ = std::move(message); }
  const char* what() const noexcept override { return message_.c_str(); }
  // Name of the exception class as the error box and logs show it ("EConvertError").
  virtual const char* ClassName() const noexcept { return "Exception"; }

 private:
  std::string message_;
};

#define VK_DECLARE_EXCEPTION(Name, Base)                                   \
  class Name : public Base {                                               \
   public:                                                                 \
    using Base::Base;                                                      \
    const char* ClassName() const noexcept override { return #Name; }      \
  }

// Silent exception: unwinds without an error box.
class EAbort : public Exception {
 public:
  EAbort() : Exception("Operation aborted") {}
  using Exception::Exception;
  const char* ClassName() const noexcept override { return "EAbort"; }
};

VK_DECLARE_EXCEPTION(EConvertError, Exception);
VK_DECLARE_EXCEPTION(EMathError, Exception);
VK_DECLARE_EXCEPTION(EZeroDivide, EMathError);
VK_DECLARE_EXCEPTION(EInvalidOp, EMathError);
VK_DECLARE_EXCEPTION(EOverflow, EMathError);
VK_DECLARE_EXCEPTION(ERangeError, Exception);
VK_DECLARE_EXCEPTION(EIntOverflow, Exception);
VK_DECLARE_EXCEPTION(EInvalidPointer, Exception);
VK_DECLARE_EXCEPTION(EInvalidCast, Exception);
VK_DECLARE_EXCEPTION(EOutOfMemory, Exception);
VK_DECLARE_EXCEPTION(EAccessViolation, Exception);
// An error of the platform; ErrorCode() is the system's error code (0 when unknown).
class EOSError : public Exception {
 public:
  using Exception::Exception;
  EOSError(std::string message, unsigned long code) : Exception(std::move(message)), code_(code) {}
  const char* ClassName() const noexcept override { return "EOSError"; }
  unsigned long ErrorCode() const noexcept { return code_; }

 private:
  unsigned long code_ = 0;
};
VK_DECLARE_EXCEPTION(EInOutError, Exception);
VK_DECLARE_EXCEPTION(EExternal, Exception);
VK_DECLARE_EXCEPTION(EAssertionFailed, Exception);
VK_DECLARE_EXCEPTION(EAbstractError, Exception);
VK_DECLARE_EXCEPTION(EArgumentException, Exception);
VK_DECLARE_EXCEPTION(EArgumentOutOfRangeException, EArgumentException);
VK_DECLARE_EXCEPTION(ENotSupportedException, Exception);
VK_DECLARE_EXCEPTION(EListError, Exception);
VK_DECLARE_EXCEPTION(EStringListError, Exception);
VK_DECLARE_EXCEPTION(EStreamError, Exception);
VK_DECLARE_EXCEPTION(EFileStreamError, EStreamError);
VK_DECLARE_EXCEPTION(EFCreateError, EFileStreamError);
VK_DECLARE_EXCEPTION(EFOpenError, EFileStreamError);
VK_DECLARE_EXCEPTION(EFilerError, EStreamError);
VK_DECLARE_EXCEPTION(EReadError, EFilerError);
VK_DECLARE_EXCEPTION(EWriteError, EFilerError);
VK_DECLARE_EXCEPTION(EClassNotFound, EFilerError);
VK_DECLARE_EXCEPTION(EResNotFound, Exception);
VK_DECLARE_EXCEPTION(EComponentError, Exception);
VK_DECLARE_EXCEPTION(EPropertyError, Exception);
VK_DECLARE_EXCEPTION(EThread, Exception);
VK_DECLARE_EXCEPTION(EInvalidOperation, Exception);
VK_DECLARE_EXCEPTION(EOutOfResources, Exception);
VK_DECLARE_EXCEPTION(EInvalidGraphic, Exception);
VK_DECLARE_EXCEPTION(EInvalidGraphicOperation, Exception);
VK_DECLARE_EXCEPTION(ERegistryException, Exception);

// Raises EOSError for GetLastError() (or `code`) with the system's message text.
[[noreturn]] void RaiseLastOSError();
[[noreturn]] void RaiseLastOSError(unsigned long code);
// The system's message text for an error code, without trailing line breaks.
std::string SysErrorMessage(unsigned long code);
// Raises EAbstractError ("Abstract Error"): the call of an operation a class leaves abstract.
[[noreturn]] void AbstractError();

// ---- Platform ---------------------------------------------------------------------------------

// The platform identifier (VER_PLATFORM_WIN32_NT on every current Windows).
unsigned long Win32Platform();
// LoadLibrary with the given error mode in effect for the call only (SEM_NOOPENFILEERRORBOX =
// 0x8000 keeps the system from asking about a missing file); the floating-point control state
// is restored afterwards, as a loaded library may change it. Returns the module handle (an
// HMODULE) or nullptr.
void* SafeLoadLibrary(std::string_view fileName, unsigned errorMode = 0x8000);
// True when `c` is a lead byte of a double-byte character in the system's ANSI code page.
bool IsLeadByte(char c);

// ---- Format ---------------------------------------------------------------------------------

// One argument of Format: an integer, a floating value, a text or a pointer.
class FormatArg {
 public:
  enum class Kind { Integer, Float, Text, Pointer };
  FormatArg(int v) : kind_(Kind::Integer), i_(v) {}
  FormatArg(long v) : kind_(Kind::Integer), i_(v) {}
  FormatArg(long long v) : kind_(Kind::Integer), i_(v) {}
  FormatArg(unsigned v) : kind_(Kind::Integer), i_(v) {}
  FormatArg(unsigned long v) : kind_(Kind::Integer), i_(static_cast<long long>(v)) {}
  FormatArg(unsigned long long v) : kind_(Kind::Integer), i_(static_cast<long long>(v)) {}
  FormatArg(double v) : kind_(Kind::Float), f_(v) {}
  FormatArg(long double v) : kind_(Kind::Float), f_(v) {}
  FormatArg(float v) : kind_(Kind::Float), f_(v) {}
  FormatArg(const char* v) : kind_(Kind::Text), s_(v ? v : "") {}
  FormatArg(std::string_view v) : kind_(Kind::Text), s_(v) {}
  FormatArg(const std::string& v) : kind_(Kind::Text), s_(v) {}
  FormatArg(const void* v) : kind_(Kind::Pointer), p_(v) {}
  Kind kind() const { return kind_; }
  long long AsInteger() const { return i_; }
  long double AsFloat() const { return f_; }
  std::string_view AsText() const { return s_; }
  const void* AsPointer() const { return p_; }

 private:
  Kind kind_;
  long long i_ = 0;
  long double f_ = 0;
  std::string_view s_;
  const void* p_ = nullptr;
};

// The run-time library's Format: %d %u %x %e %f %g %n %m %s %p with index ("%1:s"), "-" (left
// justify), width and precision ("*" takes them from the arguments); "%%" is a percent sign.
// A directive that does not fit its argument raises EConvertError
// ("Format '%s' invalid or incompatible with argument").
std::string Format(std::string_view format, std::initializer_list<FormatArg> args);

// ---- Format settings ------------------------------------------------------------------------

struct TFormatSettings {
  std::string CurrencyString = "$";
  unsigned char CurrencyFormat = 0;
  unsigned char NegCurrFormat = 0;
  unsigned char CurrencyDecimals = 2;
  char ThousandSeparator = ',';
  char DecimalSeparator = '.';
  char DateSeparator = '/';
  char TimeSeparator = ':';
  char ListSeparator = ',';
  std::string ShortDateFormat = "M/d/yyyy";
  std::string LongDateFormat = "dddd, MMMM d, yyyy";
  std::string ShortTimeFormat = "h:mm AMPM";
  std::string LongTimeFormat = "h:mm:ss AMPM";
  std::string TimeAMString = "AM";
  std::string TimePMString = "PM";
  std::string ShortMonthNames[12];
  std::string LongMonthNames[12];
  std::string ShortDayNames[7];  // Sunday first
  std::string LongDayNames[7];
  unsigned short TwoDigitYearCenturyWindow = 50;
};

// The process-wide settings that the functions below use when none are given. Filled from the
// system's locale at first use; the program then fixes the ones it depends on at start-up.
TFormatSettings& FormatSettings();

// ---- Numbers ----------------------------------------------------------------------------

std::string IntToStr(long long value);
std::string IntToHex(long long value, int digits);
// Decimal, or hexadecimal with a leading "$" / "0x"; surrounding blanks allowed.
// EConvertError "'%s' is not a valid integer value" on failure.
int StrToInt(std::string_view text);
long long StrToInt64(std::string_view text);
int StrToIntDef(std::string_view text, int fallback);
bool TryStrToInt(std::string_view text, int& value);
bool TryStrToInt64(std::string_view text, long long& value);

// Floating text with the settings' decimal separator; EConvertError
// "'%s' is not a valid floating point value" on failure.
long double StrToFloat(std::string_view text);
long double StrToFloat(std::string_view text, const TFormatSettings& settings);
long double StrToFloatDef(std::string_view text, long double fallback);
bool TryStrToFloat(std::string_view text, long double& value);
bool TryStrToFloat(std::string_view text, double& value);
bool TryStrToFloat(std::string_view text, long double& value, const TFormatSettings& settings);

// General format with 15 significant digits ("0.1", "1E20", "-3.5").
std::string FloatToStr(long double value);
std::string FloatToStr(long double value, const TFormatSettings& settings);

// Picture formats: up to three ';'-separated sections (positive, negative, zero); '0', '#',
// '.', ',' (thousands), "E+"/"E-"/"e+"/"e-" with digits, quoted literals, other characters
// literal (a '%' is literal, the value is not scaled). Decimal digits round half away from zero
// on the value's 18-significant-digit decimal expansion (0.25 gives "0.3"; the double nearest
// 0.35 is 0.349999999999999978 and gives "0.3"). A negative value that rounds to zero is written
// with the zero section (else the first) and without a minus sign. NaN/infinity: "NAN", "INF".
std::string FormatFloat(std::string_view format, long double value);
std::string FormatFloat(std::string_view format, long double value, const TFormatSettings& settings);

// ---- Dates and times --------------------------------------------------------------------

// Days since 1899-12-30; the fraction is the time of day.
using TDateTime = double;

TDateTime EncodeDate(int year, int month, int day);      // EConvertError on an invalid date
TDateTime EncodeTime(int hour, int min, int sec, int msec);  // EConvertError on an invalid time
bool TryEncodeDate(int year, int month, int day, TDateTime& value);
bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& value);
void DecodeDate(TDateTime value, int& year, int& month, int& day);
void DecodeTime(TDateTime value, int& hour, int& min, int& sec, int& msec);
bool IsLeapYear(int year);
int DaysInAMonth(int year, int month);
// 1 = Sunday ... 7 = Saturday.
int DayOfWeek(TDateTime value);
TDateTime Date();
TDateTime Time();
TDateTime Now();

// yyyy yy m mm mmm mmmm d dd ddd dddd ddddd dddddd c h hh n nn s ss z zzz t tt am/pm a/p ampm,
// "/" and ":" as the settings' separators, quoted literals; "m"/"mm" right after an "h"/"hh"
// mean minutes. Letters are case-insensitive ("yyyy-MM-dd" = "yyyy-mm-dd").
std::string FormatDateTime(std::string_view format, TDateTime value);
std::string FormatDateTime(std::string_view format, TDateTime value, const TFormatSettings& settings);
// FormatDateTime into `result`.
void DateTimeToString(std::string& result, std::string_view format, TDateTime value);
void DateTimeToString(std::string& result, std::string_view format, TDateTime value,
                      const TFormatSettings& settings);
std::string DateTimeToStr(TDateTime value);
std::string DateToStr(TDateTime value);
std::string TimeToStr(TDateTime value);
// Reads dates in the short date format's order with the date separator, and times with the time
// separator; EConvertError "'%s' is not a valid date and time" (or "... date", "... time").
TDateTime StrToDateTime(std::string_view text);
TDateTime StrToDate(std::string_view text);
TDateTime StrToTime(std::string_view text);
bool TryStrToDateTime(std::string_view text, TDateTime& value);
bool TryStrToDateTime(std::string_view text, TDateTime& value, const TFormatSettings& settings);
bool TryStrToDate(std::string_view text, TDateTime& value);
bool TryStrToDate(std::string_view text, TDateTime& value, const TFormatSettings& settings);
bool TryStrToTime(std::string_view text, TDateTime& value);
bool TryStrToTime(std::string_view text, TDateTime& value, const TFormatSettings& settings);

// ---- Strings ------------------------------------------------------------------------------

std::string Trim(std::string_view text);       // blanks and control characters
std::string TrimLeft(std::string_view text);
std::string TrimRight(std::string_view text);
std::string UpperCase(std::string_view text);  // ASCII letters only
std::string LowerCase(std::string_view text);
std::string AnsiUpperCase(std::string_view text);  // every letter
std::string AnsiLowerCase(std::string_view text);
int CompareText(std::string_view a, std::string_view b);  // ASCII case-insensitive
bool SameText(std::string_view a, std::string_view b);
int CompareStr(std::string_view a, std::string_view b);
int AnsiCompareText(std::string_view a, std::string_view b);  // locale, case-insensitive
int AnsiCompareStr(std::string_view a, std::string_view b);
// 1-based position of `sub` in `text`, 0 when absent (byte positions).
int Pos(std::string_view sub, std::string_view text, int offset = 1);
std::string Copy(std::string_view text, int index, int count);  // 1-based, clipped
enum class TReplaceFlag { rfReplaceAll = 1, rfIgnoreCase = 2 };
std::string StringReplace(std::string_view text, std::string_view from, std::string_view to,
                          int flags = 0);  // flags: TReplaceFlag values or'ed
std::string StringOfChar(char c, int count);
std::string QuotedStr(std::string_view text);
std::string AnsiDequotedStr(std::string_view text, char quote);

// ---- Files and paths ------------------------------------------------------------------------

std::string ExtractFilePath(std::string_view path);   // with trailing delimiter
std::string ExtractFileDir(std::string_view path);    // without
std::string ExtractFileName(std::string_view path);
std::string ExtractFileExt(std::string_view path);    // with the dot
std::string ChangeFileExt(std::string_view path, std::string_view ext);
std::string IncludeTrailingPathDelimiter(std::string_view path);
std::string ExcludeTrailingPathDelimiter(std::string_view path);
std::string ExpandFileName(std::string_view path);
bool FileExists(std::string_view path);
bool DirectoryExists(std::string_view path);
bool ForceDirectories(std::string_view path);
bool DeleteFile(std::string_view path);
bool RenameFile(std::string_view from, std::string_view to);
bool RemoveDir(std::string_view path);
long long FileSizeOf(std::string_view path);  // -1 when it cannot be read
