// TKxCustomListView: column sorting, the owner-drawn header with its arrow, last-column stretch.
#include "shell/KxListVw.h"

#include "toolkit/classes/TypInfo.h"
#include "toolkit/graphics/Brush.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/Font.h"
#include "toolkit/graphics/Pen.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/rtl/TextConv.h"

TRect SortArrowRect(const TRect& text) {
  const int s = (text.Top + text.Bottom) / 2 - 1;
  TRect arrow;
  arrow.Left = text.Left;
  arrow.Right = arrow.Left + s + 1;
  arrow.Top = (text.Top + text.Bottom - s) / 2 - 1;
  arrow.Bottom = arrow.Top + s;
  return arrow;
}

bool SortArrowShown(const TRect& arrow, int columnWidth) { return 2 * arrow.Width() < columnWidth; }

int CompareListItems(TListItem* a, TListItem* b, int column) {
  if (!a || !b || column < 0) return 0;
  auto text = [column](TListItem* item) -> std::string {
    if (column == 0) return item->Caption();
    const size_t k = static_cast<size_t>(column - 1);
    return k < item->SubItems().size() ? item->SubItems()[k] : std::string();
  };
  const std::string x = text(a);
  const std::string y = text(b);
  if (x.empty() && y.empty()) return 0;
  if (x.empty()) return 1;
  if (y.empty()) return -1;
  return CompareText(x, y);
}

const TClassInfo& TKxCustomListView::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TKxCustomListView>("TKxCustomListView", &TCustomListView::StaticClass()).Build();
  return info;
}

TKxCustomListView::TKxCustomListView(TComponent* owner) : TCustomListView(owner) {}

void TKxCustomListView::SetSortColumn(int value) {
  if (value == sortColumn_) return;
  sortColumn_ = value;
  RefreshHeaderStyles();
}

void TKxCustomListView::SetSortDirection(int value) {
  if (value == sortDirection_) return;
  sortDirection_ = value;
  RefreshHeaderStyles();
}

void TKxCustomListView::SetSortDisplayMode(int value) {
  sortDisplayMode_ = value;
  RefreshHeaderStyles();
}

void TKxCustomListView::SetDisabledColor(TColor value) {
  disabledColor_ = value;
  if (HandleAllocated()) Invalidate();
}

void TKxCustomListView::ColumnClick(int column) {
  if (sortOnClick_) {
    if (column == lastSorted_) {
      SetSortColumn(column);
      SetSortDirection(1);
      CustomSort([column](TListItem* a, TListItem* b) { return -CompareListItems(a, b, column); });
      lastSorted_ = -1;
    } else {
      SetSortColumn(column);
      SetSortDirection(0);
      CustomSort([column](TListItem* a, TListItem* b) { return CompareListItems(a, b, column); });
      lastSorted_ = column;
    }
  }
  TCustomListView::ColumnClick(column);
}

void TKxCustomListView::SetStretchLastColumn(bool value) {
  if (value == stretchLastColumn_) return;
  stretchLastColumn_ = value;
  StretchLastColumn();
}

void TKxCustomListView::StretchLastColumn() {
  if (!stretchLastColumn_ || stretching_ || !HandleAllocated() || ViewStyle() != vsReport) return;
  if (ComponentState().Contains(csDestroying)) return;
  const int count = ColumnCount();
  if (count < 1) return;
  stretching_ = true;
  BeginUpdate();
  try {
    int sum = 0;
    for (int i = 0; i < count - 1; ++i) sum += ColumnWidth(i);
    int available = ClientWidth();
    if (ItemCount() == 0 || ComponentState().Contains(csLoading)) available -= GetSystemMetrics(SM_CXVSCROLL);
    if (sum < available) {
      const int difference = available - sum;
      SetColumnWidth(count - 1, difference <= 4 ? 5 : difference);
    }
  } catch (...) {
    EndUpdate();
    stretching_ = false;
    throw;
  }
  EndUpdate();
  stretching_ = false;
}

void TKxCustomListView::CreateWnd() {
  TCustomListView::CreateWnd();
  RefreshHeaderStyles();
}

void TKxCustomListView::RefreshHeaderStyles() {
  if (!HandleAllocated() || ViewStyle() != vsReport) return;
  HWND header = HeaderHandle();
  if (!header) return;
  const int count = static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
  for (int i = count - 1; i >= 0; --i) {
    HDITEMW item{};
    item.mask = HDI_FORMAT;
    SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    const int alignment = item.fmt & HDF_JUSTIFYMASK;
    item.fmt = alignment | (sortDisplayMode_ != 0 ? HDF_OWNERDRAW : HDF_STRING);
    SendMessageW(header, HDM_SETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  }
  InvalidateRect(header, nullptr, TRUE);
}

void TKxCustomListView::DoDrawHeader(int column, const TRect& rect, HDC dc) {
  TCanvas canvas;
  canvas.SetHandle(dc);
  canvas.Font()->Assign(Font());
  canvas.Font()->SetColor(clBtnText);
  canvas.Brush()->SetColor(clBtnFace);
  canvas.FillRect(rect);
  TRect text = rect;
  text.Left += 6;
  text.Right -= 6;
  const TRect arrowBase = SortArrowRect(text);
  TRect arrow = arrowBase;
  HWND header = HeaderHandle();
  HDITEMW item{};
  wchar_t caption[260] = {};
  item.mask = HDI_FORMAT | HDI_TEXT;
  item.pszText = caption;
  item.cchTextMax = 260;
  SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item));
  const bool sorted = column == sortColumn_;
  const std::string title = WideToUtf8(caption);
  if (sorted && sortDisplayMode_ == 1) {
    text.Left = arrow.Right + 5;
  } else if (sorted && sortDisplayMode_ == 3) {
    arrow = TRect(text.Right - arrowBase.Width(), arrowBase.Top, text.Right, arrowBase.Bottom);
    text.Right = arrow.Left - 5;
  } else if (sorted) {
    const int width = canvas.TextWidth(title);
    const int left = std::min(text.Left + width + 5, text.Right - arrowBase.Width());
    arrow = TRect(left, arrowBase.Top, left + arrowBase.Width(), arrowBase.Bottom);
  }
  RECT r = text;
  SetBkMode(dc, TRANSPARENT);
  const std::wstring wide = Utf8ToWide(title);
  UINT align = DT_LEFT;
  if ((item.fmt & HDF_JUSTIFYMASK) == HDF_RIGHT) align = DT_RIGHT;
  else if ((item.fmt & HDF_JUSTIFYMASK) == HDF_CENTER) align = DT_CENTER;
  DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &r, align | DT_SINGLELINE | DT_END_ELLIPSIS | DT_VCENTER);
  if (sorted && SortArrowShown(arrow, rect.Width())) {
    const int h = arrow.Height() * 3 / 4;
    const int w = 2 * h - 1;
    const int top = arrow.Bottom - h;
    const int left = arrow.Left;
    canvas.Pen()->SetColor(clBtnShadow);
    canvas.Brush()->SetColor(clBtnShadow);
    if (sortDirection_ == 1)
      canvas.Polygon({TPoint{left, top}, TPoint{left + w - 1, top}, TPoint{left + w / 2, top + h - 1}});
    else
      canvas.Polygon({TPoint{left + w / 2, top}, TPoint{left, top + h - 1}, TPoint{left + w - 1, top + h - 1}});
  }
  canvas.SetHandle(nullptr);
}

void TKxCustomListView::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_DRAWITEM: {
      auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(message.LParam);
      if (draw->CtlType == ODT_HEADER) {
        const int saved = SaveDC(draw->hDC);
        try {
          DoDrawHeader(static_cast<int>(draw->itemID), TRect(draw->rcItem), draw->hDC);
        } catch (...) {
          RestoreDC(draw->hDC, saved);
          throw;
        }
        RestoreDC(draw->hDC, saved);
        message.Result = 1;
        return;
      }
      break;
    }
    case WM_SIZE:
      TCustomListView::WndProc(message);
      StretchLastColumn();
      return;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(message.LParam);
      if (header->code == HDN_ENDTRACKW || header->code == HDN_ENDTRACKA ||
          header->code == HDN_DIVIDERDBLCLICKW || header->code == HDN_DIVIDERDBLCLICKA) {
        TCustomListView::WndProc(message);
        StretchLastColumn();
        return;
      }
      break;
    }
    default:
      break;
  }
  TCustomListView::WndProc(message);
}
