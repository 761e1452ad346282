// Escher (Office drawing) records for pictures: the group's blip store and the sheet's shapes.
#include "xls/Drawing.h"

namespace drawing {
namespace {

enum : std::uint16_t {
  kDggContainer = 0xF000,
  kBStoreContainer = 0xF001,
  kDgContainer = 0xF002,
  kSpgrContainer = 0xF003,
  kSpContainer = 0xF004,
  kBse = 0xF007,
  kDg = 0xF008,
  kSpgr = 0xF009,
  kSp = 0xF00A,
  kOpt = 0xF00B,
  kClientAnchor = 0xF010,
  kClientData = 0xF011,
  kBlipDib = 0xF01F,
};

constexpr std::uint8_t kBlipTypeDib = 7;
constexpr std::uint16_t kDibInstance = 0x7A8;  // one 16-byte uid
constexpr std::uint16_t kShapePictureFrame = 75;
constexpr std::uint32_t kShapesPerCluster = 1024;

void Header(ByteBuffer& b, unsigned version, unsigned instance, std::uint16_t type, std::size_t length) {
  b.U16(version | (instance << 4));
  b.U16(type);
  b.U32(static_cast<std::uint32_t>(length));
}

void Sp(ByteBuffer& b, unsigned shapeType, std::uint32_t spid, std::uint32_t flags) {
  Header(b, 2, shapeType, kSp, 8);
  b.U32(spid);
  b.U32(flags);
}

// The shape container of one picture frame.
ByteBuffer PictureShape(const PlacedPicture& p, std::uint32_t spid) {
  ByteBuffer props;
  ByteBuffer complex;
  unsigned count = 0;
  const auto prop = [&](std::uint16_t id, std::uint32_t value) {
    props.U16(id);
    props.U32(value);
    ++count;
  };
  prop(0x4104, static_cast<std::uint32_t>(p.blip + 1));  // pib: the store's 1-based entry
  prop(0x01BF, 0x00010000);                               // fill: no hit test
  if (!p.name.empty()) {
    prop(0x8380, static_cast<std::uint32_t>((p.name.size() + 1) * 2));  // wzName, complex
    complex.Utf16(p.name);
    complex.U16(0);
  }
  prop(0x03BF, 0x00080000);  // group flags: printed

  ByteBuffer body;
  Sp(body, kShapePictureFrame, spid, 0x0A00);  // has anchor, has shape type
  Header(body, 3, count, kOpt, props.Size() + complex.Size());
  body.Append(props);
  body.Append(complex);
  Header(body, 0, 0, kClientAnchor, 18);
  const CellAnchor& a = p.anchor;
  for (unsigned v : {a.flag, a.col1, a.dx1, a.row1, a.dy1, a.col2, a.dx2, a.row2, a.dy2}) body.U16(v);
  Header(body, 0, 0, kClientData, 0);

  ByteBuffer shape;
  Header(shape, 15, 0, kSpContainer, body.Size());
  shape.Append(body);
  return shape;
}

ByteBuffer ObjRecord(std::uint16_t objectId) {
  ByteBuffer r;
  r.U16(0x0015);  // ftCmo
  r.U16(0x0012);
  r.U16(0x0008);  // picture
  r.U16(objectId);
  r.U16(0x6011);  // locked, printed, automatic fill and line
  r.Zeros(12);
  r.U16(0x0007);  // ftCf: clipboard format
  r.U16(0x0002);
  r.U16(0xFFFF);
  r.U16(0x0008);  // ftPioGrbit: picture options
  r.U16(0x0002);
  r.U16(0x0001);
  r.U16(0x0000);  // ftEnd
  r.U16(0x0000);
  return r;
}

}  // namespace

ByteBuffer DrawingGroupData(const std::vector<Picture>& pictures,
                            const std::vector<std::uint32_t>& references,
                            const std::vector<std::size_t>& pictureCounts) {
  ByteBuffer body;
  std::uint32_t shapes = 0;
  for (std::size_t n : pictureCounts) shapes += static_cast<std::uint32_t>(n + 1);
  const auto drawings = static_cast<std::uint32_t>(pictureCounts.size());
  Header(body, 0, 0, 0xF006, 16 + 8 * pictureCounts.size());  // Dgg
  const std::uint32_t lastShapes = drawings ? static_cast<std::uint32_t>(pictureCounts.back() + 1) : 0;
  body.U32(kShapesPerCluster * drawings + lastShapes);  // next free shape id
  body.U32(drawings + 1);                               // clusters, plus one
  body.U32(shapes);
  body.U32(drawings);
  for (std::uint32_t d = 0; d < drawings; ++d) {
    body.U32(d + 1);
    body.U32(static_cast<std::uint32_t>(pictureCounts[d] + 1));
  }

  ByteBuffer store;
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    const Picture& p = pictures[i];
    const std::size_t blipLength = 16 + 1 + p.dib.size();
    Header(store, 2, kBlipTypeDib, kBse, 36 + 8 + blipLength);
    store.U8(kBlipTypeDib);  // for Windows
    store.U8(kBlipTypeDib);  // for Mac
    store.Append(p.uid.data(), p.uid.size());
    store.U16(0xFF);                                          // tag
    store.U32(static_cast<std::uint32_t>(8 + blipLength));    // blip record size
    store.U32(references[i]);
    store.U32(0);  // not in a delay stream
    store.U8(0);   // usage
    store.U8(0);   // no name
    store.U8(0);
    store.U8(0);
    Header(store, 0, kDibInstance, kBlipDib, blipLength);
    store.Append(p.uid.data(), p.uid.size());
    store.U8(0xFF);
    store.Append(p.dib);
  }
  Header(body, 15, static_cast<unsigned>(pictures.size()), kBStoreContainer, store.Size());
  body.Append(store);

  // Default shape properties: text flags, fill and line colours.
  Header(body, 3, 3, kOpt, 18);
  body.U16(0x00BF);
  body.U32(0x00080008);
  body.U16(0x0181);
  body.U32(0x08000041);
  body.U16(0x01C0);
  body.U32(0x08000040);

  ByteBuffer data;
  Header(data, 15, 0, kDggContainer, body.Size());
  data.Append(body);
  return data;
}

void WriteSheetDrawing(biff::BiffStream& stream, std::uint32_t drawingId,
                       const std::vector<PlacedPicture>& pictures) {
  if (pictures.empty()) return;
  const std::uint32_t firstSpid = kShapesPerCluster * drawingId;
  std::vector<ByteBuffer> shapes;
  std::size_t shapesSize = 0;
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    shapes.push_back(PictureShape(pictures[i], firstSpid + 1 + static_cast<std::uint32_t>(i)));
    shapesSize += shapes.back().Size();
  }

  ByteBuffer group;  // the patriarch's own shape container
  Header(group, 15, 0, kSpContainer, 24 + 16);
  Header(group, 1, 0, kSpgr, 16);
  group.Zeros(16);
  Sp(group, 0, firstSpid, 0x0005);  // group, patriarch

  const std::size_t spgrLength = group.Size() + shapesSize;
  ByteBuffer first;
  Header(first, 15, 0, kDgContainer, 8 + 8 + 8 + spgrLength);
  Header(first, 0, drawingId, kDg, 8);
  first.U32(static_cast<std::uint32_t>(pictures.size() + 1));
  first.U32(firstSpid + static_cast<std::uint32_t>(pictures.size()));
  Header(first, 15, 0, kSpgrContainer, spgrLength);
  first.Append(group);
  first.Append(shapes[0]);
  stream.Record(biff::kMsoDrawing, first);
  stream.Record(biff::kObj, ObjRecord(1));
  for (std::size_t i = 1; i < shapes.size(); ++i) {
    stream.Record(biff::kMsoDrawing, shapes[i]);
    stream.Record(biff::kObj, ObjRecord(static_cast<std::uint16_t>(i + 1)));
  }
}

}  // namespace drawing
