// The process-wide registries of the chart gallery: the series and function types a gallery
// offers (TKelSeriesTypes, one entry per registration) and the tool and animation type lists.
// Each list is created on first use (or by ChartTypesStartup) and freed by ChartTypesShutdown;
// the series-type list owns its entries. A duplicate registration with sub-index 0 is ignored.
#pragma once

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

class TClassInfo;

class TKelSeriesType {
 public:
  // Either class may be null (a function entry has no series class).
  const TClassInfo* SeriesClass = nullptr;
  const TClassInfo* FunctionClass = nullptr;
  std::string Description;
  std::string GalleryPage;
  int NumGallerySeries = 1;
  int SubIndex = 0;
};

class TKelSeriesTypes {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  TKelSeriesType* Items(int index) const { return items_[index].get(); }
  // Takes ownership.
  void Add(TKelSeriesType* type) { items_.emplace_back(type); }
  void Delete(int index) { items_.erase(items_.begin() + index); }
  // The first entry with these classes (either may be null), or null.
  TKelSeriesType* Find(const TClassInfo* seriesClass, const TClassInfo* functionClass) const;
  void Clear() { items_.clear(); }

 private:
  std::vector<std::unique_ptr<TKelSeriesType>> items_;
};

// Tool and animation classes (nothing in this system adds to them).
class TKelToolTypes {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  const TClassInfo* Items(int index) const { return items_[index]; }
  void Add(const TClassInfo* cls) { items_.push_back(cls); }
  void Clear() { items_.clear(); }

 private:
  std::vector<const TClassInfo*> items_;
};

// The lists, each created when missing.
TKelSeriesTypes& SeriesTypeList();
TKelToolTypes& ToolTypeList();
TKelToolTypes& AnimationTypeList();

// Registers the classes for layouts and, unless an entry with the same classes exists and
// subIndex is 0, appends a new type.
void RegisterGalleryType(const TClassInfo* seriesClass, const TClassInfo* functionClass,
                         const std::string& description, int subIndex, int numGallerySeries,
                         const std::string& galleryPage);
// RegisterGalleryType with no series class and sub-index 0.
void RegisterGalleryFunction(const TClassInfo* functionClass, const std::string& description,
                             const std::string& galleryPage, int numGallerySeries);
// Removes (and frees) every entry whose series class (isSeries) or function class is `cls`.
void RemoveGalleryTypes(bool isSeries, const TClassInfo* cls);
void RemoveGalleryFunctions(std::initializer_list<const TClassInfo*> classes);

// Unit start-up: seeds the random generator from the clock and creates the three lists;
// shut-down frees them (and the series-type entries).
void ChartTypesStartup();
void ChartTypesShutdown();
