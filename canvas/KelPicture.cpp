// TKelPicture (see KelPicture.h).
#include "canvas/KelPicture.h"

#include "canvas/KelCanvasModule.h"
#include "canvas/KelFilter.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/Filer.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Graphic.h"
#include "toolkit/graphics/Icon.h"
#include "toolkit/rtl/SysUtils.h"

const TClassInfo& TKelPicture::StaticClass() {
  static const TClassInfo info = TClassBuilder<TKelPicture>("TKelPicture", &TPicture::StaticClass()).Build();
  return info;
}

TKelPicture::~TKelPicture() {
  delete filters_;
  delete filtered_;
}

bool TKelPicture::HasGraphic() const { return Graphic() != nullptr && !Graphic()->Empty(); }

TFilterItems* TKelPicture::Filters() {
  if (filters_ == nullptr) filters_ = new TFilterItems(this);
  return filters_;
}

void TKelPicture::SetFilters(TFilterItems* value) {
  if (value == filters_) return;
  if (value == nullptr) {
    delete filters_;
    filters_ = nullptr;
    return;
  }
  Filters()->Assign(value);
}

bool TKelPicture::HasFilters() const { return filters_ != nullptr && filters_->Count() > 0; }

void TKelPicture::Assign(TPersistent* source) {
  if (auto* other = dynamic_cast<TKelPicture*>(source)) SetFilters(other->filters_);
  TPicture::Assign(source);
}

TGraphic* TKelPicture::FilteredGraphic() const {
  TGraphic* graphic = Graphic();
  if (!HasFilters() || graphic == nullptr) return graphic;
  if (filtered_ == nullptr) filtered_ = new TBitmap();
  if (auto* icon = dynamic_cast<TIcon*>(graphic)) {
    filtered_->SetSize(0, 0);
    filtered_->SetPixelFormat(pf24bit);
    filtered_->SetSize(icon->Width(), icon->Height());
    if (!filtered_->Empty()) {
      DrawIconEx(filtered_->Canvas()->Handle(), 0, 0, icon->Handle(), icon->Width(), icon->Height(), 0, nullptr,
                 DI_NORMAL);
    }
  } else {
    filtered_->Assign(graphic);
  }
  filters_->ApplyAll(*filtered_);
  return filtered_;
}

void TKelPicture::DefineProperties(TFiler& filer) {
  TPicture::DefineProperties(filer);
  filer.DefineProperty(
      "FilterItems", [this](TReader& r) { ReadFilterItems(r); }, [this](TWriter& w) { WriteFilterItems(w); },
      HasFilters());
}

void TKelPicture::WriteFilterItems(TWriter& writer) {
  writer.WriteValue(vaCollection);
  for (int i = 0; i < filters_->Count(); ++i) {
    TKelFilter* filter = filters_->FilterAt(i);
    writer.WriteListBegin();
    writer.WriteStr("ItemClass");
    writer.WriteString(filter->ClassName());
    writer.WriteProperties(filter);
    writer.WriteListEnd();
  }
  writer.WriteListEnd();
}

void TKelPicture::ReadFilterItems(TReader& reader) {
  TFilterItems* list = Filters();
  list->BeginUpdate();
  try {
    reader.CheckValue(vaCollection);
    if (!reader.EndOfList()) list->Clear();
    while (!reader.EndOfList()) {
      const TValueType next = reader.NextValue();
      if (next == vaInt8 || next == vaInt16 || next == vaInt32) reader.ReadInteger();
      reader.ReadListBegin();
      const std::string propName = reader.ReadStr();
      if (!SameText(propName, "ItemClass")) throw EReadError("Invalid property value");
      const std::string className = reader.ReadString();
      // Only filter classes: any other registered class is not found here.
      ActivateControlClassGroup();
      const TClassInfo* cls = GetClass(className);
      if (cls == nullptr || !cls->InheritsFrom(TKelFilter::StaticClass()) || cls->IsAbstract()) {
        throw EClassNotFound(Format("Class %s not found", {className}));
      }
      TKelFilter* filter = list->Add(*cls);
      while (!reader.EndOfList()) reader.ReadProperty(filter);
      reader.ReadListEnd();
    }
    reader.ReadListEnd();
  } catch (...) {
    list->EndUpdate();
    throw;
  }
  list->EndUpdate();
}
