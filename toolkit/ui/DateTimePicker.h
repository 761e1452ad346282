// TDateTimePicker over the platform's SysDateTimePick32: a date (kind dtkDate, short or long
// format) or a time of day (dtkTime), or a custom display format. DateTime is the toolkit's
// TDateTime (days since 1899-12-30); Date is its whole days, Time its fraction. A change by
// the user fires OnChange; setting the value from code does not.
#pragma once

#include <string>

#include "toolkit/rtl/SysUtils.h"
#include "toolkit/ui/WinControl.h"

class TEnumInfo;

enum TDateTimeKind { dtkDate, dtkTime };
enum TDTDateFormat { dfShort, dfLong };
const TEnumInfo& EnumTypeInfo(TDateTimeKind);
const TEnumInfo& EnumTypeInfo(TDTDateFormat);

class TDateTimePicker : public TWinControl {
 public:
  explicit TDateTimePicker(TComponent* owner);
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  TDateTimeKind Kind() const { return kind_; }
  void SetKind(TDateTimeKind value);
  TDTDateFormat DateFormat() const { return dateFormat_; }
  void SetDateFormat(TDTDateFormat value);
  // A display format in the platform's picture form ("yyyy-MM-dd", "HH:mm:ss"); empty: the
  // kind's default.
  const std::string& Format() const { return format_; }
  void SetFormat(const std::string& value);

  TDateTime DateTime();
  void SetDateTime(TDateTime value);
  TDateTime Date() { return static_cast<double>(static_cast<long long>(DateTime())); }
  // Keeps the time of day.
  void SetDate(TDateTime value);
  TDateTime Time();
  // Keeps the date.
  void SetTime(TDateTime value);

  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void WndProc(TMessage& message) override;
  virtual void Change() { OnChange(this); }

 private:
  void SendValue();
  TDateTimeKind kind_ = dtkDate;
  TDTDateFormat dateFormat_ = dfShort;
  std::string format_;
  TDateTime value_ = 0;
  bool notifying_ = false;
};
