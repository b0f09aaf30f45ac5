// Shows the owner-drawn buttons in every state in one window for a few
// seconds, to look at: flat and 3-D, hovered, pressed, disabled, checked,
// with an icon, with bitmaps, and a background button of twelve slices.
#include <windows.h>

#include <vector>

#include "BkgBtn.h"
#include "ButtonST.h"
#include "SkinTestSupport.h"

namespace {

const COLORREF kMagenta = RGB(255, 0, 255);
const wchar_t kFace[] = L"WenQuanYi Micro Hei";

// Shown as held down, for the picture.
template <typename Base>
class HeldButton : public Base {
 public:
  void DrawItem(const DRAWITEMSTRUCT* draw) override {
    DRAWITEMSTRUCT held = *draw;
    held.itemState |= ODS_SELECTED;
    Base::DrawItem(&held);
  }
};

// Shown as under the pointer, for the picture (the real pointer rests on
// another button).
class HoveredBkgBtn : public CBkgBtn {
 public:
  void DrawItem(const DRAWITEMSTRUCT* draw) override {
    mouseOver_ = true;
    CBkgBtn::DrawItem(draw);
  }
};

HWND Child(const wchar_t* text, DWORD style, int x, int y, int w, int h, HWND parent, int id) {
  return CreateWindowExW(0, L"BUTTON", text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, x, y, w, h, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
}

// A round badge of `colour` on magenta, `size` square.
HBITMAP Badge(int size, COLORREF colour, COLORREF ring) {
  HBITMAP bitmap = TwoToneBitmap(size, size, kMagenta);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  HBRUSH brush = CreateSolidBrush(colour);
  HPEN pen = CreatePen(PS_SOLID, 2, ring);
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  HGDIOBJ oldPen = SelectObject(dc, pen);
  Ellipse(dc, 1, 1, size - 1, size - 1);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(brush);
  DeleteObject(pen);
  SelectObject(dc, old);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return bitmap;
}

// A 32 x 32 icon: a green disc with a white centre, transparent outside.
HICON DiscIcon() {
  HBITMAP colour = TwoToneBitmap(32, 32, RGB(0, 0, 0));
  HBITMAP mask = TwoToneBitmap(32, 32, RGB(255, 255, 255));
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(dc, colour);
  HBRUSH green = CreateSolidBrush(RGB(40, 170, 60));
  HGDIOBJ oldBrush = SelectObject(dc, green);
  Ellipse(dc, 2, 2, 30, 30);
  SelectObject(dc, GetStockObject(WHITE_BRUSH));
  Ellipse(dc, 11, 11, 21, 21);
  SelectObject(dc, mask);
  SelectObject(dc, GetStockObject(BLACK_BRUSH));
  SelectObject(dc, GetStockObject(BLACK_PEN));
  Ellipse(dc, 2, 2, 30, 30);
  SelectObject(dc, oldBrush);
  SelectObject(dc, old);
  DeleteObject(green);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  HBITMAP monoMask = CreateBitmap(32, 32, 1, 1, nullptr);
  {
    HDC from = CreateCompatibleDC(nullptr);
    HDC to = CreateCompatibleDC(nullptr);
    HGDIOBJ oldFrom = SelectObject(from, mask);
    HGDIOBJ oldTo = SelectObject(to, monoMask);
    BitBlt(to, 0, 0, 32, 32, from, 0, 0, SRCCOPY);
    SelectObject(from, oldFrom);
    SelectObject(to, oldTo);
    DeleteDC(from);
    DeleteDC(to);
  }
  ICONINFO info{TRUE, 16, 16, monoMask, colour};
  HICON icon = CreateIconIndirect(&info);
  DeleteObject(colour);
  DeleteObject(mask);
  DeleteObject(monoMask);
  return icon;
}

// A slice of a rounded blue pill: start and end carry the rounded ends.
HBITMAP Slice(int width, int height, COLORREF fill, COLORREF edge, int part) {
  HBITMAP bitmap = TwoToneBitmap(width, height, fill, RECT{0, 0, width, 2}, edge);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  RECT bottom{0, height - 2, width, height};
  HBRUSH edgeBrush = CreateSolidBrush(edge);
  FillRect(dc, &bottom, edgeBrush);
  if (part != 1) {
    RECT side = part == 0 ? RECT{0, 0, 2, height} : RECT{width - 2, 0, width, height};
    FillRect(dc, &side, edgeBrush);
  }
  DeleteObject(edgeBrush);
  SelectObject(dc, old);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return bitmap;
}

void Label(HWND parent, const wchar_t* text, int x, int y) {
  CreateWindowExW(0, L"STATIC", text, WS_CHILD | WS_VISIBLE, x, y, 110, 18, parent, nullptr, nullptr, nullptr);
}

}  // namespace

int main() {
  fw::Wnd window;
  fw::CreateArgs args;
  args.title = L"Knappar";
  args.style = WS_POPUP | WS_VISIBLE | WS_BORDER;
  args.x = 20;
  args.y = 20;
  args.width = 680;
  args.height = 330;
  window.Create(args);
  HWND parent = window.Hwnd();

  std::vector<HBITMAP> made;
  auto keep = [&made](HBITMAP bitmap) {
    made.push_back(bitmap);
    return bitmap;
  };

  // Row 1: flat buttons.
  Label(parent, L"flat", 10, 8);
  CButtonST flatNormal, flatHover, flatDisabled, flatChecked;
  HeldButton<CButtonST> flatPressed;
  const wchar_t* flatCaptions[] = {L"首页 normal", L"后退 hover", L"刷新 pressed", L"收藏 disabled", L"静音 checked"};
  CButtonST* flat[] = {&flatNormal, &flatHover, &flatPressed, &flatDisabled, &flatChecked};
  for (int i = 0; i < 5; ++i) {
    DWORD type = i == 4 ? BS_AUTOCHECKBOX : BS_PUSHBUTTON;
    flat[i]->SubclassButton(Child(flatCaptions[i], type | (i == 3 ? WS_DISABLED : 0), 10 + i * 132, 28, 124, 36,
                                  parent, 10 + i));
    flat[i]->SetColor(CButtonST::BTNST_COLOR_BK_IN, RGB(255, 236, 179));
    flat[i]->SetColor(CButtonST::BTNST_COLOR_FG_IN, RGB(200, 60, 0));
  }
  flatChecked.SetCheckState(1);

  // Row 2: 3-D buttons.
  Label(parent, L"3-D", 10, 76);
  CButtonST solidNormal, solidDefault, solidDisabled, solidBox;
  HeldButton<CButtonST> solidPressed;
  const wchar_t* solidCaptions[] = {L"确定", L"默认 default", L"按下 pressed", L"禁用 disabled", L"复选 check"};
  CButtonST* solid[] = {&solidNormal, &solidDefault, &solidPressed, &solidDisabled, &solidBox};
  for (int i = 0; i < 5; ++i) {
    DWORD type = i == 1 ? BS_DEFPUSHBUTTON : i == 4 ? BS_AUTOCHECKBOX : BS_PUSHBUTTON;
    solid[i]->SubclassButton(Child(solidCaptions[i], type | (i == 3 ? WS_DISABLED : 0), 10 + i * 132, 96, 124, 36,
                                   parent, 20 + i));
    solid[i]->SetFlatStyle(FALSE);
  }

  // Row 3: images.
  Label(parent, L"images", 10, 144);
  CButtonST withIcon, withBitmap, transparentBitmap, maskedBitmap;
  withIcon.SubclassButton(Child(L"图标 icon", BS_PUSHBUTTON, 10, 164, 124, 44, parent, 30));
  withIcon.SetImageAlignment(CButtonST::ST_ALIGN_HORIZ);
  withIcon.SetIcon(DiscIcon(), CButtonST::kGrayscaleIcon);

  withBitmap.SubclassButton(Child(L"", BS_PUSHBUTTON, 142, 164, 60, 44, parent, 31));
  withBitmap.SetImageAlignment(CButtonST::ST_ALIGN_HORIZ);
  withBitmap.SetTransparentBackground(FALSE);
  withBitmap.SetBitmaps(keep(Badge(36, RGB(255, 140, 0), RGB(160, 70, 0))), kMagenta,
                        keep(Badge(36, RGB(90, 160, 230), RGB(30, 80, 160))), kMagenta);

  transparentBitmap.SubclassButton(Child(L"透明", BS_PUSHBUTTON, 210, 164, 124, 44, parent, 32));
  transparentBitmap.SetImageAlignment(CButtonST::ST_ALIGN_HORIZ);
  transparentBitmap.SetTransparentBackground(FALSE);
  transparentBitmap.SetBitmaps(keep(Badge(36, RGB(220, 40, 60), RGB(120, 0, 20))), kMagenta);

  maskedBitmap.SubclassButton(Child(L"遮罩 mask", BS_PUSHBUTTON, 342, 164, 124, 44, parent, 33));
  maskedBitmap.SetImageAlignment(CButtonST::ST_ALIGN_VERT);
  maskedBitmap.SetBuildMasks(TRUE);
  maskedBitmap.SetBitmaps(keep(Badge(20, RGB(140, 60, 200), RGB(70, 20, 120))), kMagenta);

  // Row 4: background buttons of twelve slices.
  Label(parent, L"12 slices", 10, 220);
  const COLORREF fills[4] = {RGB(120, 190, 240), RGB(255, 200, 90), RGB(60, 130, 200), RGB(200, 200, 200)};
  const COLORREF edges[4] = {RGB(40, 100, 170), RGB(200, 120, 0), RGB(20, 60, 120), RGB(150, 150, 150)};
  HBITMAP slices[12];
  for (int state = 0; state < 4; ++state)
    for (int part = 0; part < 3; ++part)
      slices[state * 3 + part] = keep(Slice(part == 1 ? 4 : 8, 40, fills[state], edges[state], part));
  CBkgBtn bkgNormal, bkgDisabled;
  HoveredBkgBtn bkgHover;
  HeldButton<CBkgBtn> bkgPressed;
  const wchar_t* bkgCaptions[] = {L"儿歌 normal", L"故事 hover", L"动画 pressed", L"游戏 disabled"};
  CBkgBtn* bkg[] = {&bkgNormal, &bkgHover, &bkgPressed, &bkgDisabled};
  for (int i = 0; i < 4; ++i) {
    bkg[i]->SubclassButton(Child(bkgCaptions[i], BS_PUSHBUTTON | (i == 3 ? WS_DISABLED : 0), 10 + i * 132, 240, 124,
                                 40, parent, 40 + i));
    bkg[i]->SetBkgBitmaps(slices, FALSE);
    bkg[i]->ApplyTextStyle(kFace, 16, RGB(255, 255, 255), RGB(120, 40, 0));
    bkg[i]->SetFlatBorder(FALSE);
  }
  for (CButtonST* button : flat) button->SetCaptionFont(kFace, 15, 0);
  for (CButtonST* button : solid) button->SetCaptionFont(kFace, 15, 0);
  for (CButtonST* button : {&withIcon, &transparentBitmap, &maskedBitmap}) button->SetCaptionFont(kFace, 15, 0);

  RECT rect{};
  GetWindowRect(flatHover.Hwnd(), &rect);
  SetCursorPos(rect.left + 60, rect.top + 18);
  PumpFor(4000);
  for (HBITMAP bitmap : made) DeleteObject(bitmap);
  return 0;
}
