// Alarm-file conversion: the instrument's alarm files (43-byte records: time, channel, alarm
// state change, thermocouple and reference codes, seven channel settings) become one readable
// line each in the daily "warning" log.
#pragma once

#include <string>

constexpr int kAlarmRecordSize = 43;

// The text of an alarm state nibble (0 normal, $C upper limit, 4 cap, 2 / 3 lower limits,
// $F device off; anything else reads as normal).
std::string AlarmStateText(int nibble);
// The thermocouple type of a type code ($00 "K_type" ... $07 "R_type").
std::string AlarmTypeText(int code);
// The reference end of a reference code ($00 "Built", $01 "Customization").
std::string AlarmReferenceText(int code);
// Setting `index` (0..6) of an alarm record: 2 bytes at 15 + 2 * index, little-endian, the
// high half of a single, decoded with the instrument's reading conversion.
double AlarmSettingValue(const unsigned char* record, int index);
// The log line of one alarm record.
std::string AlarmLogLine(const unsigned char* record);

// AbortRequested := 0; logs the line of every whole record (kind "warning") until the end of
// the file or until AbortRequested is set. Raises EInOutError when the file cannot be opened or
// read; the lines already logged stay.
void ConvertAlarmFile(const std::string& path);

// The "Alarm log conversion" command: asks for an alarm file ("Please select the alarm
// file(.bin)"), converts it and says where the lines went. Allowed while a test runs. A file
// that cannot be read raises (the caller's error box); no notice follows then.
void AlarmConversionCommand();
