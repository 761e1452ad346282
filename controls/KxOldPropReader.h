// Readers that consume and discard stored values of properties that no longer exist, so that
// older window layouts still load. Register one under the obsolete name with
// TFiler::DefineProperty.
#pragma once

class TReader;

class TKxOldPropReader {
 public:
  static void SkipBooleanValue(TReader& reader);
  static void SkipIdentValue(TReader& reader);
  // The value tag, then element names up to an empty one.
  static void SkipSetValue(TReader& reader);
};
