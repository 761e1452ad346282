// Selection and hover state of chart elements.
#include "chart/SeriesSelection.h"

#include "canvas/KelBrush.h"
#include "canvas/KelCanvas.h"
#include "canvas/KelCorners.h"
#include "canvas/KelFont.h"
#include "canvas/KelGradient.h"
#include "canvas/KelPen.h"
#include "canvas/KelShadow.h"
#include "chart/BackImage.h"
#include "chart/ChartSeries.h"
#include "chart/KelPanel.h"

const TClassInfo& TKelHover::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TKelHover> b("TKelHover", &TCustomTextShape::StaticClass());
    PublishTextShapeProperties(b);
    return b.Build();
  }();
  return info;
}

TKelHover::TKelHover(IShapePanel* panel) : TCustomTextShape(panel) {
  Font()->SetColor(clRed);
  Pen()->SetColor(TKelCanvas::ColorWithAlpha(clRed, 128));
  Pen()->SetDefaultWidth(3);
}

const TClassInfo& TKelSelected::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TKelSelected> b("TKelSelected", &TCustomTextShape::StaticClass());
    PublishTextShapeProperties(b);
    b.Property("Hover", &TKelSelected::Hover, nullptr);
    return b.Build();
  }();
  return info;
}

TKelSelected::TKelSelected(IShapePanel* panel, TPersistent* element)
    : TCustomTextShape(panel), element_(element), hover_(std::make_unique<TKelHover>(panel)) {
  SetVisibleDefault(false);
  Pen()->SetColor(clRed);
  Pen()->SetWidth(2);
}

TKelSelected::~TKelSelected() = default;

void TKelSelected::RepaintElement() {
  if (auto* chartElement = dynamic_cast<TCustomChartElement*>(element_))
    chartElement->RepaintOwner();
  else if (auto* shape = dynamic_cast<TKelCustomShape*>(element_))
    shape->Repaint();
  else if (auto* panel = dynamic_cast<TCustomKelPanel*>(element_))
    panel->Invalidate();
}

void TKelSelected::ChangeItemIndex(int value) {
  if (itemIndex_ == value) return;
  itemIndex_ = value;
  if (Visible()) RepaintElement();
}

void TKelSelected::ChangeHoverIndex(int value) {
  if (hoverIndex_ == value) return;
  hoverIndex_ = value;
  if (hover_->Visible()) RepaintElement();
}

void TKelSelected::Assign(TPersistent* source) {
  TCustomTextShape::Assign(source);
  if (auto* other = dynamic_cast<TKelSelected*>(source)) hover_->Assign(other->hover_.get());
}
