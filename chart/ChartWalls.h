// The walls of the chart's box (back, left, bottom, right) and the chart's titles (title,
// subtitle, foot, subfoot). Walls are shapes with a thickness, a start and end position in
// percent and an automatic hiding flag, optionally see-through (Transparency) or filled with a
// picture; titles are text shapes of one or more lines that stand above (title) or below (foot)
// the chart rectangle and take their room from it.
#pragma once

#include <memory>

#include "chart/KelShapes.h"

class TCustomChart;
class TGraphic;
class TKelBlend;
class TKelGradient;

class TCustomChartWall : public TKelCustomShape {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  TCustomChartWall(TCustomChart* chart, TColor color);
  void Assign(TPersistent* source) override;

  TCustomChart* Chart() const { return chart_; }
  bool AutoHide() const { return autoHide_; }
  void SetAutoHide(bool value);
  bool Dark3D() const { return dark3D_; }
  void SetDark3D(bool value);
  int EndPosition() const { return endPosition_; }
  void SetEndPosition(int value);
  int Size() const { return size_; }
  void SetSize(int value);
  int StartPosition() const { return startPosition_; }
  void SetStartPosition(int value);
  TColor DefaultColor() const { return defaultColor_; }
  // Dark sides for the canvas's boxes: not with a clear brush, a bitmap brush or Dark3D off.
  bool UsesDarkSides() const;

 private:
  void Changed();
  TCustomChart* chart_;
  bool autoHide_ = false;
  bool dark3D_ = true;
  int endPosition_ = 100;
  int size_ = 0;
  int startPosition_ = 0;
  TColor defaultColor_;
};

class TChartWall : public TCustomChartWall {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  using TCustomChartWall::TCustomChartWall;
  // View3DWalls, Visible and not AutoHide.
  bool IsDrawable() const;
  // Top and bottom of the wall from the chart rectangle and the start and end positions.
  void VerticalExtent(int& top, int& bottom) const;
  // A see-through wall (not Transparent, Transparency above 0) opens a transparency group over
  // the bounds of its projected corners (an empty rectangle on an alpha canvas); null otherwise.
  // FinishTransparency closes it (nothing for null).
  TKelBlend* StartTransparency(const TPointArray& projectedCorners);
  void FinishTransparency(TKelBlend* blend);
  // The wall's picture fill, when it holds a graphic (null otherwise).
  TGraphic* PictureGraphic();
};

class TChartBackWall : public TChartWall {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  explicit TChartBackWall(TCustomChart* chart);

 protected:
  void InitEmboss(TKelEmboss& emboss) override;
};
class TChartLeftWall : public TChartWall {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  explicit TChartLeftWall(TCustomChart* chart) : TChartWall(chart, static_cast<TColor>(0x80FFFF)) {}
};
class TChartBottomWall : public TChartWall {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  explicit TChartBottomWall(TCustomChart* chart) : TChartWall(chart, clWhite) {}
};
class TChartRightWall : public TChartWall {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  explicit TChartRightWall(TCustomChart* chart);
};

class TChartWalls {
 public:
  explicit TChartWalls(TCustomChart* chart);
  ~TChartWalls();
  TChartBackWall* Back() const { return back_.get(); }
  TChartBottomWall* Bottom() const { return bottom_.get(); }
  TChartLeftWall* Left() const { return left_.get(); }
  // Created on first use, invisible.
  TChartRightWall* Right();
  bool HasRight() const { return right_ != nullptr; }
  void Assign(const TChartWalls& other);

 private:
  TCustomChart* chart_;
  std::unique_ptr<TChartBackWall> back_;
  std::unique_ptr<TChartBottomWall> bottom_;
  std::unique_ptr<TChartLeftWall> left_;
  std::unique_ptr<TChartRightWall> right_;
};

// A title of one or more lines (its Lines list and its Text kept in step).
class TChartTitle : public TStringsShape {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  explicit TChartTitle(TCustomChart* chart);
  void Assign(TPersistent* source) override;

  bool AdjustFrame() const { return adjustFrame_; }
  void SetAdjustFrame(bool value);
  int VertMargin() const { return vertMargin_; }
  void SetVertMargin(int value);
  bool OnTop() const { return onTop_; }
  // Visible and at least one line of text.
  bool HasText() const;
  // Places the title at the chart's top (a foot at its bottom), draws it and, unless custom
  // positioned, takes its room from the chart rectangle.
  void DrawTitle();
  // Visible and the point inside the bounds.
  bool ClickedAt(int x, int y) const { return Visible() && Clicked(TPoint{x, y}); }

 protected:
  TCustomChart* chart_;
  bool onTop_ = true;

 private:
  bool adjustFrame_ = true;
  int vertMargin_ = 5;
};

class TChartFootTitle : public TChartTitle {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  explicit TChartFootTitle(TCustomChart* chart);
};
