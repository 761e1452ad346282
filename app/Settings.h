// The recorder's two settings files beside the program: company.ini (report company details,
// lines 1-4) and com.set (the chosen port on line 1). Both are ANSI text; a missing file is
// normal and leaves the texts empty.
#pragma once

#include <string>
#include <vector>

// Lines of an ANSI text file (split at CR LF, CR or LF), converted to UTF-8; an empty list when
// the file cannot be read.
std::vector<std::string> ReadTextFileLines(const std::string& path);

// Fills CompanyName, CompanyAddress, CompanyPhone and CompanyWebsite from lines 1-4 of
// AppPath + "company.ini" when it exists (missing lines give empty texts); leaves them as they
// are when it does not.
void LoadCompanyInfo();

// ComPortName := line 1 of AppPath + "com.set", or empty when the file is missing or empty.
// The older text "自动选择" is recognised in its code page 936 form whatever the system's code
// page is.
void LoadComPortSetting();
