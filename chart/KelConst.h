// The chart library's user-visible texts: messages, captions, default formats, palette and
// filter names. Each is a text variable filled once by KelConstStartup (nested start requests
// count; the last KelConstShutdown releases them); code reads the variables, never literals,
// so a translation replaces the texts in one place.
#pragma once

#include <string>

// A single carriage return (no line feed): the chart's line break inside texts.
extern std::string KelMsg_LineBreak;

// Texts the chart engine reads.
extern std::string KelMsg_SeriesDeleteOutOfBounds;   // "Series Delete: ValueIndex %d out of ..."
extern std::string KelMsg_NoParentChartForSource;    // "No ParentChart to validate DataSource"
extern std::string KelMsg_InvalidDataSource;         // "No valid DataSource: %s"
extern std::string KelMsg_CircularSeries;            // "Circular Series dependences are ..."
extern std::string KelMsg_PercentOfTotal;            // "%s of %s"
extern std::string KelMsg_PercentOfTotalLines;       // "%s", line break, "of %s"
extern std::string KelMsg_DefaultPercentFormat;      // "##0.## %"
extern std::string KelMsg_DefaultValueFormat;        // "#,##0.###"
extern std::string KelMsg_ValuesX;                   // "X"
extern std::string KelMsg_ValuesY;                   // "Y"
extern std::string KelMsg_SeriesTitle;               // "Series"
extern std::string KelMsg_GalleryNormal;
extern std::string KelMsg_GalleryMarks;
extern std::string KelMsg_GalleryDotted;
extern std::string KelMsg_GalleryStairs;
extern std::string KelMsg_FunctionPeriodNegative;    // "Function Period should be >= 0"
extern std::string KelMsg_GalleryExtended;           // "Extended"
extern std::string KelMsg_FunctionSmoothing;         // "Smoothing"
extern std::string KelMsg_RefreshIntervalRange;      // "Refresh Interval must be between 0 and 60"
extern std::string KelMsg_SeriesParentNotMyself;     // "Series.ParentChart is not myself!"
extern std::string KelMsg_AxisLogarithmicNegative;   // "Logarithmic Axis Min and Max values ..."
extern std::string KelMsg_AxisLabelsSeparation;      // "Labels Separation % must be greater than 0"
extern std::string KelMsg_AxisIncrementNegative;     // "Axis increment must be >= 0"
extern std::string KelMsg_AxisMinimumAboveMaximum;   // "Axis Minimum Value must be <= Maximum"
extern std::string KelMsg_AxisMaximumBelowMinimum;   // "Axis Maximum Value must be >= Minimum"
extern std::string KelMsg_AxisLogarithmicBase;       // "Axis Logarithmic Base should be <> 1 and > 0"
extern std::string KelMsg_MaxPointsPerPageNegative;  // "MaxPointsPerPage must be >= 0"
extern std::string KelMsg_FirstLegendValue;          // "First Legend Value must be > 0"
extern std::string KelMsg_DefaultFontName;           // "Arial"
extern std::string KelMsg_DefaultFontSize;           // "8"

// Colour palette names, in palette order ("Quilvane" ... "Seawash").
constexpr int KelPaletteNameCount = 22;
extern std::string KelMsg_PaletteName[KelPaletteNameCount];

// Image filter names and their parameter captions.
extern std::string KelMsg_FilterAntialias, KelMsg_FilterPercent, KelMsg_FilterSmooth,
    KelMsg_FilterBlur, KelMsg_FilterWidth, KelMsg_FilterHeight, KelMsg_FilterResize,
    KelMsg_FilterLeft, KelMsg_FilterTop, KelMsg_FilterCrop, KelMsg_FilterInvert,
    KelMsg_FilterGrayScale, KelMsg_FilterMosaic, KelMsg_FilterFlip, KelMsg_FilterReverse,
    KelMsg_FilterBrightness, KelMsg_FilterColor, KelMsg_FilterHueLumSat, KelMsg_FilterSharpen,
    KelMsg_FilterGamma, KelMsg_FilterEmboss, KelMsg_FilterContrast, KelMsg_FilterRotate,
    KelMsg_FilterBack, KelMsg_FilterAutosize, KelMsg_FilterMirror, KelMsg_FilterColumns,
    KelMsg_FilterRows, KelMsg_FilterTile, KelMsg_FilterBevel, KelMsg_FilterZoom,
    KelMsg_FilterColorReplacer, KelMsg_FilterEqualize, KelMsg_FilterSobel, KelMsg_FilterSepia;

// The exception report form's texts.
extern std::string KelMsg_ServerError, KelMsg_ThanksForHelp, KelMsg_Send;

// Assigns every entry of the table its text, in table order (line break first).
void AssignTexts();

// Starts the unit: the first of possibly nested calls assigns the texts.
void KelConstStartup();
// Ends the unit: the call matching the first start releases every text.
void KelConstShutdown();

// The whole table, in its fixed order, for translation: KelConstEntryCount() entries, each a
// reference to its text variable (valid for the life of the process).
int KelConstEntryCount();
std::string& KelConstEntry(int index);
