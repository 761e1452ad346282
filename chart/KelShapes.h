// The shape family every framed box of a chart is drawn with: brush, pen and visibility
// (TKelCustomShapeBrushPen); a rectangle, rounded rectangle or ellipse with shadow, bevel,
// rotation, transparency and an optional speech-bubble pointer (TKelCustomShape); a shape that
// sizes itself to a multi-line text with margins (TCustomTextShape), optionally at a custom
// position (TKelCustomShapePosition, TTextShape). Shapes reach their panel only through
// IShapePanel (canvas, font set-up, text measuring, invalidation), so axes, legend and titles
// can use them without knowing the chart. Invariant: Bounds is in canvas coordinates of the
// current paint and every setter that changes what is drawn asks the panel to repaint.
#pragma once

#include <array>
#include <initializer_list>
#include <memory>
#include <string>
#include <type_traits>

#include "canvas/CanvasTypes.h"
#include "toolkit/classes/Collection.h"
#include "toolkit/classes/Events.h"
#include "toolkit/classes/Persistent.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/graphics/Color.h"
#include "toolkit/graphics/GraphicsObject.h"
#include "toolkit/graphics/GraphicsUtils.h"
#include "toolkit/ui/Control.h"
#include "toolkit/ui/Panel.h"

class TCanvas3D;
class TKelBasePath;
class TKelBrush;
class TKelFont;
class TKelGradient;
class TKelPen;
class TKelShadow;
class TKelEmboss;
class TKelCorners;
class TBackImage;
class TKelShapes;
class TStringList;
class TStrings;

// What a shape needs of the panel it is drawn on; the chart panel implements it.
class IShapePanel {
 public:
  virtual ~IShapePanel() = default;
  // The canvas of the current paint (null before the first one).
  virtual TCanvas3D* ShapeCanvas() = 0;
  // Gives the canvas the font (a default-marked font becomes the panel font; 3D-zoomed in 3D).
  virtual void AssignShapeFont(TKelFont* font) = 0;
  // The same without the 3D zoom, for text drawn flat in a 3D view.
  virtual void AssignShapeFontFlat(TKelFont* font) { AssignShapeFont(font); }
  // Width and height of a multi-line text (lines split at #13) in the canvas font.
  virtual void ShapeTextExtent(const std::string& text, bool markUp, int& width, int& height) = 0;
  // A shape changed: the panel invalidates itself (ignored while its repaint flag is off).
  virtual void ShapeChanged() = 0;
  // Draws a shape's fill picture into r: at depth z of the 3D box when z is not 0 (only a
  // full-3D canvas asks for that), else flat. The default draws flat on the shape canvas.
  virtual void DrawShapePicture(TBackImage* picture, const TRect& r, int z);
};

enum TChartObjectShapeStyle { fosRectangle, fosRoundRectangle, fosEllipse };
enum TShapeCalloutSide { csNone, csLeft, csTop, csRight, csBottom };
enum TMarginUnits { maPercentFont, maPercentSize, maPixels };
enum TKelTextFormat { ttfNormal, ttfHtml };
enum TKelShapeLayout { slTopBottom, slLeftRight };
enum TVertTextAlign { vtaCenter, vtaTop, vtaBottom };
const TEnumInfo& EnumTypeInfo(TKelShapeLayout);
const TEnumInfo& EnumTypeInfo(TChartObjectShapeStyle);
const TEnumInfo& EnumTypeInfo(TShapeCalloutSide);
const TEnumInfo& EnumTypeInfo(TMarginUnits);
const TEnumInfo& EnumTypeInfo(TKelTextFormat);
const TEnumInfo& EnumTypeInfo(TVertTextAlign);

class TKelCustomShape;
class TCustomTextShape;

// What a text may do on its own to fit: hide, move, resize, rotate, trim, wrap (all on at
// first). A change of a flag calls the change callback.
class TAutomaticText : public TPersistent {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  explicit TAutomaticText(TNotifyEvent changed) : changed_(std::move(changed)) {}
  void Assign(TPersistent* source) override;

  bool Hide() const { return flags_[0]; }
  void SetHide(bool value) { SetFlag(0, value); }
  bool Move() const { return flags_[1]; }
  void SetMove(bool value) { SetFlag(1, value); }
  bool Resize() const { return flags_[2]; }
  void SetResize(bool value) { SetFlag(2, value); }
  bool Rotate() const { return flags_[3]; }
  void SetRotate(bool value) { SetFlag(3, value); }
  bool Trim() const { return flags_[4]; }
  void SetTrim(bool value) { SetFlag(4, value); }
  bool Wrap() const { return flags_[5]; }
  void SetWrap(bool value) { SetFlag(5, value); }

 private:
  void SetFlag(int index, bool value);
  TNotifyEvent changed_;
  std::array<bool, 6> flags_{true, true, true, true, true, true};
};

// The pointer of a speech bubble: on which side, where along it (percent from its start),
// how wide at its base and how deep (percent of the shape's size).
class TShapeCallout : public TPersistent {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  explicit TShapeCallout(TKelCustomShape* shape) : shape_(shape) {}
  void Assign(TPersistent* source) override;

  TShapeCalloutSide Side() const { return side_; }
  void SetSide(TShapeCalloutSide value);
  int Position() const { return position_; }
  void SetPosition(int value);
  int Size() const { return size_; }
  void SetSize(int value);
  int Width() const { return width_; }
  void SetWidth(int value);
  int PointPosition() const { return pointPosition_; }
  void SetPointPosition(int value) { pointPosition_ = value; }

  // The pointer on rectangle r with corner size `round`: base start, tip and base end in the
  // direction the outline runs (clockwise). False for csNone.
  bool Pointer(const TRect& r, int round, TPoint& baseStart, TPoint& tip, TPoint& baseEnd) const;
  // The closed outline (corners as straight lines, or as short polylines for round > 0) with
  // the pointer inserted on its side: the polygon a picture fill is clipped to.
  TPointArray Outline(const TRect& r, int round) const;
  // The outline as a new path of the canvas, its corners 90-degree arcs in a round x round box
  // (straight for round 0), closed. With round corners the pointer's side gives its first line
  // a start point of its own (StartFigureAt) after the corner before it; the outline stays one
  // figure on every canvas. The caller draws the path (DrawPath) and frees it.
  std::unique_ptr<TKelBasePath> BuildPath(TCanvas3D* canvas, const TRect& r, int round) const;

 private:
  void Changed();
  TKelCustomShape* shape_;
  int pointPosition_ = 50;
  int position_ = 50;
  TShapeCalloutSide side_ = csNone;
  int size_ = 25;
  int width_ = 20;
};

// Margins of a text shape in percent of the font height, percent of the shape size, or pixels.
class TMargins : public TPersistent {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  explicit TMargins(TCustomTextShape* parent) : parent_(parent) {}
  void Assign(TPersistent* source) override;

  int Left() const { return left_; }
  void SetLeft(int value);
  int Top() const { return top_; }
  void SetTop(int value);
  int Right() const { return right_; }
  void SetRight(int value);
  int Bottom() const { return bottom_; }
  void SetBottom(int value);
  TMarginUnits Units() const { return units_; }
  void SetUnits(TMarginUnits value);

  // Sets Left and Right and makes the value the one not written to layouts (10 at first);
  // likewise Top and Bottom (5 at first).
  void SetHorizDefault(int value);
  void SetVertDefault(int value);
  bool IsLeftStored() const { return left_ != horizDefault_; }
  bool IsRightStored() const { return right_ != horizDefault_; }
  bool IsTopStored() const { return top_ != vertDefault_; }
  bool IsBottomStored() const { return bottom_ != vertDefault_; }

  // The pixel margins for a shape of width w and height h whose text line is textHeight high.
  void Compute(int w, int h, int textHeight);
  void ClearPixels() { pixLeft = pixTop = pixRight = pixBottom = 0; }
  int pixLeft = 0, pixTop = 0, pixRight = 0, pixBottom = 0;

 private:
  void Changed();
  TCustomTextShape* parent_;
  int left_ = 10, top_ = 5, right_ = 10, bottom_ = 5;
  int horizDefault_ = 10, vertDefault_ = 5;
  TMarginUnits units_ = maPercentFont;
};

// The base of every framed chart box: its brush, its frame pen, its visibility and the panel it
// is drawn on (none until attached). A change of the brush or pen repaints the panel.
class TKelCustomShapeBrushPen : public TPersistent {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  explicit TKelCustomShapeBrushPen(IShapePanel* panel);
  ~TKelCustomShapeBrushPen() override;
  // Brush, pen and Visible; then a repaint.
  void Assign(TPersistent* source) override;

  IShapePanel* Panel() const { return panel_; }
  // Stores the panel.
  virtual void AttachPanel(IShapePanel* panel) { panel_ = panel; }
  // Invalidates the panel, when there is one.
  virtual void Repaint();

  TKelBrush* Brush() const { return brush_.get(); }
  TKelPen* Pen() const { return pen_.get(); }
  // The brush and pen always exist: another object is copied in, null is ignored.
  void SetBrush(TKelBrush* value);
  void SetPen(TKelPen* value);
  // Visible is written to layouts only when it differs from its default (True at first).
  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  // Sets the value and makes it the one not written to layouts (a per-instance default).
  void SetVisibleDefault(bool value) {
    visible_ = value;
    defaultVisible_ = value;
  }
  bool IsVisibleStored() const { return visible_ != defaultVisible_; }

 protected:
  // The change callback of the brush, pen and every other part of a shape.
  void PartChanged(TObject*) { Repaint(); }

  IShapePanel* panel_;
  std::unique_ptr<TKelBrush> brush_;
  std::unique_ptr<TKelPen> pen_;
  bool visible_ = true;
  bool defaultVisible_ = true;
};

class TKelCustomShape : public TKelCustomShapeBrushPen {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  explicit TKelCustomShape(IShapePanel* panel);
  ~TKelCustomShape() override;
  void Assign(TPersistent* source) override;

  // Stores the panel and passes it to every child.
  void AttachPanel(IShapePanel* panel) override;

  // ---- Geometry ----------------------------------------------------------------------------
  TRect Bounds;
  int Width() const { return Bounds.Right - Bounds.Left; }
  int Height() const { return Bounds.Bottom - Bounds.Top; }
  void MoveTo(int x, int y);
  void ChangeWidth(int w) { Bounds.Right = Bounds.Left + w; }
  // The bounds' corners turned by `angle` degrees about their centre.
  static std::array<TPoint, 4> RotatedCorners(const TRect& r, double angle);
  // Whether the point lies in the bounds, turned by Angle.
  bool Clicked(TPoint p) const;

  // ---- Size and drawing ------------------------------------------------------------------
  // With AutoSize the bounds collapse to their top-left corner (the text shape adds its text).
  virtual void CalcSize();
  void DrawAt() { DrawInRect(Bounds, 0, angle_); }
  void DrawInRect(const TRect& r, int z, double angle) { DrawShape(r, z, angle, nullptr); }
  // The shape drawn as the polygon through `points` (r: the rectangle its fill, shadow and
  // text take).
  void DrawPolygon(const TRect& r, int z, double angle, const TPointArray& points) { DrawShape(r, z, angle, &points); }

  // ---- Properties ------------------------------------------------------------------------
  TKelFont* Font() const { return font_.get(); }
  TKelShadow* Shadow() const { return shadow_.get(); }
  // The font and shadow always exist: another object is copied in, null is ignored.
  void SetFont(TKelFont* value);
  void SetShadow(TKelShadow* value);
  // The brush's gradient (created on first read); null frees it, another one is copied.
  TKelGradient* Gradient();
  void SetGradient(TKelGradient* value);
  // Created on first read; null frees it, another callout is copied.
  TShapeCallout* ShapeCallout();
  bool HasCallout() const { return callout_ != nullptr; }
  void SetShapeCallout(TShapeCallout* value);
  int Angle() const { return angle_; }
  void SetAngle(int value);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);
  TBevelCut Bevel() const { return bevel_; }
  void SetBevel(TBevelCut value);
  TBevelWidth BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(TBevelWidth value);
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  int RoundSize() const { return roundSize_; }
  void SetRoundSize(int value);  // above 0 also makes the style fosRoundRectangle
  TChartObjectShapeStyle ShapeStyle() const { return shapeStyle_; }
  void SetShapeStyle(TChartObjectShapeStyle value);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);
  int Transparency() const { return transparency_; }
  void SetTransparency(int value);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  // Sets the value and makes it the one not written to layouts (a per-instance default).
  void SetTransparentDefault(bool value) {
    transparent_ = value;
    defaultTransparent_ = value;
  }
  void SetAngleDefault(int value) {
    angle_ = value;
    defaultAngle_ = value;
  }
  void SetAlignmentDefault(TAlignment value) {
    alignment_ = value;
    defaultAlignment_ = value;
  }
  bool IsTransparentStored() const { return transparent_ != defaultTransparent_; }
  bool IsAngleStored() const { return angle_ != defaultAngle_; }
  bool IsAlignmentStored() const { return alignment_ != defaultAlignment_; }
  // Created on first read (given its defaults by InitEmboss); setting null frees, another
  // object is copied.
  TKelEmboss* Emboss();
  bool HasEmboss() const { return emboss_ != nullptr; }
  void SetEmboss(TKelEmboss* value);
  TKelCorners* Corners();
  bool HasCorners() const { return corners_ != nullptr; }
  void SetCorners(TKelCorners* value);
  // The fill picture (drawn instead of the brush when it holds a graphic).
  TBackImage* Picture();
  bool HasPicture() const { return picture_ != nullptr; }
  void SetPicture(TBackImage* value);
  // Child shapes laid out inside the shape, top to bottom or left to right.
  TKelShapes* Children() const { return children_.get(); }
  TKelShapeLayout ChildLayout() const { return childLayout_; }
  void SetChildLayout(TKelShapeLayout value);
  // The class of shape a new child item holds (a plain shape; text shapes make text shapes).
  virtual const TClassInfo& ChildShapeClass() const;
  // A new shape of ChildShapeClass on the panel, owned by the caller.
  virtual TKelCustomShape* NewChildShape(IShapePanel* panel);
  // Where the children start: bounds left (left to right) or top.
  virtual int ChildStart();
  // The class name of the editor that edits this kind of shape.
  virtual std::string EditorClassName() const { return "TFormKelShape"; }
  // The legacy entries "ShadowColor" and "ShadowSize" (read only).
  void DefineProperties(TFiler& filer) override;
  // Draw through the canvas's 3D operations at the given depth even on a flat canvas.
  bool DrawAtDepth = false;

 protected:
  // Gives a newly made emboss the defaults of this kind of shape (none here).
  virtual void InitEmboss(TKelEmboss& /*emboss*/) {}
  // Fill, outline, bevel and (for text shapes) the text, in rectangle r at depth z; the
  // outline is the polygon through `points` when given, else the rectangle's figure.
  void DrawShape(const TRect& r, int z, double angle, const TPointArray* points);
  virtual void DrawRectShape(TCanvas3D* canvas, const TRect& r, int z, double angle);
  virtual void DrawPolygonShape(TCanvas3D* canvas, const TPointArray& points, int z, double angle, const TRect& r);
  // After the outline: the text shape draws its text here.
  virtual void DrawContent(TCanvas3D*, const TRect&, int, double) {}

  std::unique_ptr<TKelFont> font_;
  std::unique_ptr<TKelShadow> shadow_;
  std::unique_ptr<TShapeCallout> callout_;
  std::unique_ptr<TKelEmboss> emboss_;
  std::unique_ptr<TKelCorners> corners_;
  std::unique_ptr<TBackImage> picture_;
  std::unique_ptr<TKelShapes> children_;
  TKelShapeLayout childLayout_ = slTopBottom;
  // Shadow and emboss; on a full-3D canvas they stand at depth z + 2.
  void DrawEffects(TCanvas3D* canvas, const TRect& r, int z, double angle);
  void DrawEffectAtDepth(TCanvas3D* canvas, TKelShadow* effect, const TRect& r, int z, double angle);
  // The shape's figure (ellipse, rounded or plain rectangle) over r at depth z.
  void DrawFigureAtDepth(TCanvas3D* canvas, const TRect& r, int z);
  void FillWithPicture(TCanvas3D* canvas, const TRect& r, int z, double angle, const TPointArray* points);
  // The polygon the shape is drawn as (turned box or pointer outline); empty for plain boxes.
  TPointArray OutlinePolygon(TCanvas3D* canvas, const TRect& r, double angle) const;
  void LayoutChildren(int z, double angle);
  int angle_ = 0;
  bool autoSize_ = true;
  TBevelCut bevel_ = bvNone;
  TBevelWidth bevelWidth_ = 2;
  TColor color_ = clWhite;
  int roundSize_ = 16;
  TChartObjectShapeStyle shapeStyle_ = fosRectangle;
  bool transparent_ = false;
  bool defaultTransparent_ = false;
  int defaultAngle_ = 0;
  int transparency_ = 0;
  TAlignment alignment_ = taLeftJustify;
  TAlignment defaultAlignment_ = taLeftJustify;
};

class TKelShape : public TKelCustomShape {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  using TKelCustomShape::TKelCustomShape;
};

// A shape that sizes itself to its text (lines split at #13, line feeds ignored) plus margins.
class TCustomTextShape : public TKelCustomShape {
 public:
  static const TClassInfo& StaticClass();
  // A plain text shape (the child of another) writes the settings text shapes share, so a
  // child keeps its text and look in layouts.
  const TClassInfo& ClassType() const override { return SharedSettingsClass(); }
  static const TClassInfo& SharedSettingsClass();
  explicit TCustomTextShape(IShapePanel* panel);
  ~TCustomTextShape() override;
  void Assign(TPersistent* source) override;

  void CalcSize() override;
  const TClassInfo& ChildShapeClass() const override;
  TKelCustomShape* NewChildShape(IShapePanel* panel) override;
  int ChildStart() override;
  std::string EditorClassName() const override { return "TTextShapeEditor"; }

  const std::string& Text() const { return text_; }
  void SetText(const std::string& value);
  TMargins* Margins() const { return margins_.get(); }
  TAlignment TextAlignment() const { return textAlignment_; }
  void SetTextAlignment(TAlignment value);
  // Sets the alignment and makes it the one not written to layouts.
  bool IsTextAlignmentStored() const { return textAlignment_ != defaultTextAlignment_; }
  void SetTextAlignmentDefault(TAlignment value) {
    textAlignment_ = value;
    defaultTextAlignment_ = value;
  }
  TKelTextFormat TextFormat() const { return textFormat_; }
  void SetTextFormat(TKelTextFormat value);
  bool ClipText() const { return clipText_; }
  void SetClipText(bool value);
  // The mouse cursor over the shape (0: the panel's own).
  short Cursor() const { return cursor_; }
  void SetCursor(short value) { cursor_ = value; }
  // Kept in layouts and copies; the text is always laid out from the top margin.
  TVertTextAlign VertTextAlign() const { return vertTextAlign_; }
  void SetVertTextAlign(TVertTextAlign value) { vertTextAlign_ = value; }
  // Lines found by the last CalcSize, and the text size it measured.
  int Lines() const { return lines_; }
  int TextWidth() const { return textWidth_; }
  int TextHeight() const { return textHeight_; }
  int TextOffsetX = 0;
  // Text drawn flat even in a 3D view, in its own size (titles and the legend).
  bool DrawsTextFlat() const { return flatText_; }
  void SetDrawsTextFlat(bool value) { flatText_ = value; }
  // The font the text is measured and drawn in instead of Font (an axis keeps its label font
  // apart from its label box); null: Font. Not copied by Assign.
  TKelFont* TextFont = nullptr;

 protected:
  void DrawContent(TCanvas3D* canvas, const TRect& r, int z, double angle) override;
  // Where the text's lines start in r (left margin, middle or right margin, by
  // TextAlignment, plus TextOffsetX); sets the canvas text alignment to match.
  virtual void TextStartX(TCanvas3D* canvas, int& x, const std::string& text, const TRect& r);
  // One line of text at (x, y): turned by `angle` about `centre`, at depth z on a full-3D
  // canvas unless the text is drawn flat.
  virtual void DrawTextLine(TCanvas3D* canvas, int x, TPoint centre, double angle, bool markUp,
                            const std::string& text, int z, int y);
  virtual void TextChanged() { Repaint(); }
  bool PenCounts() const;
  TKelFont* FontOfText() const { return TextFont ? TextFont : font_.get(); }
  // Gives the canvas the text's font, 3D-zoomed unless the text is drawn flat.
  void AssignTextFont();

 private:
  std::unique_ptr<TMargins> margins_;
  std::string text_;
  TAlignment textAlignment_ = taLeftJustify;
  TAlignment defaultTextAlignment_ = taLeftJustify;
  TKelTextFormat textFormat_ = ttfNormal;
  bool clipText_ = true;
  short cursor_ = 0;
  TVertTextAlign vertTextAlign_ = vtaCenter;
  int lines_ = 0;
  int textWidth_ = 0;
  int textHeight_ = 0;
  bool flatText_ = false;
};

// A text shape that can stand at a custom position (Left and Top, kept in layouts and copies
// only while CustomPosition is set): the base of the legend and of the titles.
class TKelCustomShapePosition : public TCustomTextShape {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  using TCustomTextShape::TCustomTextShape;
  // CustomPosition and, when set, Left and Top; then the text shape.
  void Assign(TPersistent* source) override;
  bool CustomPosition() const { return customPosition_; }
  void SetCustomPosition(bool value);
  // Sets the value and makes it the one not written to layouts.
  void SetCustomPositionDefault(bool value) {
    customPosition_ = value;
    defaultCustomPosition_ = value;
  }
  bool IsCustomPositionStored() const { return customPosition_ != defaultCustomPosition_; }
  // Writing either sets CustomPosition; the size is kept.
  int Left() const { return Bounds.Left; }
  void SetLeft(int value);
  int Top() const { return Bounds.Top; }
  void SetTop(int value);

 private:
  bool customPosition_ = false;
  bool defaultCustomPosition_ = false;
};

// The positioned text shape the titles are made of (it publishes the brush and frame).
class TTextShape : public TKelCustomShapePosition {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  using TKelCustomShapePosition::TKelCustomShapePosition;
};

// One child shape of a shape's Children; freeing it repaints the parent.
class TKelShapeItem : public TCollectionItem {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  explicit TKelShapeItem(TCollection* collection);
  ~TKelShapeItem() override;
  void Assign(TPersistent* source) override;
  TKelCustomShape* Shape() const { return shape_.get(); }

 private:
  std::unique_ptr<TKelCustomShape> shape_;
};

class TKelShapes : public TOwnedCollection {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  explicit TKelShapes(TKelCustomShape* shape);
  TKelCustomShape* Parent() const { return shape_; }
  TKelShapeItem& Item(int index) const { return *static_cast<TKelShapeItem*>(Items(index)); }
  // A new child (transparent at first) and its shape.
  TKelCustomShape* AddShape() { return static_cast<TKelShapeItem*>(Add())->Shape(); }

 private:
  TKelCustomShape* shape_;
};

// A text shape whose text is also a list of lines, kept in step both ways.
class TStringsShape : public TTextShape {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  explicit TStringsShape(IShapePanel* panel);
  ~TStringsShape() override;
  // The text shape's copy, with the line list following the copied text.
  void Assign(TPersistent* source) override;
  TStringList* Lines() const { return lines_.get(); }
  // Copies the list and stores its text.
  void SetLines(TStrings* value);

 protected:
  void TextChanged() override;

 private:
  void LinesChanged();
  std::unique_ptr<TStringList> lines_;
  bool copying_ = false;
};

// ---- Published settings -----------------------------------------------------------------------

// The settings a kind of shape may publish. Each kind lists its own, in order, with
// PublishShapeProperties; a name a kind does not list is not a property of that kind.
enum class TShapeProperty {
  Alignment, Angle, AutoSize, Bevel, BevelWidth, Brush, ChildLayout, Children, ClipText, Color, Corners,
  Cursor, CustomPosition, Emboss, Font, Frame, Gradient, Left, Margins, Pen, Picture, RoundSize, Shadow,
  ShapeCallout, ShapeStyle, Text, TextAlignment, TextFormat, Top, Transparency, Transparent,
  VertTextAlign, Visible
};

// Adds the listed settings to a class table, each with its storage rule: Visible, Transparent,
// Angle, Alignment and TextAlignment against their per-instance defaults; the optional parts
// (callout, corners, emboss, picture) only once they exist; Children with items; Left and Top
// only with CustomPosition; Gradient never (it is written inside the brush).
template <class S>
TClassBuilder<S>& PublishShapeProperties(TClassBuilder<S>& b, std::initializer_list<TShapeProperty> list) {
  using P = TShapeProperty;
  using B = TKelCustomShape;
  for (const P p : list) {
    switch (p) {
      case P::Alignment:
        b.Property("Alignment", &B::Alignment, &B::SetAlignment).Stored(&B::IsAlignmentStored);
        break;
      case P::Angle: b.Property("Angle", &B::Angle, &B::SetAngle).Stored(&B::IsAngleStored); break;
      case P::AutoSize: b.Property("AutoSize", &B::AutoSize, &B::SetAutoSize).Default(true); break;
      case P::Bevel: b.Property("Bevel", &B::Bevel, &B::SetBevel).Default(bvNone); break;
      case P::BevelWidth: b.Property("BevelWidth", &B::BevelWidth, &B::SetBevelWidth).Default(2); break;
      case P::Brush: b.Property("Brush", &B::Brush, &B::SetBrush); break;
      case P::ChildLayout:
        b.Property("ChildLayout", &B::ChildLayout, &B::SetChildLayout).Default(slTopBottom);
        break;
      case P::Children:
        b.Property("Children", &B::Children, nullptr).Stored([](B& s) { return s.Children()->Count() > 0; });
        break;
      case P::Color:
        b.Property("Color", &B::Color, &B::SetColor).Default(clWhite).Idents(ColorPropToIdent, ColorIdentToProp);
        break;
      case P::Corners: b.Property("Corners", &B::Corners, &B::SetCorners).Stored(&B::HasCorners); break;
      case P::Emboss: b.Property("Emboss", &B::Emboss, &B::SetEmboss).Stored(&B::HasEmboss); break;
      case P::Font: b.Property("Font", &B::Font, &B::SetFont); break;
      case P::Frame: b.Property("Frame", &B::Pen, &B::SetPen); break;
      case P::Gradient: b.Property("Gradient", &B::Gradient, &B::SetGradient).Stored(false); break;
      case P::Pen: b.Property("Pen", &B::Pen, &B::SetPen); break;
      case P::Picture: b.Property("Picture", &B::Picture, &B::SetPicture).Stored(&B::HasPicture); break;
      case P::RoundSize: b.Property("RoundSize", &B::RoundSize, &B::SetRoundSize).Default(16); break;
      case P::Shadow: b.Property("Shadow", &B::Shadow, &B::SetShadow); break;
      case P::ShapeCallout:
        b.Property("ShapeCallout", &B::ShapeCallout, &B::SetShapeCallout).Stored(&B::HasCallout);
        break;
      case P::ShapeStyle: b.Property("ShapeStyle", &B::ShapeStyle, &B::SetShapeStyle).Default(fosRectangle); break;
      case P::Transparency: b.Property("Transparency", &B::Transparency, &B::SetTransparency).Default(0); break;
      case P::Transparent:
        b.Property("Transparent", &B::Transparent, &B::SetTransparent).Stored(&B::IsTransparentStored);
        break;
      case P::Visible: b.Property("Visible", &B::Visible, &B::SetVisible).Stored(&B::IsVisibleStored); break;
      default:
        if constexpr (std::is_base_of_v<TCustomTextShape, S>) {
          using T = TCustomTextShape;
          switch (p) {
            case P::ClipText: b.Property("ClipText", &T::ClipText, &T::SetClipText).Default(true); break;
            case P::Cursor:
              b.Property("Cursor", [](T& s) { return static_cast<int>(s.Cursor()); },
                         [](T& s, int v) { s.SetCursor(static_cast<short>(v)); })
                  .Default(0)
                  .Idents(CursorToIdent, IdentToCursor);
              break;
            case P::Margins: b.Property("Margins", &T::Margins, nullptr); break;
            case P::Text: b.Property("Text", &T::Text, &T::SetText); break;
            case P::TextAlignment:
              b.Property("TextAlignment", &T::TextAlignment, &T::SetTextAlignment).Stored(&T::IsTextAlignmentStored);
              break;
            case P::TextFormat: b.Property("TextFormat", &T::TextFormat, &T::SetTextFormat).Default(ttfNormal); break;
            case P::VertTextAlign:
              b.Property("VertTextAlign", &T::VertTextAlign, &T::SetVertTextAlign).Default(vtaCenter);
              break;
            default:
              if constexpr (std::is_base_of_v<TKelCustomShapePosition, S>) {
                using Q = TKelCustomShapePosition;
                if (p == P::CustomPosition)
                  b.Property("CustomPosition", &Q::CustomPosition, &Q::SetCustomPosition)
                      .Stored(&Q::IsCustomPositionStored);
                else if (p == P::Left)
                  b.Property("Left", &Q::Left, &Q::SetLeft).Stored(&Q::CustomPosition);
                else if (p == P::Top)
                  b.Property("Top", &Q::Top, &Q::SetTop).Stored(&Q::CustomPosition);
              }
              break;
          }
        }
        break;
    }
  }
  return b;
}

// The settings of a plain shape (TKelShape), in its order: the list of every shape kind that
// holds no text of its own (child shapes, the axis back shape).
template <class S>
TClassBuilder<S>& PublishPlainShapeProperties(TClassBuilder<S>& b) {
  using P = TShapeProperty;
  return PublishShapeProperties(b, {P::Angle, P::Bevel, P::BevelWidth, P::ChildLayout, P::Children, P::Color,
                                    P::Corners, P::Emboss, P::Font, P::Gradient, P::Picture, P::RoundSize,
                                    P::Shadow, P::ShapeCallout, P::ShapeStyle, P::Transparent, P::Visible});
}

// The settings of a text shape that has no place of its own (axis titles and label boxes, the
// hover and selection looks): the positioned text shape's list without CustomPosition, Left
// and Top, in the same order.
template <class S>
TClassBuilder<S>& PublishTextShapeProperties(TClassBuilder<S>& b) {
  static_assert(std::is_base_of_v<TCustomTextShape, S>);
  using P = TShapeProperty;
  return PublishShapeProperties(
      b, {P::Alignment, P::Angle, P::AutoSize, P::Bevel, P::BevelWidth, P::Brush, P::ChildLayout, P::Children,
          P::ClipText, P::Color, P::Cursor, P::Emboss, P::Font, P::Frame, P::Gradient, P::Margins, P::Picture,
          P::Shadow, P::ShapeCallout, P::ShapeStyle, P::Text, P::TextAlignment, P::TextFormat, P::Transparency,
          P::Transparent, P::VertTextAlign, P::Visible});
}
