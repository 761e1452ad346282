// Type information of the mouse and key vocabulary (TMouseButton, the TShiftState flags) for
// published properties of those types ("mbRight", "[ssShift,ssCtrl]"). Kept apart from
// Messages.h so that only the classes publishing such properties depend on it.
#pragma once

#include "toolkit/ui/Messages.h"

class TEnumInfo;

const TEnumInfo& EnumTypeInfo(TShiftStateFlag);
const TEnumInfo& EnumTypeInfo(TMouseButton);
