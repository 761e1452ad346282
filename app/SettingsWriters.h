// Writers of the two settings files beside the program, used by the company details and port
// dialogs: each file is written whole in the system's ANSI code page, one line each, and the
// values in memory change only after the file was written.
#pragma once

#include <array>
#include <string>

// Writes AppPath + "company.ini" with the four texts as entered (name, address, phone,
// website), then sets CompanyName .. CompanyWebsite to them with surrounding blanks trimmed.
// Raises EFCreateError / EWriteError with the run-time library's message on failure.
void SaveCompanyInfo(const std::array<std::string, 4>& texts);

// Writes AppPath + "com.set" with `port` as its only line, then ComPortName := port. Raises as
// above.
void SaveComPortSetting(const std::string& port);
