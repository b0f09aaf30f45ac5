#include "RecordListSkin.h"

#include "ListSkinAttributes.h"
#include "XmlDom.h"

namespace {

RecordListSkin::SharedBitmap SharedBitmapFile(const std::wstring& folder, const std::wstring& name) {
  fw::ScopedBitmap bitmap = listskin::LoadBitmapFile(folder, name);
  return bitmap ? std::make_shared<fw::ScopedBitmap>(std::move(bitmap)) : nullptr;
}

SIZE BitmapSize(const RecordListSkin::SharedBitmap& bitmap) {
  BITMAP info{};
  if (!bitmap || !*bitmap || !::GetObjectW(bitmap->Get(), sizeof(info), &info)) return SIZE{0, 0};
  return SIZE{info.bmWidth, info.bmHeight};
}

}  // namespace

void RecordListSkin::Load(CXmlDom& dom, const std::wstring& folder, HFONT listFont) {
  indent = listskin::IntOr(dom, L"indent", indent);
  listskin::Colour(dom, L"gridlnclr", gridColour);
  int height = listskin::IntOr(dom, L"itemheight", 0);
  if (height > 0) itemHeight = height;
  if (!dom.MoveToFirstChild()) return;
  bool recordTextRead = false;
  do {
    const std::wstring type = listskin::Text(dom, L"type");
    if (type == L"rec" && !recordTextRead) {
      ReadRecordText(dom, listFont);
      recordTextRead = true;
    } else if (type == L"btn") {
      ReadButton(dom, folder);
    } else if (type == L"icon") {
      ReadIcons(dom, folder);
    }
  } while (dom.MoveToNextSibling());
  dom.MoveToParent();
}

void RecordListSkin::ReadRecordText(CXmlDom& dom, HFONT listFont) {
  tooltip = listskin::Text(dom, L"tooltip");
  listskin::Colour(dom, L"fontclr", textColour);
  listskin::Colour(dom, L"disableclr", disabledColour);
  disabled = listskin::IntOr(dom, L"disable", 0) != 0;
  underline = listskin::IntOr(dom, L"underline", 0) != 0;
  normalFont = listskin::CopyFont(listFont, false);
  underlinedFont = listskin::CopyFont(listFont, true);
}

void RecordListSkin::ReadButton(CXmlDom& dom, const std::wstring& folder) {
  std::wstring normalName = listskin::Text(dom, L"img_normal");
  if (!normalName.empty()) {
    buttonNormal = SharedBitmapFile(folder, normalName);
    SIZE size = BitmapSize(buttonNormal);
    buttonWidth = size.cx;
    buttonHeight = size.cy;
  }
  std::wstring hoverName = listskin::Text(dom, L"img_hover");
  if (!hoverName.empty()) buttonHover = SharedBitmapFile(folder, hoverName);
  buttonColumnWidth = listskin::IntOr(dom, L"columnwidth", buttonColumnWidth);
  buttonTransparent = CLR_INVALID;
  listskin::Colour(dom, L"transclr", buttonTransparent);
}

void RecordListSkin::ReadIcons(CXmlDom& dom, const std::wstring& folder) {
  std::wstring normalName = listskin::Text(dom, L"img_normal");
  if (!normalName.empty()) iconNormal = SharedBitmapFile(folder, normalName);
  std::wstring selectedName = listskin::Text(dom, L"img_sel");
  if (!selectedName.empty()) iconSelected = SharedBitmapFile(folder, selectedName);
  iconTransparent = CLR_INVALID;
  listskin::Colour(dom, L"transclr", iconTransparent);
}
