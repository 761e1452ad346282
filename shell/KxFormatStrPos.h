// Positional message formatting: "%1", "%2" ... insert the first, second ... text, in any order
// and any number of times (the platform's FormatMessage inserts).
#pragma once

#include <string>
#include <vector>

// Empty text for an empty format or when formatting fails. More than 50 texts raise Exception
// "FormatStrPos: Too many substitution strings". An insert with no text given ("%7" with two
// texts) comes out empty rather than reading past the texts.
std::string FormatStrPos(const std::string& format, const std::vector<std::string>& texts);
