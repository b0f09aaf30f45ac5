// Shows the address box, a slider, coloured edits, a label and a link in one
// window for a few seconds, to look at.
#include <windows.h>

#include "BitmapSlider.h"
#include "ComboBoxExEx.h"
#include "EditEx.h"
#include "HyperLink.h"
#include "SkinTestSupport.h"
#include "StaticEx.h"

namespace {

HWND Child(const wchar_t* type, const wchar_t* text, DWORD style, int x, int y, int w, int h, HWND parent, int id) {
  return CreateWindowExW(0, type, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
}

}  // namespace

int main() {
  fw::Wnd window;
  fw::CreateArgs args;
  args.title = L"Tindra";
  args.style = WS_POPUP | WS_VISIBLE;
  args.x = 20;
  args.y = 20;
  args.width = 460;
  args.height = 260;
  window.Create(args);

  CComboBoxExEx address;
  address.SubclassCombo(Child(L"COMBOBOX", L"", WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL | CBS_OWNERDRAWFIXED |
                                                    CBS_HASSTRINGS, 20, 20, 420, 200, window.Hwnd(), 1));
  HBITMAP arrow = FramedBitmap(18, 14, RGB(84, 165, 213), RGB(255, 255, 255), 3);
  address.SetBitmaps(arrow, arrow, arrow);
  address.SetColors(RGB(84, 165, 213), RGB(255, 255, 227), 1);
  address.SetTextFont(-16, L"WenQuanYi Micro Hei");
  for (const wchar_t* entry : {L"http://www.kids.example/儿歌", L"http://news.example/"})
    SendMessageW(address.Hwnd(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
  SetWindowTextW(address.Hwnd(), L"http://www.kids.example/");

  CBitmapSlider volume;
  volume.Subclass(Child(L"STATIC", L"", SS_NOTIFY, 20, 70, 10, 10, window.Hwnd(), 2));
  HBITMAP channel = FramedBitmap(200, 18, RGB(120, 200, 255), RGB(200, 235, 255), 3);
  HBITMAP thumb = FramedBitmap(18, 18, RGB(255, 0, 255), RGB(255, 140, 0), 3);
  volume.SetBitmapChannel(channel);
  volume.SetBitmapThumb(thumb, nullptr, true, RGB(255, 0, 255));
  volume.SetPos(60);

  CStaticEx label;
  label.Subclass(Child(L"STATIC", L"宝贝的名字：", 0, 20, 110, 100, 24, window.Hwnd(), 3));
  CEditEx name;
  // As a dialog's edit field: with a sunken client edge for the frame to sit in.
  name.Subclass(CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"乖儿子", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 130, 106,
                                200, 28, window.Hwnd(), reinterpret_cast<HMENU>(4), nullptr, nullptr));
  CHyperLink link;
  link.SetURL(L"http://www.kids.example/help");
  link.SubclassLink(Child(L"STATIC", L"使用帮助", 0, 20, 160, 200, 30, window.Hwnd(), 5));

  PumpFor(4000);
  DeleteObject(arrow);
  DeleteObject(channel);
  DeleteObject(thumb);
  return 0;
}
