// The chart library's text table: every entry assigned once at start, released at the end.
// Entries the engine reads have their own variables; the rest (editor, export and series-kind
// texts outside this program) keep their places in the ordered table for translations.
#include "chart/KelConst.h"

#include <array>

#include "canvas/KelFilter.h"

namespace {

// Extension of stored chart files, used in three messages.
constexpr const char* kChartFileExtension = "kel";

constexpr int kNamedCount = 90;
constexpr int kOtherCount = 312;
constexpr int kEntryCount = kNamedCount + kOtherCount + 1;  // + the one empty entry

std::array<std::string, kOtherCount> gOtherTexts;
std::string gEmptyEntry;
int gStartCount = 0;

}  // namespace

std::string KelMsg_LineBreak;
std::string KelMsg_SeriesDeleteOutOfBounds;
std::string KelMsg_NoParentChartForSource;
std::string KelMsg_InvalidDataSource;
std::string KelMsg_CircularSeries;
std::string KelMsg_PercentOfTotal;
std::string KelMsg_PercentOfTotalLines;
std::string KelMsg_DefaultPercentFormat;
std::string KelMsg_DefaultValueFormat;
std::string KelMsg_ValuesX;
std::string KelMsg_ValuesY;
std::string KelMsg_SeriesTitle;
std::string KelMsg_GalleryNormal;
std::string KelMsg_GalleryMarks;
std::string KelMsg_GalleryDotted;
std::string KelMsg_GalleryStairs;
std::string KelMsg_FunctionPeriodNegative;
std::string KelMsg_GalleryExtended;
std::string KelMsg_FunctionSmoothing;
std::string KelMsg_RefreshIntervalRange;
std::string KelMsg_SeriesParentNotMyself;
std::string KelMsg_AxisLogarithmicNegative;
std::string KelMsg_AxisLabelsSeparation;
std::string KelMsg_AxisIncrementNegative;
std::string KelMsg_AxisMinimumAboveMaximum;
std::string KelMsg_AxisMaximumBelowMinimum;
std::string KelMsg_AxisLogarithmicBase;
std::string KelMsg_MaxPointsPerPageNegative;
std::string KelMsg_FirstLegendValue;
std::string KelMsg_DefaultFontName;
std::string KelMsg_DefaultFontSize;
std::string KelMsg_FilterAntialias;
std::string KelMsg_FilterPercent;
std::string KelMsg_FilterSmooth;
std::string KelMsg_FilterBlur;
std::string KelMsg_FilterWidth;
std::string KelMsg_FilterHeight;
std::string KelMsg_FilterResize;
std::string KelMsg_FilterLeft;
std::string KelMsg_FilterTop;
std::string KelMsg_FilterCrop;
std::string KelMsg_FilterInvert;
std::string KelMsg_FilterGrayScale;
std::string KelMsg_FilterMosaic;
std::string KelMsg_FilterFlip;
std::string KelMsg_FilterReverse;
std::string KelMsg_FilterBrightness;
std::string KelMsg_FilterColor;
std::string KelMsg_FilterHueLumSat;
std::string KelMsg_FilterSharpen;
std::string KelMsg_FilterGamma;
std::string KelMsg_FilterEmboss;
std::string KelMsg_FilterContrast;
std::string KelMsg_FilterRotate;
std::string KelMsg_FilterBack;
std::string KelMsg_FilterAutosize;
std::string KelMsg_FilterMirror;
std::string KelMsg_FilterColumns;
std::string KelMsg_FilterRows;
std::string KelMsg_FilterTile;
std::string KelMsg_FilterBevel;
std::string KelMsg_FilterZoom;
std::string KelMsg_FilterColorReplacer;
std::string KelMsg_FilterEqualize;
std::string KelMsg_FilterSobel;
std::string KelMsg_FilterSepia;
std::string KelMsg_ServerError;
std::string KelMsg_ThanksForHelp;
std::string KelMsg_Send;
std::string KelMsg_PaletteName[KelPaletteNameCount];

namespace {

// The table's slots in order: the engine's own texts, then the others, then the empty entry.
std::string* EntrySlot(int index) {
  static std::string* const kNamed[kNamedCount] = {
      &KelMsg_SeriesDeleteOutOfBounds,
      &KelMsg_NoParentChartForSource,
      &KelMsg_InvalidDataSource,
      &KelMsg_CircularSeries,
      &KelMsg_PercentOfTotal,
      &KelMsg_PercentOfTotalLines,
      &KelMsg_DefaultPercentFormat,
      &KelMsg_DefaultValueFormat,
      &KelMsg_ValuesX,
      &KelMsg_ValuesY,
      &KelMsg_SeriesTitle,
      &KelMsg_GalleryNormal,
      &KelMsg_GalleryMarks,
      &KelMsg_GalleryDotted,
      &KelMsg_GalleryStairs,
      &KelMsg_FunctionPeriodNegative,
      &KelMsg_GalleryExtended,
      &KelMsg_FunctionSmoothing,
      &KelMsg_RefreshIntervalRange,
      &KelMsg_SeriesParentNotMyself,
      &KelMsg_AxisLogarithmicNegative,
      &KelMsg_AxisLabelsSeparation,
      &KelMsg_AxisIncrementNegative,
      &KelMsg_AxisMinimumAboveMaximum,
      &KelMsg_AxisMaximumBelowMinimum,
      &KelMsg_AxisLogarithmicBase,
      &KelMsg_MaxPointsPerPageNegative,
      &KelMsg_FirstLegendValue,
      &KelMsg_DefaultFontName,
      &KelMsg_DefaultFontSize,
      &KelMsg_PaletteName[0],
      &KelMsg_PaletteName[1],
      &KelMsg_PaletteName[2],
      &KelMsg_PaletteName[3],
      &KelMsg_PaletteName[4],
      &KelMsg_PaletteName[5],
      &KelMsg_PaletteName[6],
      &KelMsg_PaletteName[7],
      &KelMsg_PaletteName[8],
      &KelMsg_PaletteName[9],
      &KelMsg_PaletteName[10],
      &KelMsg_PaletteName[11],
      &KelMsg_PaletteName[12],
      &KelMsg_PaletteName[13],
      &KelMsg_PaletteName[14],
      &KelMsg_PaletteName[15],
      &KelMsg_PaletteName[16],
      &KelMsg_PaletteName[17],
      &KelMsg_PaletteName[18],
      &KelMsg_PaletteName[19],
      &KelMsg_PaletteName[20],
      &KelMsg_PaletteName[21],
      &KelMsg_FilterAntialias,
      &KelMsg_FilterPercent,
      &KelMsg_FilterSmooth,
      &KelMsg_FilterBlur,
      &KelMsg_FilterWidth,
      &KelMsg_FilterHeight,
      &KelMsg_FilterResize,
      &KelMsg_FilterLeft,
      &KelMsg_FilterTop,
      &KelMsg_FilterCrop,
      &KelMsg_FilterInvert,
      &KelMsg_FilterGrayScale,
      &KelMsg_FilterMosaic,
      &KelMsg_FilterFlip,
      &KelMsg_FilterReverse,
      &KelMsg_FilterBrightness,
      &KelMsg_FilterColor,
      &KelMsg_FilterHueLumSat,
      &KelMsg_FilterSharpen,
      &KelMsg_FilterGamma,
      &KelMsg_FilterEmboss,
      &KelMsg_FilterContrast,
      &KelMsg_FilterRotate,
      &KelMsg_FilterBack,
      &KelMsg_FilterAutosize,
      &KelMsg_FilterMirror,
      &KelMsg_FilterColumns,
      &KelMsg_FilterRows,
      &KelMsg_FilterTile,
      &KelMsg_FilterBevel,
      &KelMsg_FilterZoom,
      &KelMsg_FilterColorReplacer,
      &KelMsg_FilterEqualize,
      &KelMsg_FilterSobel,
      &KelMsg_FilterSepia,
      &KelMsg_ServerError,
      &KelMsg_ThanksForHelp,
      &KelMsg_Send,
  };
  if (index < kNamedCount) return kNamed[index];
  if (index < kNamedCount + kOtherCount) return &gOtherTexts[index - kNamedCount];
  return &gEmptyEntry;
}

}  // namespace

void AssignTexts() {
  const std::string named[kNamedCount] = {
      std::string("Series Delete: ValueIndex %d out of bounds (0 to %d)."),
      std::string("No ParentChart to validate DataSource"),
      std::string("No valid DataSource: %s"),
      std::string("Circular Series dependences are not allowed"),
      std::string("%s of %s"),
      std::string("%s") + KelMsg_LineBreak + "of %s",
      std::string("##0.## %"),
      std::string("#,##0.###"),
      std::string("X"),
      std::string("Y"),
      std::string("Series"),
      std::string("Normal"),
      std::string("Marks"),
      std::string("Dotted"),
      std::string("Stairs"),
      std::string("Function Period should be >= 0"),
      std::string("Extended"),
      std::string("Smoothing"),
      std::string("Refresh Interval must be between 0 and 60"),
      std::string("Series.ParentChart is not myself!"),
      std::string("Logarithmic Axis Min and Max values should be >= 0"),
      std::string("Labels Separation % must be greater than 0"),
      std::string("Axis increment must be >= 0"),
      std::string("Axis Minimum Value must be <= Maximum"),
      std::string("Axis Maximum Value must be >= Minimum"),
      std::string("Axis Logarithmic Base should be <> 1 and > 0"),
      std::string("MaxPointsPerPage must be >= 0"),
      std::string("First Legend Value must be > 0"),
      std::string("Arial"),
      std::string("8"),
      std::string("Quilvane"),
      std::string("Excel"),
      std::string("Victorian"),
      std::string("Pastels"),
      std::string("Solid"),
      std::string("Classic"),
      std::string("Web"),
      std::string("Modern"),
      std::string("Rainbow"),
      std::string("Win. XP"),
      std::string("Mac OS"),
      std::string("Win. Vista"),
      std::string("Gray scale"),
      std::string("Opera"),
      std::string("Warm"),
      std::string("Cool"),
      std::string("BlackIsBack"),
      std::string("Metro"),
      std::string("iOS"),
      std::string("Android"),
      std::string("Lookout"),
      std::string("Seawash"),
      std::string("Antialias"),
      std::string("Percent"),
      std::string("Smooth"),
      std::string("Blur"),
      std::string("Width"),
      std::string("Height"),
      std::string("Resize"),
      std::string("Left"),
      std::string("Top"),
      std::string("Crop"),
      std::string("Invert"),
      std::string("Gray scale"),
      std::string("Mosaic"),
      std::string("Flip"),
      std::string("Reverse"),
      std::string("Brightness"),
      std::string("Color"),
      std::string("Hue,Lum,Sat"),
      std::string("Sharpen"),
      std::string("Gamma correction"),
      std::string("Emboss"),
      std::string("Contrast"),
      std::string("Rotate"),
      std::string("Back"),
      std::string("Autosize"),
      std::string("Mirror"),
      std::string("Columns"),
      std::string("Rows"),
      std::string("Tile"),
      std::string("Bevel"),
      std::string("Zoom"),
      std::string("Color Replacer"),
      std::string("Equalize"),
      std::string("Sobel"),
      std::string("Sepia"),
      std::string("SERVER ERROR"),
      std::string("Thanks for Your Help"),
      std::string("&Send"),
  };
  for (int i = 0; i < kNamedCount; ++i) *EntrySlot(i) = named[i];

  const std::string other[kOtherCount] = {
      std::string("Test..."),
      std::string("Legend Color Width must be > 0%"),
      std::string("DateTime Axis cannot be Logarithmic"),
      std::string("#.0 \"x10\" E+0"),
      std::string("Axis Title"),
      std::string("Axis Labels"),
      std::string("Line"),
      std::string("Point"),
      std::string("Area"),
      std::string("Bar"),
      std::string("Horizontal") + KelMsg_LineBreak + std::string("Bar"),
      std::string("Stack"),
      std::string("Pie"),
      std::string("Circled"),
      std::string("Fast Line"),
      std::string("Horizontal") + KelMsg_LineBreak + std::string("Line"),
      std::string("Cars"),
      std::string("Phones"),
      std::string("Tables"),
      std::string("Monitors"),
      std::string("Lamps"),
      std::string("Keyboards"),
      std::string("Bikes"),
      std::string("Chairs"),
      std::string("Courier New"),
      std::string("Editing %s"),
      std::string("Standard"),
      std::string("Functions"),
      std::string("E&dit Chart..."),
      std::string("&Print Preview..."),
      std::string("E&xport Chart..."),
      std::string("Custom Axes..."),
      std::string("%s: Invalid Editor Class: %s"),
      std::string("%s: has no Editor Dialog"),
      std::string("Arrow"),
      std::string("&Finish"),
      std::string("&Next >"),
      std::string("Gantt"),
      std::string("Design"),
      std::string("Prototyping"),
      std::string("Development"),
      std::string("Sales"),
      std::string("Marketing"),
      std::string("Testing"),
      std::string("Manufac."),
      std::string("Debugging"),
      std::string("New Version"),
      std::string("Banking"),
      std::string("Change Series Title"),
      std::string("New Series Title:"),
      std::string("DateTime"),
      std::string("Top Axis"),
      std::string("Bottom Axis"),
      std::string("Left Axis"),
      std::string("Right Axis"),
      std::string("Delete %s ?"),
      std::string("DateTime For&mat:"),
      std::string("Default"),
      std::string("Values For&mat:"),
      std::string("Maximum"),
      std::string("Minimum"),
      std::string("Desired %s Increment"),
      std::string("Incorrect value. Reason: %s"),
      std::string("Enter [Number of Days] [hh:nn:ss]"),
      std::string("Apply Changes ?"),
      std::string("(Selected Series)"),
      std::string("&Refresh Data"),
      std::string("414"),
      std::string("347"),
      std::string("Add"),
      std::string("Subtract"),
      std::string("Multiply"),
      std::string("Divide"),
      std::string("High"),
      std::string("Low"),
      std::string("Average"),
      std::string("Shape"),
      std::string("Bubble"),
      std::string("Copy"),
      std::string("(none)"),
      std::string("{ Private declarations }"),
      std::string("{ Public declarations }"),
      std::string("Pointer size must be greater than zero"),
      std::string("Abo&ut Quilvane..."),
      std::string("Additional"),
      std::string("Data Controls"),
      std::string("QReport"),
      std::string("Dataset"),
      std::string("&Dataset:"),
      std::string("Single Record"),
      std::string("&DataSource:"),
      std::string("Summary"),
      std::string("Business"),
      std::string("Quilvane Wizard"),
      std::string("Clea&r"),
      std::string("B&rowse..."),
      std::string("Are you sure that you want to close the Quilvane Wizard ?"),
      std::string("Field %s does not exist"),
      std::string("Depth Right"),
      std::string("Other"),
      std::string("abc"),
      std::string("123"),
      std::string("Pie"),
      std::string("Bar"),
      std::string("Angle"),
      std::string("Start"),
      std::string("End"),
      std::string("NextTask"),
      std::string("Radius"),
      std::string("EndX"),
      std::string("EndY"),
      std::string("Legend"),
      std::string("Title"),
      std::string("Footer"),
      std::string("Period"),
      std::string("Period range"),
      std::string("Calculate %s every:"),
      std::string("Small Dots"),
      std::string("Invalid Chart in *.") + kChartFileExtension + " file",
      std::string("Wrong *.") + kChartFileExtension + " file format",
      std::string("Empty *.") + kChartFileExtension + " file",
      std::string("Chart Axes"),
      std::string("Chart Axes properties and events"),
      std::string("Chart Walls"),
      std::string("Chart Walls properties and events"),
      std::string("Chart Titles"),
      std::string("Chart Titles properties and events"),
      std::string("Chart 3D"),
      std::string("Chart 3D properties and events"),
      std::string("Custom "),
      std::string("Series..."),
      std::string("Page %d of %d"),
      std::string("%d bytes"),
      std::string("First"),
      std::string("Prior"),
      std::string("Next"),
      std::string("Last"),
      std::string("Insert"),
      std::string("Delete"),
      std::string("Edit"),
      std::string("Post"),
      std::string("Cancel"),
      std::string("(all)"),
      std::string("Index"),
      std::string("Text"),
      std::string("as &Bitmap"),
      std::string("Bitmaps (*.bmp)|*.bmp"),
      std::string("as &Metafile"),
      std::string("Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf"),
      std::string("Panel property is not set in Export format"),
      std::string("No Border"),
      std::string("Colors"),
      std::string("Filled"),
      std::string("Points"),
      std::string("Hollow"),
      std::string("Point 2D"),
      std::string("Triangle"),
      std::string("Star"),
      std::string("Circle"),
      std::string("Down Tri."),
      std::string("Cross"),
      std::string("Diamond"),
      std::string("No Lines"),
      std::string("Stack 100%"),
      std::string("Pyramid"),
      std::string("Ellipse"),
      std::string("Inv. Pyramid"),
      std::string("Sides"),
      std::string("Side All"),
      std::string("Patterns"),
      std::string("Exploded"),
      std::string("Shadow"),
      std::string("Semi Pie"),
      std::string("Rectangle"),
      std::string("Vert.Line"),
      std::string("Horiz.Line"),
      std::string("Line"),
      std::string("Cube"),
      std::string("Diag.Cross"),
      std::string("Can not find Temp folder"),
      std::string("Can not create Temp file"),
      std::string("Can not email Quilvane. Mapi Error: %d"),
      std::string("No Series selected"),
      std::string("Error code: %d downloading Chart from URL: %s"),
      std::string("Error code: %d downloading Series data from URL: %s"),
      std::string("as &JPEG"),
      std::string("JPEG files (*.jpg)|*.jpg"),
      std::string("as &GIF"),
      std::string("GIF files (*.gif)|*.gif"),
      std::string("as &PNG"),
      std::string("PNG files (*.png)|*.png"),
      std::string("as PC&X"),
      std::string("PCX files (*.pcx)|*.pcx"),
      std::string("as &VML (HTM)"),
      std::string("VML files (*.htm)|*.htm"),
      std::string("&Language..."),
      std::string("Text File"),
      std::string("Gradient"),
      std::string("Do you want to save %s?"),
      std::string("Quilvane files"),
      std::string("Property"),
      std::string("Value"),
      std::string("Yes"),
      std::string("No"),
      std::string("(image)"),
      std::string("y = f(x)"),
      std::string("as &PDF"),
      std::string("PDF files (*.pdf)|*.pdf"),
      std::string("as PostScript"),
      std::string("PostScript files (*.eps)|*.eps"),
      std::string("Horizontal") + KelMsg_LineBreak + std::string("Area"),
      std::string("Self Stacked"),
      std::string("Dark Border"),
      std::string("Select folder"),
      std::string("&Alias:"),
      std::string("&Connection:"),
      std::string("&Apply"),
      std::string("Add new group"),
      std::string("Change group name"),
      std::string("Group name:"),
      std::string("Median"),
      std::string("Mode"),
      std::string("&Options..."),
      std::string("Depth Top"),
      std::string("2D"),
      std::string("Outline"),
      std::string("Space delimited text files (*.txt)|*.txt"),
      std::string("Tab delimited text files (*.txt)|*.txt"),
      std::string("Comma delimited text files (*.csv)|*.csv"),
      std::string("Colon delimited text files (*.txt)|*.txt"),
      std::string("Custom delimited text files (*.txt)|*.txt"),
      std::string("XML files (*.xml)|*.xml"),
      std::string("HTML files (*.htm)|*.htm"),
      std::string("Microsoft Excel files(*.xls)|*.xls|Microsoft Excel files (*.xlsx)|*.xlsx"),
      std::string("Ortho Right"),
      std::string("Ortho Left"),
      std::string("3D Front"),
      std::string("3D Right"),
      std::string("3D Left"),
      std::string("as &SVG"),
      std::string("SVG files (*.svg)|*.svg"),
      std::string("SubTitle"),
      std::string("SubFoot"),
      std::string("Subset"),
      std::string("Hexagon"),
      std::string("Default"),
      std::string("&Filters..."),
      std::string("CrossTab"),
      std::string("Summary properties"),
      std::string("as Flex (Flash)"),
      std::string("Flex Flash files (*.mxml)|*.mxml"),
      std::string("as XAML (WPF)"),
      std::string("XAML files (*.xaml)|*.xaml"),
      std::string("Select temporary folder"),
      std::string("Select folder with Adobe Flex mxmlc.exe compiler"),
      std::string("°"),
      std::string("New Chart"),
      std::string("Rename Chart"),
      std::string("Chart Name:"),
      std::string("Select text file"),
      std::string("Save as text file"),
      std::string("&Record Video !"),
      std::string("Change tool name"),
      std::string("New tool name?"),
      std::string("&Change..."),
      std::string("Ternary"),
      std::string("Weighting"),
      std::string("DPI"),
      std::string("Image DPI setting failed: Invalid identifier"),
      std::string("Speed"),
      std::string("Radius"),
      std::string("Weight"),
      std::string("Change animation name"),
      std::string("New animation name?"),
      std::string("All"),
      std::string("Expand"),
      std::string("Expands a chart object by a given size."),
      std::string("RGB: %s, %s, %s"),
      std::string("HLS: %s, %s, %s"),
      std::string("Search"),
      std::string("Legend title"),
      std::string("Error Point"),
      std::string("Error Point3D"),
      std::string("Volume"),
      std::string("One of the Series Types you have selected") + KelMsg_LineBreak + std::string("is not implemented yet for Javascript."),
      std::string("as HTML5 &JScript"),
      std::string("HTML5 Files (*.html)|*.html|JavaScript Files (*.js)|*.js"),
      std::string("as HTML&5 Canvas"),
      std::string("HTML5 Files (*.htm)|*.htm"),
      std::string("JSON files (*.json)|*.json"),
      std::string("OpenDocument Spreadsheet files (*.ods)|*.ods"),
      std::string("Item"),
      std::string("Concentric"),
      std::string("&Animate !"),
      std::string("Stop"),
      std::string("Animation"),
      std::string("Random Points"),
      std::string("Pareto"),
      std::string("Centroid"),
      std::string("Donut"),
      std::string("Data"),
      std::string("Progressive Lines"),
      std::string("Series Transition"),
      std::string("Series Animation"),
      std::string("Animate Series points"),
      std::string("Stacked Bars"),
      std::string("Line and Point"),
      std::string("Concentric Donuts"),
      std::string("Excel file empty"),
      std::string("Excel"),
      std::string("Excel WorkSheet must be specified"),
      std::string("Range must be specified. (ie: From A1 to A10)"),
  };
  for (int i = 0; i < kOtherCount; ++i) gOtherTexts[i] = other[i];
  gEmptyEntry.clear();
}

// The drawing surface's filter names and editor captions take this library's texts.
static void AssignFilterTexts() {
  TKelFilterTexts& t = KelFilterTexts;
  t.Invert = KelMsg_FilterInvert;
  t.GrayScale = KelMsg_FilterGrayScale;
  t.Mosaic = KelMsg_FilterMosaic;
  t.Flip = KelMsg_FilterFlip;
  t.Reverse = KelMsg_FilterReverse;
  t.Brightness = KelMsg_FilterBrightness;
  t.Contrast = KelMsg_FilterContrast;
  t.Color = KelMsg_FilterColor;
  t.ColorReplacer = KelMsg_FilterColorReplacer;
  t.HueLumSat = KelMsg_FilterHueLumSat;
  t.Blur = KelMsg_FilterBlur;
  t.Sharpen = KelMsg_FilterSharpen;
  t.Gamma = KelMsg_FilterGamma;
  t.Emboss = KelMsg_FilterEmboss;
  t.Antialias = KelMsg_FilterAntialias;
  t.Crop = KelMsg_FilterCrop;
  t.Resize = KelMsg_FilterResize;
  t.Rotate = KelMsg_FilterRotate;
  t.Mirror = KelMsg_FilterMirror;
  t.Tile = KelMsg_FilterTile;
  t.Bevel = KelMsg_FilterBevel;
  t.Equalize = KelMsg_FilterEqualize;
  t.Zoom = KelMsg_FilterZoom;
  t.Sobel = KelMsg_FilterSobel;
  t.Sepia = KelMsg_FilterSepia;
  t.Percent = KelMsg_FilterPercent;
  t.Smooth = KelMsg_FilterSmooth;
  t.Width = KelMsg_FilterWidth;
  t.Height = KelMsg_FilterHeight;
  t.Left = KelMsg_FilterLeft;
  t.Top = KelMsg_FilterTop;
  t.Back = KelMsg_FilterBack;
  t.Autosize = KelMsg_FilterAutosize;
  t.Columns = KelMsg_FilterColumns;
  t.Rows = KelMsg_FilterRows;
}

void KelConstStartup() {
  if (gStartCount++ > 0) return;
  KelMsg_LineBreak = "\r";
  AssignTexts();
  AssignFilterTexts();
}

void KelConstShutdown() {
  if (gStartCount == 0 || --gStartCount > 0) return;
  for (int i = 0; i < kEntryCount; ++i) {
    EntrySlot(i)->clear();
    EntrySlot(i)->shrink_to_fit();
  }
  KelMsg_LineBreak.clear();
}

int KelConstEntryCount() { return kEntryCount; }

std::string& KelConstEntry(int index) { return *EntrySlot(index); }
