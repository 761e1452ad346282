// The one error policy of the GDI handle creators.
#include "toolkit/graphics/GdiHandles.h"

#include "toolkit/rtl/SysUtils.h"

void RaiseOutOfResources() { throw EOutOfResources("Out of system resources"); }
