// The gallery's type registries.
#include "chart/SeriesTypes.h"

#include "chart/ColorPalettes.h"

#include <cstdlib>
#include <ctime>

#include "canvas/KelCanvasModule.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/TypInfo.h"

namespace {

std::unique_ptr<TKelSeriesTypes> seriesTypes;
std::unique_ptr<TKelToolTypes> toolTypes;
std::unique_ptr<TKelToolTypes> animationTypes;

}  // namespace

TKelSeriesType* TKelSeriesTypes::Find(const TClassInfo* seriesClass, const TClassInfo* functionClass) const {
  for (const auto& item : items_)
    if (item->SeriesClass == seriesClass && item->FunctionClass == functionClass) return item.get();
  return nullptr;
}

TKelSeriesTypes& SeriesTypeList() {
  if (!seriesTypes) seriesTypes = std::make_unique<TKelSeriesTypes>();
  return *seriesTypes;
}

TKelToolTypes& ToolTypeList() {
  if (!toolTypes) toolTypes = std::make_unique<TKelToolTypes>();
  return *toolTypes;
}

TKelToolTypes& AnimationTypeList() {
  if (!animationTypes) animationTypes = std::make_unique<TKelToolTypes>();
  return *animationTypes;
}

void RegisterGalleryType(const TClassInfo* seriesClass, const TClassInfo* functionClass,
                         const std::string& description, int subIndex, int numGallerySeries,
                         const std::string& galleryPage) {
  ActivateControlClassGroup();
  if (seriesClass) RegisterClass(*seriesClass);
  if (functionClass) RegisterClass(*functionClass);
  TKelSeriesTypes& list = SeriesTypeList();
  if (subIndex == 0 && list.Find(seriesClass, functionClass)) return;
  auto* type = new TKelSeriesType;
  type->SeriesClass = seriesClass;
  type->FunctionClass = functionClass;
  type->Description = description;
  type->GalleryPage = galleryPage;
  type->NumGallerySeries = numGallerySeries;
  type->SubIndex = subIndex;
  list.Add(type);
}

void RegisterGalleryFunction(const TClassInfo* functionClass, const std::string& description,
                             const std::string& galleryPage, int numGallerySeries) {
  RegisterGalleryType(nullptr, functionClass, description, 0, numGallerySeries, galleryPage);
}

void RemoveGalleryTypes(bool isSeries, const TClassInfo* cls) {
  if (!cls) return;
  TKelSeriesTypes& list = SeriesTypeList();
  for (int i = list.Count() - 1; i >= 0; --i) {
    const TKelSeriesType* type = list.Items(i);
    if ((isSeries ? type->SeriesClass : type->FunctionClass) == cls) list.Delete(i);
  }
}

void RemoveGalleryFunctions(std::initializer_list<const TClassInfo*> classes) {
  for (const TClassInfo* cls : classes) RemoveGalleryTypes(false, cls);
}

void ChartTypesStartup() {
  std::srand(static_cast<unsigned>(std::time(nullptr)));
  SeriesTypeList();
  ToolTypeList();
  AnimationTypeList();
}

void ChartTypesShutdown() {
  ColorPalettesShutdown();
  seriesTypes.reset();
  toolTypes.reset();
  animationTypes.reset();
}
