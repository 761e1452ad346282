// The control set's shared unit in one include: style vocabulary, colours and schemes, frame
// painters, gradients, glyphs and text helpers, the frame controller, the blink list, the
// readers of obsolete properties and the settings-store component. Framed controls include
// this; the pieces can also be included one by one.
#pragma once

#include "controls/KxBlinkingControlsList.h"
#include "controls/KxCommonColors.h"
#include "controls/KxCommonFrames.h"
#include "controls/KxCommonGlyphs.h"
#include "controls/KxCommonText.h"
#include "controls/KxCommonTypes.h"
#include "controls/KxFrameController.h"
#include "controls/KxGraphics.h"
#include "controls/KxModule.h"
#include "controls/KxOldPropReader.h"
#include "controls/KxRegIniFile.h"
