// Layout loading from streams and RCDATA resources, binary or text.
#include "toolkit/classes/LayoutResource.h"

#include <string>

#include "toolkit/classes/Filer.h"
#include "toolkit/classes/ObjectText.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/rtl/TextConv.h"

TStreamOriginalFormat TestStreamFormat(TStream& stream) {
  const long long pos = stream.Position();
  char head[64] = {};
  const long long n = stream.Read(head, sizeof head);
  stream.SetPosition(pos);
  if (n >= 4 && std::string_view(head, 4) == "TPF0") return sofBinary;
  std::string_view text(head, static_cast<size_t>(n > 0 ? n : 0));
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
  for (std::string_view word : {"object", "inherited", "inline"}) {
    if (text.size() > word.size() && SameText(text.substr(0, word.size()), word) &&
        static_cast<unsigned char>(text[word.size()]) <= ' ') {
      return sofText;
    }
  }
  return sofUnknown;
}

TComponent* ReadLayout(TStream& stream, TComponent* instance) {
  switch (TestStreamFormat(stream)) {
    case sofBinary:
      return stream.ReadComponent(instance);
    case sofText: {
      TMemoryStream binary;
      ObjectTextToBinary(stream, binary);
      binary.SetPosition(0);
      return binary.ReadComponent(instance);
    }
    default:
      throw EReadError("Invalid stream format");
  }
}

bool ReadComponentRes(std::string_view name, TComponent* instance, HMODULE module) {
  if (module == nullptr) module = GetModuleHandleW(nullptr);
  const std::wstring wide = Utf8ToWide(name);
  if (FindResourceW(module, wide.c_str(), MAKEINTRESOURCEW(10)) == nullptr) return false;
  TResourceStream stream(module, name, MAKEINTRESOURCEW(10));
  ReadLayout(stream, instance);
  return true;
}
