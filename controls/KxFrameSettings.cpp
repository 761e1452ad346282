// The entries of older layouts shared by the framed controls.
#include "controls/KxFrameSettings.h"

#include "controls/KxOldPropReader.h"
#include "toolkit/classes/Filer.h"

void DefineOldFrameProperties(TFiler& filer, std::function<void(bool)> setHotTrack, TFrameStyle& frameStyle,
                              TFrameStyle& frameHotStyle) {
  filer.DefineProperty(
      "FrameFlat",
      [setHotTrack, &frameStyle, &frameHotStyle](TReader& reader) {
        const bool flat = reader.ReadBoolean();
        setHotTrack(flat);
        if (flat) {
          frameStyle = fsStatus;
          frameHotStyle = fsLowered;
        }
      },
      {}, false);
  filer.DefineProperty(
      "FrameFocusStyle",
      [&frameHotStyle](TReader& reader) {
        const int value = EnumTypeInfo(TFrameStyleEx{}).ValueOf(reader.ReadIdent());
        if (value >= 0) frameHotStyle = static_cast<TFrameStyle>(value);
      },
      {}, false);
  filer.DefineProperty("FrameFlatStyle", &TKxOldPropReader::SkipIdentValue, {}, false);
}
