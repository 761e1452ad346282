// TStrings: the shared operations of every string list.
#include "toolkit/classes/Strings.h"

#include "toolkit/classes/Filer.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/rtl/SysUtils.h"

namespace {

bool NeedsQuote(std::string_view s, char delimiter, char quote) {
  for (char c : s) {
    if (static_cast<unsigned char>(c) <= ' ' || c == delimiter || c == quote) return true;
  }
  return false;
}

std::string Quoted(std::string_view s, char quote) {
  std::string out(1, quote);
  for (char c : s) {
    out += c;
    if (c == quote) out += c;
  }
  out += quote;
  return out;
}

}  // namespace

const TClassInfo& TStrings::StaticClass() {
  static const TClassInfo info = TClassBuilder<TStrings>("TStrings", &TPersistent::StaticClass()).Build();
  return info;
}

void TStrings::Error(const char* message, int data) {
  throw EStringListError(Format(message, {data}));
}

void TStrings::Put(int index, const std::string& s) {
  TObject* object = GetObject(index);
  Delete(index);
  InsertObject(index, s, object);
}

TObject* TStrings::GetObject(int) const { return nullptr; }

void TStrings::PutObject(int, TObject*) {}

int TStrings::Add(const std::string& s) {
  const int index = Count();
  Insert(index, s);
  return index;
}

int TStrings::AddObject(const std::string& s, TObject* object) {
  const int index = Add(s);
  PutObject(index, object);
  return index;
}

void TStrings::AddStrings(const TStrings& strings) {
  BeginUpdate();
  try {
    for (int i = 0; i < strings.Count(); ++i) AddObject(strings.Get(i), strings.GetObject(i));
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStrings::InsertObject(int index, const std::string& s, TObject* object) {
  Insert(index, s);
  PutObject(index, object);
}

int TStrings::CompareStrings(std::string_view a, std::string_view b) const {
  return AnsiCompareText(a, b);
}

int TStrings::IndexOf(std::string_view s) const {
  for (int i = 0; i < Count(); ++i) {
    if (CompareStrings(Get(i), s) == 0) return i;
  }
  return -1;
}

int TStrings::IndexOfName(std::string_view name) const {
  for (int i = 0; i < Count(); ++i) {
    const std::string s = Get(i);
    const size_t at = s.find(nameValueSeparator_);
    if (at != std::string::npos && CompareStrings(std::string_view(s).substr(0, at), name) == 0) return i;
  }
  return -1;
}

int TStrings::IndexOfObject(const TObject* object) const {
  for (int i = 0; i < Count(); ++i) {
    if (GetObject(i) == object) return i;
  }
  return -1;
}

void TStrings::Exchange(int index1, int index2) {
  BeginUpdate();
  try {
    TObject* obj = GetObject(index1);
    const std::string s = Get(index1);
    Put(index1, Get(index2));
    PutObject(index1, GetObject(index2));
    Put(index2, s);
    PutObject(index2, obj);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStrings::Move(int curIndex, int newIndex) {
  if (curIndex == newIndex) return;
  BeginUpdate();
  try {
    const std::string s = Get(curIndex);
    TObject* obj = GetObject(curIndex);
    Delete(curIndex);
    InsertObject(newIndex, s, obj);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

bool TStrings::Equals(const TStrings& other) const {
  if (Count() != other.Count()) return false;
  for (int i = 0; i < Count(); ++i) {
    if (Get(i) != other.Get(i)) return false;
  }
  return true;
}

std::string TStrings::Text() const {
  std::string out;
  for (int i = 0; i < Count(); ++i) {
    out += Get(i);
    out += lineBreak_;
  }
  return out;
}

void TStrings::SetText(std::string_view text) {
  BeginUpdate();
  try {
    Clear();
    size_t i = 0;
    while (i < text.size()) {
      size_t start = i;
      while (i < text.size() && text[i] != '\r' && text[i] != '\n') ++i;
      Add(std::string(text.substr(start, i - start)));
      if (i < text.size() && text[i] == '\r') ++i;
      if (i < text.size() && text[i] == '\n') ++i;
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

std::string TStrings::DelimitedText() const {
  if (Count() == 1 && Get(0).empty()) return std::string(2, quoteChar_);
  std::string out;
  for (int i = 0; i < Count(); ++i) {
    const std::string s = Get(i);
    if (i > 0) out += delimiter_;
    out += NeedsQuote(s, delimiter_, quoteChar_) ? Quoted(s, quoteChar_) : s;
  }
  return out;
}

void TStrings::SetDelimitedText(std::string_view text) {
  auto blank = [](char c) { return c != '\0' && static_cast<unsigned char>(c) <= ' '; };
  BeginUpdate();
  try {
    Clear();
    size_t p = 0;
    const size_t n = text.size();
    while (p < n && blank(text[p])) ++p;
    while (p < n) {
      std::string s;
      if (text[p] == quoteChar_) {
        ++p;
        while (p < n) {
          if (text[p] == quoteChar_) {
            if (p + 1 < n && text[p + 1] == quoteChar_) {
              s += quoteChar_;
              p += 2;
              continue;
            }
            ++p;
            break;
          }
          s += text[p++];
        }
      } else {
        const size_t start = p;
        while (p < n && static_cast<unsigned char>(text[p]) > ' ' && text[p] != delimiter_) ++p;
        s.assign(text.substr(start, p - start));
      }
      Add(s);
      while (p < n && blank(text[p])) ++p;
      if (p < n && text[p] == delimiter_) {
        if (p + 1 == n) Add("");
        do {
          ++p;
        } while (p < n && blank(text[p]));
      }
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

std::string TStrings::CommaText() const {
  TStrings* self = const_cast<TStrings*>(this);
  const char d = delimiter_, q = quoteChar_;
  self->delimiter_ = ',';
  self->quoteChar_ = '"';
  std::string out = DelimitedText();
  self->delimiter_ = d;
  self->quoteChar_ = q;
  return out;
}

void TStrings::SetCommaText(std::string_view text) {
  const char d = delimiter_, q = quoteChar_;
  delimiter_ = ',';
  quoteChar_ = '"';
  try {
    SetDelimitedText(text);
  } catch (...) {
    delimiter_ = d;
    quoteChar_ = q;
    throw;
  }
  delimiter_ = d;
  quoteChar_ = q;
}

std::string TStrings::Names(int index) const {
  const std::string s = Get(index);
  const size_t at = s.find(nameValueSeparator_);
  return at == std::string::npos ? std::string() : s.substr(0, at);
}

std::string TStrings::Values(std::string_view name) const {
  const int i = IndexOfName(name);
  return i < 0 ? std::string() : ValueFromIndex(i);
}

void TStrings::SetValues(std::string_view name, std::string_view value) {
  int i = IndexOfName(name);
  if (!value.empty()) {
    if (i < 0) i = Add("");
    Put(i, std::string(name) + nameValueSeparator_ + std::string(value));
  } else if (i >= 0) {
    Delete(i);
  }
}

std::string TStrings::ValueFromIndex(int index) const {
  const std::string s = Get(index);
  const size_t at = s.find(nameValueSeparator_);
  return at == std::string::npos ? std::string() : s.substr(at + 1);
}

void TStrings::SetValueFromIndex(int index, std::string_view value) {
  if (!value.empty()) {
    if (index < 0) index = Add("");
    Put(index, Names(index) + nameValueSeparator_ + std::string(value));
  } else if (index >= 0) {
    Delete(index);
  }
}

void TStrings::BeginUpdate() {
  if (updateCount_ == 0) SetUpdateState(true);
  ++updateCount_;
}

void TStrings::EndUpdate() {
  if (updateCount_ <= 0) return;
  --updateCount_;
  if (updateCount_ == 0) SetUpdateState(false);
}

void TStrings::Assign(TPersistent* source) {
  if (auto* other = dynamic_cast<TStrings*>(source)) {
    if (other == this) return;
    BeginUpdate();
    try {
      Clear();
      delimiter_ = other->delimiter_;
      quoteChar_ = other->quoteChar_;
      nameValueSeparator_ = other->nameValueSeparator_;
      AddStrings(*other);
    } catch (...) {
      EndUpdate();
      throw;
    }
    EndUpdate();
    return;
  }
  TPersistent::Assign(source);
}

void TStrings::ReadData(TReader& reader) {
  reader.ReadListBegin();
  BeginUpdate();
  try {
    Clear();
    while (!reader.EndOfList()) Add(reader.ReadString());
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
  reader.ReadListEnd();
}

void TStrings::WriteData(TWriter& writer) {
  writer.WriteListBegin();
  for (int i = 0; i < Count(); ++i) writer.WriteString(Get(i));
  writer.WriteListEnd();
}

void TStrings::DefineProperties(TFiler& filer) {
  bool hasData;
  if (auto* ancestor = dynamic_cast<TStrings*>(filer.Ancestor())) {
    hasData = !Equals(*ancestor);
  } else {
    hasData = Count() > 0;
  }
  filer.DefineProperty(
      "Strings", [this](TReader& r) { ReadData(r); }, [this](TWriter& w) { WriteData(w); }, hasData);
}

void TStrings::LoadFromStream(TStream& stream) {
  const long long size = stream.Size() - stream.Position();
  std::string text(static_cast<size_t>(size > 0 ? size : 0), '\0');
  if (!text.empty()) stream.ReadBuffer(text.data(), static_cast<long long>(text.size()));
  SetText(text);
}

void TStrings::SaveToStream(TStream& stream) const {
  const std::string text = Text();
  if (!text.empty()) stream.WriteBuffer(text.data(), static_cast<long long>(text.size()));
}

void TStrings::LoadFromFile(const std::string& fileName) {
  TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(stream);
}

void TStrings::SaveToFile(const std::string& fileName) const {
  TFileStream stream(fileName, fmCreate);
  SaveToStream(stream);
}
