// TCanvas3D: the second layer of the canvas interface, operations 74-140: projection, 3D
// primitives, frames and buffering, and the class factory through which charts create their
// canvas by class name (the canvas class registry). It keeps the projection state shared by
// all 3D canvases. Operations it leaves abstract raise the abstract-call error; TKelCanvas3D
// implements them.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>

#include "canvas/KelCanvas.h"

#include <unknwn.h>

class TView3DOptions;
class TKelShadow;
class TCustomKelGradient;
class TBitmap;
// How one drawn element is placed: moved by Offset, turned by Angle degrees and scaled about
// Origin, and optionally clipped to ClipRect; only Enabled records are applied.
struct TElementTransform {
  bool Enabled = false;
  TPointFloat Origin;
  TPointFloat Offset;
  double Angle = 0;
  double ScaleX = 1;
  double ScaleY = 1;
  bool Clip = false;
  TRect ClipRect;
};

// Fills triangle `index` (1-based) of a triangle surface: three 3D points and their colours.
using TTriangleCallback =
    std::function<void(int index, std::array<TPoint3D, 3>& points, std::array<TColor, 3>& colors)>;

// The canvas is also the platform's base interface, for callers that hold it as one; its
// lifetime stays with its owner: reference counting is off.
class TCanvas3D : public TKelCanvas, public IUnknown {
 public:
  TCanvas3D() = default;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  // ---- Base interface: add and release answer -1 and change nothing; a query answers the
  // base interface itself, any other with E_NOINTERFACE (and a null result).
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** result) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(-1); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(-1); }

  // ---- Operations 74-140 (82, the virtual constructor, is the class information's factory) --
  /* 74 */ virtual int BeginElement(const std::string& name, int data, const TElementTransform* transform);
  /* 75 */ virtual void EndElement() {}
  /* 76 */ virtual void FillShapeGradient(std::uint8_t, int, const TRect&, const TRect&, const TRect&, int, int,
                                          TPoint, bool) {}
  /* 77 */ virtual bool UseDCBrush() { return false; }
  /* 78 */ virtual TColor GetPixel3D(int, int, int) { AbstractError(); }
  /* 79 */ virtual bool SuppressesFontZoom() { AbstractError(); }
  /* 80 */ virtual void SetPixel3D(int, int, int, TColor) { AbstractError(); }
  /* 81 */ virtual void DrawShadowShape(TKelShadow* shadow, const TRect& rect, bool isEllipse, int cornerSize,
                                        const TPointArray& points, int highIndex, double holePercent,
                                        double startAngle, double endAngle);
  /* 83 */ virtual std::string GetDescription() { return {}; }
  /* 84 */ virtual std::string GetEditorClassName() { return {}; }
  /* 85 */ virtual void ProjectInverse(int&, int&, int) { AbstractError(); }
  /* 86 */ virtual TPoint Project3D(int, int, int) { AbstractError(); }
  /* 87 */ virtual void Project3DF(TPointFloat&, float) { AbstractError(); }
  /* 88 */ virtual void PrepareFrame(TCanvas*, TView3DOptions*, TColor, bool, const TRect&, TRect&) {
    AbstractError();
  }
  /* 89 */ virtual bool IsAvailable() { return true; }
  /* 90 */ virtual void AssignFrom(TCanvas3D* source);
  /* 91 */ virtual void SetProjectionRect(int, const TRect&, const TRect&) { AbstractError(); }
  /* 92 */ virtual void FinishFrame(TCanvas*, TCanvas*, const TRect&) { AbstractError(); }
  /* 93 */ virtual bool RestoreFromBuffer() { AbstractError(); }
  /* 94 */ virtual bool CopyBufferTo(TGraphic*, const TRect&) { return false; }
  /* 95 */ virtual void DrawArrow3D(bool, TPoint, TPoint, int, int, int, int, double) { AbstractError(); }
  /* 96 */ virtual void ClipToBox3D(const TRect&, int, int) { AbstractError(); }
  /* 97 */ virtual void DrawCone3D(bool, int, int, int, int, int, int, bool, int) { AbstractError(); }
  /* 98 */ virtual void DrawBox3D(int, int, int, int, int, int, bool) { AbstractError(); }
  /* 99 */ virtual void DrawBox3DAlias(int, int, int, int, int, int, bool) { AbstractError(); }
  /* 100 */ virtual void DrawCylinder3D(bool, int, int, int, int, int, int, bool) { AbstractError(); }
  /* 101 */ virtual void DrawDiamond(int left, int top, int right, int bottom, int z0, int z1);
  /* 102 */ virtual void Suspend3D() {}
  /* 103 */ virtual void EllipseAtZ(int, int, int, int, int) { AbstractError(); }
  /* 104 */ virtual void Resume3D() {}
  /* 105 */ virtual void HLine3D(int x0, int x1, int y, int z);
  /* 106 */ virtual void FillRect3D(const TRect& rect, int cornerWidth, int cornerHeight, int z0, int z1);
  /* 107 */ virtual void VLine3D(int x, int y0, int y1, int z);
  /* 108 */ virtual void DepthLine3D(int x, int y, int z0, int z1);
  /* 109 */ virtual void SuspendRotation();
  /* 110 */ virtual void ResumeRotation();
  /* 111 */ virtual void Line3D(int x0, int y0, int x1, int y1, int z);
  /* 112 */ virtual void MoveToProjected(int x, int y, int z);
  /* 113 */ virtual void MoveToProjectedF(float x, float y, float z);
  /* 114 */ virtual void LineToProjected(int x, int y, int z);
  /* 115 */ virtual void LineToProjectedF(float x, float y, float z);
  /* 116 */ virtual void DrawPieSlice3D(int, int, int, int, int, int, double, double, bool, bool, int,
                                       TCustomKelGradient*, int, std::uint8_t, std::uint8_t, int, bool, bool) {
    AbstractError();
  }
  /* 117 */ virtual void PlaneFromTwoPoints(TPoint, TPoint, int, int) { AbstractError(); }
  /* 118 */ virtual void PlaneFromFourPoints(TPoint, TPoint, TPoint, TPoint, int) { AbstractError(); }
  /* 119 */ virtual void PlaneFromArray(const std::array<TPoint, 4>&, int, int) { AbstractError(); }
  /* 120 */ virtual void FillPolygon3D(const TPoint3DArray&, int) { AbstractError(); }
  /* 121 */ virtual void FillPolygon3DF(const TPoint3DFloatArray& points, int highIndex, bool flag);
  /* 122 */ virtual void FillPolygon3DAlias(const TPoint3DArray& points, int highIndex, bool) {
    FillPolygon3D(points, highIndex);
  }
  /* 123 */ virtual void PolygonAtZ(const TPointArray& points, int highIndex, int z);
  /* 124 */ virtual void PolygonAtZAlias(const TPointArray& points, int highIndex, int z) {
    PolygonAtZ(points, highIndex, z);
  }
  /* 125 */ virtual void PolylineAtZ(const TPointArray& points, int highIndex, int z);
  /* 126 */ virtual void DrawPyramid3D(bool, int, int, int, int, int, int, bool) { AbstractError(); }
  /* 127 */ virtual void DrawSkewedBox3DF(const TRectFloat&, bool, double, double, double, double, bool) {
    AbstractError();
  }
  /* 128 */ virtual void RectangleAtZ(const TRect&, int) { AbstractError(); }
  /* 129 */ virtual void PlaneAtY(int, int, int, int, int) { AbstractError(); }
  /* 130 */ virtual void PlaneAtX(int, int, int, int, int) { AbstractError(); }
  /* 131 */ virtual void RotatedTextOut3D(int, int, int, const std::string&, double, bool) { AbstractError(); }
  /* 132 */ virtual void RectangleAtZAlias(const TRect& rect, int z) { RectangleAtZ(rect, z); }
  /* 133 */ virtual void CircleAtZ(int, int, int, double) { AbstractError(); }
  /* 134 */ virtual void DrawBitmap3D(const TRect&, TGraphic*, double, int) { AbstractError(); }
  /* 135 */ virtual void ReservedHookA() { AbstractError(); }
  /* 136 */ virtual void WriteText3D(int, int, int, const std::string&, bool) { AbstractError(); }
  /* 137 */ virtual void FillTriangle3D(const std::array<TPoint3D, 3>&, const std::array<TColor, 3>&) {
    AbstractError();
  }
  /* 138 */ virtual void ReservedHookB() {}
  /* 139 */ virtual void TriangleAtZ(TPoint, TPoint, TPoint, int) { AbstractError(); }
  /* 140 */ virtual void DrawTriangleSurface(int count, TKelBlend* blend, std::uint8_t percent,
                                            const TTriangleCallback& callback);

  // ---- Members called directly -------------------------------------------------------------
  void AssignFontZoomed(TKelFont* font);
  TPoint ProjectPoint(TPoint p, int z) { return Project3D(p.X, p.Y, z); }
  TRect ProjectRect(const TRect& rect, int z);
  std::array<TPoint, 4> ProjectRectCorners(const TRect& rect, int z);
  TRect ProjectedRectBounds(const TRect& rect, int z);
  TPointArray ProjectPoints(const TPointArray& points, int highIndex, int z);
  TPointFloatArray ProjectFloatPoints(const TPointFloatArray& points, int highIndex, float z);
  TPoint ProjectPoint3D(const TPoint3D& p) { return Project3D(p.X, p.Y, p.Z); }
  std::array<TPoint, 3> ProjectTriangle(const std::array<TPoint3D, 3>& points) {
    return {ProjectPoint3D(points[0]), ProjectPoint3D(points[1]), ProjectPoint3D(points[2])};
  }
  void PolygonAtZF(const TPointFloatArray& points, int highIndex, float z);
  void PolylineAtZF(const TPointFloatArray& points, int highIndex, float z);
  void Line3DBetween(TPoint p0, TPoint p1, int z) { Line3D(p0.X, p0.Y, p1.X, p1.Y, z); }
  void DrawBox3DFromRect(const TRect& r, int z0, int z1, bool darkSides) {
    DrawBox3D(r.Left, r.Right, r.Top, r.Bottom, z0, z1, darkSides);
  }
  void EllipseAtZFromRect(const TRect& r, int z) { EllipseAtZ(r.Left, r.Top, r.Right, r.Bottom, z); }
  void TextOut3D(int x, int y, int z, const std::string& text) { WriteText3D(x, y, z, text, false); }
  // The eight corners of the box (rect at z0 and z1) projected and reduced to their convex
  // outline; false when no outline is left.
  bool ProjectBoxHull(const TRect& rect, int z0, int z1, TPointArray& hull);
  void DrawArrowAtZ(bool filled, TPoint from, TPoint to, int headWidth, int headLength, int z) {
    DrawArrow3D(filled, from, to, headWidth, headLength, z, z, 50);
  }

  // ---- Shared state ------------------------------------------------------------------------
  int RotationLock = 0;
  TView3DOptions* View3DOptions = nullptr;
  bool IsOrthogonal = false;
  int XCentre = 0;
  int YCentre = 0;
  int ZCentre = 0;
  // The canvas's own element transform, applied to every frame (canvases that can transform).
  std::optional<TElementTransform> Transform;
};
