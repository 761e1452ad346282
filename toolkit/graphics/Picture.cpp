// TPicture: ownership of the graphic, file formats by extension and layout storage.
#include "toolkit/graphics/Picture.h"

#include <vector>

#include "toolkit/classes/Filer.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Icon.h"
#include "toolkit/graphics/Metafile.h"
#include "toolkit/rtl/SysUtils.h"

namespace {

struct FileFormat {
  std::string extension;
  std::string description;
  const TClassInfo* graphicClass;
};

std::vector<FileFormat>& FileFormats() {
  static std::vector<FileFormat> formats;
  return formats;
}

std::string BareExtension(std::string_view extension) {
  if (!extension.empty() && extension.front() == '.') extension.remove_prefix(1);
  return LowerCase(extension);
}

}  // namespace

const TClassInfo& TPicture::StaticClass() {
  static const TClassInfo info = TClassBuilder<TPicture>("TPicture", &TPersistent::StaticClass()).Build();
  return info;
}

TPicture::~TPicture() { delete graphic_; }

void TPicture::RegisterFileFormat(std::string_view extension, std::string_view description,
                                  const TClassInfo& graphicClass) {
  const std::string ext = BareExtension(extension);
  for (FileFormat& f : FileFormats()) {
    if (f.extension == ext) {
      f.description = std::string(description);
      f.graphicClass = &graphicClass;
      return;
    }
  }
  FileFormats().push_back({ext, std::string(description), &graphicClass});
}

void TPicture::UnregisterGraphicClass(const TClassInfo& graphicClass) {
  auto& formats = FileFormats();
  std::erase_if(formats, [&](const FileFormat& f) { return f.graphicClass == &graphicClass; });
}

const TClassInfo* TPicture::GraphicClassOfExtension(std::string_view extension) {
  const std::string ext = BareExtension(extension);
  for (const FileFormat& f : FileFormats())
    if (f.extension == ext) return f.graphicClass;
  return nullptr;
}

void TPicture::Changed(TObject*) { OnChange(this); }

void TPicture::TakeGraphic(TGraphic* graphic) {
  TGraphic* old = graphic_;
  graphic_ = graphic;
  if (graphic_ != nullptr) graphic_->OnChange = TNotifyEvent(this, &TPicture::Changed);
  delete old;
  Changed(this);
}

void TPicture::SetGraphic(TGraphic* value) {
  if (value == graphic_) return;
  if (value == nullptr) {
    TakeGraphic(nullptr);
    return;
  }
  auto* copy = static_cast<TGraphic*>(value->ClassType().CreateInstance());
  try {
    copy->Assign(value);
  } catch (...) {
    delete copy;
    throw;
  }
  TakeGraphic(copy);
}

void TPicture::ForceType(const TClassInfo& cls) {
  if (graphic_ != nullptr && &graphic_->ClassType() == &cls) return;
  TakeGraphic(static_cast<TGraphic*>(cls.CreateInstance()));
}

TBitmap* TPicture::Bitmap() {
  if (dynamic_cast<TBitmap*>(graphic_) == nullptr) TakeGraphic(new TBitmap());
  return static_cast<TBitmap*>(graphic_);
}

void TPicture::SetBitmap(TBitmap* value) { SetGraphic(value); }

TIcon* TPicture::Icon() {
  if (dynamic_cast<TIcon*>(graphic_) == nullptr) TakeGraphic(new TIcon());
  return static_cast<TIcon*>(graphic_);
}

void TPicture::SetIcon(TIcon* value) { SetGraphic(value); }

TMetafile* TPicture::Metafile() {
  if (dynamic_cast<TMetafile*>(graphic_) == nullptr) TakeGraphic(new TMetafile());
  return static_cast<TMetafile*>(graphic_);
}

void TPicture::SetMetafile(TMetafile* value) { SetGraphic(value); }

int TPicture::Width() const { return graphic_ ? graphic_->Width() : 0; }
int TPicture::Height() const { return graphic_ ? graphic_->Height() : 0; }

void TPicture::Assign(TPersistent* source) {
  if (source == nullptr) {
    SetGraphic(nullptr);
  } else if (auto* picture = dynamic_cast<TPicture*>(source)) {
    SetGraphic(picture->graphic_);
  } else if (auto* graphic = dynamic_cast<TGraphic*>(source)) {
    SetGraphic(graphic);
  } else {
    TPersistent::Assign(source);
  }
}

void TPicture::AssignTo(TPersistent* dest) {
  if (auto* graphic = dynamic_cast<TGraphic*>(dest); graphic != nullptr && graphic_ != nullptr) {
    graphic->Assign(graphic_);
    return;
  }
  TPersistent::AssignTo(dest);
}

void TPicture::LoadFromFile(const std::string& fileName) {
  const std::string ext = ExtractFileExt(fileName);
  const TClassInfo* cls = GraphicClassOfExtension(ext);
  if (cls == nullptr) throw EInvalidGraphic(Format("Unknown picture file extension (%s)", {ext}));
  auto* graphic = static_cast<TGraphic*>(cls->CreateInstance());
  try {
    graphic->LoadFromFile(fileName);
  } catch (...) {
    delete graphic;
    throw;
  }
  TakeGraphic(graphic);
}

void TPicture::SaveToFile(const std::string& fileName) {
  if (graphic_ != nullptr) graphic_->SaveToFile(fileName);
}

void TPicture::DefineProperties(TFiler& filer) {
  filer.DefineBinaryProperty(
      "Data", [this](TStream& s) { ReadData(s); }, [this](TStream& s) { WriteData(s); },
      graphic_ != nullptr && !graphic_->Empty());
}

void TPicture::ReadData(TStream& stream) {
  const auto length = stream.ReadValue<unsigned char>();
  std::string className(length, '\0');
  stream.ReadBuffer(className.data(), length);
  const TClassInfo* cls = nullptr;
  if (className == "TBitmap") {
    cls = &TBitmap::StaticClass();
  } else if (className == "TIcon") {
    cls = &TIcon::StaticClass();
  } else if (className == "TMetafile") {
    cls = &TMetafile::StaticClass();
  } else {
    for (const FileFormat& f : FileFormats())
      if (f.graphicClass->Name() == className) cls = f.graphicClass;
  }
  if (cls == nullptr) throw EInvalidGraphic(Format("Unknown picture class %s", {className}));
  auto* graphic = static_cast<TGraphic*>(cls->CreateInstance());
  try {
    graphic->ReadData(stream);
  } catch (...) {
    delete graphic;
    throw;
  }
  TakeGraphic(graphic);
}

void TPicture::WriteData(TStream& stream) {
  const std::string& name = graphic_->ClassName();
  stream.WriteValue<unsigned char>(static_cast<unsigned char>(name.size()));
  stream.WriteBuffer(name.data(), static_cast<long long>(name.size()));
  graphic_->WriteData(stream);
}
