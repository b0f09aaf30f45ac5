#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "ImageListHandle.h"

class BCMenu;

// What every menu of the program shares: the look, the image size, the image
// list of commands and the menus handed out as popups. One object per
// program, built before main.
class BCMenuState {
 public:
  static BCMenuState& Get();

  // 0 Win32s, 1 other NT, 2 95, 3 98, 4 Me, 5 NT 4, 6 2000, 7 XP. `info` is
  // null when the version record could not be had.
  static int ClassifyWindows(DWORD version, const OSVERSIONINFOW* info);
  static int QueryWindowsFamily();
  // Whether a "Current" theme value names the classic theme.
  static bool IsClassicThemeName(const std::wstring& value);

  int family = 1;
  int drawStyleClassic = 1;
  int drawStyleXP = 1;
  int selectDisabledClassic = 1;
  int selectDisabledXP = 0;
  int wideImageColumn = 1;
  int imageWidth = 16;
  int imageHeight = 15;
  // Set once an image was loaded with its light gray repainted to the face colour.
  bool systemColourImages = false;
  // Searched for resources before the program file.
  HINSTANCE resourceModule = nullptr;
  // The resource module when it holds the resource, else the program file.
  HMODULE FindResourceModule(const wchar_t* name, const wchar_t* type) const;

  bool IsClassicTheme();
  // Drops the cached theme answer (tests set the registry value).
  void ForgetTheme() { themeComputed_ = false; }
  bool IsXPStyleActive() { return family == 7 && !IsClassicTheme(); }
  int DrawStyleInForce() { return IsXPStyleActive() ? drawStyleXP : drawStyleClassic; }
  bool XPLookInForce() { return DrawStyleInForce() == 1; }
  int SelectDisabled(bool xpLook) const { return xpLook ? selectDisabledXP : selectDisabledClassic; }
  int ImageGap() const { return wideImageColumn ? 7 : 4; }

  // The shared image list; entry i of the command table is the command of image i.
  HIMAGELIST SharedImages() const { return sharedImages_.Get(); }
  const std::vector<int>& SharedCommands() const { return sharedCommands_; }
  int SharedIndexOf(int command) const;
  // Stores image `index` of `source` (and the three derived images that
  // follow it there when `derived`) for a command; the shared index or -1.
  int StoreSharedImage(int command, HIMAGELIST source, int index, bool derived);
  // Empties the shared list (image size changes; tests).
  void ResetSharedImages();

  std::vector<HMENU> knownMenus;
  void AddKnownMenu(HMENU menu);
  void RemoveKnownMenu(HMENU menu);
  bool IsKnownMenu(HMENU menu) const;

  // Live menu objects, to find the object of a handle.
  std::vector<BCMenu*> liveMenus;

 private:
  BCMenuState();
  bool EnsureSharedImages();

  bool themeComputed_ = false;
  bool classicTheme_ = false;
  fw::ScopedImageList sharedImages_;
  std::vector<int> sharedCommands_;
};
