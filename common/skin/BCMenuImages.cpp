// Images of menu items: resources, toolbars, copies, colour squares.
#include <algorithm>

#include "BCMenu.h"
#include "BCMenuDrawing.h"
#include "BCMenuState.h"

using menu_drawing::PixelCanvas;

namespace {

const wchar_t* const kToolbarType = MAKEINTRESOURCEW(241);

struct ToolbarResource {
  int width = 0, height = 0;
  std::vector<WORD> commands;  // 0 for separators, which have no image
};

// The toolbar resource comes in two layouts: words (version 1, width,
// height, count, commands) from the Microsoft compiler, double words
// (width, height, count, commands) from windres.
bool ReadToolbar(UINT id, ToolbarResource* toolbar) {
  const wchar_t* name = MAKEINTRESOURCEW(id);
  HMODULE module = BCMenuState::Get().FindResourceModule(name, kToolbarType);
  HRSRC found = module ? ::FindResourceW(module, name, kToolbarType) : nullptr;
  HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
  const void* data = loaded ? ::LockResource(loaded) : nullptr;
  DWORD bytes = found ? ::SizeofResource(module, found) : 0;
  if (!data) return false;
  const WORD* words = static_cast<const WORD*>(data);
  if (bytes >= 8 && words[0] == 1 && bytes >= (4u + words[3]) * sizeof(WORD)) {
    toolbar->width = words[1];
    toolbar->height = words[2];
    toolbar->commands.assign(words + 4, words + 4 + words[3]);
    return true;
  }
  const DWORD* dwords = static_cast<const DWORD*>(data);
  if (bytes >= 12 && dwords[2] <= bytes / sizeof(DWORD) && bytes >= (3u + dwords[2]) * sizeof(DWORD)) {
    toolbar->width = static_cast<int>(dwords[0]);
    toolbar->height = static_cast<int>(dwords[1]);
    toolbar->commands.clear();
    for (DWORD i = 0; i < dwords[2]; ++i) toolbar->commands.push_back(static_cast<WORD>(dwords[3 + i]));
    return true;
  }
  return false;
}

// Image index of a command's button: separators take no image.
int ToolbarImageOf(const ToolbarResource& toolbar, UINT command) {
  int image = 0;
  for (WORD button : toolbar.commands) {
    if (button == command) return image;
    if (button != 0) ++image;
  }
  return -1;
}

int PaletteSize(const BITMAPINFOHEADER& header) {
  if (header.biClrUsed) return static_cast<int>(header.biClrUsed);
  return header.biBitCount <= 8 ? 1 << header.biBitCount : 0;
}

// Light gray (as the screen stores it) repainted in the face colour.
fw::ScopedBitmap FaceForLightGray(HBITMAP bitmap) {
  BITMAP info{};
  if (!::GetObjectW(bitmap, sizeof(info), &info)) return fw::ScopedBitmap();
  PixelCanvas canvas(info.bmWidth, std::abs(info.bmHeight));
  if (!canvas) return fw::ScopedBitmap();
  {
    fw::ScopedCreatedDC source(::CreateCompatibleDC(nullptr));
    fw::ScopedSelectObject select(source.Get(), bitmap);
    ::BitBlt(canvas.Dc(), 0, 0, canvas.Width(), canvas.Height(), source.Get(), 0, 0, SRCCOPY);
  }
  ::GdiFlush();
  const COLORREF gray = menu_drawing::ScreenColour(RGB(192, 192, 192));
  const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
  for (int y = 0; y < canvas.Height(); ++y) {
    for (int x = 0; x < canvas.Width(); ++x) {
      if (canvas.At(x, y) == gray) canvas.Set(x, y, face);
    }
  }
  return menu_drawing::CanvasCopy(canvas);
}

// A bitmap resource: a 16-colour one with its button grays mapped to the
// system colours, any other with its light gray made the face colour.
fw::ScopedBitmap LoadResourceBitmap(UINT id) {
  const wchar_t* name = MAKEINTRESOURCEW(id);
  const wchar_t* type = reinterpret_cast<const wchar_t*>(RT_BITMAP);
  HMODULE module = BCMenuState::Get().FindResourceModule(name, type);
  HRSRC found = module ? ::FindResourceW(module, name, type) : nullptr;
  HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
  const auto* header = loaded ? static_cast<const BITMAPINFOHEADER*>(::LockResource(loaded)) : nullptr;
  if (!header || ::SizeofResource(module, found) < sizeof(BITMAPINFOHEADER)) return fw::ScopedBitmap();
  if (PaletteSize(*header) == 16) {
    return fw::ScopedBitmap(
        static_cast<HBITMAP>(::LoadImageW(module, name, IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS)));
  }
  fw::ScopedBitmap plain(static_cast<HBITMAP>(::LoadImageW(module, name, IMAGE_BITMAP, 0, 0, 0)));
  if (!plain) return plain;
  BCMenuState::Get().systemColourImages = true;
  return FaceForLightGray(plain.Get());
}

fw::ScopedImageList NewList() {
  const BCMenuState& state = BCMenuState::Get();
  if (state.imageWidth <= 0 || state.imageHeight <= 0) return fw::ScopedImageList();
  return fw::ScopedImageList(::ImageList_Create(state.imageWidth, state.imageHeight, ILC_COLORDDB | ILC_MASK, 1, 1));
}

bool WantDerivedImages() {
  BCMenuState& state = BCMenuState::Get();
  return state.XPLookInForce() && state.wideImageColumn;
}

// The list's image 0 followed by its derived images, when the look wants them.
void Derive(HIMAGELIST list) {
  if (WantDerivedImages()) menu_drawing::AddDerivedImages(list, BCMenuState::Get().IsXPStyleActive());
}

fw::ScopedBitmap ColourSquare(COLORREF fill, COLORREF border, int hatch, int size) {
  BCMenuState& state = BCMenuState::Get();
  int width = state.imageWidth, height = state.imageHeight;
  if (width <= 0 || height <= 0) return fw::ScopedBitmap();
  if (size <= 0) size = std::min(width, height);
  size = std::min(size, std::min(width, height));
  PixelCanvas canvas(width, height);
  if (!canvas) return fw::ScopedBitmap();
  COLORREF background = ::GetSysColor(state.IsXPStyleActive() ? COLOR_BTNFACE : COLOR_MENU);
  menu_drawing::Fill(canvas.Dc(), RECT{0, 0, width, height}, background);
  fw::ScopedPen pen(::CreatePen(PS_SOLID, 1, border));
  fw::ScopedBrush brush(hatch < 0 ? ::CreateSolidBrush(fill) : ::CreateHatchBrush(hatch, fill));
  {
    fw::ScopedSelectObject selectPen(canvas.Dc(), pen.Get());
    fw::ScopedSelectObject selectBrush(canvas.Dc(), brush.Get());
    int left = (width - size) / 2, top = (height - size) / 2;
    ::Rectangle(canvas.Dc(), left, top, left + size, top + size);
  }
  return menu_drawing::CanvasCopy(canvas);
}

}  // namespace

BOOL BCMenu::AddResourceImage(HIMAGELIST list, UINT resourceId) {
  if (!list) return FALSE;
  int before = ::ImageList_GetImageCount(list);
  if (loadAsIcons_) {
    int width = 0, height = 0;
    ::ImageList_GetIconSize(list, &width, &height);
    const wchar_t* name = MAKEINTRESOURCEW(resourceId);
    HMODULE module = BCMenuState::Get().FindResourceModule(name, reinterpret_cast<const wchar_t*>(RT_GROUP_ICON));
    fw::ScopedIcon icon(module ? static_cast<HICON>(::LoadImageW(module, name, IMAGE_ICON, width, height, 0))
                               : nullptr);
    if (!icon || ::ImageList_ReplaceIcon(list, -1, icon.Get()) < 0) return FALSE;
  } else {
    fw::ScopedBitmap bitmap = LoadResourceBitmap(resourceId);
    if (!bitmap || ::ImageList_AddMasked(list, bitmap.Get(), TransparentColour()) < 0) return FALSE;
  }
  if (before == 0) Derive(list);
  return TRUE;
}

BOOL BCMenu::ApplyImage(BCMenuData* record, const Image& image) {
  BCMenuState& state = BCMenuState::Get();
  const int command = static_cast<int>(record->Command());
  switch (image.kind) {
    case Image::kNone:
      return FALSE;
    case Image::kResource: {
      if (image.resourceId < 0) {
        record->sharedImageIndex = state.SharedIndexOf(command);
        return record->sharedImageIndex >= 0;
      }
      fw::ScopedImageList strip = NewList();
      if (!strip) return FALSE;
      int index = 0;
      ToolbarResource toolbar;
      if (ReadToolbar(image.resourceId, &toolbar)) index = ToolbarImageOf(toolbar, record->Command());
      if (index < 0) return FALSE;
      fw::ScopedBitmap bitmap = LoadResourceBitmap(image.resourceId);
      if (!bitmap || ::ImageList_AddMasked(strip.Get(), bitmap.Get(), TransparentColour()) < 0) return FALSE;
      fw::ScopedImageList one = menu_drawing::CopyOneImage(strip.Get(), index, state.imageWidth, state.imageHeight);
      if (!one) return FALSE;
      Derive(one.Get());
      int stored = state.StoreSharedImage(command, one.Get(), 0, true);
      if (stored < 0) return FALSE;
      record->sharedImageIndex = stored;
      return TRUE;
    }
    case Image::kList: {
      fw::ScopedImageList one = menu_drawing::CopyOneImage(image.list, image.index, state.imageWidth, state.imageHeight);
      if (!one) return FALSE;
      Derive(one.Get());
      record->SetOwnImages(std::move(one));
      return TRUE;
    }
    case Image::kBitmap:
    case Image::kSquare: {
      fw::ScopedImageList one = NewList();
      if (!one) return FALSE;
      if (image.kind == Image::kBitmap) {
        // The caller keeps its bitmap; the list takes pixels from a copy.
        fw::ScopedBitmap copy(static_cast<HBITMAP>(::CopyImage(image.bitmap, IMAGE_BITMAP, 0, 0, 0)));
        if (!copy || ::ImageList_AddMasked(one.Get(), copy.Get(), TransparentColour()) < 0) return FALSE;
      } else {
        fw::ScopedBitmap square = ColourSquare(image.fill, image.border, image.hatch, image.size);
        if (!square || ::ImageList_Add(one.Get(), square.Get(), nullptr) < 0) return FALSE;
      }
      Derive(one.Get());
      record->SetOwnImages(std::move(one));
      return TRUE;
    }
  }
  return FALSE;
}

BOOL BCMenu::AddToolbarImages(UINT toolbarId) {
  BCMenuState& state = BCMenuState::Get();
  ToolbarResource toolbar;
  if (!ReadToolbar(toolbarId, &toolbar)) return FALSE;
  fw::ScopedImageList strip = NewList();
  fw::ScopedBitmap bitmap = LoadResourceBitmap(toolbarId);
  if (!strip || !bitmap || ::ImageList_AddMasked(strip.Get(), bitmap.Get(), TransparentColour()) < 0) return FALSE;
  for (WORD command : toolbar.commands) {
    if (command == 0) continue;
    BCMenuData* record = FindItemRecord(command);
    if (!record) continue;
    int index = ToolbarImageOf(toolbar, command);
    fw::ScopedImageList one = menu_drawing::CopyOneImage(strip.Get(), index, state.imageWidth, state.imageHeight);
    if (!one) continue;
    Derive(one.Get());
    int stored = state.StoreSharedImage(command, one.Get(), 0, true);
    if (stored >= 0) record->sharedImageIndex = stored;
  }
  return TRUE;
}

BOOL BCMenu::AddToolbarImages(const UINT* toolbarIds, int count) {
  BOOL all = toolbarIds && count > 0;
  for (int i = 0; toolbarIds && i < count; ++i) all = AddToolbarImages(toolbarIds[i]) && all;
  return all;
}

BOOL BCMenu::SetCheckMarkImages(UINT resourceId, int selectedIndex, int normalIndex) {
  fw::ScopedImageList list = NewList();
  fw::ScopedBitmap bitmap = LoadResourceBitmap(resourceId);
  if (!list || !bitmap || ::ImageList_AddMasked(list.Get(), bitmap.Get(), TransparentColour()) < 0) return FALSE;
  checkMarks_ = std::move(list);
  checkMarkSelected_ = selectedIndex;
  checkMarkNormal_ = normalIndex;
  return TRUE;
}
