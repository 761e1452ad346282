// The detail series of a master series (TSeriesDetail) with the summary that reduces a detail
// series' values to one number, and the component a stored point picture travels in
// (TKelPictureComponent). The detail list owns its series and frees them with itself; it is
// indexed like the master's points (an entry may be empty), and every series in it knows the
// master as its master series while it is listed.
#pragma once

#include <memory>
#include <vector>

#include "chart/SeriesLists.h"
#include "toolkit/classes/Component.h"

class TChartSeries;
class TChartValueList;
class TKelPicture;

enum TDetailSummary { dsSum, dsCount, dsAverage, dsLowest, dsHighest };

class TSeriesDetail : public TCustomSeriesList {
 public:
  explicit TSeriesDetail(TChartSeries* master);
  ~TSeriesDetail();
  TSeriesDetail(const TSeriesDetail&) = delete;
  TSeriesDetail& operator=(const TSeriesDetail&) = delete;

  TChartSeries* Master() const { return master_; }
  int Count() const { return static_cast<int>(size()); }
  // Null beyond the end or for an empty entry.
  TChartSeries* At(int index) const;
  // Takes ownership; Insert grows the list with empty entries up to the index.
  void Add(TChartSeries* series);
  void Insert(int index, TChartSeries* series);
  // Frees up to n series from the index on and removes their entries.
  void Delete(int index, int n = 1);
  void Clear();
  // The list owns its series: an entry leaves only by Delete, Clear or Release.
  void Remove(const TChartSeries* series) = delete;
  // A listed series is going away by itself: its entry stays, empty, so the entries keep
  // their points.
  void Release(TChartSeries* series);

  // 0 for an empty list; otherwise the sum, count, average, lowest or highest of the values.
  double Summary(const TChartValueList& values) const;
  TDetailSummary SummaryKind = dsSum;

 private:
  TChartSeries* master_;
};

// A component with one published Picture, owning it.
class TKelPictureComponent : public TComponent {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  explicit TKelPictureComponent(TComponent* owner);
  // Around a given picture, which the component then owns.
  TKelPictureComponent(TComponent* owner, TKelPicture* picture);
  ~TKelPictureComponent() override;
  TKelPicture* Picture() const { return picture_; }
  void SetPicture(TKelPicture* value);
  // Hands the picture over (the component then holds a new empty one).
  TKelPicture* TakePicture();

 private:
  TKelPicture* picture_;
};

// Registers and unregisters the stream classes of the series marks and stored pictures.
void SeriesMarksStartup();
void SeriesMarksShutdown();
