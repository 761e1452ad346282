// Reading form layouts from the program's RCDATA resources (text converted on the fly).
#include "toolkit/ui/FormLayout.h"

#include "toolkit/classes/Component.h"
#include "toolkit/classes/Filer.h"
#include "toolkit/classes/ObjectText.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/rtl/TextConv.h"

namespace {
HMODULE g_layoutModule = nullptr;
}

void SetLayoutModule(HMODULE module) { g_layoutModule = module; }

void ReadFormLayout(TComponent* instance, TStream& stream) {
  if (IsBinaryLayout(stream)) {
    TReader reader(stream);
    reader.ReadRootComponent(instance);
    return;
  }
  TMemoryStream binary;
  ObjectTextToBinary(stream, binary);
  binary.SetPosition(0);
  TReader reader(binary);
  reader.ReadRootComponent(instance);
}

bool LoadFormLayout(TComponent* instance) {
  HMODULE module = g_layoutModule != nullptr ? g_layoutModule : GetModuleHandleW(nullptr);
  const std::string name = UpperCase(instance->ClassName());
  const std::wstring wide = Utf8ToWide(name);
  if (FindResourceW(module, wide.c_str(), MAKEINTRESOURCEW(10) /* RT_RCDATA */) == nullptr) return false;
  TResourceStream stream(module, name, MAKEINTRESOURCEW(10));
  ReadFormLayout(instance, stream);
  return true;
}
