#pragma once
#include <windows.h>

#include <string>

#include "CellLinkGroup.h"
#include "RecordButton.h"

class CXmlDom;

// What a record list reads from the RECORDLIST_EXT child of its skin element.
// Pictures and fonts are shared with the records made from them, so a skin
// loaded again never frees what an existing row still draws with.
struct RecordListSkin {
  using SharedBitmap = RecordButton::SharedBitmap;

  SharedBitmap buttonNormal;
  SharedBitmap buttonHover;
  SharedBitmap iconNormal;
  SharedBitmap iconSelected;
  int buttonColumnWidth = 0;
  int itemHeight = 0;  // 0: the list's own
  int buttonWidth = 0;
  int buttonHeight = 0;
  int indent = 0;  // pixels from a row's left edge to its icon
  CCellLinkGroup::SharedFont normalFont;
  CCellLinkGroup::SharedFont underlinedFont;
  std::wstring tooltip;
  COLORREF textColour = 0;
  COLORREF disabledColour = RGB(0x7F, 0x7F, 0x7F);
  COLORREF gridColour = 0;
  COLORREF iconTransparent = CLR_INVALID;
  COLORREF buttonTransparent = CLR_INVALID;
  bool underline = false;
  bool disabled = false;

  // Reads the element the cursor is on; `listFont` is copied for the row
  // text. Image names are joined to `folder` (ending in a backslash).
  void Load(CXmlDom& dom, const std::wstring& folder, HFONT listFont);

 private:
  void ReadRecordText(CXmlDom& dom, HFONT listFont);
  void ReadButton(CXmlDom& dom, const std::wstring& folder);
  void ReadIcons(CXmlDom& dom, const std::wstring& folder);
};
