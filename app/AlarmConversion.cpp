// Alarm records to log lines.
#include "app/AlarmConversion.h"

#include "app/AppGlobals.h"
#include "app/DailyLog.h"
#include "app/HistoryImport.h"
#include "app/InstrumentFrames.h"
#include "app/RecordFile.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/ui/Application.h"
#include "toolkit/ui/FileDialogs.h"

std::string AlarmStateText(int nibble) {
  switch (nibble) {
    case 0xC: return "Exceed the upper limit";
    case 0x4: return "Over-cap";
    case 0x2: return "Lower limit exceeded";
    case 0x3: return "Exceed the Lower limit";
    case 0xF: return "The device shuts down";
    default: return "Normal state";
  }
}

std::string AlarmTypeText(int code) {
  static const char* const kTypes[] = {"K_type", "J_type", "T_type", "E_type",
                                       "S_type", "N_type", "B_type", "R_type"};
  if (code >= 0 && code < 8) return kTypes[code];
  return "Unknown type(" + IntToStr(code) + ")";
}

std::string AlarmReferenceText(int code) {
  if (code == 0) return "Built";
  if (code == 1) return "Customization";
  return "Unknown reference(" + IntToStr(code) + ")";
}

double AlarmSettingValue(const unsigned char* record, int index) {
  const unsigned char low = record[15 + 2 * index];
  const unsigned char high = record[16 + 2 * index];
  // Most significant byte first, the low half of the single zero.
  const unsigned char single[4] = {high, low, 0, 0};
  std::string hex;
  AppendHex(hex, single, 4);
  return HexToFloatValue(hex);
}

std::string AlarmLogLine(const unsigned char* record) {
  static const char* const kSettingNames[] = {
      "Reference side value:", "Upper cap:", "upper limit:", "lower limit:",
      "Lower and lower bounds:", "Correction value K:", "Correction value B:"};
  std::string line = InstrumentRecordTime(record);
  line += "; passage:" + IntToStr(record[11] + 1);
  line += "; Alarm information:" + AlarmStateText(record[12] >> 4) + ">>>" + AlarmStateText(record[12] & 0xF);
  line += "; RTD type:" + AlarmTypeText(record[13]);
  line += "; Reference end:" + AlarmReferenceText(record[14]);
  for (int i = 0; i < 7; ++i) {
    line += "; ";
    line += kSettingNames[i];
    line += FormatFloat("0.00", AlarmSettingValue(record, i));
  }
  return line;
}

void ConvertAlarmFile(const std::string& path) {
  AbortRequested = 0;
  TRecordFile file(path, kAlarmRecordSize);
  while (!file.Eof() && AbortRequested == 0) WriteLog(AlarmLogLine(file.Next()), "warning");
  file.Close();
}

void AlarmConversionCommand() {
  TOpenDialog dialog(nullptr);
  dialog.SetTitle("Please select the alarm file(.bin)");
  dialog.SetFilter("All (*bin)");
  dialog.SetOptions(TOpenOptions{ofHideReadOnly, ofEnableSizing});
  if (!dialog.Execute()) return;
  ConvertAlarmFile(dialog.FileName());
  Application->MessageBox(
      "The alarm file processing is complete,deposit '" + AppPath + "\\Log'****warning.txt file", "提示",
      MB_ICONWARNING);
}
