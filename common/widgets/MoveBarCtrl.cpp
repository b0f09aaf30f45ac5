#include "MoveBarCtrl.h"

#include "CreatableClass.h"
#include "ListSkinAttributes.h"
#include "XmlDom.h"

FW_CREATABLE_CLASS(CMoveBarCtrl);

namespace {

// A missing colour is black; one that is no number leaves `colour` as it was.
void ReadTextColour(CXmlDom& dom, const wchar_t* name, COLORREF& colour) {
  if (listskin::Text(dom, name).empty()) {
    colour = 0;
    return;
  }
  listskin::Colour(dom, name, colour);
}

std::wstring FolderOf(const std::wstring& path) {
  size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

}  // namespace

CMoveBarCtrl::CMoveBarCtrl()
    : backColour_(::GetSysColor(COLOR_BACKGROUND)),
      edgeColour_(::GetSysColor(COLOR_BACKGROUND)),
      textColour_(::GetSysColor(COLOR_WINDOW)),
      faceColour_(::GetSysColor(COLOR_BTNFACE)),
      lightColour_(::GetSysColor(COLOR_3DLIGHT)),
      highlightColour_(::GetSysColor(COLOR_BTNHIGHLIGHT)),
      shadowColour_(::GetSysColor(COLOR_BTNSHADOW)),
      darkShadowColour_(::GetSysColor(COLOR_3DDKSHADOW)),
      handCursor_(::LoadCursorW(nullptr, IDC_HAND)),
      blackPen_(::CreatePen(PS_SOLID, 1, RGB(0, 0, 0))) {}

CMoveBarCtrl::~CMoveBarCtrl() { Destroy(); }

bool CMoveBarCtrl::Create(DWORD style, const RECT& rect, HWND parent, UINT id, DWORD flags) {
  flags_ = flags;
  fw::CreateArgs args;
  args.parent = parent;
  args.style = style;
  args.x = rect.left, args.y = rect.top;
  args.width = rect.right - rect.left, args.height = rect.bottom - rect.top;
  args.idOrMenu = id;
  return fw::Wnd::Create(args);
}

// Also for a bar made by its class name.
void CMoveBarCtrl::PreCreateWindow(fw::CreateArgs& args) { args.style |= WS_CHILD | WS_CLIPCHILDREN; }

int CMoveBarCtrl::GetItemCount() const {
  return IsFolder(selFolder_) ? static_cast<int>(folders_[selFolder_].items.size()) : 0;
}

CMoveBarCtrl::CBarItem* CMoveBarCtrl::OpenItem(int index) {
  return IsItem(index) ? &folders_[selFolder_].items[index] : nullptr;
}

const CMoveBarCtrl::CBarItem* CMoveBarCtrl::OpenItem(int index) const {
  return IsItem(index) ? &folders_[selFolder_].items[index] : nullptr;
}

int CMoveBarCtrl::AddFolder(const wchar_t* name, DWORD_PTR data) {
  CBarFolder folder;
  folder.name = name ? name : L"";
  folder.data = data;
  folders_.push_back(std::move(folder));
  return GetFolderCount() - 1;
}

int CMoveBarCtrl::AddFolderBar(const wchar_t* name, HWND child, DWORD_PTR data) {
  int index = AddFolder(name, data);
  folders_[index].child = child;
  if (Hwnd()) PlaceChildren(true);
  return index;
}

// The open folder stays the same folder when one before it goes; when the
// open one itself goes, the one before it opens, its child shown in place.
void CMoveBarCtrl::RemoveFolder(int index) {
  if (!IsFolder(index)) return;
  HWND removedChild = folders_[index].child;
  bool wasOpen = index == selFolder_;
  folders_.erase(folders_.begin() + index);
  if (folders_.empty()) {
    selFolder_ = hotFolder_ = hotItem_ = -1;
  } else if (index < selFolder_) {
    --selFolder_;
  } else if (wasOpen) {
    selFolder_ = index > 0 ? index - 1 : 0;
    firstItem_ = 0;
    lastSelected_ = -1;
    if (removedChild && ::IsWindow(removedChild)) ::ShowWindow(removedChild, SW_HIDE);
    if (Hwnd()) PlaceChildren(false);
  }
  if (hotFolder_ >= GetFolderCount()) hotFolder_ = -1;
  if (Hwnd()) Invalidate(true);
}

int CMoveBarCtrl::InsertItem(int folder, int index, const wchar_t* name, int image, DWORD_PTR data) {
  if (!IsFolder(folder)) return -1;
  std::vector<CBarItem>& items = folders_[folder].items;
  if (index < 0 || index > static_cast<int>(items.size())) index = static_cast<int>(items.size());
  CBarItem item;
  item.image = image;
  item.name = name ? name : L"";
  item.data = data;
  items.insert(items.begin() + index, std::move(item));
  return index;
}

void CMoveBarCtrl::RemoveItem(int index) {
  if (!IsItem(index)) return;
  std::vector<CBarItem>& items = folders_[selFolder_].items;
  items.erase(items.begin() + index);
  if (lastSelected_ == index) lastSelected_ = -1;
  if (lastSelected_ > index) --lastSelected_;
  if (hotItem_ >= GetItemCount()) hotItem_ = -1;
  if (firstItem_ >= GetItemCount()) firstItem_ = GetItemCount() > 0 ? GetItemCount() - 1 : 0;
  InvalidateInside();
}

void CMoveBarCtrl::SetFolderText(int index, const wchar_t* text) {
  if (IsFolder(index)) folders_[index].name = text ? text : L"";
}

void CMoveBarCtrl::SetItemText(int index, const wchar_t* text) {
  if (CBarItem* item = OpenItem(index)) item->name = text ? text : L"";
}

std::wstring CMoveBarCtrl::GetItemText(int index) const {
  const CBarItem* item = OpenItem(index);
  return item ? item->name : std::wstring();
}

int CMoveBarCtrl::GetItemImage(int index) const {
  const CBarItem* item = OpenItem(index);
  return item ? item->image : 0;
}

DWORD_PTR CMoveBarCtrl::GetItemData(int index) const {
  const CBarItem* item = OpenItem(index);
  return item ? item->data : 0;
}

void CMoveBarCtrl::SetItemImage(int index, int image) {
  if (CBarItem* item = OpenItem(index)) item->image = image;
}

void CMoveBarCtrl::SetItemData(int index, DWORD_PTR data) {
  if (CBarItem* item = OpenItem(index)) item->data = data;
}

DWORD_PTR CMoveBarCtrl::GetFolderData(int index) const {
  if (index == -1) index = selFolder_;
  return IsFolder(index) ? folders_[index].data : 0;
}

int CMoveBarCtrl::FindFolder(const wchar_t* name) const {
  for (int i = 0; name && i < GetFolderCount(); ++i) {
    if (folders_[i].name == name) return i;
  }
  return -1;
}

HIMAGELIST CMoveBarCtrl::SetImageList(HIMAGELIST list, int type) {
  HIMAGELIST* slot = type == kSmall ? &smallImages_ : type == kLarge ? &largeImages_ : nullptr;
  if (!slot) return nullptr;
  HIMAGELIST old = *slot;
  *slot = list;
  return old;
}

HIMAGELIST CMoveBarCtrl::GetImageList(int type) const {
  return type == kSmall ? smallImages_ : type == kLarge ? largeImages_ : nullptr;
}

HIMAGELIST CMoveBarCtrl::SetFolderImageList(int folder, HIMAGELIST list, int type) {
  if (!IsFolder(folder)) return nullptr;
  CBarFolder& f = folders_[folder];
  HIMAGELIST* slot = type == kSmall ? &f.smallImages : type == kLarge ? &f.largeImages : nullptr;
  if (!slot) return nullptr;
  HIMAGELIST old = *slot;
  *slot = list;
  return old;
}

void CMoveBarCtrl::SetSmallIconView(bool small) {
  flags_ = small ? (flags_ | MBS_SMALLICONS) : (flags_ & ~MBS_SMALLICONS);
  firstItem_ = 0;
  InvalidateInside();
}

void CMoveBarCtrl::SetAnimSelHighlight(int period) {
  selAnimationPeriod_ = period > 0 ? period : 0;
  if (!Hwnd()) return;
  if (period > 0) {
    ::SetTimer(Hwnd(), 3, period, nullptr);
  } else {
    ::KillTimer(Hwnd(), 3);
  }
}

void CMoveBarCtrl::SetFolderImages(HBITMAP normalLeft, HBITMAP normalMiddle, HBITMAP normalRight, HBITMAP selLeft,
                                   HBITMAP selMiddle, HBITMAP selRight) {
  HBITMAP images[6] = {normalLeft, normalMiddle, normalRight, selLeft, selMiddle, selRight};
  // Copies: the caller keeps its bitmaps, and one given twice is not deleted twice.
  for (int i = 0; i < 6; ++i) {
    folderImages_[i].Reset(images[i] ? static_cast<HBITMAP>(::CopyImage(images[i], IMAGE_BITMAP, 0, 0, 0)) : nullptr);
  }
}

// Numbers are read as text: a value that is no number (a colour written
// #6D5050) keeps what was there instead of raising out of here.
int CMoveBarCtrl::LoadSkin(const wchar_t* element, const wchar_t* skinPath) {
  if (!element || !skinPath) return 0;
  CXmlDom dom;
  if (!dom.Open(skinPath, true, nullptr) || !dom.SelectElement(element)) return 0;
  ReadTextColour(dom, L"normal_textclr", normalTextColour_);
  ReadTextColour(dom, L"sel_textclr", selTextColour_);
  int align = listskin::IntOr(dom, L"textalign", 0);
  if (align < 0 || align > 2) align = 0;
  textFormat_ = static_cast<UINT>(align) | DT_SINGLELINE | DT_VCENTER;
  int height = listskin::IntOr(dom, L"folderheight", 0);
  if (height > 0) folderHeight_ = height;
  static const wchar_t* const names[6] = {L"normal_img_l", L"normal_img_m", L"normal_img_r",
                                          L"sel_img_l",    L"sel_img_m",    L"sel_img_r"};
  std::wstring folder = FolderOf(skinPath);
  for (int i = 0; i < 6; ++i) folderImages_[i] = listskin::LoadBitmapFile(folder, listskin::Text(dom, names[i]));
  if (Hwnd()) Invalidate(true);
  return 1;
}

RECT CMoveBarCtrl::GetFolderRect(int index) const {
  RECT client = ClientRect();
  RECT rect = client;
  if (index <= selFolder_) {
    rect.top = client.top + index * folderHeight_;
  } else {
    rect.top = client.bottom - (GetFolderCount() - index) * folderHeight_;
  }
  rect.bottom = rect.top + folderHeight_;
  return rect;
}

RECT CMoveBarCtrl::GetInsideRect() const {
  RECT rect = ClientRect();
  if (!IsFolder(selFolder_)) return rect;
  rect.top += (selFolder_ + 1) * folderHeight_;
  rect.bottom -= (GetFolderCount() - selFolder_ - 1) * folderHeight_;
  if (rect.bottom < rect.top) rect.bottom = rect.top;
  return rect;
}

HIMAGELIST CMoveBarCtrl::ImagesOf(int folder) const {
  HIMAGELIST own = nullptr;
  if (IsFolder(folder)) own = SmallIcons() ? folders_[folder].smallImages : folders_[folder].largeImages;
  return own ? own : (SmallIcons() ? smallImages_ : largeImages_);
}

SIZE CMoveBarCtrl::IconSize(int folder) const {
  int cx = 0, cy = 0;
  if (HIMAGELIST images = ImagesOf(folder)) ::ImageList_GetIconSize(images, &cx, &cy);
  return {cx, cy};
}

SIZE CMoveBarCtrl::ItemSize(int index) const {
  const CBarItem* item = OpenItem(index);
  if (!item) return {0, 0};
  SIZE icon = item->image >= 0 ? IconSize(selFolder_) : SIZE{0, 0};
  fw::WindowDC screen(nullptr);
  fw::ScopedSelectObject font(screen, ::GetStockObject(DEFAULT_GUI_FONT));
  SIZE label{};
  if (SmallIcons()) {
    ::GetTextExtentPoint32W(screen, item->name.c_str(), static_cast<int>(item->name.size()), &label);
    return {icon.cx + label.cx + smallLabelOffset_, icon.cy > label.cy ? icon.cy : label.cy};
  }
  RECT inside = GetInsideRect();
  RECT box{0, 0, inside.right - inside.left, 0};
  ::DrawTextW(screen, item->name.c_str(), static_cast<int>(item->name.size()), &box,
              DT_CALCRECT | DT_CENTER | DT_WORDBREAK);
  label = {box.right - box.left, box.bottom - box.top};
  return {icon.cx > label.cx ? icon.cx : label.cx, icon.cy + label.cy + largeLabelOffset_ + 8};
}

// Items above the first visible one lie above the inside area. An index
// that is no item of the open folder has an empty rectangle: the walk to it
// would be as long as the index.
RECT CMoveBarCtrl::GetItemRect(int index) const {
  if (!IsItem(index)) return {0, 0, 0, 0};
  RECT inside = GetInsideRect();
  int y = inside.top + topMargin_;
  if (index >= firstItem_) {
    for (int i = firstItem_; i < index; ++i) y += ItemSize(i).cy + RowSpacing();
  } else {
    for (int i = index; i < firstItem_; ++i) y -= ItemSize(i).cy + RowSpacing();
  }
  SIZE size = ItemSize(index);
  if (SmallIcons()) return {inside.left + leftMargin_, y, inside.left + leftMargin_ + size.cx, y + size.cy};
  return {inside.left, y, inside.right, y + size.cy};
}

RECT CMoveBarCtrl::GetIconRect(int index) const {
  const CBarItem* item = OpenItem(index);
  if (!item || item->image < 0) return {0, 0, 0, 0};
  RECT rect = GetItemRect(index);
  SIZE icon = IconSize(selFolder_);
  if (SmallIcons()) {
    int top = rect.top + (rect.bottom - rect.top - icon.cy) / 2;
    return {rect.left + 2, top, rect.left + 2 + icon.cx, top + icon.cy};
  }
  int left = rect.left + (rect.right - rect.left - icon.cx) / 2;
  return {left, rect.top, left + icon.cx, rect.top + icon.cy};
}

int CMoveBarCtrl::LastVisibleItem() const {
  RECT inside = GetInsideRect();
  int last = firstItem_ - 1;
  for (int i = firstItem_; i < GetItemCount(); ++i) {
    if (GetItemRect(i).top >= inside.bottom) break;
    last = i;
  }
  return last;
}

bool CMoveBarCtrl::LastItemFullyVisible() const {
  if (GetItemCount() == 0) return true;
  return GetItemRect(GetItemCount() - 1).bottom <= GetInsideRect().bottom;
}

int CMoveBarCtrl::HitTest(POINT point, int& index) const {
  index = -1;
  if (upVisible_ && ::PtInRect(&upRect_, point)) return kHitScrollUp;
  if (downVisible_ && ::PtInRect(&downRect_, point)) return kHitScrollDown;
  for (int i = 0; i < GetFolderCount(); ++i) {
    RECT rect = GetFolderRect(i);
    if (::PtInRect(&rect, point)) {
      index = i;
      return kHitFolder;
    }
  }
  if (IsFolder(selFolder_) && folders_[selFolder_].child) return kHitNone;
  RECT inside = GetInsideRect();
  if (!::PtInRect(&inside, point)) return kHitNone;
  for (int i = firstItem_; i < GetItemCount(); ++i) {
    RECT rect = GetItemRect(i);
    if (rect.top >= inside.bottom) break;
    if (::PtInRect(&rect, point)) {
      index = i;
      return kHitItem;
    }
  }
  return kHitNone;
}

void CMoveBarCtrl::PlaceChildren(bool zOrder) {
  RECT inside = GetInsideRect();
  for (CBarFolder& folder : folders_) {
    if (!folder.child || !::IsWindow(folder.child)) continue;
    ::SetWindowPos(folder.child, nullptr, inside.left, inside.top, inside.right - inside.left,
                   inside.bottom - inside.top, SWP_NOACTIVATE | (zOrder ? 0 : SWP_NOZORDER));
  }
  if (IsFolder(selFolder_) && folders_[selFolder_].child) {
    ::ShowWindow(folders_[selFolder_].child, SW_SHOW);
    ::UpdateWindow(folders_[selFolder_].child);
  }
}

void CMoveBarCtrl::SetSelFolder(int index) {
  if (!IsFolder(index)) return;
  if (index != selFolder_ && !NotifyOwner(MBN_FOLDEROPENING, selFolder_, false)) return;
  if (index != selFolder_ && (flags_ & MBS_ANIMATE) && animationTick_ >= 0 && Hwnd()) {
    AnimateChange(selFolder_, index);
  }
  OpenFolder(index);
}

void CMoveBarCtrl::OpenFolder(int index) {
  int old = selFolder_;
  selFolder_ = index;
  firstItem_ = 0;
  lastSelected_ = -1;
  hotItem_ = -1;
  NotifyOwner(MBN_FOLDERCHANGED, index, true);
  if (!Hwnd()) return;
  Invalidate(true);
  ::UpdateWindow(Hwnd());
  if (IsFolder(old) && old != index && folders_[old].child) ::ShowWindow(folders_[old].child, SW_HIDE);
  PlaceChildren(false);
}

LRESULT CMoveBarCtrl::NotifyOwner(WPARAM code, LPARAM lParam, bool post) {
  HWND owner = Hwnd() ? ::GetParent(Hwnd()) : nullptr;
  if (!owner) return code == MBN_FOLDEROPENING ? 1 : 0;
  if (post) return ::PostMessageW(owner, WM_MOVEBAR_NOTIFY, code, lParam);
  return ::SendMessageW(owner, WM_MOVEBAR_NOTIFY, code, lParam);
}

void CMoveBarCtrl::InvalidateInside() {
  if (!Hwnd()) return;
  RECT inside = GetInsideRect();
  ::InvalidateRect(Hwnd(), &inside, TRUE);
}
