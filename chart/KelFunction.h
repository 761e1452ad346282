// TKelFunction: the framework of a function that computes the points of its series (the parent
// series) from the points of that series' data sources: over a whole source, by periods of
// points or of X ranges, or across several sources by index or by X value. Every output point
// goes through the parent's AppendXY. The function lives inside its series: the series owns it
// (frees it) and a layout stores it as the series' child. Invariant: a function with a parent
// series is that series' Function(), and the series is told of the function's destruction.
#pragma once

#include <string>
#include <vector>

#include "toolkit/classes/Component.h"

class ISeriesOwner;
class TChartSeries;
class TChartValueList;

enum TFunctionPeriodStyle { psNumPoints, psRange };
enum TFunctionPeriodAlign { paFirst, paCenter, paLast };
const TEnumInfo& EnumTypeInfo(TFunctionPeriodStyle);
const TEnumInfo& EnumTypeInfo(TFunctionPeriodAlign);

class TKelFunction : public TComponent {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  explicit TKelFunction(TComponent* owner);
  // The parent series forgets the function.
  ~TKelFunction() override;

  // ---- Computation (the parent's CopyAllFrom calls AddPoints) ------------------------------
  // Computes the value of source points first..last and adds it at `position`.
  virtual void EmitPeriodPoint(TChartSeries* source, int first, int last, double position);
  // Puts one collected value into the collection.
  virtual void StoreResult(std::vector<double>& values, int index, double value);
  // The function's result for the collected values (0 here: a concrete function computes it).
  virtual double EmptyResult(const std::vector<double>& values);
  // One value over the whole source list L: one point at L's middle with the parent's centre
  // flag, else two points at L's minimum and maximum.
  virtual void ComputeWhole(TChartSeries* source, TChartValueList* list);
  // One output point per period of the list (see the .cpp for the walk).
  virtual void ComputeByPeriod(TChartSeries* source, TChartValueList* list);
  // ComputeByPeriod when the period is not 0, else ComputeWhole.
  virtual void ComputeInto(TChartSeries* source, TChartValueList* list);
  virtual std::string EditorClassName() const { return "TKelFunctionEditor"; }
  // Gallery set-up: the chart's last series takes the function and, with two or more series,
  // the series before it as its data source.
  virtual void ConfigureSample(ISeriesOwner* chart);
  // Values of ValueListOf(source) at first..last (-1, -1: every point); null points are left
  // out unless IncludeNulls. The result of EmptyResult.
  virtual double ComputeRange(TChartSeries* source, int first, int last);
  // The value at `index` of every source that has a point there.
  virtual double ComputeAcross(const std::vector<TChartSeries*>& sources, int index);
  // The value of every source whose X list holds exactly x.
  virtual double ComputeAcrossAt(const std::vector<TChartSeries*>& sources, double x);
  // Fills the parent from `source` (or, with several data sources on the parent, from all).
  virtual void AddPoints(TChartSeries* source);
  // The parent series was cleared (nothing here).
  virtual void ParentCleared() {}

  // ---- Parent series ---------------------------------------------------------------------
  TChartSeries* ParentSeries() const { return parent_; }
  // Moves the function to `series` (the old parent forgets it) through its SetFunction.
  void AttachTo(TChartSeries* series);
  // Called by the series only: it takes or drops the function.
  void SetParentSeries(TChartSeries* series) { parent_ = series; }
  // The parent reloads from its source.
  void Recalculate();
  // The list a source's values are read from: the parent's mandatory list may name one of the
  // source's lists (ValueSource); otherwise the source's mandatory list.
  TChartValueList* ValueListOf(TChartSeries* source) const;
  // The parent's AppendXY: X = position, Y = value for a Y-mandatory orientation, else swapped.
  void AddOutputPoint(bool yMandatory, double value, double position);

  // ---- Published -------------------------------------------------------------------------
  bool CalcByValue() const { return calcByValue_; }
  void SetCalcByValue(bool value);
  bool IncludeNulls() const { return includeNulls_; }
  void SetIncludeNulls(bool value);
  double Period() const { return period_; }
  // ChartException "Function Period should be >= 0" below 0.
  void SetPeriod(double value);
  TFunctionPeriodStyle PeriodStyle() const { return periodStyle_; }
  void SetPeriodStyle(TFunctionPeriodStyle value);
  TFunctionPeriodAlign PeriodAlign() const { return periodAlign_; }
  void SetPeriodAlign(TFunctionPeriodAlign value);
  // Copies CalcByValue, IncludeNulls, Period, PeriodStyle and PeriodAlign.
  void Assign(TPersistent* source) override;

  // A layout stores the function inside its series and attaches it again when read.
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* parent) override;
  // Joins the series being read before reading its own properties.
  void ReadState(TReader& reader) override;

 protected:
  // The number of source points one psNumPoints period takes: the period rounded (halves to
  // even), at least 1 and at most `count`.
  int PointsPerPeriod(int count) const;

  double period_ = 0;

 private:
  void AddByIndex(const std::vector<TChartSeries*>& sources, TChartSeries* first);
  void AddByValue(const std::vector<TChartSeries*>& sources);
  // Collects the values ComputeAcross(At) picks: one candidate per source.
  double Collect(const std::vector<TChartSeries*>& sources, const std::vector<int>& indexes);

  bool calcByValue_ = false;
  bool includeNulls_ = true;
  TFunctionPeriodStyle periodStyle_ = psNumPoints;
  TFunctionPeriodAlign periodAlign_ = paCenter;
  TChartSeries* parent_ = nullptr;
};
