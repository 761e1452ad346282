// The history query's pickers: a date picker and a time picker keep the other half of the
// value, formats show as set, and a change made in the control fires OnChange.
#include <cmath>

#include "FormFixture.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/ui/DateTimePicker.h"

#include <commctrl.h>

namespace {

class DateTimePickerTest : public FormFixture {};

TEST_F(DateTimePickerTest, DateAndTimeKindsKeepTheirHalves) {
  auto* date = Add<TDateTimePicker>(10, 10, 120, 21);
  auto* time = Add<TDateTimePicker>(10, 40, 120, 21);
  time->SetKind(dtkTime);
  const TDateTime start = EncodeDate(2024, 3, 5) + EncodeTime(10, 0, 0, 0);
  date->SetDateTime(start);
  time->SetDateTime(start);
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd", date->Date()), "2024-03-05");
  EXPECT_EQ(FormatDateTime("hh:nn:ss", time->Time()), "10:00:00");
  date->SetDate(EncodeDate(2024, 3, 6));
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn:ss", date->DateTime()), "2024-03-06 10:00:00");
  time->SetTime(EncodeTime(9, 30, 15, 0));
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn:ss", time->DateTime()), "2024-03-05 09:30:15");
  EXPECT_NE(GetWindowLongW(time->Handle(), GWL_STYLE) & DTS_TIMEFORMAT, 0);
}

TEST_F(DateTimePickerTest, CustomFormatIsShown) {
  auto* date = Add<TDateTimePicker>(10, 10, 120, 21);
  date->SetFormat("yyyy-MM-dd");
  date->SetDateTime(EncodeDate(2024, 3, 5));
  wchar_t text[64] = {};
  GetWindowTextW(date->Handle(), text, 64);
  EXPECT_EQ(std::wstring(text), L"2024-03-05");
}

TEST_F(DateTimePickerTest, ChangeNotificationFiresOnChangeWithTheNewValue) {
  auto* date = Add<TDateTimePicker>(10, 10, 120, 21);
  date->SetDateTime(EncodeDate(2024, 3, 5));
  int changes = 0;
  TDateTime seen = 0;
  date->OnChange = [&](TObject*) {
    ++changes;
    seen = date->DateTime();
  };
  date->SetDateTime(EncodeDate(2024, 3, 7));
  EXPECT_EQ(changes, 0) << "code does not fire OnChange";
  // What the control sends its parent when the user picks 2025-03-07.
  NMDATETIMECHANGE change{};
  change.nmhdr.hwndFrom = date->Handle();
  change.nmhdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(date->Handle()));
  change.nmhdr.code = DTN_DATETIMECHANGE;
  change.dwFlags = GDT_VALID;
  change.st.wYear = 2025;
  change.st.wMonth = 3;
  change.st.wDay = 7;
  SendMessageW(form_->Handle(), WM_NOTIFY, change.nmhdr.idFrom, reinterpret_cast<LPARAM>(&change));
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd", seen), "2025-03-07");
}

}  // namespace
