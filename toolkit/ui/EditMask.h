// Edit masks: whether an edit's text fits its mask. A mask is up to three sections separated
// by ';': the pattern, whether literals are saved with the text ('0': no), and the character
// that shows an empty position (default '_'). Pattern characters, one text position each:
//   L letter, A letter or digit, C any character, 0 digit  (required: never blank)
//   l, a, c, 9 the same but optional; # digit, '+' or '-', optional
//   : and / the time and date separators of the format settings
//   \ takes the next character as a literal; > < ! take no position
//   anything else is a literal that stands in the text as it is.
// Blank positions (the blank character or a space) are fine where optional; characters past
// the pattern must be blank.
#pragma once

#include <string>

bool EditTextFitsMask(const std::string& editMask, const std::string& text);
