// TDateTimePicker over SysDateTimePick32.
#include "toolkit/ui/DateTimePicker.h"

#include "toolkit/system/WinApi.h"

#include <commctrl.h>

#include <cmath>

#include "toolkit/classes/TypInfo.h"
#include "toolkit/rtl/TextConv.h"

const TEnumInfo& EnumTypeInfo(TDateTimeKind) {
  static const TEnumInfo info("TDateTimeKind", {"dtkDate", "dtkTime"});
  return info;
}

const TEnumInfo& EnumTypeInfo(TDTDateFormat) {
  static const TEnumInfo info("TDTDateFormat", {"dfShort", "dfLong"});
  return info;
}

namespace {

SYSTEMTIME ToSystemTime(TDateTime value) {
  int y, mo, d, h, mi, s, ms;
  DecodeDate(value, y, mo, d);
  DecodeTime(value, h, mi, s, ms);
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(y);
  st.wMonth = static_cast<WORD>(mo);
  st.wDay = static_cast<WORD>(d);
  st.wDayOfWeek = static_cast<WORD>(DayOfWeek(value) - 1);
  st.wHour = static_cast<WORD>(h);
  st.wMinute = static_cast<WORD>(mi);
  st.wSecond = static_cast<WORD>(s);
  st.wMilliseconds = static_cast<WORD>(ms);
  return st;
}

TDateTime FromSystemTime(const SYSTEMTIME& st) {
  return EncodeDate(st.wYear, st.wMonth, st.wDay) + EncodeTime(st.wHour, st.wMinute, st.wSecond, st.wMilliseconds);
}

}  // namespace

const TClassInfo& TDateTimePicker::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TDateTimePicker>("TDateTimePicker", &TWinControl::StaticClass())
          .Property("Kind", &TDateTimePicker::Kind, &TDateTimePicker::SetKind)
          .Default(dtkDate)
          .Property("DateFormat", &TDateTimePicker::DateFormat, &TDateTimePicker::SetDateFormat)
          .Default(dfShort)
          .Property("Format", &TDateTimePicker::Format, &TDateTimePicker::SetFormat)
          .Property("Date", [](TDateTimePicker& p) { return p.Date(); },
                    [](TDateTimePicker& p, double v) { p.SetDate(v); })
          .Float(TFloatType::ftDateTime)
          .Property("Time", [](TDateTimePicker& p) { return p.Time(); },
                    [](TDateTimePicker& p, double v) { p.SetTime(v); })
          .Float(TFloatType::ftDateTime)
          .Property("OnChange", [](TDateTimePicker& p) { return p.OnChange; },
                    [](TDateTimePicker& p, TNotifyEvent e) { p.OnChange = e; })
          .Build();
  return info;
}

TDateTimePicker::TDateTimePicker(TComponent* owner) : TWinControl(owner), value_(Now()) {
  SetBounds(0, 0, 186, 21);
  SetTabStop(true);
  SetParentColor(false);
  SetColor(clWindow);
}

void TDateTimePicker::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  CreateSubClass(params, DATETIMEPICK_CLASSW);
  if (kind_ == dtkTime) params.Style |= DTS_TIMEFORMAT;
  else if (dateFormat_ == dfLong) params.Style |= DTS_LONGDATEFORMAT;
  else params.Style |= DTS_SHORTDATEFORMAT;
}

void TDateTimePicker::CreateWnd() {
  TWinControl::CreateWnd();
  if (!format_.empty()) {
    const std::wstring text = Utf8ToWide(format_);
    SendMessageW(Handle(), DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  SendValue();
}

void TDateTimePicker::DestroyWnd() {
  value_ = DateTime();
  TWinControl::DestroyWnd();
}

void TDateTimePicker::SendValue() {
  if (!HandleAllocated()) return;
  SYSTEMTIME st = ToSystemTime(value_);
  SendMessageW(Handle(), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
}

TDateTime TDateTimePicker::DateTime() {
  if (HandleAllocated() && !notifying_) {
    SYSTEMTIME st{};
    if (SendMessageW(Handle(), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)) == GDT_VALID)
      value_ = FromSystemTime(st);
  }
  return value_;
}

void TDateTimePicker::SetDateTime(TDateTime value) {
  value_ = value;
  SendValue();
}

void TDateTimePicker::SetDate(TDateTime value) {
  const TDateTime time = Time();
  SetDateTime(std::floor(value) + time);
}

TDateTime TDateTimePicker::Time() {
  const TDateTime value = DateTime();
  return value - std::floor(value);
}

void TDateTimePicker::SetTime(TDateTime value) {
  const TDateTime date = std::floor(DateTime());
  SetDateTime(date + (value - std::floor(value)));
}

void TDateTimePicker::SetKind(TDateTimeKind value) {
  if (value == kind_) return;
  kind_ = value;
  if (HandleAllocated()) RecreateWnd();
}

void TDateTimePicker::SetDateFormat(TDTDateFormat value) {
  if (value == dateFormat_) return;
  dateFormat_ = value;
  if (HandleAllocated()) RecreateWnd();
}

void TDateTimePicker::SetFormat(const std::string& value) {
  format_ = value;
  if (!HandleAllocated()) return;
  const std::wstring text = Utf8ToWide(value);
  SendMessageW(Handle(), DTM_SETFORMATW, 0, value.empty() ? 0 : reinterpret_cast<LPARAM>(text.c_str()));
}

void TDateTimePicker::WndProc(TMessage& message) {
  if (message.Msg == CN_NOTIFY) {
    const auto* header = reinterpret_cast<const NMHDR*>(message.LParam);
    if (header->code == DTN_DATETIMECHANGE) {
      const auto* change = reinterpret_cast<const NMDATETIMECHANGE*>(message.LParam);
      if (change->dwFlags == GDT_VALID) value_ = FromSystemTime(change->st);
      // The notification carries the new value; the control may not answer it yet.
      notifying_ = true;
      try {
        Change();
      } catch (...) {
        notifying_ = false;
        throw;
      }
      notifying_ = false;
    }
    message.Result = 0;
    return;
  }
  TWinControl::WndProc(message);
}
