#pragma once
#include <windows.h>

#include <array>
#include <memory>

#include "PanelPage.h"

// The panel's seven pages in one ordered table: the order the pages are
// created in (and the panel's members in), each page's tab, skin item and
// template, and the order the pages are saved in.
enum class PageId { kGeneral, kSecurity, kRecommend, kLog, kKidInfo, kControl, kWords };

struct PageSlot {
  PageId id;
  UINT tabId;
  const wchar_t* skinItem;
  UINT templateId;
  // A new page object for the panel, or null while the page is not built.
  std::unique_ptr<CPanelPage> (*create)(HWND panel);
};

constexpr size_t kPageCount = 7;
const std::array<PageSlot, kPageCount>& PageTable();
// Page ids in the order their saves run.
const std::array<PageId, kPageCount>& PageSaveOrder();
const PageSlot* FindPageByTab(UINT tabId);
