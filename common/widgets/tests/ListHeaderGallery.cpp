// Shows a report list with the skinned header and a row of links in each
// cell of its last column, for a look at both on the screen.
#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <vector>

#include "CellLinkGroup.h"
#include "HeaderCtrlEx.h"
#include "SkinTestSupport.h"

namespace {

class GalleryWindow : public fw::Wnd {
 public:
  std::vector<std::unique_ptr<CCellLinkGroup>> rows;

 protected:
  bool OnNotify(NMHDR& header, LRESULT& result) override {
    if (header.code != NM_CUSTOMDRAW) return false;
    auto& draw = reinterpret_cast<NMLVCUSTOMDRAW&>(header);
    if (draw.nmcd.dwDrawStage == CDDS_PREPAINT || draw.nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
      result = draw.nmcd.dwDrawStage == CDDS_PREPAINT ? CDRF_NOTIFYITEMDRAW : CDRF_NOTIFYSUBITEMDRAW;
      return true;
    }
    size_t row = draw.nmcd.dwItemSpec;
    if (draw.nmcd.dwDrawStage != (CDDS_SUBITEM | CDDS_ITEMPREPAINT) || draw.iSubItem != 2 || row >= rows.size())
      return false;
    RECT cell{};
    ListView_GetSubItemRect(header.hwndFrom, static_cast<int>(row), 2, LVIR_BOUNDS, &cell);
    FillRect(draw.nmcd.hdc, &cell, GetSysColorBrush(COLOR_WINDOW));
    rows[row]->Draw(draw.nmcd.hdc, cell.left + 10, cell.top, 0, 0, cell.right - cell.left - 10,
                    cell.bottom - cell.top);
    result = CDRF_SKIPDEFAULT;
    return true;
  }
};

void AddColumn(HWND list, int index, const wchar_t* text, int width) {
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH;
  column.pszText = const_cast<wchar_t*>(text);
  column.cx = width;
  SendMessageW(list, LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&column));
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, wchar_t*, int) {
  INITCOMMONCONTROLSEX init{sizeof(init), ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&init);
  GalleryWindow window;
  window.Create(PopupArgs(40, 40, 460, 220));
  HWND list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT | WS_BORDER, 10, 10,
                              440, 200, window.Hwnd(), nullptr, nullptr, nullptr);
  AddColumn(list, 0, L"名称", 140);
  AddColumn(list, 1, L"大小", 90);
  AddColumn(list, 2, L"操作", 200);

  CHeaderCtrlEx header;
  header.Subclass(ListView_GetHeader(list));
  header.SetBitmaps(fw::ScopedBitmap(TwoToneBitmap(4, 30, RGB(112, 204, 255), RECT{0, 0, 4, 15}, RGB(150, 220, 255))),
                    fw::ScopedBitmap(TwoToneBitmap(2, 30, RGB(90, 180, 240))),
                    fw::ScopedBitmap(TwoToneBitmap(1, 30, RGB(28, 120, 206))));
  header.SetColors(CLR_INVALID, RGB(255, 255, 255));
  header.SetHeaderFont(fw::ScopedFont(CreateFontW(16, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0,
                                                  0, L"微软雅黑")));
  header.SetHeight(-1);
  fw::ScopedBitmap arrow(TwoToneBitmap(9, 6, RGB(255, 0, 255), RECT{2, 1, 7, 5}, RGB(255, 255, 255)));
  HDITEMW sort{};
  sort.mask = HDI_FORMAT | HDI_BITMAP;
  sort.fmt = HDF_STRING | HDF_BITMAP | HDF_BITMAP_ON_RIGHT;
  sort.hbm = arrow.Get();
  Header_SetItem(header.Hwnd(), 0, &sort);
  header.SetTransparentColor(RGB(255, 0, 255));

  auto normal = std::make_shared<fw::ScopedFont>(
      CreateFontW(14, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"微软雅黑"));
  const wchar_t* names[] = {L"作业.doc", L"照片.jpg", L"游戏.exe"};
  for (int row = 0; row < 3; ++row) {
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = const_cast<wchar_t*>(names[row]);
    ListView_InsertItem(list, &item);
    ListView_SetItemText(list, row, 1, const_cast<wchar_t*>(L"12 KB"));
    auto group = std::make_unique<CCellLinkGroup>();
    group->SetOwnerWindow(list);
    group->SetFonts(normal, nullptr);
    group->SetSpacing(10);
    group->SetLineHeight(16);
    group->AddLink(1, L"打开");
    group->AddLink(2, L"删除");
    group->AddLink(3, L"属性");
    group->SetLinkColor(1, RGB(28, 120, 206));
    group->SetLinkColor(2, RGB(214, 70, 62));
    group->SetLinkUnderline(2, true);
    group->SetLinkDisabledColor(3, RGB(160, 160, 160));
    group->EnableLink(3, row != 2);
    window.rows.push_back(std::move(group));
  }
  InvalidateRect(list, nullptr, TRUE);
  PumpFor(15000);
  return 0;
}
