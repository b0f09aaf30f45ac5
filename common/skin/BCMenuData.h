#pragma once
#include <windows.h>

#include <string>

#include "ImageListHandle.h"

// The record of one menu item: the menu's item data points at it.
class BCMenuData {
 public:
  BCMenuData() = default;
  BCMenuData(const BCMenuData&) = delete;
  BCMenuData& operator=(const BCMenuData&) = delete;

  void SetText(const std::wstring& text) { text_ = text; }
  void SetText(const char* text, UINT codePage = CP_ACP);
  const std::wstring& GetText() const { return text_; }
  // The label before the tab, and the accelerator text after it.
  std::wstring Label() const;
  std::wstring Accelerator() const;
  bool HasTab() const { return text_.find(L'\t') != std::wstring::npos; }

  // One image copied for this item (with its derived images when made).
  void SetOwnImages(fw::ScopedImageList list);
  HIMAGELIST OwnImages() const { return ownList_.Get(); }
  int OwnImageCount() const;

  UINT Flags() const { return flags_; }
  void SetFlags(UINT flags) { flags_ = flags; }
  UINT_PTR CommandOrMenu() const { return command_; }
  void SetCommandOrMenu(UINT_PTR command) { command_ = command; }
  UINT Command() const { return static_cast<UINT>(command_); }
  bool IsSeparator() const { return (flags_ & MF_SEPARATOR) != 0; }
  bool IsPopup() const { return (flags_ & MF_POPUP) != 0; }

  int ownImageIndex = -1;     // 0 with an own list
  int sharedImageIndex = -1;  // index in the process-wide list

 private:
  std::wstring text_;
  UINT flags_ = 0;
  UINT_PTR command_ = 0;
  fw::ScopedImageList ownList_;
};
