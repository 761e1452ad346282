// The legend on a fixed-metrics canvas (6 pixels a character, 10 a line): the right-side
// layout with check boxes for several curve counts, the hit test at row boundaries, check and
// radio boxes, the resolved style, and the fault cases (negative spacing, a band too narrow
// for one column, rows whose series is gone) that must paint without error.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>

#include "support/ColorNear.h"
#include "ChartControlTestSupport.h"
#include "canvas/KelBrush.h"
#include "canvas/KelFont.h"
#include "canvas/KelGradient.h"
#include "canvas/KelPen.h"
#include "canvas/KelShadow.h"
#include "chart/SeriesGroups.h"
#include "chart/SeriesSelection.h"
#include "canvas/KelPicture.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Metafile.h"

namespace {

// The recorder's legend: right side, check boxes.
void CheckBoxLegend(ChartFixture& f, int curves) {
  f.AddCurves(curves);
  f.chart.Legend()->SetCheckBoxes(true);
}

}  // namespace

// Chart rectangle before the legend: (10, 10, 390, 240). Items top = 10 + round(10 % of 230)
// = 33; item height = max(10, 17) = 17; rows = min((240 - 1 - 33) div 17, curves); legend
// height = 17 rows + 2 + 2 x round(1.7) + 1; widest row text "Ch1" = 18 + 2 + 6 - 1 = 25 (with
// 12 rows shown "Ch10" = 31); width = text + 2 + 2 + symbol 13 + 4 + frame 1; right = 390 -
// the legend's shadow (3) - 1 = 386, left = right - width - 15; chart right = left, less 3 % of the chart width that is left.
TEST(LegendLayout, RightSideWithCheckBoxes) {
  struct Case {
    int curves;
    int rows, height, left, chartRight;
  };
  const Case cases[] = {
      {3, 3, 58, 324, 315},
      {8, 8, 143, 324, 315},
      {64, 12, 211, 318, 309},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.curves);
    ChartFixture f;
    CheckBoxLegend(f, c.curves);
    int chartRight = -1;
    f.chart.OnBeforeDrawAxes = [&](TObject*) { chartRight = f.chart.ChartBounds().Right; };
    f.Paint();
    TChartLegend* legend = f.chart.Legend();
    EXPECT_EQ(legend->ResolvedStyle(), lsSeries);
    EXPECT_EQ(legend->ItemHeight(), 17);
    EXPECT_EQ(legend->Rows(), c.rows);
    EXPECT_EQ(legend->TotalItems(), c.curves);
    EXPECT_EQ(legend->LastValue(), c.rows - 1);
    EXPECT_EQ(legend->Bounds.Top, 33);
    EXPECT_EQ(legend->Bounds.Bottom - legend->Bounds.Top, c.height);
    EXPECT_EQ(legend->Bounds.Left, c.left);
    EXPECT_EQ(legend->Bounds.Right, 386);
    EXPECT_EQ(chartRight, c.chartRight);
    EXPECT_EQ(f.chart.ChartBounds().Right, c.chartRight);
    // One text per shown row, in order, at the text column.
    const auto texts = f.canvas->TextsIn("Legend/Items");
    ASSERT_EQ(static_cast<int>(texts.size()), c.rows);
    for (int r = 0; r < c.rows; ++r) {
      EXPECT_EQ(texts[r].text, "Ch" + std::to_string(r + 1));
      EXPECT_EQ(texts[r].x, c.left + 38);
      EXPECT_EQ(texts[r].y, 33 + 1 + 2 + 17 * r + 1);
    }
  }
}

TEST(LegendLayout, ItemAtRowBoundariesOutsideAndInverted) {
  ChartFixture f;
  CheckBoxLegend(f, 3);
  f.Paint();
  TChartLegend* legend = f.chart.Legend();
  const int x = legend->Bounds.Left + 30;
  struct Case {
    const char* name;
    int x, y;
    int row, invertedRow;
  };
  const Case cases[] = {
      {"first pixel of row 0", x, 34, 0, 2},
      {"shared boundary goes to the earlier row", x, 51, 0, 2},
      {"first pixel of row 1", x, 52, 1, 1},
      {"last pixel of the last row", x, 85, 2, 0},
      {"inside the frame above the rows", x, 33, -1, -1},
      {"inside the frame below the rows", x, 87, -1, -1},
      {"left of the legend", legend->Bounds.Left - 1, 40, -1, -1},
      {"below the legend", x, legend->Bounds.Bottom + 1, -1, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(legend->ItemAt(c.x, c.y), c.row);
  }
  legend->SetInverted(true);
  f.Paint();
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + ", inverted");
    EXPECT_EQ(legend->ItemAt(c.x, c.y), c.invertedRow);
  }
  const auto texts = f.canvas->TextsIn("Legend/Items");
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[0].text, "Ch3");
  EXPECT_LT(texts[0].y, texts[2].y);
}

TEST(LegendDrawing, RowsShowACheckBoxPerCurveAndItsColourSymbol) {
  ChartFixture f;
  CheckBoxLegend(f, 3);
  f.chart.SeriesAt(1)->ChangeActive(false);
  f.Paint();
  const int left = f.chart.Legend()->Bounds.Left;
  // Box of row r at (left + 4, 38 + 17 r), 13 pixels square: a checked box has its mark.
  auto markPixels = [&](int r) { return f.CountDark(left + 4 + 3, 38 + 17 * r + 3, left + 4 + 9, 38 + 17 * r + 9); };
  EXPECT_GT(markPixels(0), 5);
  EXPECT_EQ(markPixels(1), 0);
  EXPECT_GT(markPixels(2), 5);
  // The symbol: a line across (left + 19 .. left + 32) in the curve's colour, mid-height of
  // its rectangle (38 .. 51), also for the hidden curve.
  for (int r = 0; r < 3; ++r) {
    SCOPED_TRACE(r);
    const TColor color = f.chart.SeriesAt(r)->EffectiveColor();
    EXPECT_GT(f.Count(color, left + 19, 44 + 17 * r, left + 31, 45 + 17 * r), 8);
  }
}

TEST(LegendClicks, CheckBoxesToggleAndRadioBoxesKeepOne) {
  ChartFixture f;
  CheckBoxLegend(f, 3);
  f.Paint();
  TChartLegend* legend = f.chart.Legend();
  EXPECT_TRUE(legend->ItemClicked(1));
  EXPECT_FALSE(f.chart.SeriesAt(1)->Active());
  EXPECT_TRUE(legend->ItemClicked(1));
  EXPECT_TRUE(f.chart.SeriesAt(1)->Active());
  EXPECT_FALSE(legend->ItemClicked(-1));

  legend->SetCheckBoxesStyle(cbsRadio);  // only the first active entry stays
  EXPECT_TRUE(f.chart.SeriesAt(0)->Active());
  EXPECT_FALSE(f.chart.SeriesAt(1)->Active());
  EXPECT_FALSE(f.chart.SeriesAt(2)->Active());
  EXPECT_TRUE(legend->ItemClicked(2));
  EXPECT_FALSE(f.chart.SeriesAt(0)->Active());
  EXPECT_FALSE(f.chart.SeriesAt(1)->Active());
  EXPECT_TRUE(f.chart.SeriesAt(2)->Active());

  // Without check boxes a click changes nothing.
  legend->SetCheckBoxes(false);
  legend->SetLegendStyle(lsSeries);
  EXPECT_FALSE(legend->ItemClicked(0));
  EXPECT_FALSE(f.chart.SeriesAt(0)->Active());
}

TEST(LegendStyle, AutomaticStyleAndFirstValue) {
  ChartFixture f;
  f.AddCurve();
  EXPECT_EQ(f.chart.Legend()->ResolvedStyle(), lsValues);  // one curve: its points
  f.chart.Legend()->SetCheckBoxes(true);
  EXPECT_EQ(f.chart.Legend()->ResolvedStyle(), lsSeries);
  f.chart.Legend()->SetCheckBoxes(false);
  f.AddCurve();
  EXPECT_EQ(f.chart.Legend()->ResolvedStyle(), lsSeries);
  f.chart.SeriesAt(1)->SetShowInLegend(false);
  EXPECT_EQ(f.chart.Legend()->ResolvedStyle(), lsValues);

  EXPECT_THROW(f.chart.Legend()->SetFirstValue(-1), LegendException);
  EXPECT_EQ(f.chart.Legend()->FirstValue(), 0);
  f.chart.Legend()->SetFirstValue(0);
}

TEST(LegendFaults, NegativeSpacingKeepsRowsAtLeastOnePixelHigh) {
  for (int spacing : {-17, -40}) {
    SCOPED_TRACE(spacing);
    ChartFixture f;
    CheckBoxLegend(f, 3);
    f.chart.Legend()->SetVertSpacing(spacing);
    EXPECT_NO_THROW(f.Paint());
    EXPECT_EQ(f.chart.Legend()->ItemHeight(), 1);
    EXPECT_NO_THROW(f.chart.Legend()->ItemAt(f.chart.Legend()->Bounds.Left + 30, 40));
  }
}

TEST(LegendFaults, BandWhereNoColumnFitsShowsNothingAndTakesNoRoom) {
  for (TLegendAlignment side : {laTop, laBottom}) {
    SCOPED_TRACE(side);
    ChartFixture plain(60, 250);
    plain.AddCurves(3);
    plain.chart.Legend()->SetVisible(false);
    plain.Paint();

    ChartFixture f(60, 250);
    CheckBoxLegend(f, 3);
    f.chart.Legend()->SetAlignment(side);
    EXPECT_NO_THROW(f.Paint());
    EXPECT_EQ(f.chart.Legend()->Columns(), 0);
    EXPECT_EQ(f.canvas->IndexOf("Legend"), -1);
    EXPECT_EQ(f.chart.ChartBounds().Top, plain.chart.ChartBounds().Top);
    EXPECT_EQ(f.chart.ChartBounds().Bottom, plain.chart.ChartBounds().Bottom);
    EXPECT_EQ(f.chart.Legend()->ItemAt(30, 20), -1);
  }
}

TEST(LegendFaults, RowsWithoutTheirSeriesShowNoTextAndIgnoreClicks) {
  ChartFixture f;
  CheckBoxLegend(f, 3);
  // More custom rows than curves.
  f.chart.Legend()->Items()->SetText(4, 0, "extra");
  EXPECT_NO_THROW(f.Paint());
  std::vector<std::string> shown;
  for (const auto& t : f.canvas->TextsIn("Legend/Items")) shown.push_back(t.text);
  EXPECT_EQ(std::count(shown.begin(), shown.end(), "extra"), 0);
  EXPECT_FALSE(f.chart.Legend()->ItemClicked(4));

  // A curve freed since the last paint: its row's click changes nothing.
  ChartFixture g;
  CheckBoxLegend(g, 3);
  g.Paint();
  delete g.chart.SeriesAt(2);
  EXPECT_FALSE(g.chart.Legend()->ItemClicked(2));
  EXPECT_TRUE(g.chart.SeriesAt(0)->Active());
  EXPECT_TRUE(g.chart.SeriesAt(1)->Active());
  EXPECT_NO_THROW(g.Paint());
}

// ---- Symbols in pixels -----------------------------------------------------------------------

namespace {

// The bounds (right and bottom exclusive) of the pixels of one colour in a region; empty when
// there are none.
TRect BoundsOf(const ChartFixture& f, TColor color, int x0, int y0, int x1, int y1) {
  TRect b(x1 + 1, y1 + 1, x0, y0);
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x)
      if (f.Pixel(x, y) == color) {
        b.Left = std::min(b.Left, x);
        b.Top = std::min(b.Top, y);
        b.Right = std::max(b.Right, x + 1);
        b.Bottom = std::max(b.Bottom, y + 1);
      }
  return b;
}

std::string Describe(const TRect& r) {
  return "(" + std::to_string(r.Left) + ", " + std::to_string(r.Top) + ", " + std::to_string(r.Right) + ", " +
         std::to_string(r.Bottom) + ")";
}

// One plain series of two points (red, blue; or only the red one): the legend lists its points with filled symbols
// of 20 x 20 pixels.
TChartSeries* PointsLegend(ChartFixture& f, int points = 2) {
  auto* s = new TChartSeries(nullptr);
  s->SetName("Points");
  s->AppendXY(0, 10, {}, clRed);
  if (points > 1) s->AppendXY(1, 20, {}, clBlue);
  f.chart.AttachSeries(s);
  f.chart.LeftAxis()->SetMinMax(0, 100);
  f.chart.Legend()->Symbol()->SetHeightUnits(lcsPixels);
  f.chart.Legend()->Symbol()->SetHeight(20);
  return s;
}

}  // namespace

TEST(LegendSymbol, ShadowLiesBesideTheSymbolOffsetByItsSizeAndMovesTheText) {
  struct Case {
    const char* name;
    int horiz, vert;
  };
  const Case cases[] = {{"right and down", 3, 3}, {"right only", 4, 0}, {"down only", 0, 2}};
  ChartFixture plain;
  PointsLegend(plain, 1);
  plain.Paint();
  const auto plainTexts = plain.canvas->TextsIn("Legend/Items");
  ASSERT_EQ(plainTexts.size(), 1u);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ChartFixture f;
    PointsLegend(f, 1);
    TKelShadow* shadow = f.chart.Legend()->Symbol()->Shadow();
    shadow->SetVisible(true);
    shadow->SetColor(clLime);
    shadow->SetTransparency(0);
    shadow->SetSmooth(false);
    shadow->SetHorizSize(c.horiz);
    shadow->SetVertSize(c.vert);
    f.Paint();
    ASSERT_EQ(f.chart.Legend()->ResolvedStyle(), lsValues);
    const TRect r = f.chart.Legend()->Items()->Item(0).SymbolRect;
    ASSERT_GT(r.Right - r.Left, 4);
    ASSERT_GT(r.Bottom - r.Top, 4);
    // The symbol itself: red inside its pen.
    EXPECT_EQ(f.Pixel((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2), clRed);
    // The shadow: the symbol's rectangle moved by the sizes, seen where the symbol is not.
    const TRect seen = BoundsOf(f, clLime, r.Left - 8, r.Top - 8, r.Right + 8, r.Bottom + 8);
    EXPECT_EQ(seen.Left, r.Left + c.horiz) << Describe(seen) << " symbol " << Describe(r);
    EXPECT_EQ(seen.Top, r.Top + c.vert) << Describe(seen);
    EXPECT_EQ(seen.Right, r.Right + c.horiz) << Describe(seen);
    EXPECT_EQ(seen.Bottom, r.Bottom + c.vert) << Describe(seen);
    // The texts move right by the shadow's width.
    const auto texts = f.canvas->TextsIn("Legend/Items");
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].x - f.chart.Legend()->Bounds.Left, plainTexts[0].x - plain.chart.Legend()->Bounds.Left + c.horiz);
  }
}

TEST(LegendSymbol, GradientRunsFromItsStartColourToTheRowColour) {
  ChartFixture f;
  PointsLegend(f);
  TKelGradient* gradient = f.chart.Legend()->Symbol()->Gradient();
  gradient->SetVisible(true);
  gradient->SetStartColor(clYellow);
  f.Paint();
  for (int row = 0; row < 2; ++row) {
    SCOPED_TRACE(row);
    const TColor rowColor = row == 0 ? clRed : clBlue;
    const TRect r = f.chart.Legend()->Items()->Item(row).SymbolRect;
    const int x = (r.Left + r.Right) / 2;
    // Inside the pen: the first and last rows of the fill.
    const TColor top = f.Pixel(x, r.Top + 2), bottom = f.Pixel(x, r.Bottom - 3);
    EXPECT_NE(top, bottom);
    const bool topIsRow = ColorNear(top, rowColor, 40);
    EXPECT_TRUE(topIsRow || ColorNear(bottom, rowColor, 40)) << std::hex << top << " " << bottom;
    EXPECT_TRUE(ColorNear(topIsRow ? bottom : top, clYellow, 40)) << std::hex << top << " " << bottom;
  }
  // Without the gradient the symbol is flat.
  gradient->SetVisible(false);
  f.Paint();
  const TRect r = f.chart.Legend()->Items()->Item(0).SymbolRect;
  EXPECT_EQ(f.Pixel((r.Left + r.Right) / 2, r.Top + 2), clRed);
  EXPECT_EQ(f.Pixel((r.Left + r.Right) / 2, r.Bottom - 3), clRed);
}

TEST(LegendSymbol, CheckBoxesAreDrawnIntoAMetafile) {
  ChartFixture direct;
  CheckBoxLegend(direct, 3);
  direct.chart.SeriesAt(1)->ChangeActive(false);
  direct.Paint();
  TChartLegend* legend = direct.chart.Legend();
  const int bx = legend->Bounds.Left + 4;
  const int by0 = legend->ItemsTop() + 1 + 2;  // first row's top (inner gap 2)

  ChartFixture recorded;
  CheckBoxLegend(recorded, 3);
  recorded.chart.SeriesAt(1)->ChangeActive(false);
  TMetafile metafile;
  {
    TMetafileCanvas canvas(&metafile, direct.bitmap->Canvas()->Handle());
    recorded.chart.DrawToCanvas(&canvas, TRect(0, 0, recorded.width, recorded.height));
  }
  ASSERT_FALSE(metafile.Empty());
  recorded.bitmap->Canvas()->StretchDraw(TRect(0, 0, recorded.width, recorded.height), &metafile);
  for (int row = 0; row < 3; ++row) {
    SCOPED_TRACE(row);
    const int top = by0 + 17 * row;
    const int directDark = direct.CountDark(bx - 1, top, bx + 14, top + 16);
    const int recordedDark = recorded.CountDark(bx - 2, top - 1, bx + 15, top + 17);
    EXPECT_GT(directDark, 8);
    EXPECT_GT(recordedDark, 8) << "the box reaches the metafile";
    // The checked boxes hold their mark: more dark pixels than the unchecked one.
    if (row != 1) {
      EXPECT_GT(recordedDark, recorded.CountDark(bx - 2, by0 + 17 - 1, bx + 15, by0 + 17 + 17));
    }
  }
}

TEST(LegendGroups, RowsNameTheGroupsAndTheirBoxesSwitchThem) {
  ChartFixture f;
  f.AddCurves(3);
  TSeriesGroups* groups = f.chart.SeriesGroups();
  TSeriesGroup* a = groups->Add();
  a->SetName("Inlet");
  a->AddSeries(f.chart.SeriesAt(0));
  a->AddSeries(f.chart.SeriesAt(1));
  TSeriesGroup* b = groups->Add();
  b->SetName("Outlet");
  b->AddSeries(f.chart.SeriesAt(2));
  TChartLegend* legend = f.chart.Legend();
  legend->SetLegendStyle(lsSeriesGroups);
  legend->SetCheckBoxes(true);
  f.Paint();
  std::vector<std::string> shown;
  for (const auto& t : f.canvas->TextsIn("Legend/Items")) shown.push_back(t.text);
  EXPECT_EQ(shown, (std::vector<std::string>{"Inlet", "Outlet"}));
  EXPECT_EQ(legend->TotalItems(), 2);

  // Check boxes: a click switches the whole group.
  EXPECT_TRUE(legend->ItemClicked(1));
  EXPECT_FALSE(f.chart.SeriesAt(2)->Active());
  EXPECT_TRUE(f.chart.SeriesAt(0)->Active());
  EXPECT_TRUE(legend->ItemClicked(1));
  EXPECT_TRUE(f.chart.SeriesAt(2)->Active());
  EXPECT_TRUE(legend->ItemClicked(0));
  EXPECT_FALSE(f.chart.SeriesAt(0)->Active());
  EXPECT_FALSE(f.chart.SeriesAt(1)->Active());
  EXPECT_TRUE(legend->ItemClicked(0));
  EXPECT_FALSE(legend->ItemClicked(2)) << "no such group";

  // Radio boxes: turning them on keeps only the first group on; a click picks one group.
  legend->SetCheckBoxesStyle(cbsRadio);
  EXPECT_EQ(a->ReadActive(), gaYes);
  EXPECT_EQ(b->ReadActive(), gaNo);
  EXPECT_TRUE(legend->ItemClicked(1));
  EXPECT_EQ(a->ReadActive(), gaNo);
  EXPECT_EQ(b->ReadActive(), gaYes);
  EXPECT_NO_THROW(f.Paint());
}

TEST(LegendSymbol, TheSelectedRowsSymbolIsFramedWhileTheSelectionIsShown) {
  ChartFixture f;
  PointsLegend(f);
  f.Paint();
  TChartLegend* legend = f.chart.Legend();
  EXPECT_FALSE(legend->HasSelected());
  EXPECT_FALSE(legend->ItemClicked(1)) << "no boxes: nothing switches";
  ASSERT_TRUE(legend->HasSelected());
  EXPECT_EQ(legend->Selected()->ItemIndex(), 1);
  legend->Selected()->Pen()->SetColor(clFuchsia);
  for (bool shown : {false, true}) {
    SCOPED_TRACE(shown ? "shown" : "hidden");
    legend->Selected()->SetVisible(shown);
    f.Paint();
    const TRect first = legend->Items()->Item(0).SymbolRect;
    const TRect second = legend->Items()->Item(1).SymbolRect;
    const int framed = f.Count(clFuchsia, second.Left - 2, second.Top - 2, second.Right + 2, second.Bottom + 2);
    if (shown) {
      EXPECT_GT(framed, 2 * (second.Right - second.Left));
      EXPECT_EQ(f.Pixel((second.Left + second.Right) / 2, (second.Top + second.Bottom) / 2), clBlue)
          << "the frame leaves the symbol's fill";
    } else {
      EXPECT_EQ(framed, 0);
    }
    EXPECT_EQ(f.Count(clFuchsia, first.Left - 2, first.Top - 2, first.Right + 2, first.Bottom - 3), 0) << "the other row";
    EXPECT_EQ(legend->RowCursor(), shown ? static_cast<TCursor>(crHandPoint) : legend->Cursor());
  }
}

TEST(LegendSymbol, APointsPictureFillsItsSymbolUnlessImagesAreOff) {
  for (bool useImages : {true, false}) {
    SCOPED_TRACE(useImages ? "images" : "no images");
    ChartFixture f;
    TChartSeries* s = PointsLegend(f);
    auto* picture = new TKelPicture();
    TBitmap lime;
    lime.SetPixelFormat(pf32bit);
    lime.SetSize(2, 2);
    lime.Canvas()->Brush()->SetColor(clLime);
    lime.Canvas()->FillRect(TRect(0, 0, 2, 2));
    picture->Assign(&lime);
    s->Pictures().PutPicture(0, picture);
    f.chart.Legend()->Symbol()->SetUseImages(useImages);
    f.Paint();
    const TRect r = f.chart.Legend()->Items()->Item(0).SymbolRect;
    const TColor inside = f.Pixel((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    // Stretching may soften the picture's colour a little.
    EXPECT_TRUE(ColorNear(inside, useImages ? clLime : clRed, 8)) << std::hex << inside;
    const TRect other = f.chart.Legend()->Items()->Item(1).SymbolRect;
    EXPECT_EQ(f.Pixel((other.Left + other.Right) / 2, (other.Top + other.Bottom) / 2), clBlue);
  }
}

TEST(LegendSymbol, ADrawEventPaintsTheSymbolsInstead) {
  ChartFixture f;
  TChartSeries* s = PointsLegend(f);
  struct Call {
    TChartSeries* series;
    int index;
    TRect rect;
  };
  std::vector<Call> calls;
  f.chart.Legend()->Symbol()->OnDraw = [&](TObject*, TChartSeries* series, int index, TRect rect) {
    calls.push_back({series, index, rect});
  };
  f.Paint();
  ASSERT_EQ(calls.size(), 2u);
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(calls[i].series, s);
    EXPECT_EQ(calls[i].index, i);
    const TRect r = f.chart.Legend()->Items()->Item(i).SymbolRect;
    EXPECT_EQ(calls[i].rect.Left, r.Left);
    EXPECT_EQ(calls[i].rect.Top, r.Top);
    EXPECT_EQ(calls[i].rect.Bottom, r.Bottom);
    // The series painted nothing there.
    EXPECT_EQ(f.Count(i == 0 ? clRed : clBlue, r.Left, r.Top, r.Right - 1, r.Bottom - 1), 0);
  }
}

TEST(LegendLayout, ItemsAtCustomPlacesAndWithTheirOwnFont) {
  ChartFixture f;
  f.AddCurves(3);
  TChartLegend* legend = f.chart.Legend();
  f.Paint();
  const auto before = f.canvas->TextsIn("Legend/Items");
  ASSERT_EQ(before.size(), 3u);
  // The recorded geometry of a row: its first text's place and its texts.
  EXPECT_EQ(legend->Items()->Item(1).Left(), before[1].x);
  EXPECT_EQ(legend->Items()->Item(1).Top(), before[1].y);
  EXPECT_EQ(legend->Items()->Item(1).Texts()[0], "Ch2");
  const TRect symbol = legend->Items()->Item(1).SymbolRect;

  // Row 1 moves; the others keep their places. Its symbol keeps its rectangle.
  for (int i = 0; i < 3; ++i) legend->Items()->SetText(i, 0, "Row" + std::to_string(i));
  legend->Items()->SetPosition(0, before[0].x, before[0].y);
  legend->Items()->SetPosition(1, 40, 200);
  legend->Items()->SetPosition(2, before[2].x, before[2].y);
  legend->Items()->Font(1)->SetColor(clRed);
  f.Paint();
  const auto after = f.canvas->TextsIn("Legend/Items");
  ASSERT_EQ(after.size(), 3u);
  EXPECT_EQ(after[1].text, "Row1");
  EXPECT_EQ(after[1].x, 40);
  EXPECT_EQ(after[1].y, 200);
  EXPECT_EQ(after[0].x, before[0].x);
  EXPECT_EQ(after[2].y, before[2].y);
  EXPECT_EQ(legend->Items()->Item(1).SymbolRect.Left, symbol.Left);
  EXPECT_EQ(legend->Items()->Item(1).SymbolRect.Top, symbol.Top);
  // Only the row with its own font is written in red.
  EXPECT_GT(f.Count(clRed, 40, 200, 40 + 4 * 6, 200 + 12), 0);
  EXPECT_EQ(f.Count(clRed, before[0].x, before[0].y, before[0].x + 4 * 6, before[0].y + 12), 0);
}

// A row's own font changes how its text looks, not which rows the legend lists: the rows
// follow the series before and after the font was read.
TEST(LegendItems, ARowsOwnFontLeavesTheRowsToTheSeries) {
  ChartFixture f;
  f.AddCurves(3);
  TChartLegend* legend = f.chart.Legend();
  legend->Items()->Font(1)->SetColor(clRed);  // before the first paint
  f.Paint();
  EXPECT_FALSE(legend->Items()->Custom());
  auto texts = f.canvas->TextsIn("Legend/Items");
  ASSERT_EQ(texts.size(), 3u);
  for (int r = 0; r < 3; ++r) EXPECT_EQ(texts[r].text, "Ch" + std::to_string(r + 1));
  const int rowHeight = texts[1].y - texts[0].y;
  auto redIn = [&](const RecordingCanvas::Text& t) {
    return f.Count(clRed, t.x, t.y, t.x + 6 * 3, t.y + rowHeight - 1);
  };
  EXPECT_GT(redIn(texts[1]), 0);
  EXPECT_EQ(redIn(texts[0]), 0);
  EXPECT_EQ(redIn(texts[2]), 0);

  f.AddCurve();
  f.Paint();
  texts = f.canvas->TextsIn("Legend/Items");
  ASSERT_EQ(texts.size(), 4u);
  EXPECT_EQ(texts[3].text, "Ch4");
  EXPECT_GT(redIn(texts[1]), 0);
  EXPECT_EQ(redIn(texts[3]), 0);
}

// Custom rows shown from a first value on: repainting never adds rows to the list.
TEST(LegendItems, CustomRowsFromAFirstValueStayAsManyOverRepaints) {
  ChartFixture f;
  f.AddCurves(3);
  TChartLegend* legend = f.chart.Legend();
  for (int i = 0; i < 3; ++i) legend->Items()->SetText(i, 0, "Row" + std::to_string(i));
  legend->SetFirstValue(1);
  for (int paint = 0; paint < 3; ++paint) {
    SCOPED_TRACE(paint);
    f.Paint();
    EXPECT_EQ(legend->Items()->Count(), 3);
    EXPECT_EQ(legend->TotalItems(), 3);
    const auto texts = f.canvas->TextsIn("Legend/Items");
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, "Row1");
    EXPECT_EQ(texts[1].text, "Row2");
  }
}

namespace {

// Two plain series (rectangle symbols) listed by series, the first in `color` with `brush`.
TChartSeries* SeriesLegend(ChartFixture& f, TColor color) {
  auto* a = new TChartSeries(nullptr);
  a->SetName("A");
  a->AppendXY(0, 10);
  a->ChangeSeriesColor(color);
  auto* b = new TChartSeries(nullptr);
  b->SetName("B");
  b->AppendXY(0, 20);
  b->ChangeSeriesColor(clBlue);
  f.chart.AttachSeries(a);
  f.chart.AttachSeries(b);
  f.chart.Legend()->Symbol()->SetHeightUnits(lcsPixels);
  f.chart.Legend()->Symbol()->SetHeight(20);
  return a;
}

}  // namespace

// A series whose brush has a gradient shows that gradient in its legend symbol.
TEST(LegendSymbol, TheSeriesGradientBrushFillsItsSymbol) {
  ChartFixture f;
  TChartSeries* a = SeriesLegend(f, clRed);
  TKelGradient* gradient = a->Brush()->Gradient();
  gradient->SetDirection(KelCanvas::gdTopBottom);
  gradient->SetStartColor(clYellow);
  gradient->SetEndColor(clLime);
  gradient->SetVisible(true);
  f.Paint();
  ASSERT_EQ(f.chart.Legend()->ResolvedStyle(), lsSeries);
  const TRect r = f.chart.Legend()->Items()->Item(0).SymbolRect;
  const int x = (r.Left + r.Right) / 2;
  const TColor top = f.Pixel(x, r.Top + 2), bottom = f.Pixel(x, r.Bottom - 3);
  EXPECT_TRUE(ColorNear(top, clYellow, 60) || ColorNear(bottom, clYellow, 60)) << std::hex << top << " " << bottom;
  EXPECT_TRUE(ColorNear(top, clLime, 60) || ColorNear(bottom, clLime, 60)) << std::hex << top << " " << bottom;
  // The other series' symbol stays flat in its colour.
  const TRect s = f.chart.Legend()->Items()->Item(1).SymbolRect;
  EXPECT_EQ(f.Pixel((s.Left + s.Right) / 2, s.Top + 2), clBlue);
}

// A hatched series brush in the legend's own colour would not show: its lines turn black.
TEST(LegendSymbol, AHatchInTheLegendsColourTurnsBlack) {
  ChartFixture f;
  TChartSeries* a = SeriesLegend(f, clYellow);
  a->Brush()->SetStyle(bsDiagCross);
  f.chart.Legend()->SetColor(clYellow);
  f.Paint();
  const TRect r = f.chart.Legend()->Items()->Item(0).SymbolRect;
  // Inside the symbol's frame (the pen is one pixel wide, the rectangle shrinks by it).
  const int x0 = r.Left + 3, y0 = r.Top + 3, x1 = r.Right - 4, y1 = r.Bottom - 4;
  ASSERT_GT(x1 - x0, 4);
  EXPECT_GT(f.Count(clBlack, x0, y0, x1, y1), 5);
  EXPECT_GT(f.Count(clYellow, x0, y0, x1, y1), 5) << "between the lines the legend shows";
}

namespace {

// The recording canvas drawing the legend rows in full 3D: a depth moves a point 10 pixels to
// the right per unit (whole depths stay flat, so only the symbol's effects can move).
class LegendDepthCanvas : public RecordingCanvas {
 public:
  bool SupportsFull3D() override { return full3D && Path().rfind("Legend/Items", 0) == 0; }
  void Project3DF(TPointFloat& p, float z) override {
    if (SupportsFull3D()) p.X += 10 * z;
  }
  bool full3D = false;
};

}  // namespace

// On a full-3D canvas the symbol's shadow stands at depth 0.5 behind the symbol's face: five
// pixels further right here; flat, it lies beside the symbol offset by its size only.
TEST(LegendSymbol, ShadowOnAFull3DCanvasStandsAtHalfDepth) {
  TRect seen[2], symbol[2];
  for (bool full3D : {false, true}) {
    SCOPED_TRACE(full3D ? "full 3D" : "flat");
    ChartFixture f;
    auto* canvas = new LegendDepthCanvas();
    canvas->full3D = full3D;
    f.chart.ChangeCanvas(canvas);
    f.canvas = canvas;
    PointsLegend(f, 1);
    TKelShadow* shadow = f.chart.Legend()->Symbol()->Shadow();
    shadow->SetVisible(true);
    shadow->SetColor(clLime);
    shadow->SetTransparency(0);
    shadow->SetSmooth(false);
    shadow->SetHorizSize(3);
    shadow->SetVertSize(3);
    f.Paint();
    const TRect r = f.chart.Legend()->Items()->Item(0).SymbolRect;
    ASSERT_GT(r.Right - r.Left, 4);
    EXPECT_EQ(f.Pixel((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2), clRed) << "the symbol itself";
    symbol[full3D] = r;
    seen[full3D] = BoundsOf(f, clLime, r.Left - 12, r.Top - 12, r.Right + 12, r.Bottom + 12);
    ASSERT_LT(seen[full3D].Left, seen[full3D].Right) << "a shadow is drawn";
  }
  EXPECT_EQ(symbol[0], symbol[1]) << "the symbol does not move";
  EXPECT_EQ(seen[0].Left, symbol[0].Left + 3) << Describe(seen[0]);
  // The polygon at depth and the flat rectangle may differ by a pixel at their edges; their
  // middles lie five pixels apart across and level.
  const std::string both = Describe(seen[1]) + " flat " + Describe(seen[0]);
  EXPECT_NEAR((seen[1].Left + seen[1].Right) / 2.0 - (seen[0].Left + seen[0].Right) / 2.0, 5, 1) << both;
  EXPECT_NEAR((seen[1].Top + seen[1].Bottom) / 2.0, (seen[0].Top + seen[0].Bottom) / 2.0, 1) << both;
  EXPECT_NEAR(seen[1].Right - seen[1].Left, seen[0].Right - seen[0].Left, 1) << both;
}

// A row's three texts set through the row itself fill its three columns and make the list
// custom: the rows no longer follow the series' titles.
TEST(LegendItems, ARowsThreeTextsFillItsColumns) {
  ChartFixture f;
  f.AddCurves(2);
  TChartLegend* legend = f.chart.Legend();
  f.Paint();
  EXPECT_EQ(legend->Items()->Item(0).Text(), "Ch1") << "recorded while drawing";
  EXPECT_FALSE(legend->Items()->Custom());
  legend->Items()->Item(0).SetText("a");
  EXPECT_TRUE(legend->Items()->Custom());
  legend->Items()->Item(0).SetText2("bb");
  legend->Items()->Item(0).SetText3("ccc");
  legend->Items()->Item(1).SetText("d");
  f.Paint();
  const auto texts = f.canvas->TextsIn("Legend/Items");
  ASSERT_EQ(texts.size(), 4u);
  EXPECT_EQ(texts[0].text, "a");
  EXPECT_EQ(texts[1].text, "bb");
  EXPECT_EQ(texts[2].text, "ccc");
  EXPECT_EQ(texts[3].text, "d");
  // Columns stand left to right on the row's line.
  EXPECT_LT(texts[0].x, texts[1].x);
  EXPECT_LT(texts[1].x, texts[2].x);
  EXPECT_EQ(texts[1].y, texts[0].y);
  EXPECT_GT(texts[3].y, texts[0].y);
  EXPECT_EQ(legend->Items()->Item(0).Text2(), "bb");
  EXPECT_EQ(legend->Items()->Item(0).Text3(), "ccc");
}

// Moving a row's first text through the row itself places it there; the other rows keep the
// places they were drawn at.
TEST(LegendItems, ARowMovedThroughItselfKeepsItsNewPlace) {
  ChartFixture f;
  f.AddCurves(3);
  TChartLegend* legend = f.chart.Legend();
  f.Paint();
  const auto before = f.canvas->TextsIn("Legend/Items");
  ASSERT_EQ(before.size(), 3u);
  EXPECT_FALSE(legend->Items()->CustomPositions());
  legend->Items()->Item(1).SetLeft(40);
  EXPECT_TRUE(legend->Items()->Custom());
  EXPECT_TRUE(legend->Items()->CustomPositions());
  legend->Items()->Item(1).SetTop(200);
  f.Paint();
  const auto after = f.canvas->TextsIn("Legend/Items");
  ASSERT_EQ(after.size(), 3u);
  EXPECT_EQ(after[1].text, "Ch2");
  EXPECT_EQ(after[1].x, 40);
  EXPECT_EQ(after[1].y, 200);
  EXPECT_EQ(after[0].x, before[0].x);
  EXPECT_EQ(after[2].y, before[2].y);
}

// Every write the rows name (a text, the alignment, the place) makes the list custom, the place
// with custom positions; reading a row, its texts or its font does not. A custom list keeps the
// rows it has when another series comes; the rows of any other list follow the series.
TEST(LegendItems, WritesMarkTheListCustomAndReadsDoNot) {
  struct Case {
    const char* name;
    std::function<void(TLegendItems&)> act;
    bool custom, positions;
  };
  const Case cases[] = {
      {"reading a row", [](TLegendItems& i) { (void)i.Item(1).Left(); }, false, false},
      {"reading its texts and alignment",
       [](TLegendItems& i) { (void)(i.Item(1).Texts()[0] + i.Item(1).Text2() + std::to_string(i.Item(1).Align())); },
       false, false},
      {"reading its font", [](TLegendItems& i) { (void)i.Item(1).Font(); }, false, false},
      {"changing its font", [](TLegendItems& i) { i.Item(1).Font()->SetColor(clRed); }, false, false},
      {"a row past the end, read", [](TLegendItems& i) { (void)i.Item(5); }, false, false},
      {"Text", [](TLegendItems& i) { i.Item(1).SetText("x"); }, true, false},
      {"Text2", [](TLegendItems& i) { i.Item(1).SetText2("x"); }, true, false},
      {"Text3", [](TLegendItems& i) { i.Item(1).SetText3("x"); }, true, false},
      {"Align", [](TLegendItems& i) { i.Item(1).SetAlign(2); }, true, false},
      {"Left", [](TLegendItems& i) { i.Item(1).SetLeft(40); }, true, true},
      {"Top", [](TLegendItems& i) { i.Item(1).SetTop(40); }, true, true},
      {"a text through the list", [](TLegendItems& i) { i.SetText(1, 2, "x"); }, true, false},
      {"an alignment through the list", [](TLegendItems& i) { i.SetAlign(1, 2); }, true, false},
      {"a place through the list", [](TLegendItems& i) { i.SetPosition(1, 40, 40); }, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ChartFixture f;
    f.AddCurves(3);
    TChartLegend* legend = f.chart.Legend();
    f.Paint();
    TLegendItems* items = legend->Items();
    c.act(*items);
    EXPECT_EQ(items->Custom(), c.custom);
    EXPECT_EQ(items->CustomPositions(), c.positions);
    f.AddCurve();
    f.Paint();
    EXPECT_EQ(legend->TotalItems(), c.custom ? items->Count() : 4);
    if (!c.custom) {
      const auto texts = f.canvas->TextsIn("Legend/Items");
      ASSERT_EQ(texts.size(), 4u);
      EXPECT_EQ(texts[3].text, "Ch4");
    }
  }
}

// Setting the style resolves it at once: a click before the next paint acts on the rows of the
// new style.
TEST(LegendItems, AClickRightAfterAStyleChangeActsInTheNewStyle) {
  struct Case {
    const char* name;
    TLegendStyle from, to;
    bool groupSwitched;  // the click switched group 0 (series 0 and 1) rather than series 0
  };
  const Case cases[] = {{"series to groups", lsSeries, lsSeriesGroups, true},
                        {"groups to series", lsSeriesGroups, lsSeries, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ChartFixture f;
    f.AddCurves(3);
    TSeriesGroup* g = f.chart.SeriesGroups()->Add();
    g->SetName("Inlet");
    g->AddSeries(f.chart.SeriesAt(0));
    g->AddSeries(f.chart.SeriesAt(1));
    TChartLegend* legend = f.chart.Legend();
    legend->SetCheckBoxes(true);
    legend->SetLegendStyle(c.from);
    f.Paint();
    legend->SetLegendStyle(c.to);
    EXPECT_TRUE(legend->ItemClicked(0));
    EXPECT_FALSE(f.chart.SeriesAt(0)->Active());
    EXPECT_EQ(f.chart.SeriesAt(1)->Active(), !c.groupSwitched);
    EXPECT_TRUE(f.chart.SeriesAt(2)->Active());
  }
}

// A paging chart shows at most one page's worth of rows, whatever the legend lists.
TEST(LegendLayout, APagingChartShowsAtMostAPageOfRows) {
  struct Case {
    const char* name;
    TLegendStyle style;
    int perPage, rows;
  };
  const Case cases[] = {{"series, no paging", lsSeries, 0, 4},
                        {"series, two points a page", lsSeries, 2, 2},
                        {"last values, three points a page", lsLastValues, 3, 3},
                        {"series, a page larger than the list", lsSeries, 8, 4}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ChartFixture f;
    f.AddCurves(4);
    f.chart.Pages()->SetMaxPointsPerPage(c.perPage);
    f.chart.Legend()->SetLegendStyle(c.style);
    f.chart.Legend()->SetTextStyle(ltsValue);  // one text a row
    f.Paint();
    EXPECT_EQ(f.chart.Legend()->TotalItems(), c.rows);
    EXPECT_EQ(static_cast<int>(f.canvas->TextsIn("Legend/Items").size()), c.rows);
  }
}

// The legend's title stands by its Alignment inside the legend (two pixels in from a side, or
// centred); the alignment of the text inside the title's own box does not move it.
TEST(LegendLayout, TheTitleStandsByItsAlignment) {
  struct Case {
    const char* name;
    TAlignment alignment, textAlignment;
    int place;  // 0 left, 1 centre, 2 right
  };
  const Case cases[] = {{"left", taLeftJustify, taLeftJustify, 0},
                        {"centre", taCenter, taLeftJustify, 1},
                        {"right", taRightJustify, taLeftJustify, 2},
                        {"left, its text right-aligned", taLeftJustify, taRightJustify, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ChartFixture f;
    f.AddCurves(2);
    f.chart.Legend()->Items()->SetText(0, 0, "A much longer row");
    TLegendTitle* title = f.chart.Legend()->Title();
    title->SetText("T");
    title->SetAlignment(c.alignment);
    title->SetTextAlignment(c.textAlignment);
    f.Paint();
    const TRect l = f.chart.Legend()->Bounds, t = title->Bounds;
    ASSERT_GT(l.Width(), t.Width() + 20) << "room for the title to move";
    EXPECT_EQ(t.Top, l.Top + 2);
    const int expectedLeft = c.place == 0   ? l.Left + 2
                             : c.place == 1 ? (l.Left + l.Right - t.Width()) / 2
                                            : l.Right - 2 - t.Width();
    EXPECT_EQ(t.Left, expectedLeft);
  }
}
