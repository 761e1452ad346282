// Mark-up text (see KelHtml.h): the tokenizer, the tag table, text runs, FONT tags, colours,
// pictures and aligned output.
#include "canvas/KelHtml.h"

#include <cmath>
#include <memory>
#include <string_view>

#include "canvas/KelBrush.h"
#include "canvas/KelCanvas.h"
#include "canvas/KelFont.h"
#include "canvas/KelPen.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/graphics/Graphic.h"
#include "toolkit/rtl/Math.h"
#include "toolkit/rtl/SysUtils.h"

std::function<TGraphic*(const std::string&)> MarkupGraphicHook;
std::function<int(const std::string&, TMemoryStream&)> MarkupStreamHook;

std::vector<std::string>& MarkupTagStack() {
  static std::vector<std::string> stack;
  return stack;
}

std::vector<std::string>& MarkupFontStack() {
  static std::vector<std::string> stack;
  return stack;
}

namespace {

void PushCapped(std::vector<std::string>& stack, std::string entry) {
  if (stack.size() >= MarkupStackLimit) stack.erase(stack.begin(), stack.begin() + (stack.size() - MarkupStackLimit + 1));
  stack.push_back(std::move(entry));
}

int RoundInt(double v) { return static_cast<int>(Round(v)); }

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

std::string ReplaceAll(std::string text, std::string_view from, std::string_view to) {
  size_t pos = 0;
  while ((pos = text.find(from, pos)) != std::string::npos) {
    text.replace(pos, from.size(), to);
    pos += to.size();
  }
  return text;
}

// Trimmed, one leading and one trailing quote (double or single) removed.
std::string UnquoteValue(const std::string& value) {
  std::string v = Trim(value);
  if (!v.empty() && (v.front() == '"' || v.front() == '\'')) v.erase(0, 1);
  if (!v.empty() && (v.back() == '"' || v.back() == '\'')) v.pop_back();
  return v;
}

struct TAttribute {
  std::string name;
  std::string value;
};

// The name=value pairs of an attribute text. A value runs to the last blank before the next
// "=", so values may hold blanks and names may not. Every search stays between two "=" signs:
// when no blank separates them, the earlier value is empty and the later name takes the text.
std::vector<TAttribute> ReadAttributes(const std::string& text) {
  std::vector<size_t> equals;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '=') equals.push_back(i);
  }
  std::vector<TAttribute> pairs;
  size_t nameStart = 0;
  for (size_t i = 0; i < equals.size(); ++i) {
    const size_t eq = equals[i];
    size_t valueEnd = text.size();
    size_t nextNameStart = text.size();
    if (i + 1 < equals.size()) {
      const size_t nextEq = equals[i + 1];
      const size_t blank = text.find_last_of(' ', nextEq);
      if (blank != std::string::npos && blank > eq) {
        valueEnd = blank;
        nextNameStart = blank + 1;
      } else {
        valueEnd = eq + 1;
        nextNameStart = eq + 1;
      }
    }
    pairs.push_back({Trim(text.substr(nameStart, eq - nameStart)), Trim(text.substr(eq + 1, valueEnd - eq - 1))});
    nameStart = nextNameStart;
  }
  return pairs;
}

int HexByte(const std::string& digits, const std::string& whole) {
  int value = 0;
  if (!TryStrToInt("$" + digits, value) || digits.size() != 2) {
    throw EConvertError(Format("'%s' is not a valid integer value", {"$" + whole}));
  }
  return value;
}

TColor ParseHexColor(const std::string& value) {
  if (value.size() < 7) throw EConvertError(Format("'%s' is not a valid integer value", {"$" + value.substr(1)}));
  const int r = HexByte(value.substr(1, 2), value.substr(1));
  const int g = HexByte(value.substr(3, 2), value.substr(1));
  const int b = HexByte(value.substr(5, 2), value.substr(1));
  return r + g * 256 + b * 65536;
}

std::string WeightText(const TFontStyles& style) {
  std::string text;
  const std::pair<TFontStyle, const char*> names[] = {
      {fsBold, "BOLD"}, {fsItalic, "ITALIC"}, {fsUnderline, "UNDERLINE"}, {fsStrikeOut, "STRIKE"}};
  for (const auto& [flag, name] : names) {
    if (!style.Contains(flag)) continue;
    if (!text.empty()) text += ", ";
    text += name;
  }
  return text.empty() ? "NORMAL" : text;
}

TFontStyles ParseWeight(const std::string& value) {
  const std::string upper = UpperCase(value);
  if (upper == "NORMAL") return TFontStyles();
  TFontStyles style;
  size_t start = 0;
  for (;;) {
    const size_t comma = upper.find(", ", start);
    const std::string part = upper.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    if (part == "BOLD") {
      style.Include(fsBold);
    } else if (part == "ITALIC") {
      style.Include(fsItalic);
    } else if (part == "UNDERLINE") {
      style.Include(fsUnderline);
    } else if (part == "STRIKE") {
      style.Include(fsStrikeOut);
    } else {
      throw Exception("Unknown field in FONT WEIGHT=" + value);
    }
    if (comma == std::string::npos) break;
    start = comma + 2;
  }
  return style;
}

// Font sizes beyond what a font can have, and values that are no finite number, are refused.
float CheckedSize(long double value, const std::string& text) {
  if (!std::isfinite(static_cast<double>(value)) || value > 32767 || value < -32767) {
    throw EConvertError(Format("'%s' is not a valid floating point value", {text}));
  }
  return static_cast<float>(value);
}

class TMarkupWalk {
 public:
  TMarkupWalk(TKelCanvas& canvas, int x, int y, bool display)
      : canvas_(canvas), font_(*canvas.Font()), startX_(x), penX_(x), penY_(y), display_(display) {
    lineHeight_ = canvas.LineHeight();
  }

  void Run(const std::string& text) {
    std::string_view rest = text;
    for (;;) {
      const std::string token = NextToken(rest);
      if (token.empty()) break;
      ApplyTag(token);
    }
  }

  TSize extent{};

 private:
  static std::string NextToken(std::string_view& rest) {
    const size_t lt = rest.find('<');
    std::string token;
    if (lt == std::string_view::npos) {
      token = rest;
      rest = {};
    } else if (lt == 0) {
      const size_t gt = rest.find('>', 1);
      if (gt != std::string_view::npos) {
        token = rest.substr(0, gt + 1);
        rest.remove_prefix(gt + 1);
      } else {
        token = rest.substr(1);
        rest = {};
      }
    } else {
      token = rest.substr(0, lt);
      rest.remove_prefix(lt);
    }
    return token;
  }

  int LineHeight() { return canvas_.LineHeight(); }

  void Save() {
    PushCapped(MarkupFontStack(), "<FONT size=" + std::to_string(font_.Size()) + " name=" + font_.Name() +
                                      " color=" + std::to_string(font_.Color()) + " weight=" + WeightText(font_.Style()) +
                                      ">");
    savedFont_ = true;
  }

  void Restore() {
    auto& stack = MarkupFontStack();
    if (stack.empty()) return;
    const std::string entry = std::move(stack.back());
    stack.pop_back();
    ApplyFontTag(entry);
  }

  void FontSize(int size) {
    Save();
    font_.SetSize(size);
  }

  void AddStyle(TFontStyle flag, const std::string& tag) {
    TFontStyles style = font_.Style();
    style.Include(flag);
    font_.SetStyle(style);
    PushCapped(MarkupTagStack(), tag);
  }

  void RemoveStyle(TFontStyle flag) {
    TFontStyles style = font_.Style();
    style.Exclude(flag);
    font_.SetStyle(style);
  }

  void ApplyTag(std::string token) {
    savedFont_ = false;
    if (StartsWith(token, "\r\n")) {
      penY_ += LineHeight();
      penX_ = startX_;
      lineHeight_ = 0;
      token.erase(0, 2);
      if (token.empty()) return;
    }
    const std::string up = UpperCase(token);
    if (up == "<BR>" || up == "<P>") {
      penX_ = startX_;
      lineHeight_ = 0;
      const int lh = LineHeight();
      penY_ += lh;
      extent.cy += lh + 2;
    } else if (up == "<BIG>") {
      Save();
      font_.SetSize(font_.Size() + 2);
      penY_ -= 4;
    } else if (up == "<SMALL>") {
      Save();
      font_.SetSize(font_.Size() - 2);
      penY_ -= 1;
    } else if (up == "</BIG>") {
      Restore();
      penY_ += 2;
    } else if (up == "</SMALL>") {
      Restore();
      penY_ -= 2;
    } else if (up == "</SUB>") {
      Restore();
      penY_ -= LineHeight();
    } else if (up == "<SUB>") {
      Save();
      font_.SetSize(font_.Size() / 2);
      penY_ += LineHeight();
    } else if (up == "</SUPER>" || up == "</SUP>") {
      Restore();
      penY_ += LineHeight() / 2;
    } else if (up == "<SUPER>" || up == "<SUP>") {
      Save();
      font_.SetSize(font_.Size() / 2);
      penY_ -= LineHeight() / 2;
    } else if (up.size() == 4 && StartsWith(up, "<H") && up[2] >= '1' && up[2] <= '6' && up[3] == '>') {
      static const int sizes[] = {48, 36, 24, 18, 12, 8};
      FontSize(sizes[up[2] - '1']);
    } else if (up == "<PRE>") {
      Save();
      ApplyFontTag("<FONT NAME=\"COURIER NEW\">");
    } else if (up == "<CENTER>") {
      centred_ = true;
    } else if (up == "<B>" || up == "<BOLD>" || up == "<STRONG>") {
      AddStyle(fsBold, up);
    } else if (up == "<I>") {
      AddStyle(fsItalic, up);
    } else if (up == "<U>") {
      AddStyle(fsUnderline, up);
    } else if (up == "<STRIKE>") {
      AddStyle(fsStrikeOut, up);
    } else if (StartsWith(up, "<IMG ")) {
      DrawImageTag(token);
    } else if (up == "</B>" || up == "</BOLD>" || up == "</STRONG>") {
      RemoveStyle(fsBold);
    } else if (up == "</I>") {
      RemoveStyle(fsItalic);
    } else if (up == "</U>") {
      RemoveStyle(fsUnderline);
    } else if (up == "</STRIKE>") {
      RemoveStyle(fsStrikeOut);
    } else if (up.size() == 5 && StartsWith(up, "</H") && up[3] >= '1' && up[3] <= '6' && up[4] == '>') {
      Restore();
    } else if (StartsWith(up, "</FONT")) {
      Restore();
    } else if (up == "</PRE>") {
      Restore();
    } else if (up == "</CENTER>") {
      centred_ = false;
    } else if (StartsWith(up, "<FONT ")) {
      Save();
      ApplyFontTag(up);
    } else if (up == "</>") {
      if (lastTagSavedFont_) {
        Restore();
      } else {
        auto& tags = MarkupTagStack();
        std::string last;
        if (!tags.empty()) {
          last = std::move(tags.back());
          tags.pop_back();
        }
        ApplyTag("</" + (last.empty() ? std::string() : last.substr(1)));
        return;
      }
    } else if (up == "<HR>") {
      penX_ = startX_;
      canvas_.Pen()->SetStyle(psSolid);
      canvas_.Pen()->SetWidth(1);
      canvas_.Pen()->SetColor(static_cast<TColor>(0x808080));
      if (display_) canvas_.HLine(penX_, penX_ + 100, penY_);
      penY_ += LineHeight();
    } else {
      TextRun(token);
      return;
    }
    lastTagSavedFont_ = savedFont_;
  }

  void TextRun(std::string run) {
    run = ReplaceAll(std::move(run), "&lt;", "<");
    run = ReplaceAll(std::move(run), "&gt;", ">");
    run = ReplaceAll(std::move(run), "&amp;", "&");
    run = ReplaceAll(std::move(run), "&quot;", "\"");
    bool lineEnd = false;
    if (run.size() >= 2 && run.compare(run.size() - 2, 2, "\r\n") == 0) {
      run.resize(run.size() - 2);
      lineEnd = true;
    }
    if (!run.empty()) {
      TPointFloat size;
      canvas_.MeasureTextF(run, size);
      const int w = RoundInt(size.X);
      if (centred_) penX_ = (canvas_.Bounds.Left + canvas_.Bounds.Right) / 2 - w / 2;
      if (lineHeight_ == 0) {
        lineHeight_ = LineHeight();
      } else if (lineHeight_ > size.Y) {
        penY_ += lineHeight_ - RoundInt(size.Y) - 1;
      }
      if (display_) canvas_.TextOut(penX_, penY_, run);
      penX_ += w;
      extent.cx = std::max(extent.cx, penX_);
      if (lineHeight_ < size.Y) lineHeight_ = RoundInt(size.Y) - 1;
      extent.cy = std::max(extent.cy, lineHeight_);
    }
    if (lineEnd) {
      lineHeight_ = 0;
      penX_ = startX_;
    }
  }

  // Applies "<FONT ...>" (any case) to the canvas font.
  void ApplyFontTag(const std::string& tag) {
    if (tag.size() < 7) return;
    const std::string body = tag.substr(6, tag.size() - 7);
    for (const TAttribute& a : ReadAttributes(body)) {
      const std::string name = UpperCase(a.name);
      if (name == "NAME" || name == "FAMILY") {
        font_.SetName(UnquoteValue(a.value));
      } else if (name == "SIZE") {
        const std::string number = UnquoteValue(a.value);
        const float value = CheckedSize(StrToFloat(number), number);
        if (!a.value.empty() && (a.value[0] == '+' || a.value[0] == '-')) {
          font_.SetSizeFloat(CheckedSize(static_cast<long double>(font_.SizeFloat()) + value, number));
        } else {
          font_.SetSizeFloat(value);
        }
      } else if (name == "COLOR") {
        font_.SetColor(ParseMarkupColor(a.value));
      } else if (name == "WEIGHT") {
        font_.SetStyle(ParseWeight(a.value));
      } else {
        throw Exception("Unknown field in FONT: " + name);
      }
    }
  }

  // Picture sizes outside 0..32767 count as none.
  static int ImageSize(const std::string& value) {
    int v = 0;
    if (!TryStrToInt(UnquoteValue(value), v) || v < 0 || v > 32767) return 0;
    return v;
  }

  void Placeholder(int w, int h) {
    if (w == 0) w = 40;
    if (h == 0) h = 40;
    canvas_.Pen()->SetStyle(psSolid);
    canvas_.Pen()->SetWidth(1);
    canvas_.Pen()->SetColor(clRed);
    canvas_.Brush()->SetStyle(bsSolid);
    canvas_.Brush()->SetColor(clWhite);
    if (!display_) return;
    const int x = penX_, y = penY_;
    canvas_.Rectangle(x, y, x + w, y + h);
    canvas_.MovePenTo(x, y);
    canvas_.LineTo(x + w - 1, y + h - 1);
    canvas_.MovePenTo(x, y + h - 1);
    canvas_.LineTo(x + w - 1, y);
  }

  void DrawImageTag(const std::string& tag) {
    std::string body = tag.substr(5);
    if (StartsWith(body, "\r\n")) body.erase(0, 2);
    if (!body.empty() && body.back() == '>') body.pop_back();
    int width = 0, height = 0;
    std::string src;
    for (const TAttribute& a : ReadAttributes(body)) {
      const std::string name = UpperCase(a.name);
      if (name == "WIDTH") {
        width = ImageSize(a.value);
      } else if (name == "HEIGHT") {
        height = ImageSize(a.value);
      } else if (name == "SRC") {
        src = a.value;
      }
    }
    if (src.empty()) return;
    std::string source = Trim(src);
    if (!source.empty() && source.front() == '"') source.erase(0, 1);
    if (!source.empty() && source.back() == '"') source.pop_back();
    std::unique_ptr<TGraphic> graphic;
    if (MarkupGraphicHook) {
      const size_t dot = source.find_last_of('.');
      graphic.reset(MarkupGraphicHook(dot == std::string::npos ? std::string() : UpperCase(source.substr(dot))));
    }
    if (graphic == nullptr) {
      Placeholder(width, height);
      return;
    }
    auto stream = std::make_unique<TMemoryStream>();
    if (!MarkupStreamHook || MarkupStreamHook(source, *stream) != 0 || stream->Size() == 0) {
      Placeholder(width, height);
      return;
    }
    try {
      stream->SetPosition(0);
      graphic->LoadFromStream(*stream);
      const int w = width != 0 ? width : graphic->Width();
      const int h = height != 0 ? height : graphic->Height();
      if (display_) {
        if (graphic->Width() == w && graphic->Height() == h) {
          canvas_.DrawGraphic(penX_, penY_, graphic.get());
        } else if (penX_ > 0 && penY_ > 0) {
          const TRect r = centred_ ? TRect(penX_ - w / 2, penY_, penX_ + w / 2, penY_ + h)
                                   : TRect(penX_, penY_, penX_ + w, penY_ + h);
          canvas_.DrawGraphicStretched(r, graphic.get());
        }
      }
      penX_ += w;
      penY_ += h - 10;
      lineHeight_ = h;
      extent.cx = std::max(extent.cx, w);
      extent.cy = std::max(extent.cy, h);
    } catch (const Exception&) {
      Placeholder(width, height);
    }
  }

  TKelCanvas& canvas_;
  TKelFont& font_;
  int startX_;
  int penX_;
  int penY_;
  int lineHeight_ = 0;
  bool centred_ = false;
  bool savedFont_ = false;
  bool lastTagSavedFont_ = false;
  bool display_;
};

}  // namespace

TColor ParseMarkupColor(const std::string& text) {
  std::string value = Trim(UpperCase(text));
  if (!value.empty() && value.front() == '"') value.erase(0, 1);
  if (!value.empty() && value.back() == '"') value.pop_back();
  if (value == "BLACK") return 0x000000;
  if (value == "RED") return 0x0000FF;
  if (value == "BLUE") return 0xFF0000;
  if (value == "YELLOW") return 0x00FFFF;
  if (value == "WHITE") return 0xFFFFFF;
  if (value == "GREEN") return 0x008000;
  if (value == "LIME") return 0x00FF00;
  if (!value.empty() && value.front() == '#') return ParseHexColor(value);
  TColor color = 0;
  if (IdentToColor(value, color)) return color;
  int number = 0;
  if (TryStrToInt(value, number)) return number;
  return 0;
}

void RenderMarkup(TKelCanvas& canvas, int x, int y, TSize& extent, bool display, const std::string& text) {
  TMarkupWalk walk(canvas, x, y, display);
  extent = TSize{};
  try {
    walk.Run(text);
  } catch (...) {
    extent = walk.extent;
    throw;
  }
  extent = walk.extent;
}

void MarkupTextExtent(TKelCanvas& canvas, const std::string& text, TSize& extent) {
  RenderMarkup(canvas, 0, 0, extent, false, text);
}

TSize MarkupTextExtentKeepingState(TKelCanvas& canvas, const std::string& text) {
  TKelFont& font = *canvas.Font();
  const std::string name = font.Name();
  const float size = font.SizeFloat();
  const TColor color = font.Color();
  const TFontStyles style = font.Style();
  const std::vector<std::string> tags = MarkupTagStack();
  const std::vector<std::string> fonts = MarkupFontStack();
  TSize extent{};
  MarkupTextExtent(canvas, text, extent);
  font.SetName(name);
  font.SetSizeFloat(size);
  font.SetColor(color);
  font.SetStyle(style);
  MarkupTagStack() = tags;
  MarkupFontStack() = fonts;
  return extent;
}

void MarkupTextOut(TKelCanvas& canvas, int x, int y, const std::string& text) {
  const int align = canvas.GetTextAlign();
  if (align != 6 && align != 2) {
    TSize extent;
    RenderMarkup(canvas, x, y, extent, true, text);
    return;
  }
  // The measuring walk must not leave its font or stack changes for the drawing walk.
  const TSize extent = MarkupTextExtentKeepingState(canvas, text);
  canvas.SetTextAlign(0);
  TSize drawn;
  try {
    RenderMarkup(canvas, align == 6 ? x - extent.cx / 2 : x - extent.cx, y, drawn, true, text);
  } catch (...) {
    canvas.SetTextAlign(align);
    throw;
  }
  canvas.SetTextAlign(align);
}
