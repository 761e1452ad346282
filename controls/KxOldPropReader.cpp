// Readers of obsolete stored properties.
#include "controls/KxOldPropReader.h"

#include "toolkit/classes/Filer.h"

void TKxOldPropReader::SkipBooleanValue(TReader& reader) { reader.ReadBoolean(); }

void TKxOldPropReader::SkipIdentValue(TReader& reader) { reader.ReadIdent(); }

void TKxOldPropReader::SkipSetValue(TReader& reader) {
  reader.ReadValue();
  while (!reader.ReadStr().empty()) {
  }
}
