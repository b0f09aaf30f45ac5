#include "SkinEngine.h"

#include <algorithm>

#include "BkgBtn.h"
#include "ButtonST.h"
#include "ComSupport.h"
#include "DrawHelpers.h"
#include "SkinFileCache.h"
#include "SkinLayout.h"
#include "SkinReader.h"
#include "XmlDom.h"

namespace {

// Word break, vertical centring and word ellipsis, added to every item's own
// format bits.
constexpr UINT kTextFormat = DT_WORDBREAK | DT_VCENTER | DT_WORD_ELLIPSIS;
constexpr BYTE kPitchAndFamily = 0x20;  // FF_SWISS, default pitch
const wchar_t kDefaultFace[] = L"宋体";
constexpr int kDefaultFontHeight = 12;
// Button images are keyed on magenta.
constexpr COLORREF kButtonKey = RGB(255, 0, 255);

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP info{};
  if (!bitmap || !::GetObjectW(bitmap, sizeof(info), &info)) return SIZE{0, 0};
  return SIZE{info.bmWidth, std::abs(info.bmHeight)};
}

LONG RectWidth(const RECT& rect) { return rect.right - rect.left; }
LONG RectHeight(const RECT& rect) { return rect.bottom - rect.top; }

void FillSolid(HDC dc, const RECT& rect, COLORREF colour) {
  fw::ScopedBrush brush(::CreateSolidBrush(colour));
  if (brush) ::FillRect(dc, &rect, brush.Get());
}

// The folder of a skin path with its trailing separator; the current
// directory for a bare file name.
std::wstring FolderOf(const std::wstring& path) {
  const size_t slash = path.find_last_of(L"\\/");
  if (slash != std::wstring::npos) return path.substr(0, slash + 1);
  wchar_t current[MAX_PATH] = {};
  const DWORD length = ::GetCurrentDirectoryW(MAX_PATH, current);
  std::wstring folder = length && length < MAX_PATH ? std::wstring(current, length) : std::wstring(L".");
  if (folder.back() != L'\\') folder += L'\\';
  return folder;
}

HFONT CreateItemFace(int height, int weight, const std::wstring& face) {
  return ::CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, 0, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                       DEFAULT_QUALITY, kPitchAndFamily, face.c_str());
}

// Saves a DC's state and puts it back at scope end, so what an item selects
// is selected out before the item's objects are freed.
class SavedDC {
 public:
  explicit SavedDC(HDC dc) : dc_(dc), saved_(::SaveDC(dc)) {}
  ~SavedDC() {
    if (saved_) ::RestoreDC(dc_, saved_);
  }
  SavedDC(const SavedDC&) = delete;
  SavedDC& operator=(const SavedDC&) = delete;

 private:
  HDC dc_;
  int saved_;
};

void CopyImage(HDC dc, HBITMAP image, const RECT& rect) {
  fw::ScopedCreatedDC source(::CreateCompatibleDC(dc));
  if (!source) return;
  fw::ScopedSelectObject select(source.Get(), image);
  ::BitBlt(dc, rect.left, rect.top, RectWidth(rect), RectHeight(rect), source.Get(), 0, 0, SRCCOPY);
}

void TileImage(HDC dc, HBITMAP image, const RECT& rect) {
  fw::ScopedBrush pattern(::CreatePatternBrush(image));
  if (!pattern) return;
  fw::ScopedSelectObject select(dc, pattern.Get());
  ::PatBlt(dc, rect.left, rect.top, RectWidth(rect), RectHeight(rect), PATCOPY);
}

void StretchImage(HDC dc, HBITMAP image, int width, int height, const RECT& rect) {
  if (width <= 0 || height <= 0) return;
  fw::ScopedCreatedDC source(::CreateCompatibleDC(dc));
  if (!source) return;
  fw::ScopedSelectObject select(source.Get(), image);
  const int oldMode = ::SetStretchBltMode(dc, COLORONCOLOR);
  ::StretchBlt(dc, rect.left, rect.top, RectWidth(rect), RectHeight(rect), source.Get(), 0, 0, width, height,
               SRCCOPY);
  ::SetStretchBltMode(dc, oldMode);
}

void CentreImage(HDC dc, HBITMAP image, const RECT& rect) {
  const SIZE size = BitmapSize(image);
  const RECT at{rect.left + (RectWidth(rect) - size.cx) / 2, rect.top + (RectHeight(rect) - size.cy) / 2, 0, 0};
  CopyImage(dc, image, RECT{at.left, at.top, at.left + size.cx, at.top + size.cy});
}

void DrawCaption(HDC dc, const tagSkinItem& item, int weight) {
  fw::ScopedFont font(CreateItemFace(item.fontsize, weight, item.fonttype));
  SavedDC saved(dc);  // restored before the font goes
  if (font) ::SelectObject(dc, font.Get());
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, item.normalclr);
  RECT rect = item.rect;
  ::DrawTextW(dc, item.caption.c_str(), static_cast<int>(item.caption.size()), &rect, item.drawformat | kTextFormat);
}

}  // namespace

int CSkinEngine::LoadSkin(const std::wstring& path, const std::wstring& element, ISkinHost* host) {
  Clear();
  ReadFile(path, element, host);
  loaded_ = true;
  if (host) host_ = host;  // a load without a window keeps the binding
  return 1;
}

void CSkinEngine::ReadFile(const std::wstring& path, const std::wstring& element, ISkinHost* host) {
  if (path.empty()) return;
  try {
    fw::ComThreadScope com;
    CXmlDom dom;
    if (!CSkinFileCache::Open(dom, path)) return;
    folder_ = FolderOf(path);
    // The element is a child of the root with that name. Without one the
    // window gets no items: the file's other elements are other windows.
    bool found = dom.MoveToRoot() && dom.MoveToFirstChild();
    for (std::wstring name; found; found = dom.MoveToNextSibling()) {
      if (dom.GetNodeName(name) && name == element) break;
    }
    if (!found) return;
    ReadWindowAttributes(dom, host);
    ReadItems(dom);
  } catch (const _com_error&) {
    // A document the reader cannot walk loads as an empty skin.
  }
}

void CSkinEngine::ReadWindowAttributes(CXmlDom& dom, ISkinHost* host) {
  CSkinReader::ReadInt(dom, L"fixsize", &fixsize_);
  CSkinReader::ReadInt(dom, L"setrgn", &setrgn_);
  CSkinReader::ReadColour(dom, L"clrtrans", &clrtrans_);
  CSkinReader::ReadSize(dom, L"width", &width_);
  CSkinReader::ReadSize(dom, L"height", &height_);
  CSkinReader::ReadSize(dom, L"minWidth", &minWidth_);
  CSkinReader::ReadSize(dom, L"minHeight", &minHeight_);
  std::wstring caption;
  CSkinReader::ReadText(dom, L"caption", &caption);
  if (!caption.empty() && host && host->SkinHwnd()) ::SetWindowTextW(host->SkinHwnd(), caption.c_str());
}

void CSkinEngine::ReadItems(CXmlDom& dom) {
  if (!dom.MoveToFirstChild()) return;
  do {
    std::wstring name;
    dom.GetNodeName(name);
    if (name == L"#comment") continue;
    items_.push_back(CSkinReader::ReadItem(dom, folder_));
    byId_[items_.back()->id] = items_.back().get();  // a later duplicate wins
  } while (dom.MoveToNextSibling());
}

void CSkinEngine::Clear() {
  // Bound windows are the host's; only the items and their bitmaps go.
  byId_.clear();
  items_.clear();
  fixsize_ = 1;
  setrgn_ = 0;
  regionApplied_ = false;
  regionSize_ = SIZE{-1, -1};
  clientWidth_ = clientHeight_ = 0;
  minWidth_ = minHeight_ = 0;
  width_ = height_ = 0;
  loaded_ = false;
}

tagSkinItem* CSkinEngine::FindItem(const std::wstring& id) const {
  const auto found = byId_.find(id);
  return found == byId_.end() ? nullptr : found->second;
}

const RECT* CSkinEngine::GetItemRect(const std::wstring& id) const {
  const tagSkinItem* item = FindItem(id);
  return item ? &item->rect : nullptr;
}

std::wstring CSkinEngine::GetItemCaption(const std::wstring& id) const {
  const tagSkinItem* item = FindItem(id);
  return item ? item->caption : std::wstring();
}

HBITMAP CSkinEngine::GetItemBitmap(const std::wstring& id) const {
  const tagSkinItem* item = FindItem(id);
  return item && item->skintype == tagSkinItem::kBitmap ? item->normal.Get() : nullptr;
}

HWND CSkinEngine::SetItemWnd(const std::wstring& id, HWND window) {
  tagSkinItem* item = FindItem(id);
  if (!item) return nullptr;
  item->window = window;
  return window;
}

tagSkinItem* CSkinEngine::ShowItem(const std::wstring& id, bool visible) {
  tagSkinItem* item = FindItem(id);
  if (!item) return nullptr;
  if (item->visible != visible) regionSize_ = SIZE{-1, -1};
  item->visible = visible;
  return item;
}

void CSkinEngine::SetItemText(const std::wstring& id, const std::wstring& text, UINT format, bool repaint) {
  tagSkinItem* item = FindItem(id);
  if (!item) return;
  if (item->caption != text || (item->drawformat | format) != item->drawformat) regionSize_ = SIZE{-1, -1};
  item->drawformat |= format;
  item->caption = text;
  HWND window = host_ ? host_->SkinHwnd() : nullptr;
  if (repaint && window) ::InvalidateRect(window, &item->rect, TRUE);
}

const RECT* CSkinEngine::AnchorRect(const std::wstring& id) const {
  if (id.empty()) return nullptr;
  return GetItemRect(id);
}

void CSkinEngine::CalcLayout() {
  if (!loaded_) return;
  for (const auto& item : items_) {
    // Reset first: an item anchored to itself or to a later duplicate reads
    // this layout's -1 rather than a stale rectangle.
    item->rect = RECT{tagSkinItem::kUnset, tagSkinItem::kUnset, tagSkinItem::kUnset, tagSkinItem::kUnset};
    SkinPlacement placement;
    placement.leftid = item->leftid;
    placement.topid = item->topid;
    placement.rightid = item->rightid;
    placement.bottomid = item->bottomid;
    placement.left = item->left;
    placement.top = item->top;
    placement.right = item->right;
    placement.bottom = item->bottom;
    placement.width = item->width;
    placement.height = item->height;
    item->rect = SkinLayout::Place(placement, AnchorRect(item->leftid), AnchorRect(item->topid),
                                   AnchorRect(item->rightid), AnchorRect(item->bottomid), clientWidth_,
                                   clientHeight_);
  }
  if (host_) host_->OnSkinLayout();
}

void CSkinEngine::Resize(int clientWidth, int clientHeight) {
  if (!loaded_ || !host_) return;
  clientWidth_ = std::max(clientWidth, 0);
  clientHeight_ = std::max(clientHeight, 0);
  CalcLayout();
  HWND window = host_->SkinHwnd();
  // Cutting the shape paints the whole window off screen: not again for the
  // same picture.
  if (setrgn_ && (regionSize_.cx != clientWidth_ || regionSize_.cy != clientHeight_)) {
    regionApplied_ = false;
    ApplyRegion(window);
  }
  MoveBoundWindows();
  if (window && ::IsWindowVisible(window)) {
    ::InvalidateRect(window, nullptr, TRUE);
    ::UpdateWindow(window);
  }
}

void CSkinEngine::MoveBoundWindows() {
  // A control destroyed while still bound would fail the whole batch.
  std::vector<const tagSkinItem*> moving;
  for (const auto& item : items_) {
    if (item->window && item->visible && ::IsWindow(item->window)) moving.push_back(item.get());
  }
  if (moving.empty()) return;
  HDWP batch = ::BeginDeferWindowPos(static_cast<int>(moving.size()));
  for (const tagSkinItem* item : moving) {
    if (!batch) return;
    batch = ::DeferWindowPos(batch, item->window, nullptr, item->rect.left, item->rect.top, RectWidth(item->rect),
                             RectHeight(item->rect), SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (batch) ::EndDeferWindowPos(batch);
}

void CSkinEngine::Draw(HDC dc) {
  // Nothing to show in an empty client area, and no bitmap to make for it.
  if (!dc || clientWidth_ <= 0 || clientHeight_ <= 0) return;
  fw::MemoryDC memory(dc, clientWidth_, clientHeight_);
  if (!memory) return;
  DrawOffScreen(memory);
  ::BitBlt(dc, 0, 0, clientWidth_, clientHeight_, memory, 0, 0, SRCCOPY);
}

bool CSkinEngine::DrawOffScreen(HDC dc) {
  if (!dc || clientWidth_ <= 0 || clientHeight_ <= 0) return false;
  FillSolid(dc, RECT{0, 0, clientWidth_, clientHeight_}, background_);
  PaintItems(dc);
  return true;
}

void CSkinEngine::PaintItems(HDC dc) {
  for (const auto& item : items_) {
    if (item->skintype == tagSkinItem::kPainted) DrawItem(dc, *item);
  }
}

void CSkinEngine::DrawItem(HDC dc, const tagSkinItem& item) {
  if (!dc || !item.visible) return;
  if (RectWidth(item.rect) <= 0 || RectHeight(item.rect) <= 0) return;
  HBITMAP image = item.normal.Get();
  switch (item.drawtype) {
    case 0:
      if (image) CopyImage(dc, image, item.rect);
      break;
    case 1:
      if (image) TileImage(dc, image, item.rect);
      break;
    case 2:
      if (image) StretchImage(dc, image, item.width, item.height, item.rect);
      break;
    case 3:
      FillSolid(dc, item.rect, item.colorbg);
      break;
    case 4:
      DrawCaption(dc, item, FW_NORMAL);
      break;
    case 5:
      DrawCaption(dc, item, FW_BOLD);
      break;
    case 6:
      if (image) CentreImage(dc, image, item.rect);
      break;
    default:
      break;
  }
}

void CSkinEngine::ApplyRegion(HWND window) {
  if (!loaded_ || !setrgn_ || regionApplied_ || !window) return;
  // Applied even when it fails: a skin whose pixels cannot be read is not
  // retried on every call, only after the next resize.
  regionApplied_ = true;
  regionSize_ = SIZE{clientWidth_, clientHeight_};
  fw::ScopedRegion region(BuildRegion(window));
  if (!region) return;
  const LONG_PTR style = ::GetWindowLongPtrW(window, GWL_STYLE);
  ::SetWindowLongPtrW(window, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_THICKFRAME));
  if (::SetWindowRgn(window, region.Get(), TRUE)) region.Release();  // the window owns it now
}

void CSkinEngine::DropSizingFrame(HWND window) const {
  if (!loaded_ || !setrgn_ || !window) return;
  const LONG_PTR style = ::GetWindowLongPtrW(window, GWL_STYLE);
  if (!(style & WS_THICKFRAME)) return;
  ::SetWindowLongPtrW(window, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_THICKFRAME));
  ::SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
}

HDC CSkinEngine::Canvas(int width, int height) {
  if (width <= 0 || height <= 0) return nullptr;
  if (canvasDC_ && canvasSize_.cx == width && canvasSize_.cy == height) return canvasDC_.Get();
  ReleaseCanvas();
  BITMAPINFO info = TopDownBitmapInfo(width, height, 32);
  void* pixels = nullptr;
  fw::ScopedBitmap picture(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
  fw::ScopedCreatedDC dc(::CreateCompatibleDC(nullptr));
  if (!picture || !pixels || !dc) return nullptr;
  canvasReplaced_ = ::SelectObject(dc.Get(), picture.Get());
  canvas_ = std::move(picture);
  canvasDC_ = std::move(dc);
  canvasPixels_ = static_cast<const BYTE*>(pixels);
  canvasSize_ = SIZE{width, height};
  return canvasDC_.Get();
}

void CSkinEngine::ReleaseCanvas() {
  // The picture leaves its DC before either is deleted.
  if (canvasDC_ && canvasReplaced_) ::SelectObject(canvasDC_.Get(), canvasReplaced_);
  canvasReplaced_ = nullptr;
  canvasDC_.Reset();
  canvas_.Reset();
  canvasPixels_ = nullptr;
  canvasSize_ = SIZE{0, 0};
}

HRGN CSkinEngine::BuildRegion(HWND window) {
  if (!window) return nullptr;
  // Painted into the canvas the next paint goes through: a full-screen
  // picture is made once for both.
  HDC dc = Canvas(clientWidth_, clientHeight_);
  if (!dc) return nullptr;
  // Uncovered pixels hold what the paint shows there, so the shape follows
  // the window as it is seen.
  FillSolid(dc, RECT{0, 0, clientWidth_, clientHeight_}, background_);
  PaintItems(dc);
  ::GdiFlush();
  return RegionFromPixels(canvasPixels_, static_cast<size_t>(clientWidth_) * 4, 4, clientWidth_, clientHeight_,
                          clrtrans_);
}

HRGN CSkinEngine::CreateRegionFromColor(const std::vector<BYTE>& bits, int roundedWidth, int height,
                                        COLORREF key) {
  if (roundedWidth <= 0 || height <= 0) return nullptr;
  const size_t stride = static_cast<size_t>(roundedWidth) * 3;
  if (bits.size() < stride * height) return nullptr;
  return RegionFromPixels(bits.data(), stride, 3, roundedWidth, height, key);
}

HRGN CSkinEngine::RegionFromPixels(const BYTE* bits, size_t stride, int pixelBytes, int width, int height,
                                   COLORREF key) {
  if (!bits || width <= 0 || height <= 0) return nullptr;
  fw::ScopedRegion region(::CreateRectRgn(0, 0, width, height));
  if (!region) return nullptr;
  const BYTE red = GetRValue(key), green = GetGValue(key), blue = GetBValue(key);
  for (int y = 0; y < height; ++y) {
    const BYTE* row = bits + stride * y;
    auto isKey = [&](int x) {
      const BYTE* pixel = row + static_cast<size_t>(x) * pixelBytes;
      return pixel[0] == blue && pixel[1] == green && pixel[2] == red;
    };
    // One XOR per run of key pixels cuts the same shape as one per pixel.
    for (int x = 0; x < width;) {
      if (!isKey(x)) {
        ++x;
        continue;
      }
      const int start = x;
      while (x < width && isKey(x)) ++x;
      fw::ScopedRegion run(::CreateRectRgn(start, y, x, y + 1));
      if (run) ::CombineRgn(region.Get(), region.Get(), run.Get(), RGN_XOR);
    }
  }
  return region.Release();
}

void CSkinEngine::Fade(const BYTE* steps, size_t count, BYTE last) {
  HWND window = host_ ? host_->SkinHwnd() : nullptr;
  if (!window || !(::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_LAYERED)) return;
  for (size_t i = 0; i < count; ++i) {
    ::SetLayeredWindowAttributes(window, 0, steps[i], LWA_ALPHA);
    ::Sleep(fadeStep_);
  }
  ::SetLayeredWindowAttributes(window, 0, last, LWA_ALPHA);
}

void CSkinEngine::FadeIn() {
  static const BYTE kSteps[] = {0, 42, 84, 126, 168, 210};
  Fade(kSteps, sizeof(kSteps), 255);
}

void CSkinEngine::FadeOut() {
  static const BYTE kSteps[] = {252, 210, 168, 126, 84, 42};
  Fade(kSteps, sizeof(kSteps), 0);
}

int CSkinEngine::CreateItemFont(const tagSkinItem* item, fw::ScopedFont* font) const {
  if (!item || !font) return 0;
  const int height = item->fontsize ? item->fontsize : kDefaultFontHeight;
  font->Reset(CreateItemFace(height, FW_NORMAL, item->fonttype.empty() ? kDefaultFace : item->fonttype));
  return *font ? 1 : 0;
}

int CSkinEngine::CreateItemFontById(const std::wstring& id, fw::ScopedFont* font) const {
  return CreateItemFont(FindItem(id), font);
}

const tagSkinItem* CSkinEngine::ButtonItem(const std::wstring& id, const CButtonST* button) const {
  if (!button) return nullptr;
  const tagSkinItem* item = FindItem(id);
  return item && item->skintype == tagSkinItem::kButton ? item : nullptr;
}

// The button copies what it is handed, so each bitmap keeps one owner.
void CSkinEngine::SetStateBitmaps(const tagSkinItem& item, CButtonST* button, bool withDisabled) {
  HBITMAP disabled = withDisabled ? item.disable.Get() : nullptr;
  // Without a hover image the normal one serves both sides of the pointer.
  HBITMAP over = item.hover ? item.hover.Get() : item.normal.Get();
  button->SetBitmaps(over, kButtonKey, item.normal.Get(), kButtonKey, item.down.Get(), kButtonKey, disabled,
                     kButtonKey);
}

void CSkinEngine::SetButtonSkin(const std::wstring& id, CButtonST* button, bool captionAsTooltip) {
  const tagSkinItem* item = ButtonItem(id, button);
  if (!item) return;
  SetStateBitmaps(*item, button, true);
  if (item->hover) {
    if (!item->sound_hover.empty()) button->SetSound(item->sound_hover.c_str(), nullptr, FALSE);
    if (!item->sound_down.empty()) button->SetSound(item->sound_down.c_str(), nullptr, TRUE);
  }
  if (captionAsTooltip && !item->caption.empty()) button->SetTooltipText(item->caption);
}

void CSkinEngine::SetBkgButtonSkin(const std::wstring& id, CBkgBtn* button) {
  const tagSkinItem* item = ButtonItem(id, button);
  if (!item) return;
  SetStateBitmaps(*item, button, false);
  if (!item->normalbkgleft.empty()) {
    const std::wstring* names[12] = {
        &item->normalbkgleft, &item->normalbkgmid,    &item->normalbkgright, &item->onbkgleft,
        &item->onbkgmid,      &item->onbkgright,      &item->downbkgleft,    &item->downbkgmid,
        &item->downbkgright,  &item->disablebkgleft,  &item->disablebkgmid,  &item->disablebkgright,
    };
    std::wstring files[12];
    // An empty name stays empty (the button repeats the start slice) rather
    // than naming the folder.
    for (int i = 0; i < 12; ++i) files[i] = names[i]->empty() ? std::wstring() : folder_ + *names[i];
    button->SetBkgBitmapFiles(files, FALSE);
  }
  if (!item->normalicon.empty()) {
    button->SetIconFiles(folder_ + item->normalicon, item->onicon.empty() ? std::wstring() : folder_ + item->onicon);
  }
  button->SetText(item->caption);
  button->ApplyTextStyle(item->fonttype, item->fontsize, item->normalclr, item->onclr);
  button->SetFlatStyle(TRUE, TRUE);
  button->SetFlatBorder(FALSE, TRUE);
}
