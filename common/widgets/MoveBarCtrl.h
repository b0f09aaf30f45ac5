#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "Handles.h"
#include "Wnd.h"

// The folder bar's notification to its owner; wParam is one of the codes
// below. The number equals DM_SETDEFID, so an owner that is a dialog must
// tell the two apart by the sender.
constexpr UINT WM_MOVEBAR_NOTIFY = WM_USER + 1;
constexpr WPARAM MBN_ITEMCLICKED = 1;    // lParam: item index
constexpr WPARAM MBN_ITEMDROPPED = 4;    // lParam: MoveBarDrop*; non-zero moves it
constexpr WPARAM MBN_FOLDERCHANGED = 5;  // posted; lParam: new folder
constexpr WPARAM MBN_FOLDEROPENING = 6;  // lParam: folder open until now; 0 refuses

// Style flags of CMoveBarCtrl::Create.
constexpr DWORD MBS_SMALLICONS = 1;
constexpr DWORD MBS_DRAGITEMS = 128;
constexpr DWORD MBS_ANIMATE = 256;
constexpr DWORD MBS_KEEPSELECTION = 512;

// What notification 4 names: the item dragged and the place it was dropped
// on (an item index, or the item count for the end), in the open folder.
struct MoveBarDrop {
  int folder;
  int item;
  int target;
};

// A vertical stack of folder buttons of which one is open; the open folder
// shows a scrolling list of icon items, or a child window of the caller.
// Creatable by its class name, with the default flags 0x3FC.
class CMoveBarCtrl : public fw::Wnd {
 public:
  struct CBarItem {
    int image = -1;
    std::wstring name;
    DWORD_PTR data = 0;
  };
  struct CBarFolder {
    std::wstring name;
    DWORD_PTR data = 0;
    HIMAGELIST largeImages = nullptr;
    HIMAGELIST smallImages = nullptr;
    std::vector<CBarItem> items;
    HWND child = nullptr;
  };
  enum ImageType { kSmall = 1, kLarge = 2 };
  enum HitCode { kHitNone = -1, kHitFolder = 0, kHitItem = 1, kHitScrollUp = 2, kHitScrollDown = 3 };

  CMoveBarCtrl();
  ~CMoveBarCtrl() override;

  bool Create(DWORD style, const RECT& rect, HWND parent, UINT id, DWORD flags = 0x3FC);
  using fw::Wnd::Create;

  int AddFolder(const wchar_t* name, DWORD_PTR data = 0);
  int AddFolderBar(const wchar_t* name, HWND child, DWORD_PTR data = 0);
  void RemoveFolder(int index);
  int InsertItem(int folder, int index, const wchar_t* name, int image = -1, DWORD_PTR data = 0);
  void RemoveItem(int index);
  void SetFolderText(int index, const wchar_t* text);
  void SetItemText(int index, const wchar_t* text);
  std::wstring GetItemText(int index) const;
  int GetItemImage(int index) const;
  DWORD_PTR GetItemData(int index) const;
  void SetItemImage(int index, int image);
  void SetItemData(int index, DWORD_PTR data);
  DWORD_PTR GetFolderData(int index = -1) const;
  int FindFolder(const wchar_t* name) const;
  HIMAGELIST SetImageList(HIMAGELIST list, int type);
  HIMAGELIST GetImageList(int type) const;
  HIMAGELIST SetFolderImageList(int folder, HIMAGELIST list, int type);
  void SetSmallIconView(bool small);
  void SetSelFolder(int index);
  void SetAnimSelHighlight(int period);
  // Copies the six bitmaps: left, middle, right of the normal and then of the
  // selected folder button. The caller keeps its own.
  void SetFolderImages(HBITMAP normalLeft, HBITMAP normalMiddle, HBITMAP normalRight, HBITMAP selLeft,
                       HBITMAP selMiddle, HBITMAP selRight);
  int LoadSkin(const wchar_t* element, const wchar_t* skinPath);
  void SetFolderHeight(int height) { folderHeight_ = height; }
  void SetNormalTextColor(COLORREF colour) { normalTextColour_ = colour; }
  void SetSelTextColor(COLORREF colour) { selTextColour_ = colour; }
  void SetTextFormat(UINT format) { textFormat_ = format; }

  int GetFolderCount() const { return static_cast<int>(folders_.size()); }
  int GetItemCount() const;
  int GetSelFolder() const { return selFolder_; }
  int GetFirstVisibleItem() const { return firstItem_; }
  int GetLastSelectedItem() const { return lastSelected_; }
  DWORD GetFlags() const { return flags_; }
  void SetAnimationTick(int milliseconds) { animationTick_ = milliseconds; }

  RECT GetFolderRect(int index) const;
  RECT GetInsideRect() const;
  RECT GetItemRect(int index) const;
  RECT GetIconRect(int index) const;
  int HitTest(POINT point, int& index) const;

 protected:
  void PreCreateWindow(fw::CreateArgs& args) override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  bool IsFolder(int index) const { return index >= 0 && index < GetFolderCount(); }
  bool IsItem(int index) const { return index >= 0 && index < GetItemCount(); }
  CBarItem* OpenItem(int index);
  const CBarItem* OpenItem(int index) const;
  bool SmallIcons() const { return (flags_ & MBS_SMALLICONS) != 0; }
  HIMAGELIST ImagesOf(int folder) const;
  SIZE IconSize(int folder) const;
  SIZE ItemSize(int index) const;
  int RowSpacing() const { return SmallIcons() ? smallSpacing_ : largeSpacing_; }
  int LastVisibleItem() const;
  bool LastItemFullyVisible() const;
  void PlaceChildren(bool zOrder);
  void OpenFolder(int index);

  // Drawing (MoveBarPaint.cpp).
  void PaintAll(HDC dc, bool withChildren);
  void PaintInside(HDC dc);
  void DrawFolder(HDC dc, int index, bool pressed);
  void DrawItem(HDC dc, int index, POINT iconOffset);
  void DrawIconFrame(HDC dc, int index, COLORREF topLeft, COLORREF bottomRight);
  void DrawScrollButton(HDC dc, bool up);
  void HighlightFolder(HDC dc, int index, bool on);
  void HighlightItem(int index, bool pressed);
  void DrawInsertMark(HDC dc, int target);
  void EraseInsertMark(int target);
  void AnimateChange(int from, int to);
  void InvalidateInside();

  // Input (MoveBarInput.cpp).
  void OnMouseMove(POINT point);
  void OnLButtonDown(POINT point);
  void TrackFolderClick(int folder);
  void TrackItemClick(int item);
  void TrackScroll(bool up);
  void ScrollBy(int delta);
  void DropItem(int item, int target);
  void OnTimer(UINT_PTR id);
  void FindPendingHighlights();
  void ApplyPendingHighlights();
  void StepSelectionAnimation();
  int DropTargetAt(POINT point) const;
  LRESULT NotifyOwner(WPARAM code, LPARAM lParam, bool post);

  COLORREF backColour_, edgeColour_, textColour_, faceColour_;
  COLORREF lightColour_, highlightColour_, shadowColour_, darkShadowColour_;
  int folderHeight_ = 20;
  int smallLabelOffset_ = 4;
  int largeLabelOffset_ = 3;
  int smallSpacing_ = 10;
  int largeSpacing_ = 8;
  int leftMargin_ = 5, topMargin_ = 5;
  bool upVisible_ = false, downVisible_ = false, upPressed_ = false, downPressed_ = false;
  RECT upRect_{}, downRect_{};
  int animationTick_ = 10;
  int lastSelected_ = -1;
  int selAnimationPeriod_ = 0;
  int selAnimationCount_ = 0;
  DWORD flags_ = 0x3FC;
  std::vector<CBarFolder> folders_;
  int hotFolder_ = -1;
  int hotItem_ = -1;
  // Highlights to draw once a paint has drawn over them.
  int pendingFolderHighlight_ = -1;
  int pendingItemHighlight_ = -1;
  int firstItem_ = 0;
  bool itemPressed_ = false;
  int dropMark_ = -1;
  int selFolder_ = 0;
  HIMAGELIST largeImages_ = nullptr;
  HIMAGELIST smallImages_ = nullptr;
  HCURSOR handCursor_;
  fw::ScopedPen blackPen_;
  fw::ScopedBitmap folderImages_[6];
  COLORREF normalTextColour_ = 0x6D5050;
  COLORREF selTextColour_ = 0x6D5050;
  COLORREF transparentColour_ = 0xFF00FF;
  UINT textFormat_ = DT_SINGLELINE | DT_VCENTER;
};
