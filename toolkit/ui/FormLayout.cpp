// Reading form layouts: the form's class name picks the RCDATA resource; the layout reader of
// the component model does the rest (text or binary).
#include "toolkit/ui/FormLayout.h"

#include "toolkit/classes/Component.h"
#include "toolkit/classes/LayoutResource.h"
#include "toolkit/rtl/SysUtils.h"

namespace {
HMODULE g_layoutModule = nullptr;
}

void SetLayoutModule(HMODULE module) { g_layoutModule = module; }

void ReadFormLayout(TComponent* instance, TStream& stream) { ReadLayout(stream, instance); }

bool LoadFormLayout(TComponent* instance) {
  return ReadComponentRes(UpperCase(instance->ClassName()), instance, g_layoutModule);
}
