// The entries a series writes into a window layout beside its published properties
// ("Identifier", "Style", "DataSources", "CustomHorizAxis", "CustomVertAxis", "Data"), reading
// them back, and the series' texts (display name, title, value, X, percent, legend lines).
// The "Data" block is little-endian: flags byte, 32-bit count, then per point the X (flag
// bit 0), the value, the colour (bit 1), the label (bit 2), the extra values, the custom
// mark position (bit 3) and the picture (bit 4, as a picture component's stream). "Detail"
// follows "Data": summary kind, count and each detail series' component stream.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>

#include "canvas/KelPicture.h"
#include "chart/ChartSeries.h"
#include "chart/KelConst.h"
#include "chart/KelProcs.h"
#include "chart/SeriesDetail.h"
#include "toolkit/classes/Filer.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/rtl/SysUtils.h"

namespace {

constexpr std::uint8_t kHasX = 1;
constexpr std::uint8_t kHasColors = 2;
constexpr std::uint8_t kHasLabels = 4;
constexpr std::uint8_t kHasMarkPositions = 8;
constexpr std::uint8_t kHasPictures = 16;
// Bytes of one stored custom mark position.
constexpr int kMarkPositionSize = 8 + 1 + 8 + 1 + 4 + 8 + 4;

void WriteLabel(TStream& stream, const std::string& text) {
  if (text.size() < 255) {
    stream.WriteValue<std::uint8_t>(static_cast<std::uint8_t>(text.size()));
  } else {
    stream.WriteValue<std::uint8_t>(255);
    stream.WriteValue<std::int32_t>(static_cast<std::int32_t>(text.size()));
  }
  if (!text.empty()) stream.WriteBuffer(text.data(), static_cast<long long>(text.size()));
}

std::string ReadLabel(TStream& stream) {
  long long length = stream.ReadValue<std::uint8_t>();
  if (length == 255) length = stream.ReadValue<std::int32_t>();
  if (length < 0 || length > stream.Size() - stream.Position()) throw EReadError("Stream read error");
  std::string text(static_cast<size_t>(length), '\0');
  if (length > 0) stream.ReadBuffer(text.data(), length);
  return text;
}

void WriteMarkPosition(TStream& stream, const TSeriesMarkPosition* p) {
  const TSeriesMarkPosition empty;
  if (p == nullptr) p = &empty;
  auto point = [&](POINT v) {
    stream.WriteValue<std::int32_t>(v.x);
    stream.WriteValue<std::int32_t>(v.y);
  };
  point(p->ArrowFrom);
  stream.WriteValue<std::uint8_t>(p->ArrowFix ? 1 : 0);
  point(p->ArrowTo);
  stream.WriteValue<std::uint8_t>(p->Custom ? 1 : 0);
  stream.WriteValue<std::int32_t>(p->Height);
  point(p->LeftTop);
  stream.WriteValue<std::int32_t>(p->Width);
}

// One position block of exactly kMarkPositionSize bytes (the bend is not stored).
TSeriesMarkPosition ReadMarkPosition(TStream& stream) {
  TSeriesMarkPosition p;
  auto point = [&]() {
    POINT v;
    v.x = stream.ReadValue<std::int32_t>();
    v.y = stream.ReadValue<std::int32_t>();
    return v;
  };
  p.ArrowFrom = point();
  p.ArrowFix = stream.ReadValue<std::uint8_t>() != 0;
  p.ArrowTo = point();
  p.Custom = stream.ReadValue<std::uint8_t>() != 0;
  p.Height = stream.ReadValue<std::int32_t>();
  p.LeftTop = point();
  p.Width = stream.ReadValue<std::int32_t>();
  return p;
}

std::vector<unsigned char> BytesOf(TMemoryStream& stream) {
  const auto* p = static_cast<const unsigned char*>(stream.Memory());
  return std::vector<unsigned char>(p, p + stream.Size());
}

}  // namespace

// ---- Texts ------------------------------------------------------------------------------------

void TChartSeries::ListGalleryVariants(std::vector<std::string>& variants) const {
  variants.push_back(KelMsg_GalleryNormal);
}

std::string TChartSeries::DisplayName() const {
  if (!Name().empty()) return Name();
  if (parentChart_) {
    const int index = parentChart_->SeriesIndex(*this);
    if (index >= 0) return KelMsg_SeriesTitle + IntToStr(index + 1);
  }
  return {};
}

std::string TChartSeries::TitleText() const {
  if (Trim(title_).empty()) return DisplayName();
  return title_;
}

std::string TChartSeries::ValueText(int index) const { return FormatFloat(valueFormat_, MainValueAt(index)); }

const TEnumInfo& EnumTypeInfo(TLegendTextStyle) {
  static const TEnumInfo info("TLegendTextStyle",
                              {"ltsPlain", "ltsLeftValue", "ltsRightValue", "ltsLeftPercent", "ltsRightPercent",
                               "ltsXValue", "ltsValue", "ltsPercent", "ltsXAndValue", "ltsXAndPercent",
                               "ltsXAndText", "ltsXAndValueAndText"});
  return info;
}

std::string TChartSeries::LegendValueText(int index) const {
  if (mandatory_->DateTime()) {
    const double v = MainValueAt(index);
    return FormatDateTime(RangeDateTimeFormat(v), v);
  }
  return ValueText(index);
}

std::string TChartSeries::XText(int index) const {
  const double x = notMandatory_->ValueAt(index);
  if (horizAxis_) return horizAxis_->FormatLabel(x);
  return FormatFloat(valueFormat_, x);
}

std::string TChartSeries::PercentOf(int index, bool absolute) {
  const double total = mandatory_->TotalAbs();
  const double v = absolute ? std::fabs(MainValueAt(index)) : MainValueAt(index);
  return FormatFloat(percentFormat_, total == 0 ? 100.0 : v * 100 / total);
}

std::string TChartSeries::PercentText(int index, bool withTotal, bool multiLine) {
  const std::string percent = PercentOf(index, true);
  if (!withTotal) return percent;
  return Format(multiLine ? KelMsg_PercentOfTotalLines : KelMsg_PercentOfTotal,
                {percent, FormatFloat(valueFormat_, mandatory_->TotalAbs())});
}

std::string TChartSeries::LegendText(TLegendTextStyle style, int index) {
  index = MapLegendIndex(index);
  const std::string label = PointLabel(index);
  const std::string sep(1, LegendColumnSeparator);
  switch (style) {
    case ltsPlain:
      return label;
    case ltsLeftValue:
      return LegendValueText(index) + (label.empty() ? "" : sep + label);
    case ltsRightValue:
      return (label.empty() ? "" : label + sep) + LegendValueText(index);
    case ltsLeftPercent:
      return PercentOf(index, false) + (label.empty() ? "" : sep + label);
    case ltsRightPercent:
      return (label.empty() ? "" : label + sep) + PercentOf(index, false);
    case ltsXValue:
      return XText(index);
    case ltsValue:
      return LegendValueText(index);
    case ltsPercent:
      return PercentOf(index, false);
    case ltsXAndValue:
      return XText(index) + sep + LegendValueText(index);
    case ltsXAndPercent:
      return XText(index) + sep + PercentOf(index, false);
    case ltsXAndText:
      return XText(index) + sep + label;
    case ltsXAndValueAndText:
      return XText(index) + sep + LegendValueText(index) + sep + label;
  }
  return label;
}

// ---- Layout entries ---------------------------------------------------------------------------

void TChartSeries::DefineProperties(TFiler& filer) {
  TCustomChartSeries::DefineProperties(filer);
  filer.DefineProperty(
      "Identifier", [this](TReader& r) { identifier_ = r.ReadString(); },
      [this](TWriter& w) { w.WriteString(identifier_); }, !identifier_.empty());
  filer.DefineProperty(
      "Style",
      [this](TReader& r) {
        const int bits = r.ReadInteger();
        style_ = TChartSeriesStyle();
        for (int b = 0; b <= 5; ++b)
          if (bits & (1 << b)) style_.Include(static_cast<TChartSeriesStyleFlag>(b));
      },
      [this](TWriter& w) { w.WriteInteger(static_cast<long long>(style_.Bits() & 0x3F)); }, !style_.Empty());
  filer.DefineProperty(
      "DataSources",
      [this](TReader& r) {
        storedSourceNames_.clear();
        r.ReadListBegin();
        while (!r.EndOfList()) storedSourceNames_.push_back(r.ReadString());
        r.ReadListEnd();
      },
      [this](TWriter& w) {
        w.WriteListBegin();
        for (TComponent* source : dataSources_) w.WriteString(source->Name());
        w.WriteListEnd();
      },
      dataSources_.size() > 1);
  const int horizIndex = parentChart_ && customHorizAxis_ ? parentChart_->CustomAxisIndex(customHorizAxis_) : -1;
  const int vertIndex = parentChart_ && customVertAxis_ ? parentChart_->CustomAxisIndex(customVertAxis_) : -1;
  filer.DefineProperty(
      "CustomHorizAxis", [this](TReader& r) { storedCustomHoriz_ = r.ReadInteger(); },
      [horizIndex](TWriter& w) { w.WriteInteger(horizIndex); }, horizIndex >= 0);
  filer.DefineProperty(
      "CustomVertAxis", [this](TReader& r) { storedCustomVert_ = r.ReadInteger(); },
      [vertIndex](TWriter& w) { w.WriteInteger(vertIndex); }, vertIndex >= 0);

  bool writeData = (dataLoaded_ || ForceSaveData) && !DontSaveData;
  if (writeData && filer.Ancestor()) {
    // Against an ancestor layout only points that differ from the ancestor's are written.
    if (auto* ancestor = dynamic_cast<TChartSeries*>(filer.Ancestor())) {
      TMemoryStream mine, theirs;
      WritePointData(mine);
      ancestor->WritePointData(theirs);
      writeData = BytesOf(mine) != BytesOf(theirs);
    }
  }
  filer.DefineBinaryProperty(
      "Data", [this](TStream& s) { ReadPointData(s); }, [this](TStream& s) { WritePointData(s); }, writeData);
  filer.DefineBinaryProperty(
      "Detail", [this](TStream& s) { ReadDetailData(s); }, [this](TStream& s) { WriteDetailData(s); },
      writeData && HasDetail());
}

void TChartSeries::WriteDetailData(TStream& stream) {
  TSeriesDetail* detail = Detail();
  stream.WriteValue<std::uint8_t>(static_cast<std::uint8_t>(detail->SummaryKind));
  stream.WriteValue<std::int32_t>(detail->Count());
  for (int i = 0; i < detail->Count(); ++i) stream.WriteComponent(detail->At(i));
}

void TChartSeries::ReadDetailData(TStream& stream) {
  TSeriesDetail* detail = Detail();
  detail->Clear();
  const std::uint8_t kind = stream.ReadValue<std::uint8_t>();
  if (kind > dsHighest) throw EReadError("Stream read error");
  detail->SummaryKind = static_cast<TDetailSummary>(kind);
  const std::int32_t count = stream.ReadValue<std::int32_t>();
  for (int i = 0; i < count; ++i) {
    // What was read is ours until the list takes it, also when it is no series.
    std::unique_ptr<TComponent> read(stream.ReadComponent(nullptr));
    if (dynamic_cast<TChartSeries*>(read.get()) == nullptr) throw EReadError("Stream read error");
    detail->Add(static_cast<TChartSeries*>(read.release()));
  }
}

void TChartSeries::Loaded() {
  TCustomChartSeries::Loaded();
  if (parentChart_) {
    if (storedCustomHoriz_ >= 0) {
      if (TChartAxis* axis = parentChart_->CustomAxis(storedCustomHoriz_)) customHorizAxis_ = axis;
    }
    if (storedCustomVert_ >= 0) {
      if (TChartAxis* axis = parentChart_->CustomAxis(storedCustomVert_)) customVertAxis_ = axis;
    }
    ResolveAxes();
  }
  storedCustomHoriz_ = -1;
  storedCustomVert_ = -1;
  if (!storedSourceNames_.empty()) {
    const bool keep = dataLoaded_;
    ClearDataSources();
    for (const std::string& name : storedSourceNames_) {
      TComponent* source = Owner() ? Owner()->FindComponent(name) : nullptr;
      if (source) AddDataSource(source);
    }
    storedSourceNames_.clear();
    if (keep) dataLoaded_ = true;
    ReloadFromSource();
  }
}

// ---- The "Data" block ---------------------------------------------------------------------------

void TChartSeries::WritePointData(TStream& stream) {
  const int count = PointCount();
  std::uint8_t flags = 0;
  // Every point is looked at: a point past some sampled prefix must not lose its X, colour
  // or label on the way through a layout.
  if (xStorable_ && count > 0) {
    for (int i = 0; i < count; ++i) {
      if (notMandatory_->ValueAt(i) != i) {
        flags |= kHasX;
        break;
      }
    }
  }
  if (colors_) {
    const TColor effective = EffectiveColor();
    for (int i = 0; i < count; ++i) {
      const TColor c = OwnColorAt(i);
      if (c != clDefault && c != effective) {
        flags |= kHasColors;
        break;
      }
    }
  }
  for (int i = 0; i < labels_.Count(); ++i) {
    if (!labels_.LabelAt(i).empty()) {
      flags |= kHasLabels;
      break;
    }
  }
  if (marks_ && marks_->Positions().HasCustom()) flags |= kHasMarkPositions;
  if (pictures_ && pictures_->Count() > 0 && pictures_->StorePictures) flags |= kHasPictures;
  stream.WriteValue<std::uint8_t>(flags);
  stream.WriteValue<std::int32_t>(count);
  for (int i = 0; i < count; ++i) {
    if (flags & kHasX) stream.WriteValue<double>(notMandatory_->ValueAt(i));
    stream.WriteValue<double>(mandatory_->ValueAt(i));
    if (flags & kHasColors) stream.WriteValue<std::int32_t>(OwnColorAt(i));
    if (flags & kHasLabels) WriteLabel(stream, labels_.LabelAt(i));
    for (int k = 2; k < valueLists_.Count(); ++k) stream.WriteValue<double>(valueLists_[k].ValueAt(i));
    if (flags & kHasMarkPositions) WriteMarkPosition(stream, marks_->Positions().PositionAt(i));
    if (flags & kHasPictures) {
      TKelPicture* picture = pictures_->PictureAt(i);
      stream.WriteValue<std::uint8_t>(picture ? 1 : 0);
      if (picture) {
        TKelPictureComponent holder(nullptr);
        holder.SetPicture(picture);
        stream.WriteComponent(&holder);
      }
    }
  }
}

void TChartSeries::ReadPointData(TStream& stream) {
  ClearPoints();
  std::vector<TSeriesMarkPosition> positions;
  const std::uint8_t flags = stream.ReadValue<std::uint8_t>();
  const std::int32_t count = stream.ReadValue<std::int32_t>();
  BeginUpdate();
  try {
    for (int i = 0; i < count; ++i) {
      double x = (flags & kHasX) ? stream.ReadValue<double>() : i;
      double value = stream.ReadValue<double>();
      const TColor color = (flags & kHasColors) ? stream.ReadValue<std::int32_t>() : clDefault;
      const std::string label = (flags & kHasLabels) ? ReadLabel(stream) : std::string();
      for (int k = 2; k < valueLists_.Count(); ++k) valueLists_[k].PendingValue = stream.ReadValue<double>();
      // A position block has a fixed size, so it is read whole whatever it holds.
      if (flags & kHasMarkPositions) {
        if (stream.Size() - stream.Position() < kMarkPositionSize) throw EReadError("Stream read error");
        positions.push_back(ReadMarkPosition(stream));
      }
      std::unique_ptr<TKelPicture> picture;
      if (flags & kHasPictures) {
        const std::uint8_t present = stream.ReadValue<std::uint8_t>();
        if (present > 1) throw EReadError("Stream read error");
        if (present == 1) {
          TKelPictureComponent holder(nullptr);
          stream.ReadComponent(&holder);
          picture.reset(holder.TakePicture());
        }
      }
      const int index = yMandatory_ ? AppendXY(x, value, label, color) : AppendXY(value, x, label, color);
      if (picture && index >= 0) Pictures().PutPicture(index, picture.release());
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
  if (!positions.empty()) {
    TSeriesMarksPositions& stored = Marks()->Positions();
    for (const TSeriesMarkPosition& p : positions) stored.Append(p);
  }
  dataLoaded_ = true;
}
