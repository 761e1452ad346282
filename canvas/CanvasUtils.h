// The small pure geometry and colour routines that the canvases, the chart engine and the image
// filters share: building and ordering rectangles, containment, centres, bounds of point sets,
// the face test of the 3D projection, distances, the convex outline of a point set, and
// per-channel darkening and lightening. None of them touches a device.
#pragma once

#include <cstddef>
#include <cstdint>

#include "canvas/CanvasTypes.h"
#include "toolkit/graphics/Color.h"

TRect RectFromCoords(int left, int top, int right, int bottom);
TPoint PointFromCoords(int x, int y);
// The rect (0, 0, width, height).
TRect RectFromSize(int width, int height);
// The rect with Left <= Right and Top <= Bottom.
TRect OrderedRect(const TRect& r);
void OrderRect(TRect& r);
// All four edges inclusive.
bool RectContainsXY(const TRect& r, int x, int y);
bool RectContainsPoint(const TRect& r, TPoint p);
void RectSize(const TRect& r, int& width, int& height);
// ((Left + Right) div 2, (Top + Bottom) div 2), truncating toward zero.
TPoint RectCentre(const TRect& r);
void RectCentreXY(const TRect& r, int& x, int& y);
// Grows by dx on the left and the right and dy on the top and the bottom.
void InflateRectBy(TRect& r, int dx, int dy);

TRectFloat RectFloatFromRect(const TRect& r);
void RectFloatInflate(TRectFloat& r, float dx, float dy);
void RectFloatSize(const TRectFloat& r, float& width, float& height);
TPointFloat RectFloatCentre(const TRectFloat& r);

// Each coordinate rounded (halves to even) / converted to single.
TPoint PointRound(const TPointFloat& p);
TPointFloat PointToFloat(TPoint p);

// An angle in degrees above 360 less its whole turns, into (0, 360]: what subtracting 360
// while above 360 gives (720 stays 360, 450 becomes 90), in one step for any size. Angles up
// to 360 and non-finite ones come back unchanged; callers refuse the latter.
double ReduceAngle(double degrees);

// The points an operation on points 0..highIndex of an array of `size` takes: highIndex + 1,
// never more than the array holds, never below 0.
int PointCount(std::size_t size, int highIndex);

// Bounds of the first `count` points; Right and Bottom lie one past the largest X and Y.
// A negative count (or no points) gives the empty rect (0, 0, 0, 0).
TRect BoundsOfPointCount(const TPoint* points, int count);
TRect BoundsOfPoints(const TPointArray& points);
TRect BoundsOfTriangle(TPoint p0, TPoint p1, TPoint p2);
// Bounds of float points, all four edges inclusive.
TRectFloat BoundsOfFloatPoints(const TPointFloatArray& points);

// True when the three projected points face the viewer:
// (P0.X - P1.X)(P2.Y - P1.Y) - (P2.X - P1.X)(P0.Y - P1.Y) < 0.
bool FacesViewer(TPoint p0, TPoint p1, TPoint p2);
// The face test of the first three points of an array (false with fewer than three).
bool FacesViewerArray(const TPointArray& points);
bool FacesViewerFloat(const TPointFloat& p0, const TPointFloat& p1, const TPointFloat& p2);

double PointDistance(double a, double b);
float PointDistanceSingle(float a, float b);
void ExchangeDoubles(double& a, double& b);
void ExchangeIntegers(int& a, int& b);

// Sorts points ascending by the parallel keys (quicksort; keys move with their points).
void SortPointsByKey(TPointArray& points, std::vector<double>& keys, int low, int high);
// Reduces `points` to its convex outline: three points are left as they are; fewer than three
// report false. Otherwise the pivot (smallest Y, largest X among equal Y) ends the outline.
bool ConvexOutline(TPointArray& points);

// Each of R, G, B minus n floored at 0 / plus n capped at 255; the top byte is dropped.
TColor DarkenRGB(TColor color, int n);
TColor LightenRGB(TColor color, int n);
// The three low bytes of a colour, byte 2 first: with $00BBGGRR, b0 = BB, b1 = GG, b2 = RR.
void SplitColorBytes(TColor color, std::uint8_t& b0, std::uint8_t& b1, std::uint8_t& b2);
// The grey of a colour as monochrome drawing shows it: g = (R + G + B) div 3.
TColor MonochromeColor(TColor color);

// Where a 3D visual of a chart part stands: its location is the centre of `rect` across, the
// middle of the depth range z0..z1 deep, and `panelHeight` less the rect's centre up (the
// visual's Y runs upwards); its size is the rect's |width|, |z1 - z0| deep and |height| high.
void SetVisualBounds(TPoint3DFloat& location, TPoint3DFloat& size, const TRect& rect, int z0, int z1,
                     int panelHeight);
