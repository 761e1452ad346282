// Shared pieces of the canvas tests (see CanvasTestSupport.h).
#include "CanvasTestSupport.h"

#include <algorithm>
#include <sstream>

#include "canvas/KelCanvasModule.h"
#include "toolkit/classes/Component.h"
#include "toolkit/classes/Filer.h"
#include "toolkit/classes/ObjectText.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/classes/TypInfo.h"

TDibSurface::TDibSurface(int width, int height) {
  bitmap_.SetPixelFormat(pf32bit);
  bitmap_.SetSize(width, height);
  Clear();
}

void TDibSurface::Clear(TColor color) {
  HBRUSH brush = CreateSolidBrush(ColorToRGB(color));
  RECT r{0, 0, bitmap_.Width(), bitmap_.Height()};
  FillRect(DC(), &r, brush);
  DeleteObject(brush);
}

TColor TDibSurface::Pixel(int x, int y) {
  GdiFlush();
  const auto* row = static_cast<const unsigned char*>(bitmap_.ScanLine(y));
  const unsigned char* p = row + x * 4;
  return p[2] | (p[1] << 8) | (p[0] << 16);
}

int TDibSurface::Count(TColor color, const TRect& rect) {
  int n = 0;
  for (int y = std::max(rect.Top, 0); y < std::min(rect.Bottom, bitmap_.Height()); ++y) {
    for (int x = std::max(rect.Left, 0); x < std::min(rect.Right, bitmap_.Width()); ++x) {
      if (Pixel(x, y) == color) ++n;
    }
  }
  return n;
}

TRect TDibSurface::BoundsOf(TColor color) {
  TRect r(bitmap_.Width(), bitmap_.Height(), 0, 0);
  for (int y = 0; y < bitmap_.Height(); ++y) {
    for (int x = 0; x < bitmap_.Width(); ++x) {
      if (Pixel(x, y) != color) continue;
      r.Left = std::min(r.Left, x);
      r.Top = std::min(r.Top, y);
      r.Right = std::max(r.Right, x + 1);
      r.Bottom = std::max(r.Bottom, y + 1);
    }
  }
  return r.IsEmpty() ? TRect() : r;
}

TRect TDibSurface::InkBounds() {
  TRect r(bitmap_.Width(), bitmap_.Height(), 0, 0);
  for (int y = 0; y < bitmap_.Height(); ++y) {
    for (int x = 0; x < bitmap_.Width(); ++x) {
      if (Pixel(x, y) == clWhite) continue;
      r.Left = std::min(r.Left, x);
      r.Top = std::min(r.Top, y);
      r.Right = std::max(r.Right, x + 1);
      r.Bottom = std::max(r.Bottom, y + 1);
    }
  }
  return r.IsEmpty() ? TRect() : r;
}

void GdiCanvasTest::SetUpTestSuite() { KelCanvasStartup(); }

void GdiCanvasTest::SetUp() {
  surface = std::make_unique<TDibSurface>(200, 120);
  canvas = std::make_unique<TKelCanvas3D>();
  canvas->SetBuffered(false);
  canvas->Buffered = false;
  canvas->SetTargetCanvas(surface->Canvas());
  canvas->Bounds = TRect(0, 0, 200, 120);
}

void GdiCanvasTest::TearDown() {
  canvas.reset();
  surface.reset();
}

namespace {
// A component that publishes one persistent object, so the real layout writer streams it.
class TStreamHolder : public TComponent {
 public:
  explicit TStreamHolder(TPersistent* object) : TComponent(nullptr), object_(object) { SetName("Holder"); }
  static const TClassInfo& StaticClass() {
    static const TClassInfo info = TClassBuilder<TStreamHolder>("TStreamHolder", &TComponent::StaticClass())
                                       .Property("Item", &TStreamHolder::Item, nullptr)
                                       .Abstract()
                                       .Build();
    return info;
  }
  const TClassInfo& ClassType() const override { return StaticClass(); }
  TPersistent* Item() const { return object_; }

 private:
  TPersistent* object_;
};
}  // namespace

std::string StreamedLines(TPersistent* object) {
  TStreamHolder holder(object);
  TMemoryStream stream;
  {
    TWriter writer(stream);
    writer.WriteRootComponent(&holder);
  }
  const std::string binary(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
  const std::string text = ObjectBinaryToText(binary);
  // Keep the "Item.X = v" lines, without the prefix and the indentation.
  std::istringstream in(text);
  std::string line, result;
  while (std::getline(in, line)) {
    const size_t start = line.find_first_not_of(" \r");
    if (start == std::string::npos) continue;
    line = line.substr(start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind("Item.", 0) == 0) result += line.substr(5) + "\n";
  }
  return result;
}
