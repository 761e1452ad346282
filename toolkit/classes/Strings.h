// TStrings: the abstract list of texts with associated objects that string lists, combo box
// items and memo lines share: Text (lines ended by CR LF), CommaText/DelimitedText,
// name=value access (Names, Values, ValueFromIndex), update bracketing, assignment and the
// "Strings" entry a layout stores them in. Texts are UTF-8.
#pragma once

#include <string>
#include <string_view>

#include "toolkit/classes/Persistent.h"

class TStream;
class TReader;
class TWriter;

class TStrings : public TPersistent {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  // ---- What a concrete list provides --------------------------------------------------
  virtual int Count() const = 0;
  virtual std::string Get(int index) const = 0;
  virtual void Insert(int index, const std::string& s) = 0;
  virtual void Delete(int index) = 0;
  virtual void Clear() = 0;
  // Defaults: Put deletes and re-inserts keeping the object; lists without objects answer
  // null and ignore PutObject.
  virtual void Put(int index, const std::string& s);
  virtual TObject* GetObject(int index) const;
  virtual void PutObject(int index, TObject* object);

  // ---- Shared operations ------------------------------------------------------------------
  virtual int Add(const std::string& s);
  virtual int AddObject(const std::string& s, TObject* object);
  void Append(const std::string& s) { Add(s); }
  virtual void AddStrings(const TStrings& strings);
  virtual void InsertObject(int index, const std::string& s, TObject* object);
  // First index whose text equals s as CompareStrings decides (case-insensitive here); -1.
  virtual int IndexOf(std::string_view s) const;
  int IndexOfName(std::string_view name) const;
  int IndexOfObject(const TObject* object) const;
  virtual void Exchange(int index1, int index2);
  virtual void Move(int curIndex, int newIndex);
  bool Equals(const TStrings& other) const;

  std::string Strings(int index) const { return Get(index); }
  void SetStrings(int index, const std::string& s) { Put(index, s); }
  TObject* Objects(int index) const { return GetObject(index); }
  void SetObjects(int index, TObject* object) { PutObject(index, object); }
  std::string operator[](int index) const { return Get(index); }

  // Every line followed by LineBreak; setting splits at CR LF, CR or LF (a final line break
  // adds no empty line).
  std::string Text() const;
  virtual void SetText(std::string_view text);
  std::string CommaText() const;
  void SetCommaText(std::string_view text);
  std::string DelimitedText() const;
  void SetDelimitedText(std::string_view text);
  char Delimiter() const { return delimiter_; }
  void SetDelimiter(char c) { delimiter_ = c; }
  char QuoteChar() const { return quoteChar_; }
  void SetQuoteChar(char c) { quoteChar_ = c; }
  char NameValueSeparator() const { return nameValueSeparator_; }
  void SetNameValueSeparator(char c) { nameValueSeparator_ = c; }
  const std::string& LineBreak() const { return lineBreak_; }
  void SetLineBreak(std::string s) { lineBreak_ = std::move(s); }

  // Name part of "name=value" at index; empty when the line has no separator.
  std::string Names(int index) const;
  // Value of the first line named `name`; empty when absent.
  std::string Values(std::string_view name) const;
  // Replaces (or appends) "name=value"; an empty value deletes the line.
  void SetValues(std::string_view name, std::string_view value);
  std::string ValueFromIndex(int index) const;
  void SetValueFromIndex(int index, std::string_view value);

  // Nested brackets; the list is told (SetUpdateState) on the first Begin and last End.
  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return updateCount_; }

  void Assign(TPersistent* source) override;
  void DefineProperties(TFiler& filer) override;

  // The remaining bytes of the stream / the file as text (no code page conversion).
  virtual void LoadFromStream(TStream& stream);
  virtual void SaveToStream(TStream& stream) const;
  void LoadFromFile(const std::string& fileName);
  void SaveToFile(const std::string& fileName) const;

 protected:
  virtual void SetUpdateState(bool) {}
  // Case-insensitive in the locale's order; TStringList honours CaseSensitive.
  virtual int CompareStrings(std::string_view a, std::string_view b) const;
  [[noreturn]] static void Error(const char* message, int data);

 private:
  void ReadData(TReader& reader);
  void WriteData(TWriter& writer);

  int updateCount_ = 0;
  char delimiter_ = ',';
  char quoteChar_ = '"';
  char nameValueSeparator_ = '=';
  std::string lineBreak_ = "\r\n";
};
