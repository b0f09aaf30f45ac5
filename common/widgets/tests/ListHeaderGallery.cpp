// Shows a report list with the skinned header and a row of links in each
// cell of its last column, a sorted file list with its link column and a
// record list, both in the default theme, for a look on the screen.
#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <vector>

#include "CellLinkGroup.h"
#include "CommHelper.h"
#include "HeaderCtrlEx.h"
#include "ListCtrlEx.h"
#include "RecordListCtrl.h"
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

// A file list in the theme's "listctrl_links", sorted by size once.
void FillFileList(CListCtrlEx& files, HWND parent) {
  fw::CreateArgs args;
  args.parent = parent;
  args.style = WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_SHOWSELALWAYS;
  args.x = 460;
  args.y = 10;
  args.width = 540;
  args.height = 260;
  args.idOrMenu = 2;
  files.Create(args);
  files.Send(LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  for (int i = 0; i < 4; ++i) AddColumn(files.Hwnd(), i, L"", 80);
  std::wstring skin = GetExeDir() + L"\\theme\\default\\skin.xml";
  files.LoadSkinFile(L"listctrl_links", skin.c_str());
  const wchar_t* rows[][3] = {{L"作业.doc", L"120 KB", L"2024-03-01 10:00"}, {L"照片.jpg", L"2 MB", L"2024-02-11 18:30"},
                              {L"儿歌.mp3", L"4 MB", L"2023-12-24 09:15"},   {L"游戏.exe", L"800 KB", L"2024-01-05 16:45"},
                              {L"日记.txt", L"3 KB", L"2024-03-08 20:05"},   {L"画画.bmp", L"640 KB", L"2023-11-30 11:20"},
                              {L"故事.pdf", L"1 MB", L"2024-02-29 07:50"}};
  for (int row = 0; row < 7; ++row) {
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = const_cast<wchar_t*>(rows[row][0]);
    ListView_InsertItem(files.Hwnd(), &item);
    ListView_SetItemText(files.Hwnd(), row, 1, const_cast<wchar_t*>(rows[row][1]));
    ListView_SetItemText(files.Hwnd(), row, 2, const_cast<wchar_t*>(rows[row][2]));
  }
  files.EnableCellLink(3, 3, 2, false);
  files.SortByHeaderClick(1);
  ListView_SetItemState(files.Hwnd(), 2, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  SetFocus(files.Hwnd());
}

void FillRecordList(CRecordListCtrl& records, HWND parent) {
  fw::CreateArgs args;
  args.parent = parent;
  args.style = WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_NOCOLUMNHEADER;
  args.x = 10;
  args.y = 230;
  args.width = 440;
  args.height = 200;
  args.idOrMenu = 3;
  records.Create(args);
  records.Send(LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  records.InitColumns(true);
  std::wstring skin = GetExeDir() + L"\\theme\\default\\skin.xml";
  records.LoadSkinFile(L"recordlist", skin.c_str());
  for (const wchar_t* text : {L"www.qq.com 上午 9:12", L"www.baidu.com 上午 9:30", L"www.61.com 上午 10:05",
                              L"www.hao123.com 下午 2:48", L"www.kids.cn 下午 4:10"})
    records.AddRecord(text, -1);
  ListView_SetItemState(records.Hwnd(), 1, LVIS_SELECTED, LVIS_SELECTED);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, wchar_t*, int) {
  INITCOMMONCONTROLSEX init{sizeof(init), ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&init);
  GalleryWindow window;
  window.Create(PopupArgs(10, 10, 1010, 440));
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
  CListCtrlEx files;
  FillFileList(files, window.Hwnd());
  CRecordListCtrl records;
  FillRecordList(records, window.Hwnd());
  // Over a link of the file list once everything has painted, so that the
  // row takes the hover colour and the link shows its tooltip.
  PumpFor(500);
  RECT cell{};
  ListView_GetSubItemRect(files.Hwnd(), 1, 3, LVIR_BOUNDS, &cell);
  POINT over{cell.left + 16, cell.top + 6};
  ClientToScreen(files.Hwnd(), &over);
  SetCursorPos(over.x, over.y);
  PumpFor(300);
  ScreenToClient(files.Hwnd(), &over);
  SendMessageW(files.Hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(over.x, over.y));
  PumpFor(15000);
  return 0;
}
