// Per-corner rounding of rectangles (TKelCorner, TKelCorners) and the corner path that outlines
// a rectangle with those corners on a canvas (BuildCornerPath).
#pragma once

#include "toolkit/classes/Events.h"
#include "toolkit/classes/Persistent.h"
#include "toolkit/graphics/Types.h"

class TEnumInfo;
class TKelCanvas;
class TKelBasePath;

enum TKelCornerStyle { cosRound, cosBevel, cosNone };
const TEnumInfo& EnumTypeInfo(TKelCornerStyle);

class TKelCorner : public TPersistent {
 public:
  explicit TKelCorner(TNotifyEvent onChange = nullptr) : onChange_(std::move(onChange)) {}
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  // Copies Style without notification.
  void Assign(TPersistent* source) override;

  TKelCornerStyle Style() const { return style_; }
  void SetStyle(TKelCornerStyle value);

 private:
  TNotifyEvent onChange_;
  TKelCornerStyle style_ = cosRound;
};

class TKelCorners : public TPersistent {
 public:
  explicit TKelCorners(TNotifyEvent onChange = nullptr);
  ~TKelCorners() override;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  void Assign(TPersistent* source) override;

  TKelCorner* LeftBottom() const { return leftBottom_; }
  TKelCorner* LeftTop() const { return leftTop_; }
  TKelCorner* RightBottom() const { return rightBottom_; }
  TKelCorner* RightTop() const { return rightTop_; }
  // Each copies the given corner's Style into ours.
  void SetLeftBottom(TKelCorner* value) { leftBottom_->Assign(value); }
  void SetLeftTop(TKelCorner* value) { leftTop_->Assign(value); }
  void SetRightBottom(TKelCorner* value) { rightBottom_->Assign(value); }
  void SetRightTop(TKelCorner* value) { rightTop_->Assign(value); }

 private:
  TKelCorner* leftBottom_;
  TKelCorner* leftTop_;
  TKelCorner* rightBottom_;
  TKelCorner* rightTop_;
};

// A new path of `canvas` outlining `rect` clockwise from the top-right corner with the corner
// styles of `corners`; corner sizes are made even and limited to the rectangle. The caller
// draws it (DrawPath) and frees it.
TKelBasePath* BuildCornerPath(const TKelCorners& corners, TKelCanvas& canvas, const TRect& rect,
                              int cornerWidth, int cornerHeight);
