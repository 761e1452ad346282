// The chart's published properties in window layouts: each table row sets one property away
// from its default; the layout written then names it, reads back into a fresh chart that writes
// the same text, and Assign carries it over. A property at its default is not written. Pixel
// checks show that values read back take effect (a grid colour, a title at its own place).
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "ChartControlTestSupport.h"
#include "ChartWindowTestSupport.h"
#include "LayoutTextSupport.h"
#include "canvas/KelBrush.h"
#include "canvas/KelCanvas3D.h"
#include "canvas/KelCanvasModule.h"
#include "canvas/KelCorners.h"
#include "canvas/KelFont.h"
#include "canvas/KelGradient.h"
#include "canvas/KelPen.h"
#include "canvas/KelShadow.h"
#include "canvas/View3DOptions.h"
#include "chart/AxisItems.h"
#include "chart/BackImage.h"
#include "chart/Chart.h"
#include "chart/ChartLegend.h"
#include "chart/DBChart.h"
#include "chart/FastLineSeries.h"
#include "chart/SeriesMarks.h"
#include "chart/SeriesSelection.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/ObjectText.h"
#include "toolkit/classes/StringList.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/classes/TypInfo.h"

namespace {

std::string LayoutOf(TComponent& component) {
  TMemoryStream stream;
  stream.WriteComponent(&component);
  std::string binary(static_cast<size_t>(stream.Size()), '\0');
  stream.SetPosition(0);
  stream.ReadBuffer(binary.data(), stream.Size());
  return ObjectBinaryToText(binary);
}

// Reads a layout into `into` (a fresh TChart when null) and answers the chart.
TChart* ReadInto(const std::string& text, TChart* into) {
  RegisterClass(TChart::StaticClass());
  TMemoryStream stream;
  const std::string binary = ObjectTextToBinary(text);
  stream.WriteBuffer(binary.data(), static_cast<long long>(binary.size()));
  stream.SetPosition(0);
  return static_cast<TChart*>(stream.ReadComponent(into));
}

std::unique_ptr<TChart> NamedChart() {
  auto chart = std::make_unique<TChart>(nullptr);
  chart->SetName("Chart");
  return chart;
}

struct Row {
  const char* path;  // how the property is named in the layout
  std::function<void(TChart&)> set;
  bool copied = true;  // Assign carries it over
};

// One row per published property of the chart's classes (panel, background and zoom, axis
// panel and axes, chart, walls, titles, legend, shapes).
std::vector<Row> ChartRows() {
  const TColor odd = static_cast<TColor>(0x12AB34);
  return {
      // Panel.
      {"Color ", [](TChart& c) { c.SetColor(clNone); }},
      {"Border.Visible", [](TChart& c) { c.Border()->SetVisible(true); }},
      {"Emboss.Color", [=](TChart& c) { c.Emboss()->SetColor(odd); }},
      {"Monochrome", [](TChart& c) { c.SetMonochrome(true); }},
      {"Panning.InsideBounds", [](TChart& c) { c.Panning()->SetInsideBounds(true); }},
      {"PrintProportional", [](TChart& c) { c.SetPrintProportional(false); }},
      {"Shadow.Color", [=](TChart& c) { c.Shadow()->SetColor(odd); }},
      {"View3DOptions.Elevation", [](TChart& c) { c.View3DOptions()->SetElevation(300); }},
      // Background, back image and zoom.
      {"Gradient.Visible", [](TChart& c) { c.Gradient()->SetVisible(true); }},
      {"ScrollMouseButton", [](TChart& c) { c.SetScrollMouseButton(mbMiddle); }},
      {"BackImageMode", [](TChart& c) { c.SetBackImageMode(pbmTile); }},
      {"BackImage.DrawQuality", [](TChart& c) { c.BackImage()->SetDrawQuality(sqLow); }},
      {"BackImage.Left", [](TChart& c) { c.BackImage()->SetLeft(7); }},
      {"Zoom.Allow", [](TChart& c) { c.Zoom()->Allow = false; }},
      {"Zoom.Animated", [](TChart& c) { c.Zoom()->Animated = true; }},
      {"Zoom.AnimatedSteps", [](TChart& c) { c.Zoom()->AnimatedSteps = 5; }},
      {"Zoom.Brush.Color", [=](TChart& c) { c.Zoom()->Brush()->SetColor(odd); }},
      {"Zoom.Direction", [](TChart& c) { c.Zoom()->Direction = tzdVertical; }},
      {"Zoom.FullRepaint", [](TChart& c) { c.Zoom()->FullRepaint = true; }},
      {"Zoom.History", [](TChart& c) { c.Zoom()->SetHistory(true); }},
      {"Zoom.KeepAspectRatio", [](TChart& c) { c.Zoom()->KeepAspectRatio = true; }},
      {"Zoom.KeyShift", [](TChart& c) { c.Zoom()->KeyShift = TShiftState{ssShift, ssCtrl}; }},
      {"Zoom.MinimumPixels", [](TChart& c) { c.Zoom()->MinimumPixels = 10; }},
      {"Zoom.MouseButton", [](TChart& c) { c.Zoom()->MouseButton = mbMiddle; }},
      {"Zoom.MouseWheel", [](TChart& c) { c.Zoom()->MouseWheel = pmwInverted; }},
      {"Zoom.Pen.Width", [](TChart& c) { c.Zoom()->Pen()->SetWidth(1); }},
      {"Zoom.UpLeftZooms", [](TChart& c) { c.Zoom()->UpLeftZooms = true; }},
      {"ZoomWheel", [](TChart& c) { c.SetZoomWheel(pmwInverted); }},
      {"AllowPanning", [](TChart& c) { c.SetAllowPanning(pmVertical); }},
      {"Panning.MouseWheel", [](TChart& c) { c.Panning()->SetMouseWheel(pmwNone); }},
      // Axes.
      {"DepthAxis.Visible", [](TChart& c) { c.DepthAxis()->SetVisible(true); }},
      {"DepthTopAxis.Inverted", [](TChart& c) { c.DepthTopAxis()->SetInverted(true); }},
      {"TopAxis.Grid.ZZero", [](TChart& c) { c.TopAxis()->Grid()->SetZPosition(0); }},
      {"BottomAxis.Grid.Color", [=](TChart& c) { c.BottomAxis()->Grid()->SetColor(odd); }},
      {"BottomAxis.Grid.DrawEvery", [](TChart& c) { c.BottomAxis()->Grid()->SetDrawEvery(2); }},
      {"BottomAxis.Grid.DrawAlways", [](TChart& c) { c.BottomAxis()->Grid()->SetDrawAlways(true); }},
      {"LeftAxis.MinorGrid.Visible", [](TChart& c) { c.LeftAxis()->MinorGrid()->SetVisible(true); }},
      {"LeftAxis.Ticks.Color", [=](TChart& c) { c.LeftAxis()->Ticks()->SetColor(odd); }},
      {"LeftAxis.TicksInner.Color", [=](TChart& c) { c.LeftAxis()->TicksInner()->SetColor(odd); }},
      {"LeftAxis.MinorTicks.Color", [=](TChart& c) { c.LeftAxis()->MinorTicks()->SetColor(odd); }},
      {"LeftAxis.TickLength", [](TChart& c) { c.LeftAxis()->SetTickLength(7); }},
      {"LeftAxis.TickInnerLength", [](TChart& c) { c.LeftAxis()->SetTickInnerLength(3); }},
      {"LeftAxis.MinorTickLength", [](TChart& c) { c.LeftAxis()->SetMinorTickLength(5); }},
      {"LeftAxis.MinorTickCount", [](TChart& c) { c.LeftAxis()->SetMinorTickCount(4); }},
      {"LeftAxis.TickOnLabelsOnly", [](TChart& c) { c.LeftAxis()->SetTickOnLabelsOnly(false); }},
      {"LeftAxis.TitleSize", [](TChart& c) { c.LeftAxis()->SetTitleSize(12); }},
      {"LeftAxis.Labels ", [](TChart& c) { c.LeftAxis()->SetLabels(false); }},
      {"LeftAxis.LabelsAlign", [](TChart& c) { c.LeftAxis()->SetLabelsAlign(alOpposite); }},
      {"LeftAxis.LabelsBehind", [](TChart& c) { c.LeftAxis()->SetLabelsBehind(true); }},
      {"LeftAxis.LabelsExponent", [](TChart& c) { c.LeftAxis()->SetLabelsExponent(true); }},
      {"LeftAxis.LabelsFont.Color", [=](TChart& c) { c.LeftAxis()->LabelsFont()->SetColor(odd); }},
      {"LeftAxis.LabelsFormat.Color", [=](TChart& c) { c.LeftAxis()->LabelsFormat()->SetColor(odd); }},
      {"LeftAxis.LabelsOnAxis", [](TChart& c) { c.LeftAxis()->SetLabelsOnAxis(false); }},
      {"LeftAxis.LabelsSize", [](TChart& c) { c.LeftAxis()->SetLabelsSize(20); }},
      {"LeftAxis.LabelStyle", [](TChart& c) { c.LeftAxis()->SetLabelStyle(talValue); }},
      {"LeftAxis.GridCentered", [](TChart& c) { c.LeftAxis()->SetGridCentered(true); }},
      {"LeftAxis.Shape.Visible", [](TChart& c) { c.LeftAxis()->Shape()->SetVisible(true); }},
      {"LeftAxis.UsePartnerAxis", [](TChart& c) { c.LeftAxis()->SetUsePartnerAxis(true); }},
      // References to other axes of the same chart, both ways round.
      {"LeftAxis.PartnerAxis", [](TChart& c) { c.LeftAxis()->SetPartnerAxis(c.RightAxis()); }},
      {"RightAxis.PartnerAxis", [](TChart& c) { c.RightAxis()->SetPartnerAxis(c.LeftAxis()); }},
      {"RightAxis.Title.Text", [](TChart& c) { c.RightAxis()->Title()->SetText("Temp"); }},
      {"DepthAxis.LabelsAsSeriesTitles", [](TChart& c) { c.DepthAxis()->SetLabelsAsSeriesTitles(false); }},
      // Axis titles, label boxes and back shapes.
      {"LeftAxis.Title.Angle", [](TChart& c) { c.LeftAxis()->Title()->SetAngle(0); }},
      {"LeftAxis.Title.Position", [](TChart& c) { c.LeftAxis()->Title()->SetPosition(tpEnd); }},
      {"LeftAxis.Title.Brush.Style", [](TChart& c) { c.LeftAxis()->Title()->Brush()->SetStyle(bsCross); }},
      {"LeftAxis.Title.Frame.Color", [=](TChart& c) { c.LeftAxis()->Title()->Pen()->SetColor(odd); }},
      {"LeftAxis.Title.Transparent", [](TChart& c) { c.LeftAxis()->Title()->SetTransparent(false); }},
      {"LeftAxis.Title.TextAlignment", [](TChart& c) { c.LeftAxis()->Title()->SetTextAlignment(taLeftJustify); }},
      {"LeftAxis.Title.Margins.Left", [](TChart& c) { c.LeftAxis()->Title()->Margins()->SetLeft(4); }},
      {"BottomAxis.LabelsFormat.Brush.Color", [=](TChart& c) { c.BottomAxis()->LabelsFormat()->Brush()->SetColor(odd); }},
      {"BottomAxis.LabelsFormat.Frame.Width", [](TChart& c) { c.BottomAxis()->LabelsFormat()->Pen()->SetWidth(3); }},
      {"BottomAxis.LabelsFormat.Transparent", [](TChart& c) { c.BottomAxis()->LabelsFormat()->SetTransparent(false); }},
      {"BottomAxis.LabelsFormat.Bevel", [](TChart& c) { c.BottomAxis()->LabelsFormat()->SetBevel(bvRaised); }},
      {"BottomAxis.LabelsFormat.TextFormat", [](TChart& c) { c.BottomAxis()->LabelsFormat()->SetTextFormat(ttfHtml); }},
      {"BottomAxis.Shape.Color", [](TChart& c) { c.BottomAxis()->Shape()->SetColor(clYellow); }},
      {"BottomAxis.Shape.Corners.LeftTop.Style", [](TChart& c) { c.BottomAxis()->Shape()->Corners()->LeftTop()->SetStyle(cosBevel); }},
      {"BottomAxis.Shape.RoundSize", [](TChart& c) { c.BottomAxis()->Shape()->SetRoundSize(5); }},
      {"BottomAxis.Shape.Shadow.Visible", [](TChart& c) { c.BottomAxis()->Shape()->Shadow()->SetVisible(true); }},
      // The chart's hover look and the legend's selection.
      {"Hover.Frame.Width", [](TChart& c) { c.Hover()->Pen()->SetWidth(5); }},
      {"Hover.Brush.Color", [=](TChart& c) { c.Hover()->Brush()->SetColor(odd); }},
      {"Hover.Visible", [](TChart& c) { c.Hover()->SetVisible(false); }},
      {"Legend.Selected.Frame.Color", [=](TChart& c) { c.Legend()->Selected()->Pen()->SetColor(odd); }},
      {"Legend.Selected.Hover.Frame.Width", [](TChart& c) { c.Legend()->Selected()->Hover()->Pen()->SetWidth(1); }},
      {"Legend.Selected.Hover.Font.Color", [](TChart& c) { c.Legend()->Selected()->Hover()->Font()->SetColor(clBlue); }},
      // Legend.
      {"Legend.Brush.Gradient.Visible", [](TChart& c) { c.Legend()->Brush()->Gradient()->SetVisible(true); }},
      {"Legend.CustomPosition", [](TChart& c) { c.Legend()->SetCustomPosition(true); }},
      {"Legend.Left", [](TChart& c) { c.Legend()->SetLeft(33); }},
      {"Legend.Top", [](TChart& c) { c.Legend()->SetTop(44); }},
      {"Legend.Font.Color", [=](TChart& c) { c.Legend()->Font()->SetColor(odd); }},
      {"Legend.Frame.Color", [=](TChart& c) { c.Legend()->Pen()->SetColor(odd); }},
      {"Legend.Shadow.Color", [=](TChart& c) { c.Legend()->Shadow()->SetColor(odd); }},
      {"Legend.Picture.Mode", [](TChart& c) { c.Legend()->Picture()->SetMode(pbmCenter); }},
      {"Legend.Selected.Visible", [](TChart& c) { c.Legend()->Selected()->SetVisible(true); }},
      {"Legend.Symbol.Pen.Color", [=](TChart& c) { c.Legend()->Symbol()->Pen()->SetColor(odd); }},
      {"Legend.Title.Text.Strings", [](TChart& c) { c.Legend()->Title()->Lines()->Add("Channels"); }},
      {"Legend.TextSymbolGap", [](TChart& c) { c.Legend()->SetTextSymbolGap(7); }},
      {"Legend.ColorWidth", [](TChart& c) { c.Legend()->SetColorWidth(33); }},
      {"Legend.Bevel ", [](TChart& c) { c.Legend()->SetBevel(bvRaised); }},
      {"Legend.BevelWidth", [](TChart& c) { c.Legend()->SetBevelWidth(4); }},
      {"Legend.ClipText", [](TChart& c) { c.Legend()->SetClipText(false); }},
      {"Legend.Color ", [](TChart& c) { c.Legend()->SetColor(clYellow); }},
      {"Legend.Cursor", [](TChart& c) { c.Legend()->SetCursor(crHandPoint); }},
      {"Legend.Margins.Left", [](TChart& c) { c.Legend()->Margins()->SetLeft(3); }},
      {"Legend.RoundSize", [](TChart& c) { c.Legend()->SetRoundSize(5); }},
      {"Legend.ShapeStyle", [](TChart& c) { c.Legend()->SetShapeStyle(fosEllipse); }},
      {"Legend.TextFormat", [](TChart& c) { c.Legend()->SetTextFormat(ttfHtml); }},
      {"Legend.Transparency", [](TChart& c) { c.Legend()->SetTransparency(40); }},
      {"Legend.Transparent", [](TChart& c) { c.Legend()->SetTransparent(true); }},
      {"Legend.Alignment", [](TChart& c) { c.Legend()->SetAlignment(laBottom); }},
      // Titles.
      {"Title.Text.Strings", [](TChart& c) { c.Title()->Lines()->Add("Temp"); }},
      {"Title.Font.Color", [](TChart& c) { c.Title()->Font()->SetColor(clGreen); }},
      {"Title.Alignment", [](TChart& c) { c.Title()->SetAlignment(taLeftJustify); }},
      {"Title.AutoSize", [](TChart& c) { c.Title()->SetAutoSize(false); }},
      {"Title.ChildLayout", [](TChart& c) { c.Title()->SetChildLayout(slLeftRight); }},
      {"Title.Children", [](TChart& c) { c.Title()->Children()->AddShape(); }},
      {"Title.Emboss.Color", [=](TChart& c) { c.Title()->Emboss()->SetColor(odd); }},
      {"Title.ShapeCallout.Side", [](TChart& c) { c.Title()->ShapeCallout()->SetSide(csTop); }},
      {"SubTitle.Transparent", [](TChart& c) { c.SubTitle()->SetTransparent(false); }},
      {"Foot.Font.Style", [](TChart& c) { c.Foot()->Font()->SetStyle(TFontStyles{fsBold}); }},
      {"SubFoot.Visible", [](TChart& c) { c.SubFoot()->SetVisible(false); }},
      {"Title.AdjustFrame", [](TChart& c) { c.Title()->SetAdjustFrame(false); }},
      {"Title.VertMargin", [](TChart& c) { c.Title()->SetVertMargin(9); }},
      {"Title.Angle", [](TChart& c) { c.Title()->SetAngle(90); }},
      {"Title.TextAlignment", [](TChart& c) { c.Title()->SetTextAlignment(taRightJustify); }},
      {"Title.TextFormat", [](TChart& c) { c.Title()->SetTextFormat(ttfHtml); }},
      {"Title.VertTextAlign", [](TChart& c) { c.Title()->SetVertTextAlign(vtaTop); }},
      {"Title.Margins.Top", [](TChart& c) { c.Title()->Margins()->SetTop(8); }},
      {"Title.Transparency", [](TChart& c) { c.Title()->SetTransparency(20); }},
      {"Title.Frame.Color", [](TChart& c) { c.Title()->Pen()->SetColor(clRed); }},
      {"Title.Brush.Style", [](TChart& c) { c.Title()->Brush()->SetStyle(bsCross); }},
      // Walls.
      {"BackWall.Pen.Color", [=](TChart& c) { c.BackWall()->Pen()->SetColor(odd); }},
      {"BackWall.Brush.Style", [](TChart& c) { c.BackWall()->Brush()->SetStyle(bsCross); }},
      {"BackWall.Color", [](TChart& c) { c.BackWall()->SetColor(clYellow); }},
      {"LeftWall.Color", [](TChart& c) { c.LeftWall()->SetColor(static_cast<TColor>(14745599)); }},
      {"RightWall.Visible", [](TChart& c) { c.RightWall()->SetVisible(true); }},
      {"BottomWall.Size", [](TChart& c) { c.BottomWall()->SetSize(3); }},
      {"BottomWall.AutoHide", [](TChart& c) { c.BottomWall()->SetAutoHide(true); }},
      {"LeftWall.Dark3D", [](TChart& c) { c.LeftWall()->SetDark3D(false); }},
      {"LeftWall.EndPosition", [](TChart& c) { c.LeftWall()->SetEndPosition(80); }},
      {"LeftWall.StartPosition", [](TChart& c) { c.LeftWall()->SetStartPosition(10); }},
      {"LeftWall.RoundSize", [](TChart& c) { c.LeftWall()->SetRoundSize(4); }},
      {"LeftWall.Transparency", [](TChart& c) { c.LeftWall()->SetTransparency(30); }},
      {"BackWall.Transparent", [](TChart& c) { c.BackWall()->SetTransparent(false); }},
  };
}

// A canvas class of its own, so that a layout naming it makes the panel change its canvas.
class TOtherTestCanvas : public TKelCanvas3D {
 public:
  static const TClassInfo& StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TOtherTestCanvas>("TOtherTestCanvas", &TKelCanvas3D::StaticClass()).Build();
    return info;
  }
  const TClassInfo& ClassType() const override { return StaticClass(); }
};

// A chart whose handler methods layouts can name.
class THandlerChart : public TChart {
 public:
  static const TClassInfo& StaticClass() {
    static const TClassInfo info = TClassBuilder<THandlerChart>("THandlerChart", &TChart::StaticClass())
                                       .Method("RefuseAll", &THandlerChart::RefuseAll)
                                       .Method("Clicked", &THandlerChart::Clicked)
                                       .Method("RefuseSource", &THandlerChart::RefuseSource)
                                       .Build();
    return info;
  }
  const TClassInfo& ClassType() const override { return StaticClass(); }
  explicit THandlerChart(TComponent* owner) : TChart(owner) {}
  void RefuseAll(TChartSeries*, bool& accept) { accept = false; }
  void Clicked(TChartSeries*, int, TMouseButton, TShiftState, int, int) { ++clicks; }
  void RefuseSource(TCustomAxisPanel*, TChartSeries*, TComponent*, bool& valid) { valid = false; }
  int clicks = 0;
};

// A database chart whose record handler layouts can name.
class THandlerDBChart : public TDBChart {
 public:
  static const TClassInfo& StaticClass() {
    static const TClassInfo info = TClassBuilder<THandlerDBChart>("THandlerDBChart", &TDBChart::StaticClass())
                                       .Method("CountRecord", &THandlerDBChart::CountRecord)
                                       .Build();
    return info;
  }
  const TClassInfo& ClassType() const override { return StaticClass(); }
  explicit THandlerDBChart(TComponent* owner) : TDBChart(owner) {}
  void CountRecord(TCustomDBChart*, TDataSet*) { ++records; }
  int records = 0;
};

// Reads a layout whose root is of any registered class.
std::unique_ptr<TComponent> ReadLayout(const std::string& text) {
  TMemoryStream stream;
  const std::string binary = ObjectTextToBinary(text);
  stream.WriteBuffer(binary.data(), static_cast<long long>(binary.size()));
  stream.SetPosition(0);
  return std::unique_ptr<TComponent>(stream.ReadComponent(nullptr));
}

}  // namespace

TEST(PublishedProperties, ChartRoundTripTable) {
  const std::vector<Row> rows = ChartRows();
  auto fresh = NamedChart();
  const std::string defaults = LayoutOf(*fresh);

  auto source = NamedChart();
  for (const Row& row : rows) row.set(*source);
  const std::string text = LayoutOf(*source);

  for (const Row& row : rows) {
    SCOPED_TRACE(row.path);
    EXPECT_NE(LinesStartingWith(text, row.path), "") << text;
    EXPECT_EQ(LinesStartingWith(defaults, row.path), "") << defaults;
  }

  // Read into a fresh chart, write again: the same text.
  std::unique_ptr<TChart> copy(ReadInto(text, nullptr));
  EXPECT_EQ(LayoutOf(*copy), text);
  EXPECT_TRUE(copy->Monochrome());
  EXPECT_EQ(copy->Zoom()->KeyShift, (TShiftState{ssShift, ssCtrl}));
  EXPECT_EQ(copy->Legend()->Left(), 33);
  EXPECT_EQ(copy->Legend()->Top(), 44);
  EXPECT_EQ(copy->Title()->Text(), "Temp");

  // Assign into a fresh chart carries every copied property over.
  auto assigned = NamedChart();
  assigned->Assign(source.get());
  const std::string assignedText = LayoutOf(*assigned);
  for (const Row& row : rows) {
    if (!row.copied) continue;
    SCOPED_TRACE(row.path);
    EXPECT_EQ(LinesStartingWith(assignedText, row.path), LinesStartingWith(text, row.path));
  }
}

// Each kind of shape publishes exactly its own settings: no more (a name it does not publish is
// refused as not existing) and no fewer.
TEST(PublishedProperties, EachShapeKindPublishesExactlyItsOwnSettings) {
  const std::vector<std::string> textShape = {
      "Alignment", "Angle",        "AutoSize",     "Bevel",      "BevelWidth",    "Brush",         "ChildLayout",
      "Children",  "ClipText",     "Color",        "Cursor",     "CustomPosition", "Emboss",       "Font",
      "Frame",     "Gradient",     "Left",         "Margins",    "Picture",       "Shadow",        "ShapeCallout",
      "ShapeStyle", "Text",        "TextAlignment", "TextFormat", "Top",          "Transparency",  "Transparent",
      "VertTextAlign", "Visible"};
  std::vector<std::string> title = textShape;
  title.insert(title.end(), {"AdjustFrame", "VertMargin"});
  const std::vector<std::string> wall = {"AutoHide", "Dark3D",       "EndPosition", "Size",        "StartPosition",
                                         "Pen",      "Brush",        "Color",       "Gradient",    "RoundSize",
                                         "Transparency", "Transparent", "Visible"};
  const std::vector<std::string> legend = {
      "Alignment",  "CheckBoxes",   "CheckBoxesStyle", "CurrentPage", "DividingLines", "DrawBehind",   "FirstValue",
      "FontSeriesColor", "GlobalTransparency", "HorizJustify", "HorizMargin", "Inverted", "LeftPercent",
      "LegendStyle", "MaxNumRows",  "PositionUnits",  "ResizeChart", "Selected",      "Symbol",       "TextStyle",
      "TextSymbolGap", "Title",     "TopPos",          "TopPercent",  "VertMargin",    "VertSpacing",  "Bevel",
      "BevelWidth", "Brush",        "Children",        "ClipText",    "Color",         "Cursor",       "CustomPosition",
      "Emboss",     "Font",         "Frame",           "Gradient",    "Left",          "Margins",      "Picture",
      "RoundSize",  "Shadow",       "ShapeCallout",    "ShapeStyle",  "TextFormat",    "Top",          "Transparency",
      "Transparent", "Visible",     "ColorWidth"};
  const std::vector<std::string> shape = {"Angle",   "Bevel",   "BevelWidth", "ChildLayout", "Children", "Color",
                                          "Corners", "Emboss",  "Font",       "Gradient",    "Picture",  "RoundSize",
                                          "Shadow",  "ShapeCallout", "ShapeStyle", "Transparent", "Visible"};
  // A text shape without a place of its own: the positioned list less the place.
  std::vector<std::string> placeless;
  for (const std::string& name : textShape)
    if (name != "CustomPosition" && name != "Left" && name != "Top") placeless.push_back(name);
  std::vector<std::string> axisTitle = placeless;
  axisTitle.insert(axisTitle.end(), {"Caption", "Position"});
  std::vector<std::string> selected = placeless;
  selected.push_back("Hover");
  TChart chart(nullptr);
  TKelShape plainShape(nullptr);
  TTextShape textShapeObject(nullptr);
  TStringsShape stringsShape(nullptr);
  TLegendTitle legendTitle(nullptr);
  const struct {
    const char* what;
    TPersistent* object;
    const std::vector<std::string>& names;
  } cases[] = {
      {"shape", &plainShape, shape},
      {"text shape", &textShapeObject, textShape},
      {"strings shape", &stringsShape, textShape},
      {"legend title", &legendTitle, textShape},
      {"title", chart.Title(), title},
      {"foot", chart.Foot(), title},
      {"back wall", chart.BackWall(), wall},
      {"left wall", chart.LeftWall(), wall},
      {"bottom wall", chart.BottomWall(), wall},
      {"right wall", chart.RightWall(), wall},
      {"legend", chart.Legend(), legend},
      {"axis title", chart.LeftAxis()->Title(), axisTitle},
      {"axis label box", chart.LeftAxis()->LabelsFormat(), placeless},
      {"custom label box", chart.LeftAxis()->Items()->Add(5).Format(), placeless},
      {"axis back shape", chart.LeftAxis()->Shape(), shape},
      {"chart hover", chart.Hover(), placeless},
      {"legend selection", chart.Legend()->Selected(), selected},
      {"legend hover", chart.Legend()->Selected()->Hover(), placeless},
      {"axis label selection", chart.LeftAxis()->Items()->Selected(), selected},
  };
  const std::vector<std::string> everyName = {"Alignment", "Angle", "AutoSize", "Corners", "Font", "Frame", "Pen",
                                              "Brush", "Text", "TextAlignment", "VertTextAlign", "Margins",
                                              "Shadow", "CustomPosition", "Left", "Top", "ChildLayout", "Cursor",
                                              "Size", "Dark3D", "TextSymbolGap", "ColorWidth", "AdjustFrame",
                                              "Caption", "Position", "Hover", "RoundSize", "Brush"};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<std::string> published;
    for (const TPropInfo* p : c.object->ClassType().Properties()) published.push_back(p->name);
    std::vector<std::string> expected = c.names;
    std::sort(published.begin(), published.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(published, expected);
    for (const std::string& name : everyName) {
      const bool listed = std::find(expected.begin(), expected.end(), name) != expected.end();
      if (listed) continue;
      SCOPED_TRACE(name);
      try {
        GetOrdProp(*c.object, name);
        ADD_FAILURE() << "read a property not published";
      } catch (const Exception& e) {
        EXPECT_EQ(std::string(e.Message()), "Property " + name + " does not exist");
      }
    }
  }
}

// A layout naming a setting the shape does not publish is refused as not existing.
TEST(PublishedProperties, LayoutWithASettingTheShapeDoesNotPublishIsRefused) {
  const struct {
    const char* line;
    const char* message;
  } cases[] = {
      {"Legend.Angle = 10", "Property Angle does not exist"},
      {"Legend.AutoSize = False", "Property AutoSize does not exist"},
      {"Legend.TextAlignment = taCenter", "Property TextAlignment does not exist"},
      {"Legend.Text = 'x'", "Property Text does not exist"},
      {"Legend.VertTextAlign = vtaTop", "Property VertTextAlign does not exist"},
      {"BackWall.Angle = 5", "Property Angle does not exist"},
      {"BackWall.ClipText = False", "Property ClipText does not exist"},
      {"BackWall.Alignment = taCenter", "Property Alignment does not exist"},
      {"BackWall.Bevel = bvRaised", "Property Bevel does not exist"},
      {"Title.RoundSize = 3", "Property RoundSize does not exist"},
      {"Title.Size = 3", "Property Size does not exist"},
      // A setting below one that is not published: the path itself is refused.
      {"BackWall.Font.Color = clRed", "Invalid property path"},
      {"Title.Pen.Color = clRed", "Invalid property path"},
      {"Title.Corners.Round = 3", "Invalid property path"},
      {"BackWall.Picture.Mode = pbmTile", "Invalid property path"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    auto chart = NamedChart();
    try {
      ReadInto(std::string("object Chart: TChart\n  ") + c.line + "\nend\n", chart.get());
      ADD_FAILURE() << "read";
    } catch (const Exception& e) {
      EXPECT_NE(std::string(e.Message()).find(c.message), std::string::npos) << e.Message();
    }
  }
}

TEST(PublishedProperties, DefaultsOfWallsTitlesAndLegendAreNotWritten) {
  auto chart = NamedChart();
  // Reading every title and wall creates them with their own defaults.
  chart->Title();
  chart->Foot();
  chart->RightWall();
  chart->Legend()->Title();
  const std::string text = LayoutOf(*chart);
  for (const char* path : {"Title.Font", "Title.Alignment", "Title.Transparent", "Foot.Font", "RightWall.Visible",
                           "RightWall.Color", "BackWall.Transparent", "BackWall.Shadow", "Legend.Title.Font",
                           "Legend.Title.Transparent", "Legend.Brush", "DepthAxis.Visible", "TopAxis.Grid"}) {
    SCOPED_TRACE(path);
    EXPECT_EQ(LinesStartingWith(text, path), "") << text;
  }
}

TEST(PublishedProperties, EventsArePublishedByName) {
  const struct {
    const TClassInfo& cls;
    std::vector<const char*> names;
  } cases[] = {
      {TChart::StaticClass(),
       {"OnAllowScroll", "OnClickAxis", "OnClickBackground", "OnClickLegend", "OnClickSeries", "OnClickTitle",
        "OnGetLegendPos", "OnGetLegendRect", "OnGetLegendText", "OnScroll", "OnUndoZoom", "OnZoom", "OnAddSeries",
        "OnAfterDraw", "OnBeforeDrawAxes", "OnBeforeDrawChart", "OnBeforeDrawSeries", "OnGetAxisLabel",
        "OnGetNextAxisLabel", "OnPageChange", "OnRemoveSeries", "OnValidDataSource"}},
      {TFastLineSeries::StaticClass(),
       {"OnBeforeAdd", "OnAfterAdd", "OnClearValues", "OnClick", "OnDblClick", "OnGetMarkText", "OnMouseEnter", "OnMouseLeave",
        "BeforeDrawValues", "AfterDrawValues"}},
      {TChartAxis::StaticClass(), {"OnDrawLabel"}},
      {TDBChart::StaticClass(), {"OnProcessRecord", "OnValidDataSource", "OnClickSeries", "OnAddSeries"}},
      {TLegendSymbol::StaticClass(), {"OnDraw"}},
  };
  for (const auto& c : cases) {
    for (const char* name : c.names) {
      SCOPED_TRACE(std::string(c.cls.Name()) + "." + name);
      const TPropInfo* prop = c.cls.FindProperty(name);
      ASSERT_NE(prop, nullptr);
      EXPECT_EQ(prop->kind, TTypeKind::tkMethod);
      EXPECT_TRUE(prop->IsWritable());
    }
  }
}

TEST(PublishedProperties, SeriesSelectionIsStoredAndCopied) {
  TFastLineSeries source(nullptr), fresh(nullptr), copy(nullptr);
  source.SetName("S");
  fresh.SetName("S");
  const std::string defaults = LayoutOf(fresh);
  EXPECT_EQ(LinesStartingWith(defaults, "Selected"), "");
  source.Selected()->SetVisible(true);
  source.Selected()->Hover()->Font()->SetColor(clGreen);
  const std::string text = LayoutOf(source);
  EXPECT_NE(LinesStartingWith(text, "Selected.Visible"), "") << text;
  EXPECT_NE(LinesStartingWith(text, "Selected.Hover.Font.Color"), "") << text;

  TMemoryStream stream;
  const std::string binary = ObjectTextToBinary(text);
  stream.WriteBuffer(binary.data(), static_cast<long long>(binary.size()));
  stream.SetPosition(0);
  RegisterClass(TFastLineSeries::StaticClass());
  std::unique_ptr<TComponent> read(stream.ReadComponent(nullptr));
  EXPECT_EQ(LayoutOf(*read), text);

  copy.SetSelected(source.Selected());
  EXPECT_TRUE(copy.Selected()->Visible());
  copy.SetSelected(nullptr);
  EXPECT_FALSE(copy.HasSelected());
}

TEST(PublishedProperties, SettersCopyObjectsInAndNullFrees) {
  TChart source(nullptr), target(nullptr);
  source.Title()->SetText("Temp");
  source.Gradient()->SetVisible(true);
  source.Zoom()->Pen()->SetColor(clRed);

  target.SetTitle(source.Title());
  EXPECT_EQ(target.Title()->Text(), "Temp");
  EXPECT_NE(target.Title(), source.Title());
  target.SetTitle(nullptr);
  EXPECT_EQ(target.Title()->Text(), "");  // a fresh one

  target.SetGradient(source.Gradient());
  EXPECT_TRUE(target.Gradient()->Visible());
  target.SetGradient(nullptr);
  EXPECT_FALSE(target.HasGradient());

  target.SetZoom(source.Zoom());
  EXPECT_EQ(target.Zoom()->Pen()->Color(), clRed);
  target.Zoom()->SetPen(nullptr);
  EXPECT_FALSE(target.Zoom()->HasPen());
  EXPECT_EQ(target.Zoom()->Pen()->Color(), static_cast<TColor>(0xC0C0C0));
  EXPECT_EQ(target.Zoom()->Pen()->Width(), 3);

  target.SetBackWall(source.BackWall());
  source.Frame()->SetColor(clBlue);
  target.SetFrame(source.Frame());
  EXPECT_EQ(target.BackWall()->Pen()->Color(), clBlue);
}

TEST(PublishedProperties, TextShapeKeepsItsCustomPosition) {
  TChart chart(nullptr);
  TKelCustomShapePosition& source = *chart.Legend();
  source.Bounds = TRect(0, 0, 50, 20);
  source.SetLeft(120);
  source.SetTop(30);
  EXPECT_TRUE(source.CustomPosition());
  EXPECT_EQ(source.Bounds, TRect(120, 30, 170, 50));  // the size is kept

  TChart other(nullptr);
  other.Legend()->Assign(&source);
  EXPECT_TRUE(other.Legend()->CustomPosition());
  EXPECT_EQ(other.Legend()->Left(), 120);
  EXPECT_EQ(other.Legend()->Top(), 30);

  // Without a custom position, Left and Top are neither written nor copied.
  TChart plain(nullptr);
  plain.SetName("Chart");
  plain.Legend()->Bounds = TRect(7, 8, 9, 10);
  EXPECT_EQ(LinesStartingWith(LayoutOf(plain), "Legend.Left"), "");
  other.Legend()->Assign(plain.Legend());
  EXPECT_FALSE(other.Legend()->CustomPosition());
}

TEST(PublishedProperties, TitleReadBackDrawsAtItsCustomPosition) {
  ChartFixture f;
  ReadInto(
      "object Chart: TChart\n"
      "  Title.Text.Strings = (\n"
      "    'Temp')\n"
      "  Title.Transparent = False\n"
      "  Title.Color = clRed\n"
      "  Title.CustomPosition = True\n"
      "  Title.Left = 250\n"
      "  Title.Top = 150\n"
      "end\n",
      &f.chart);
  f.Paint();
  EXPECT_EQ(f.chart.Title()->Left(), 250);
  EXPECT_GT(f.Count(clRed, 250, 150, 270, 160), 100);
  // Nothing red where a title without its own place would stand (the top centre).
  EXPECT_EQ(f.Count(clRed, 150, 10, 250, 20), 0);
}

// The frame of an axis title box is kept in layouts and drawn as read back.
TEST(PublishedProperties, AxisTitleFrameReadBackIsDrawn) {
  const std::string box =
      "object Chart: TChart\n"
      "  LeftAxis.Title.Caption = 'Temp'\n"
      "  LeftAxis.Title.Transparent = False\n";
  ChartFixture plain, read;
  plain.AddCurves(1);
  read.AddCurves(1);
  ReadInto(box + "end\n", &plain.chart);
  ReadInto(box + "  LeftAxis.Title.Frame.Color = clLime\n  LeftAxis.Title.Frame.Width = 3\nend\n", &read.chart);
  EXPECT_EQ(read.chart.LeftAxis()->Title()->Pen()->Color(), clLime);
  plain.Paint();
  read.Paint();
  const int left = read.chart.ChartBounds().Left;
  EXPECT_EQ(plain.Count(clLime, 0, 0, left, read.height), 0);
  EXPECT_GT(read.Count(clLime, 0, 0, left, read.height), 20);
}

TEST(PublishedProperties, HoverLookKeepsItsDefaultWidthOutOfLayouts) {
  auto chart = NamedChart();
  EXPECT_EQ(chart->Hover()->Pen()->Width(), 3);
  EXPECT_EQ(LinesStartingWith(LayoutOf(*chart), "Hover.Frame.Width"), "");
  chart->Hover()->Pen()->SetWidth(1);
  const std::string text = LayoutOf(*chart);
  EXPECT_NE(LinesStartingWith(text, "Hover.Frame.Width = 1"), "") << text;
  std::unique_ptr<TChart> copy(ReadInto(text, nullptr));
  EXPECT_EQ(copy->Hover()->Pen()->Width(), 1);
}

TEST(PublishedProperties, GridColourReadBackIsDrawn) {
  const TColor grid = static_cast<TColor>(0x12AB34);
  const std::string layout =
      "object Chart: TChart\n"
      "  LeftAxis.Grid.Color = 1223476\n"
      "end\n";
  ChartFixture plain, read;
  plain.AddCurves(1);
  read.AddCurves(1);
  ReadInto(layout, &read.chart);
  EXPECT_EQ(read.chart.LeftAxis()->Grid()->Color(), grid);
  plain.Paint();
  read.Paint();
  const TRect r = read.chart.ChartBounds();
  EXPECT_EQ(plain.Count(grid, r.Left, r.Top, r.Right, r.Bottom), 0);
  EXPECT_GT(read.Count(grid, r.Left, r.Top, r.Right, r.Bottom), r.Width());
}

TEST(PublishedProperties, ZoomDragNeedsTheKeysOfKeyShift) {
  struct Case {
    const char* name;
    WPARAM keys;
    bool zooms;
  } cases[] = {{"without shift", 0, false}, {"with shift", MK_SHIFT, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MouseChart m;
    m.chart->Zoom()->KeyShift = TShiftState{ssShift};
    const int x = m.X0(), y = m.Y0();
    m.Send(WM_LBUTTONDOWN, MK_LBUTTON | c.keys, At(x, y));
    m.Send(WM_MOUSEMOVE, MK_LBUTTON | c.keys, At(x + 40, y + 40));
    m.Send(WM_MOUSEMOVE, MK_LBUTTON | c.keys, At(x + 80, y + 80));
    m.Send(WM_LBUTTONUP, c.keys, At(x + 80, y + 80));
    EXPECT_EQ(m.chart->Zoomed(), c.zooms);
  }
}

TEST(PublishedProperties, MarksRoundTripTable) {
  const TColor odd = static_cast<TColor>(0x12AB34);
  const struct {
    const char* path;
    std::function<void(TSeriesMarks&)> set;
  } rows[] = {
      {"Marks.Symbol.Bevel", [](TSeriesMarks& m) { m.Symbol()->SetBevel(bvRaised); }},
      {"Marks.Symbol.BevelWidth", [](TSeriesMarks& m) { m.Symbol()->SetBevelWidth(4); }},
      {"Marks.Symbol.Brush.Gradient.Visible", [](TSeriesMarks& m) { m.Symbol()->Brush()->Gradient()->SetVisible(true); }},
      {"Marks.Symbol.Children", [](TSeriesMarks& m) { m.Symbol()->Children()->AddShape(); }},
      {"Marks.Symbol.ChildLayout", [](TSeriesMarks& m) { m.Symbol()->SetChildLayout(slLeftRight); }},
      {"Marks.Symbol.Picture.Mode", [](TSeriesMarks& m) { m.Symbol()->TKelCustomShape::Picture()->SetMode(pbmTile); }},
      {"Marks.Symbol.ShapeCallout.Side", [](TSeriesMarks& m) { m.Symbol()->ShapeCallout()->SetSide(csLeft); }},
      {"Marks.Symbol.Transparency", [](TSeriesMarks& m) { m.Symbol()->SetTransparency(20); }},
      {"Marks.Bevel", [](TSeriesMarks& m) { m.SetBevel(bvLowered); }},
      {"Marks.Brush.Color", [=](TSeriesMarks& m) { m.Brush()->SetColor(odd); }},
      {"Marks.Children", [](TSeriesMarks& m) { m.Children()->AddShape(); }},
      {"Marks.Frame.Color", [=](TSeriesMarks& m) { m.Pen()->SetColor(odd); }},
      {"Marks.Callout.Distance", [](TSeriesMarks& m) { m.Callout()->SetDistance(3); }},
      {"Marks.Visible", [](TSeriesMarks& m) { m.SetVisible(true); }},
  };
  TFastLineSeries fresh(nullptr), source(nullptr), copy(nullptr);
  fresh.SetName("S");
  source.SetName("S");
  copy.SetName("S");
  const std::string defaults = LayoutOf(fresh);
  for (const auto& row : rows) row.set(*source.Marks());
  const std::string text = LayoutOf(source);
  for (const auto& row : rows) {
    SCOPED_TRACE(row.path);
    EXPECT_NE(LinesStartingWith(text, row.path), "") << text;
    EXPECT_EQ(LinesStartingWith(defaults, row.path), "") << defaults;
  }

  TMemoryStream stream;
  const std::string binary = ObjectTextToBinary(text);
  stream.WriteBuffer(binary.data(), static_cast<long long>(binary.size()));
  stream.SetPosition(0);
  RegisterClass(TFastLineSeries::StaticClass());
  std::unique_ptr<TComponent> read(stream.ReadComponent(nullptr));
  EXPECT_EQ(LayoutOf(*read), text);

  copy.Marks()->Assign(source.Marks());
  const std::string copied = LayoutOf(copy);
  for (const auto& row : rows) {
    SCOPED_TRACE(row.path);
    EXPECT_EQ(LinesStartingWith(copied, row.path), LinesStartingWith(text, row.path));
  }
}

TEST(PublishedProperties, MonochromeSurvivesTheCanvasNamedInTheLayout) {
  std::vector<const TClassInfo*>& classes = CanvasClassList();
  classes.push_back(&TOtherTestCanvas::StaticClass());
  struct Unregister {
    ~Unregister() { RemoveCanvasClass(TOtherTestCanvas::StaticClass()); }
  } unregister;
  // Monochrome is read before the canvas class the layout names replaces the first canvas.
  std::unique_ptr<TChart> chart(ReadInto(
      "object Chart: TChart\n"
      "  Monochrome = True\n"
      "  DefaultCanvas = 'TOtherTestCanvas'\n"
      "end\n",
      nullptr));
  ASSERT_NE(dynamic_cast<TOtherTestCanvas*>(chart->Canvas3D()), nullptr);
  EXPECT_TRUE(chart->Monochrome());
  EXPECT_NE(LinesStartingWith(LayoutOf(*chart), "Monochrome = True"), "");
}

TEST(PublishedProperties, SeriesHandlersNamedInALayoutAreBoundAndWrittenBack) {
  RegisterClasses({&THandlerChart::StaticClass(), &TFastLineSeries::StaticClass()});
  const std::string text =
      "object Chart: THandlerChart\n"
      "  object S: TFastLineSeries\n"
      "    OnBeforeAdd = RefuseAll\n"
      "    OnClick = Clicked\n"
      "  end\n"
      "end\n";
  TMemoryStream stream;
  const std::string binary = ObjectTextToBinary(text);
  stream.WriteBuffer(binary.data(), static_cast<long long>(binary.size()));
  stream.SetPosition(0);
  std::unique_ptr<THandlerChart> chart(static_cast<THandlerChart*>(stream.ReadComponent(nullptr)));
  ASSERT_EQ(chart->SeriesCount(), 1);
  TChartSeries* series = chart->SeriesAt(0);
  EXPECT_EQ(series->AppendXY(1, 2), -1);  // the named handler refuses every point
  EXPECT_EQ(series->PointCount(), 0);
  series->OnClick(series, 0, mbLeft, TShiftState{}, 0, 0);
  EXPECT_EQ(chart->clicks, 1);
  const std::string written = LayoutOf(*chart);
  EXPECT_NE(LinesStartingWith(written, "OnBeforeAdd = RefuseAll"), "") << written;
  EXPECT_NE(LinesStartingWith(written, "OnClick = Clicked"), "") << written;
}

TEST(PublishedProperties, DataSourceAndRecordHandlersNamedInALayoutAreBound) {
  RegisterClasses({&THandlerChart::StaticClass(), &THandlerDBChart::StaticClass(), &TFastLineSeries::StaticClass()});
  {
    std::unique_ptr<TComponent> read = ReadLayout(
        "object Chart: THandlerChart\n"
        "  OnValidDataSource = RefuseSource\n"
        "  object A: TFastLineSeries\n"
        "  end\n"
        "  object B: TFastLineSeries\n"
        "  end\n"
        "end\n");
    auto* chart = static_cast<THandlerChart*>(read.get());
    ASSERT_EQ(chart->SeriesCount(), 2);
    // A series is a valid source of another, unless the named handler refuses.
    EXPECT_FALSE(chart->IsValidDataSource(*chart->SeriesAt(1), chart->SeriesAt(0)));
    const std::string written = LayoutOf(*chart);
    EXPECT_NE(LinesStartingWith(written, "OnValidDataSource = RefuseSource"), "") << written;
    chart->OnValidDataSource = nullptr;
    EXPECT_TRUE(chart->IsValidDataSource(*chart->SeriesAt(1), chart->SeriesAt(0)));
  }
  {
    std::unique_ptr<TComponent> read = ReadLayout(
        "object Chart: THandlerDBChart\n"
        "  OnProcessRecord = CountRecord\n"
        "end\n");
    auto* chart = static_cast<THandlerDBChart*>(read.get());
    ASSERT_TRUE(static_cast<bool>(chart->OnProcessRecord));
    chart->OnProcessRecord(chart, nullptr);
    EXPECT_EQ(chart->records, 1);
    const std::string written = LayoutOf(*chart);
    EXPECT_NE(LinesStartingWith(written, "OnProcessRecord = CountRecord"), "") << written;
  }
}

TEST(PublishedProperties, PartnerAxisIsNamedReadBackAndCopiedWithinTheChart) {
  auto source = NamedChart();
  TChartAxis& custom = source->CustomAxes()->AddAxis();
  source->BottomAxis()->SetPartnerAxis(&custom);
  custom.SetPartnerAxis(source->LeftAxis());
  const std::string text = LayoutOf(*source);
  EXPECT_NE(LinesStartingWith(text, "BottomAxis.PartnerAxis = Chart.CustomAxes[0]"), "") << text;
  EXPECT_NE(LinesStartingWith(text, "PartnerAxis = Chart.LeftAxis"), "") << text;

  std::unique_ptr<TChart> copy(ReadInto(text, nullptr));
  ASSERT_EQ(copy->CustomAxes()->Count(), 1);
  TChartAxis* copyCustom = &copy->CustomAxes()->Axis(0);
  EXPECT_EQ(copy->BottomAxis()->PartnerAxis(), copyCustom);
  EXPECT_EQ(copyCustom->PartnerAxis(), copy->LeftAxis());
  EXPECT_EQ(LayoutOf(*copy), text);

  // A copy refers to its own axes, never to those of the chart it came from.
  TChart assigned(nullptr);
  assigned.Assign(source.get());
  ASSERT_EQ(assigned.CustomAxes()->Count(), 1);
  EXPECT_EQ(assigned.BottomAxis()->PartnerAxis(), &assigned.CustomAxes()->Axis(0));
  EXPECT_EQ(assigned.CustomAxes()->Axis(0).PartnerAxis(), assigned.LeftAxis());
  assigned.TopAxis()->Assign(source->BottomAxis());
  EXPECT_EQ(assigned.TopAxis()->PartnerAxis(), &assigned.CustomAxes()->Axis(0));
  TChart bare(nullptr);  // no custom axis there to stand for it
  bare.TopAxis()->Assign(source->BottomAxis());
  EXPECT_EQ(bare.TopAxis()->PartnerAxis(), nullptr);

  // A freed custom axis leaves no partner pointing at it.
  copy->CustomAxes()->Clear();
  EXPECT_EQ(copy->BottomAxis()->PartnerAxis(), nullptr);
  EXPECT_EQ(LinesStartingWith(LayoutOf(*copy), "BottomAxis.PartnerAxis"), "");
}

TEST(PublishedProperties, PartnerAxisReadBackBoundsTheGridLines) {
  const TColor grid = static_cast<TColor>(0x12AB34);
  // The partner covers the lower half of the chart only.
  const std::string layout =
      "object Chart: TChart\n"
      "  CustomAxes = <\n"
      "    item\n"
      "      StartPosition = 50\n"
      "    end>\n"
      "  BottomAxis.Grid.Color = 1223476\n"
      "  BottomAxis.PartnerAxis = Chart.CustomAxes[0]\n"
      "  BottomAxis.UsePartnerAxis = True\n"
      "end\n";
  ChartFixture plain, read;
  plain.AddCurves(1);
  plain.chart.BottomAxis()->Grid()->SetColor(grid);
  read.AddCurves(1);
  ReadInto(layout, &read.chart);
  ASSERT_EQ(read.chart.BottomAxis()->PartnerAxis(), &read.chart.CustomAxes()->Axis(0));
  plain.Paint();
  read.Paint();
  const TRect r = read.chart.ChartBounds();
  const int middle = (r.Top + r.Bottom) / 2;
  EXPECT_GT(plain.Count(grid, r.Left, r.Top, r.Right, middle - 2), 0);
  EXPECT_EQ(read.Count(grid, r.Left, r.Top, r.Right, middle - 2), 0);
  EXPECT_GT(read.Count(grid, r.Left, middle + 2, r.Right, r.Bottom), 0);
}

TEST(PublishedProperties, SeriesLegendEntryIsWrittenReadBackAndCopied) {
  const struct {
    const char* path;
    std::function<void(TChartSeries&)> set;
  } rows[] = {
      {"Legend.Text", [](TChartSeries& s) { s.SetLegendTitle("Oven 1"); }},
      {"Legend.Visible", [](TChartSeries& s) { s.SetShowInLegend(false); }},
  };
  TFastLineSeries fresh(nullptr), source(nullptr), copy(nullptr);
  fresh.SetName("S");
  source.SetName("S");
  copy.SetName("S");
  fresh.Legend();  // an entry at its defaults writes nothing
  const std::string defaults = LayoutOf(fresh);
  for (const auto& row : rows) row.set(source);
  const std::string text = LayoutOf(source);
  for (const auto& row : rows) {
    SCOPED_TRACE(row.path);
    EXPECT_NE(LinesStartingWith(text, row.path), "") << text;
    EXPECT_EQ(LinesStartingWith(defaults, row.path), "") << defaults;
  }
  EXPECT_EQ(LinesStartingWith(text, "ShowInLegend"), "") << text;  // said once, as Legend.Visible

  RegisterClass(TFastLineSeries::StaticClass());
  std::unique_ptr<TComponent> read = ReadLayout(text);
  auto* series = static_cast<TChartSeries*>(read.get());
  EXPECT_EQ(series->LegendTitle(), "Oven 1");
  EXPECT_FALSE(series->ShowInLegend());
  EXPECT_EQ(LayoutOf(*series), text);

  copy.Assign(&source);
  const std::string copied = LayoutOf(copy);
  for (const auto& row : rows) {
    SCOPED_TRACE(row.path);
    EXPECT_EQ(LinesStartingWith(copied, row.path), LinesStartingWith(text, row.path));
  }
}
