// The Office drawing layer of a workbook: the drawing group (MSODRAWINGGROUP: shape id
// clusters and the blip store holding each distinct picture once) and, per sheet, the drawing
// (MSODRAWING: a patriarch group and one picture frame per placed picture, each followed by
// its OBJ record). Shape ids of the n-th sheet with a drawing start at 1024 × n.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "xls/BiffStream.h"
#include "xls/Picture.h"

// Where a picture sits: zero-based cells and offsets (1/1024 of a column's width, 1/256 of a
// row's height), and how it follows the cells (0 move and size, 2 move only, 3 neither).
struct CellAnchor {
  std::uint16_t flag = 0;
  std::uint16_t col1 = 0, dx1 = 0, row1 = 0, dy1 = 0;
  std::uint16_t col2 = 0, dx2 = 0, row2 = 0, dy2 = 0;
};

struct PlacedPicture {
  std::size_t blip = 0;  // index into the workbook's picture store
  CellAnchor anchor;
  std::wstring name;
};

namespace drawing {

// Most pictures one sheet may hold (one shape id cluster, less the patriarch).
constexpr std::size_t kMaxPicturesPerSheet = 1023;

// The data of the MSODRAWINGGROUP record. `pictures` is the store, `references` how many
// placements use each, `pictureCounts` the number of pictures of each sheet that has any.
ByteBuffer DrawingGroupData(const std::vector<Picture>& pictures,
                            const std::vector<std::uint32_t>& references,
                            const std::vector<std::size_t>& pictureCounts);

// Appends the MSODRAWING and OBJ records of one sheet's pictures; `drawingId` is the 1-based
// number of the sheet among those with pictures.
void WriteSheetDrawing(biff::BiffStream& stream, std::uint32_t drawingId,
                       const std::vector<PlacedPicture>& pictures);

}  // namespace drawing
