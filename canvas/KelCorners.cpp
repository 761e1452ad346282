// Corner settings and the corner path (see KelCorners.h).
#include "canvas/KelCorners.h"

#include <algorithm>
#include <cstdlib>

#include "canvas/KelCanvas.h"
#include "canvas/KelPath.h"
#include "toolkit/classes/TypInfo.h"

const TEnumInfo& EnumTypeInfo(TKelCornerStyle) {
  static const TEnumInfo info("TKelCornerStyle", {"cosRound", "cosBevel", "cosNone"});
  return info;
}

const TClassInfo& TKelCorner::StaticClass() {
  static const TClassInfo info = TClassBuilder<TKelCorner>("TKelCorner", &TPersistent::StaticClass())
                                     .Property("Style", &TKelCorner::Style, &TKelCorner::SetStyle)
                                     .Default(cosRound)
                                     .Build();
  return info;
}

void TKelCorner::Assign(TPersistent* source) {
  if (auto* c = dynamic_cast<TKelCorner*>(source)) {
    style_ = c->style_;
    return;
  }
  TPersistent::Assign(source);
}

void TKelCorner::SetStyle(TKelCornerStyle value) {
  if (value == style_) return;
  style_ = value;
  onChange_(this);
}

TKelCorners::TKelCorners(TNotifyEvent onChange)
    : leftBottom_(new TKelCorner(onChange)),
      leftTop_(new TKelCorner(onChange)),
      rightBottom_(new TKelCorner(onChange)),
      rightTop_(new TKelCorner(onChange)) {}

TKelCorners::~TKelCorners() {
  delete leftBottom_;
  delete leftTop_;
  delete rightBottom_;
  delete rightTop_;
}

const TClassInfo& TKelCorners::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TKelCorners>("TKelCorners", &TPersistent::StaticClass())
          .Property("LeftBottom", &TKelCorners::LeftBottom, &TKelCorners::SetLeftBottom)
          .Property("LeftTop", &TKelCorners::LeftTop, &TKelCorners::SetLeftTop)
          .Property("RightBottom", &TKelCorners::RightBottom, &TKelCorners::SetRightBottom)
          .Property("RightTop", &TKelCorners::RightTop, &TKelCorners::SetRightTop)
          .Build();
  return info;
}

void TKelCorners::Assign(TPersistent* source) {
  if (auto* c = dynamic_cast<TKelCorners*>(source)) {
    leftBottom_->Assign(c->leftBottom_);
    leftTop_->Assign(c->leftTop_);
    rightBottom_->Assign(c->rightBottom_);
    rightTop_->Assign(c->rightTop_);
    return;
  }
  TPersistent::Assign(source);
}

TKelBasePath* BuildCornerPath(const TKelCorners& corners, TKelCanvas& canvas, const TRect& rect,
                              int cornerWidth, int cornerHeight) {
  const int L = rect.Left, T = rect.Top, R = rect.Right, B = rect.Bottom;
  const int c = std::min(std::max(2 * (cornerWidth / 2), 1), std::abs(R - L));
  const int d = std::min(std::max(2 * (cornerHeight / 2), 1), std::abs(B - T));
  const int o = c / 2;
  const int m = d / 2;
  const float cw = static_cast<float>(c), ch = static_cast<float>(d);
  const TKelCornerStyle rt = corners.RightTop()->Style();
  const TKelCornerStyle rb = corners.RightBottom()->Style();
  const TKelCornerStyle lb = corners.LeftBottom()->Style();
  const TKelCornerStyle lt = corners.LeftTop()->Style();
  TKelBasePath* path = canvas.NewEmptyPath();
  // The outline is one figure: where a corner would start another figure after the first, the
  // outline runs on to that point instead, so mixed corner styles still fill as one shape.
  bool started = false;
  auto start = [&](int x, int y) {
    if (started) {
      path->AddLineTo(static_cast<float>(x), static_cast<float>(y));
    } else {
      path->StartFigureAt(static_cast<float>(x), static_cast<float>(y));
    }
    started = true;
  };
  auto line = [&](int x, int y) {
    path->AddLineTo(static_cast<float>(x), static_cast<float>(y));
    started = true;
  };
  auto arc = [&](int x, int y, float startAngle) {
    path->AddArc(static_cast<float>(x), static_cast<float>(y), cw, ch, startAngle, 90);
    started = true;
  };
  // Right-top.
  if (rt == cosBevel) {
    start(R - o, T);
    line(R, T + m);
  } else if (rt == cosNone) {
    start(R, T);
  } else {
    if (lt == cosNone) {
      start(L, T);
      line(R - c, T);
    }
    arc(R - c, T, 270);
  }
  // Right-bottom.
  if (rb != cosRound) {
    if (rt == cosRound) start(R, T + d);
    if (rb == cosBevel) {
      line(R, B - m);
      line(R - o, B);
    } else {
      line(R, B);
    }
  } else {
    if (rt != cosRound) line(R, B - d);
    arc(R - c, B - d, 0);
  }
  // Left-bottom.
  if (lb != cosRound) {
    if (rb == cosRound) start(R - c, B);
    if (lb == cosBevel) {
      line(L + o, B);
      line(L, B - m);
    } else {
      line(L, B);
    }
  } else {
    if (rb != cosRound) line(L + c, B);
    arc(L, B - d, 90);
  }
  // Left-top.
  if (lt != cosRound) {
    if (lb == cosRound) start(L, B - d);
    if (lt == cosBevel) {
      line(L, T + m);
      line(L + o, T);
    } else if (rt != cosRound) {
      line(L, T);
    }
  } else {
    if (lb != cosRound) line(L, T + d);
    arc(L, T, 180);
  }
  path->CloseFigure();
  return path;
}
