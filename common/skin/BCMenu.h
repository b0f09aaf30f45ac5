#pragma once
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "BCMenuData.h"
#include "ImageListHandle.h"

class MenuTemplateReader;

// An owner-drawn popup menu with an image column, in an XP-like look (flat,
// darker image column, filled and framed highlight) or a classic look (3-D
// image buttons, full-width highlight bar). The owner window passes on
// WM_MEASUREITEM, WM_DRAWITEM and WM_MENUCHAR. Images of commands live in one
// image list shared by every menu of the program.
//
// Every operation taking text comes wide and narrow (ANSI code page). Items
// are addressed by command (searched through all sub-menus) or, with
// MF_BYPOSITION, by position.
class BCMenu {
 public:
  BCMenu();
  virtual ~BCMenu();
  BCMenu(const BCMenu&) = delete;
  BCMenu& operator=(const BCMenu&) = delete;

  virtual BOOL DrawItem(const DRAWITEMSTRUCT* draw);
  virtual BOOL MeasureItem(MEASUREITEMSTRUCT* measure);
  virtual BOOL LoadMenu(UINT resourceId);
  virtual BOOL LoadMenu(const wchar_t* name);
  virtual BOOL DestroyMenu();
  BOOL LoadMenu(const char* name);

  HMENU GetSafeHmenu() const { return menu_; }
  BOOL CreateMenu();
  BOOL CreatePopupMenu();
  int GetMenuItemCount() const { return menu_ ? ::GetMenuItemCount(menu_) : -1; }
  UINT GetMenuItemID(int position) const { return ::GetMenuItemID(menu_, position); }
  UINT GetMenuState(UINT item, UINT flags) const { return ::GetMenuState(menu_, item, flags); }

  // Image: a bitmap or toolbar resource id (-1: the image already stored for
  // the command), an image list with an index, or a bitmap (copied).
  BOOL AppendItem(const wchar_t* text, UINT flags = MF_STRING, UINT_PTR command = 0, int imageId = -1);
  BOOL AppendItem(const char* text, UINT flags = MF_STRING, UINT_PTR command = 0, int imageId = -1);
  BOOL AppendItem(const wchar_t* text, UINT flags, UINT_PTR command, HIMAGELIST list, int index);
  BOOL AppendItem(const char* text, UINT flags, UINT_PTR command, HIMAGELIST list, int index);
  BOOL AppendItem(const wchar_t* text, UINT flags, UINT_PTR command, HBITMAP bitmap);
  BOOL AppendItem(const char* text, UINT flags, UINT_PTR command, HBITMAP bitmap);

  // At a position (-1 appends) with MF_BYPOSITION, else before a command.
  BOOL InsertItem(UINT position, const wchar_t* text, UINT flags = MF_BYPOSITION, UINT_PTR command = 0,
                  int imageId = -1);
  BOOL InsertItem(UINT position, const char* text, UINT flags = MF_BYPOSITION, UINT_PTR command = 0,
                  int imageId = -1);
  BOOL InsertItem(UINT position, const wchar_t* text, UINT flags, UINT_PTR command, HIMAGELIST list, int index);
  BOOL InsertItem(UINT position, const char* text, UINT flags, UINT_PTR command, HIMAGELIST list, int index);
  BOOL InsertItem(UINT position, const wchar_t* text, UINT flags, UINT_PTR command, HBITMAP bitmap);
  BOOL InsertItem(UINT position, const char* text, UINT flags, UINT_PTR command, HBITMAP bitmap);

  // Text and image of the item of a command (null text keeps the label).
  BOOL ChangeItem(UINT command, const wchar_t* text, int imageId = -1);
  BOOL ChangeItem(UINT command, const char* text, int imageId = -1);
  BOOL ChangeItem(UINT command, const wchar_t* text, HIMAGELIST list, int index);
  BOOL ChangeItem(UINT command, const char* text, HIMAGELIST list, int index);
  BOOL ChangeItem(UINT command, const wchar_t* text, HBITMAP bitmap);
  BOOL ChangeItem(UINT command, const char* text, HBITMAP bitmap);
  // A colour square as the image: fill, 1-pixel border, hatch style (-1
  // solid), square size (0: the image size).
  BOOL ChangeItem(UINT command, const wchar_t* text, COLORREF fill, COLORREF border, int hatch = -1,
                  int size = 0);
  BOOL ChangeItem(UINT command, const char* text, COLORREF fill, COLORREF border, int hatch = -1, int size = 0);
  // The item found by its label gets a new label and resource image.
  BOOL ChangeItemByLabel(const wchar_t* label, const wchar_t* text, int imageId = -1);
  BOOL ChangeItemByLabel(const char* label, const char* text, int imageId = -1);

  BOOL SetItemLabel(UINT item, const wchar_t* text, UINT flags = MF_BYCOMMAND);
  BOOL SetItemLabel(UINT item, const char* text, UINT flags = MF_BYCOMMAND);
  std::wstring GetItemLabel(UINT item, UINT flags = MF_BYCOMMAND) const;

  // The base operations, made owner-drawn.
  BOOL AppendMenu(UINT flags, UINT_PTR command = 0, const wchar_t* text = nullptr);
  BOOL AppendMenu(UINT flags, UINT_PTR command, const char* text);
  BOOL InsertMenu(UINT position, UINT flags, UINT_PTR command = 0, const wchar_t* text = nullptr);
  BOOL InsertMenu(UINT position, UINT flags, UINT_PTR command, const char* text);
  BOOL ModifyMenu(UINT position, UINT flags, UINT_PTR command = 0, const wchar_t* text = nullptr);
  BOOL ModifyMenu(UINT position, UINT flags, UINT_PTR command, const char* text);

  // Removes an item and its record (a popup's records go with it). Delete
  // also destroys a removed popup.
  BOOL RemoveMenu(UINT item, UINT flags);
  BOOL DeleteMenu(UINT item, UINT flags);
  // By label; mode 1 or 2 also removes the item then just before it, mode 3
  // the two items before it (the separators around a group).
  BOOL RemoveMenu(const wchar_t* label, int mode = 0);
  BOOL RemoveMenu(const char* label, int mode = 0);
  BOOL DeleteMenu(const wchar_t* label, int mode = 0);
  BOOL DeleteMenu(const char* label, int mode = 0);

  BCMenu* GetSubMenu(int position);
  BCMenu* GetSubMenu(const wchar_t* label);
  BCMenu* GetSubMenu(const char* label);
  int FindItemPosition(const wchar_t* label) const;
  int FindItemPosition(const char* label) const;
  // A new popup sharing this menu's check-mark images, appended with a label;
  // owned by this menu.
  BCMenu* AppendPopup(const wchar_t* label);
  BCMenu* AppendPopup(const char* label);

  BCMenuData* FindItemRecord(UINT command);
  // The menu holding a command and its position there (depth first).
  BCMenu* FindItemOwner(UINT command, int* position);
  // Records of this menu's own items, in menu order.
  int RecordCount() const { return static_cast<int>(items_.size()); }
  BCMenuData* RecordAt(int position) const;

  static void SetDrawStyle(int style);
  static int GetDrawStyle();
  static void SetSelectDisabled(BOOL select);
  static BOOL GetSelectDisabled();
  static void SetWideImageColumn(BOOL wide);
  static BOOL GetWideImageColumn();
  // FALSE, keeping the size, once the shared list holds images.
  static BOOL SetImageSize(int width, int height);
  static SIZE GetImageSize();
  void SetTransparentColour(COLORREF colour, BOOL use = TRUE);
  void SetDisabledDither(BOOL dither) { dither_ = dither; }
  void SetLoadImagesAsIcons(BOOL icons) { loadAsIcons_ = icons; }
  // Images for checked items without an image of their own: image 0 normal,
  // image 1 selected. The indices say when they are used (see DrawItem).
  BOOL SetCheckMarkImages(UINT resourceId, int selectedIndex = 1, int normalIndex = 1);

  BOOL AddToolbarImages(UINT toolbarId);
  BOOL AddToolbarImages(const UINT* toolbarIds, int count);
  // Adds a bitmap, toolbar or icon resource with the transparent colour.
  BOOL AddResourceImage(HIMAGELIST list, UINT resourceId);

  static BOOL IsKnownMenu(HMENU menu);
  static BOOL IsKnownMenu(const BCMenu* menu);
  static BCMenu* FromHandle(HMENU menu);
  static LRESULT FindMnemonicItem(UINT character, UINT flags, HMENU menu);

  static BOOL IsClassicTheme();
  static BOOL IsXPStyleActive();
  static int GetWindowsFamily();
  // Where resources are searched first (then the program file).
  static void SetResourceModule(HINSTANCE module);

 private:
  // What an item is given as its image.
  struct Image {
    enum Kind { kNone, kResource, kList, kBitmap, kSquare } kind = kNone;
    int resourceId = -1;
    HIMAGELIST list = nullptr;
    int index = 0;
    HBITMAP bitmap = nullptr;
    COLORREF fill = 0, border = 0;
    int hatch = -1, size = 0;

    static Image Resource(int id) {
      Image image;
      image.kind = kResource;
      image.resourceId = id;
      return image;
    }
    static Image FromList(HIMAGELIST list, int index) {
      Image image;
      image.kind = kList;
      image.list = list;
      image.index = index;
      return image;
    }
    static Image FromBitmap(HBITMAP bitmap) {
      Image image;
      image.kind = kBitmap;
      image.bitmap = bitmap;
      return image;
    }
  };
  BOOL Insert(int position, UINT flags, UINT_PTR command, const std::wstring& text, const Image& image);
  BOOL Change(UINT command, const std::wstring* text, const Image& image);
  BOOL ApplyImage(BCMenuData* record, const Image& image);
  BOOL RemoveItem(UINT item, UINT flags, bool destroyPopup);
  BOOL RemoveByLabel(const std::wstring& label, int mode, bool destroyPopup);
  BCMenu* AdoptPopup(std::unique_ptr<BCMenu> popup);
  // The menu and position of an item given by command or by position.
  BCMenu* Locate(UINT item, UINT flags, int* position);
  // A popup handle joins the known menus and this menu's sub-menus.
  void JoinPopup(HMENU popup);
  // The menu (this or a popup below) whose record the item data is.
  BCMenu* OwnerOfRecord(ULONG_PTR data, BCMenuData** record);
  bool LoadLevel(MenuTemplateReader* reader);
  void RestorePlainTopLevel();
  void AlignAccelerators();
  void Synchronize();
  std::wstring Widen(const char* text) const;
  COLORREF TransparentColour() const;

  void DrawXP(const DRAWITEMSTRUCT& draw, BCMenuData& record);
  void DrawXPCheck(HDC dc, const RECT& cell, int x, int y, COLORREF column, COLORREF highlight, UINT command,
                   bool selected);
  void DrawClassic(const DRAWITEMSTRUCT& draw, BCMenuData& record);
  void DrawClassicImage(HDC dc, HIMAGELIST list, int index, const RECT& item, int d, COLORREF background,
                        bool grayed, bool selected, bool checked);
  bool ImageOf(const BCMenuData& record, HIMAGELIST* list, int* index, bool* stateImages) const;
  bool HasCheckMarkBitmap(UINT command, bool checked) const;
  // The check-mark images a checked item without an image shows, or null.
  HIMAGELIST CheckMarkList(bool selected) const;

  HMENU menu_ = nullptr;
  std::vector<std::unique_ptr<BCMenuData>> items_;
  std::vector<HMENU> subMenus_;
  // Popups this menu made (LoadMenu, AppendPopup); deleted with it.
  std::vector<std::unique_ptr<BCMenu>> ownedPopups_;
  COLORREF bitmapBackground_ = RGB(192, 192, 192);
  BOOL useBitmapBackground_ = FALSE;
  BOOL dither_ = FALSE;
  fw::ScopedImageList checkMarks_;
  // Popups made by their parent read the parent's check-mark images.
  const BCMenu* checkMarkOwner_ = nullptr;
  BOOL sharesCheckMarks_ = FALSE;
  int checkMarkSelected_ = -1;
  int checkMarkNormal_ = -1;
  BOOL loadAsIcons_ = FALSE;
  BOOL loadedFromResource_ = FALSE;
  UINT codePage_;
};
