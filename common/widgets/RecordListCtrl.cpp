#include "RecordListCtrl.h"

#include <algorithm>

#include "DrawHelpers.h"
#include "ListSkinAttributes.h"
#include "XmlDom.h"

namespace {

const int kButtonColumnWidth = 18;

POINT PointOf(LPARAM lParam) { return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))}; }

void InsertColumn(HWND list, int index, const wchar_t* text, int width, int format) {
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
  column.pszText = const_cast<wchar_t*>(text);
  column.cx = width;
  column.fmt = format;
  ::SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
}

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP info{};
  if (!bitmap || !::GetObjectW(bitmap, sizeof(info), &info)) return SIZE{0, 0};
  return SIZE{info.bmWidth, info.bmHeight};
}

}  // namespace

CRecordListCtrl::CRecordListCtrl() : skin_(std::make_unique<RecordListSkin>()) {}

// The records go with the window, while this object can still free them.
CRecordListCtrl::~CRecordListCtrl() {
  if (Hwnd()) Destroy();
  FreeAllRecords();
}

bool CRecordListCtrl::InitColumns(bool withButton) {
  if (!Hwnd() || ItemCount() > 0) return false;
  const int width = ClientRect().right;
  if (withButton) {
    InsertColumn(Hwnd(), 0, L"结果", width <= 17 ? width : width - kButtonColumnWidth, LVCFMT_LEFT);
    InsertColumn(Hwnd(), 1, L"操作", kButtonColumnWidth, LVCFMT_CENTER);
  } else {
    InsertColumn(Hwnd(), 0, L"结果", width, LVCFMT_LEFT);
  }
  return true;
}

std::unique_ptr<RecordItem> CRecordListCtrl::MakeRecord(const std::wstring& text, int row) const {
  auto record = std::make_unique<RecordItem>();
  CCellLinkGroup& link = record->text;
  link.SetOwnerWindow(Hwnd());
  link.SetFonts(skin_->normalFont, skin_->underlinedFont);
  link.AddLink(0, text);
  link.SetLinkColor(0, skin_->textColour);
  link.SetLinkDisabledColor(0, skin_->disabledColour);
  link.SetLinkTooltip(0, skin_->tooltip);
  link.SetLinkUnderline(0, skin_->underline);
  link.EnableLink(0, !skin_->disabled);
  RECT bounds{};
  bounds.left = LVIR_BOUNDS;
  Send(LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&bounds));
  link.SetLineHeight(bounds.bottom - bounds.top);
  RecordButton& button = record->button;
  button.size = SIZE{skin_->buttonWidth, skin_->buttonHeight};
  button.normal = skin_->buttonNormal;
  button.hover = skin_->buttonHover;
  button.transparent = skin_->buttonTransparent;
  return record;
}

int CRecordListCtrl::AddRecord(const std::wstring& text, int image) {
  if (!Hwnd()) return -1;
  std::wstring buffer = text;
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_INDENT;
  item.iItem = ItemCount();
  item.pszText = &buffer[0];
  item.iImage = image;
  item.iIndent = skin_->indent;
  int row = static_cast<int>(Send(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  if (row < 0) return -1;
  std::unique_ptr<RecordItem> record = MakeRecord(text, row);
  LVITEMW data{};
  data.mask = LVIF_PARAM;
  data.iItem = row;
  data.lParam = reinterpret_cast<LPARAM>(record.get());
  Send(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&data));
  records_[record.get()] = std::move(record);
  return row;
}

RecordItem* CRecordListCtrl::GetRecord(int row) const {
  if (row < 0 || row >= ItemCount()) return nullptr;
  LVITEMW item{};
  item.mask = LVIF_PARAM;
  item.iItem = row;
  if (!Send(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return nullptr;
  auto* record = reinterpret_cast<RecordItem*>(item.lParam);
  // Only what this list made counts: a sort swaps the item data for a while.
  return record && records_.count(record) ? record : nullptr;
}

void CRecordListCtrl::FreeRecord(const RecordItem* record) { records_.erase(record); }

void CRecordListCtrl::FreeAllRecords() {
  for (int row = 0, count = Hwnd() ? ItemCount() : 0; row < count; ++row) {
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    Send(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  }
  records_.clear();
}

bool CRecordListCtrl::DeleteRecord(int row) {
  RecordItem* record = GetRecord(row);
  if (!record) return false;
  Send(LVM_DELETEITEM, static_cast<WPARAM>(row));
  if (hotRow_ == row) hotRow_ = -1;
  FreeRecord(record);
  return true;
}

int CRecordListCtrl::DeleteAllRecords() {
  int count = ItemCount();
  FreeAllRecords();
  Send(LVM_DELETEALLITEMS);
  hotRow_ = -1;
  return count;
}

bool CRecordListCtrl::SetRecordText(int row, const std::wstring& text) {
  std::wstring buffer = text;
  LVITEMW item{};
  item.iSubItem = 0;
  item.pszText = &buffer[0];
  return Send(LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)) != 0;
}

bool CRecordListCtrl::SetRecordValue(int row, int value) {
  RecordItem* record = GetRecord(row);
  if (!record) return false;
  record->value = value;
  return true;
}

int CRecordListCtrl::GetRecordValue(int row) const {
  const RecordItem* record = GetRecord(row);
  return record ? record->value : 0;
}

int CRecordListCtrl::FindRecordByText(const std::wstring& text, int start) const {
  LVFINDINFOW find{};
  find.flags = LVFI_STRING | LVFI_PARTIAL;
  find.psz = text.c_str();
  return static_cast<int>(Send(LVM_FINDITEMW, static_cast<WPARAM>(start), reinterpret_cast<LPARAM>(&find)));
}

int CRecordListCtrl::FindRecordByValue(int value, int start) const {
  for (int row = std::max(start, 0), count = ItemCount(); row < count; ++row) {
    const RecordItem* record = GetRecord(row);
    if (record && record->value == value) return row;
  }
  return -1;
}

bool CRecordListCtrl::SetItemIndent(int row, int indent) {
  LVITEMW item{};
  item.mask = LVIF_INDENT;
  item.iItem = row;
  item.iIndent = indent;
  return Send(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)) != 0;
}

int CRecordListCtrl::GetItemIndent(int row) const {
  LVITEMW item{};
  item.mask = LVIF_INDENT;
  item.iItem = row;
  return Send(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) ? item.iIndent : 0;
}

bool CRecordListCtrl::GetButtonRect(int row, RECT& rect) const {
  if (row < 0 || row >= ItemCount()) return false;
  RECT cell{};
  cell.left = LVIR_BOUNDS;
  cell.top = 1;
  if (!Send(LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell)) || ::IsRectEmpty(&cell))
    return false;
  const int width = skin_->buttonWidth;
  const int height = skin_->buttonHeight;
  int x = cell.left + std::max<int>(0, (cell.right - cell.left - width) / 2);
  int y = cell.top + std::max<int>(0, (cell.bottom - cell.top - height) / 2);
  rect = RECT{x, y, x + width, y + height};
  return true;
}

// --- skin -------------------------------------------------------------------

int CRecordListCtrl::LoadSkin(CXmlDom& dom, const wchar_t* element, const std::wstring& imageFolder) {
  if (!CListCtrlEx::LoadSkin(dom, element, imageFolder)) return 0;
  if (element && *element && !dom.SelectNode(element)) return 0;
  if (!dom.SelectNode(L"RECORDLIST_EXT")) {
    dom.MoveToParent();
    return 0;
  }
  skin_->Load(dom, listskin::WithBackslash(imageFolder), ListFont());
  // The list asks for its item height again when it is told it moved.
  RECT window = WindowRect();
  WINDOWPOS place{};
  place.hwnd = Hwnd();
  place.cx = window.right - window.left;
  place.cy = window.bottom - window.top;
  place.flags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
  if (Hwnd()) Send(WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&place));
  dom.MoveToParent();
  dom.MoveToParent();
  return 1;
}

void CRecordListCtrl::MeasureItem(MEASUREITEMSTRUCT& measure) {
  CListCtrlEx::MeasureItem(measure);
  if (skin_->itemHeight > 0) measure.itemHeight = static_cast<UINT>(skin_->itemHeight);
}

// --- painting ---------------------------------------------------------------

void CRecordListCtrl::DrawItem(const DRAWITEMSTRUCT& item) {
  CListCtrlEx::DrawItem(item);
  const RECT& row = item.rcItem;
  const int right = ClientRect().right;
  fw::ScopedPen pen(::CreatePen(PS_SOLID, 1, skin_->gridColour));
  fw::ScopedSelectObject select(item.hDC, pen.Get());
  ::MoveToEx(item.hDC, row.left + 1, row.bottom - 1, nullptr);
  ::LineTo(item.hDC, right - 1, row.bottom - 1);
}

bool CRecordListCtrl::DrawCell(HDC dc, int row, int column, const RECT& cell) {
  const RecordItem* record = GetRecord(row);
  if (!record) return false;
  if (column == 0) {
    DrawIconAndText(dc, row, cell, *record);
  } else if (column == 1) {
    RECT button{};
    if (GetButtonRect(row, button)) record->button.Draw(dc, button.left, button.top, cell);
  }
  return true;
}

void CRecordListCtrl::DrawIconAndText(HDC dc, int row, const RECT& cell, const RecordItem&) {
  const bool selected = (Send(LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED) & LVIS_SELECTED) != 0;
  const RecordButton::SharedBitmap& icon = selected ? skin_->iconSelected : skin_->iconNormal;
  HBITMAP bitmap = icon && *icon ? icon->Get() : nullptr;
  int textLeft = cell.left;
  if (bitmap && cell.left < cell.right) {
    SIZE size = BitmapSize(bitmap);
    RECT box{cell.left + GetItemIndent(row), cell.top, 0, cell.bottom};
    box.right = std::min<LONG>(box.left + size.cx + 2, cell.right);
    int x = box.left + (box.right - box.left - size.cx) / 2;
    int y = box.top + (box.bottom - box.top - size.cy) / 2;
    RECT shown{std::max<LONG>(x, box.left), std::max<LONG>(y, box.top), std::min<LONG>(x + size.cx, box.right),
               std::min<LONG>(y + size.cy, box.bottom)};
    if (shown.right > shown.left && shown.bottom > shown.top) {
      fw::ScopedCreatedDC memory(::CreateCompatibleDC(dc));
      fw::ScopedSelectObject select(memory.Get(), bitmap);
      int width = shown.right - shown.left, height = shown.bottom - shown.top;
      int sourceX = shown.left - x, sourceY = shown.top - y;
      if (skin_->iconTransparent != CLR_INVALID)
        TransparentStretchBlt(dc, shown.left, shown.top, width, height, memory.Get(), sourceX, sourceY, width,
                              height, skin_->iconTransparent);
      else
        ::BitBlt(dc, shown.left, shown.top, width, height, memory.Get(), sourceX, sourceY, SRCCOPY);
    }
    textLeft = box.right;
  }
  SIZE space{};
  ::GetTextExtentPoint32W(dc, L" ", 1, &space);
  RECT text{textLeft + space.cx / 2, cell.top, cell.right - space.cx / 2, cell.bottom};
  LVCOLUMNW info{};
  info.mask = LVCF_FMT;
  Send(LVM_GETCOLUMNW, 0, reinterpret_cast<LPARAM>(&info));
  UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
  if ((info.fmt & LVCFMT_JUSTIFYMASK) == LVCFMT_RIGHT) format |= DT_RIGHT;
  if ((info.fmt & LVCFMT_JUSTIFYMASK) == LVCFMT_CENTER) format |= DT_CENTER;
  if (DrawsEllipsis(0)) format |= DT_END_ELLIPSIS;
  std::wstring label = GetCellText(row, 0);
  ::DrawTextW(dc, label.c_str(), static_cast<int>(label.size()), &text, format);
}

void CRecordListCtrl::DrawButtonNow(int row) {
  const RecordItem* record = GetRecord(row);
  RECT button{};
  if (!record || !GetButtonRect(row, button)) return;
  fw::WindowDC dc(Hwnd());
  if (!dc.Get()) {
    Invalidate(false);
    return;
  }
  RECT cell{};
  cell.left = LVIR_BOUNDS;
  cell.top = 1;
  Send(LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
  record->button.Draw(dc, button.left, button.top, cell);
}

// --- mouse and notifications -------------------------------------------------

void CRecordListCtrl::SetButtonState(int row, int state) {
  RecordItem* record = GetRecord(row);
  if (!record || record->button.state == state) return;
  record->button.state = state;
  DrawButtonNow(row);
}

bool CRecordListCtrl::OnMouseMove(WPARAM wParam, LPARAM lParam, LRESULT& result) {
  const int previous = hotRow_;
  if (!CListCtrlEx::OnMessage(WM_MOUSEMOVE, wParam, lParam, result)) result = DefaultProc(WM_MOUSEMOVE, wParam, lParam);
  POINT point = PointOf(lParam);
  const int row = RowAt(point);
  if (GetRecord(row)) {
    RECT button{};
    bool over = GetButtonRect(row, button) && ::PtInRect(&button, point);
    SetButtonState(row, over ? RecordButton::kHot : RecordButton::kNormal);
  }
  hotRow_ = row;
  if (previous != row && previous >= 0 && previous < ItemCount()) SetButtonState(previous, RecordButton::kNormal);
  return true;
}

void CRecordListCtrl::ResetHover() {
  CListCtrlEx::ResetHover();
  if (hotRow_ >= 0) SetButtonState(hotRow_, RecordButton::kNormal);
}

bool CRecordListCtrl::OnButtonDown(WPARAM wParam, LPARAM lParam, LRESULT& result) {
  POINT point = PointOf(lParam);
  LVHITTESTINFO hit{};
  hit.pt = point;
  Send(LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit));
  const int row = (hit.flags & LVHT_ONITEM) ? hit.iItem : -1;
  if (!GetRecord(row)) return false;
  RECT button{};
  if (GetButtonRect(row, button) && ::PtInRect(&button, point)) {
    Notify(RLN_BUTTONCLICK, row);
    result = 0;
    return true;
  }
  if (!CListCtrlEx::OnMessage(WM_LBUTTONDOWN, wParam, lParam, result))
    result = DefaultProc(WM_LBUTTONDOWN, wParam, lParam);
  if (hit.iSubItem != 1) Notify(RLN_ROWCLICK, row);
  return true;
}

void CRecordListCtrl::Notify(int code, int row) {
  if (!notifyWindow_) return;
  const int id = ::GetDlgCtrlID(Hwnd());
  RecordListNotify notify{{Hwnd(), static_cast<UINT_PTR>(id), static_cast<UINT>(code)}, row, this};
  ::SendMessageW(notifyWindow_, WM_NOTIFY, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&notify));
}

bool CRecordListCtrl::OnSize(WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (!CListCtrlEx::OnMessage(WM_SIZE, wParam, lParam, result)) result = DefaultProc(WM_SIZE, wParam, lParam);
  const int buttonWidth = skin_->buttonColumnWidth;
  if (ColumnCount() > 1 && buttonWidth > 0) {
    Send(LVM_SETCOLUMNWIDTH, 1, MAKELPARAM(buttonWidth, 0));
    Send(LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(std::max(LOWORD(lParam) - buttonWidth, 0), 0));
  }
  return true;
}

bool CRecordListCtrl::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_DESTROY:
      FreeAllRecords();
      return CListCtrlEx::OnMessage(message, wParam, lParam, result);
    case WM_SIZE:
      return OnSize(wParam, lParam, result);
    case WM_MOUSEMOVE:
      return OnMouseMove(wParam, lParam, result);
    case WM_LBUTTONDOWN:
      return OnButtonDown(wParam, lParam, result) || CListCtrlEx::OnMessage(message, wParam, lParam, result);
    case WM_SETCURSOR: {
      DWORD at = ::GetMessagePos();
      POINT point{static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
      ::ScreenToClient(Hwnd(), &point);
      int row = RowAt(point);
      RECT button{};
      if (GetRecord(row) && GetButtonRect(row, button) && ::PtInRect(&button, point)) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
        result = TRUE;
        return true;
      }
      break;
    }
  }
  return CListCtrlEx::OnMessage(message, wParam, lParam, result);
}

// A row deleted without DeleteRecord still frees its record.
bool CRecordListCtrl::OnReflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == LVN_DELETEITEM) {
    auto* record = reinterpret_cast<const RecordItem*>(reinterpret_cast<NMLISTVIEW*>(lParam)->lParam);
    if (record) FreeRecord(record);
  }
  return CListCtrlEx::OnReflect(message, wParam, lParam, result);
}
