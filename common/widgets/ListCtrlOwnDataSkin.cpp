// Skin loading: the header, the columns, the row colours, the alternating
// rows and the link columns from the LISTITEM children of a skin element.
#include <cwchar>

#include "ComSupport.h"
#include "ListCtrlOwnData.h"
#include "ListSkinAttributes.h"
#include "XmlDom.h"

namespace {

using listskin::IntOr;
using listskin::Text;
using listskin::WithBackslash;

// Refused by SetSortTypes, as every type above 7 is.
const BYTE kInvalidSortType = 0xFF;

enum ListItemType { kHeaderItem = 0, kColumnItem = 1, kRowsItem = 2, kAlternatingItem = 3, kLinkColumnItem = 4 };

HFONT CreateSkinFont(int size, const std::wstring& face) {
  return ::CreateFontW(size, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, 0, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                       DEFAULT_QUALITY, FF_SWISS, face.c_str());
}

}  // namespace

int CListCtrlOwnData::LoadSkinFile(const wchar_t* element, const wchar_t* path) {
  if (!element || !path) return 0;
  fw::ComThreadScope com;
  CXmlDom dom;
  if (!dom.Open(path, true, nullptr)) return 0;
  std::wstring file(path);
  size_t slash = file.rfind(L'\\');
  return LoadSkin(dom, element, slash == std::wstring::npos ? std::wstring() : file.substr(0, slash));
}

void CListCtrlOwnData::ResetSkin() {
  header_.SetBitmaps(fw::ScopedBitmap(), fw::ScopedBitmap(), fw::ScopedBitmap());
  header_.SetColors(CLR_INVALID, CLR_INVALID);
  highlightBackground_ = highlightText_ = CLR_INVALID;
  rowColours_.clear();
}

// Leaves the cursor where it was (the element's parent), so that a derived
// skin can select the element again.
int CListCtrlOwnData::LoadSkin(CXmlDom& dom, const wchar_t* element, const std::wstring& imageFolder) {
  ResetSkin();
  int fontSize = 12;
  std::wstring fontFace = L"宋体";
  if (!element || !dom.SelectNode(element)) return 0;
  const std::wstring folder = WithBackslash(imageFolder);
  int column = 0;
  std::vector<BYTE> sortTypes;
  if (dom.MoveToFirstChild()) {
    do {
      std::wstring name;
      dom.GetNodeName(name);
      if (::lstrcmpiW(name.c_str(), L"LISTITEM") == 0) ReadListItem(dom, folder, column, sortTypes, fontSize, fontFace);
    } while (dom.MoveToNextSibling());
    dom.MoveToParent();
  }
  dom.MoveToParent();
  if (column > 0) {
    sortEnabled_ = true;
    SetSortTypes(sortTypes.data(), static_cast<int>(sortTypes.size()));
  }
  if (Hwnd()) Invalidate();
  return 1;
}

void CListCtrlOwnData::ReadListItem(CXmlDom& dom, const std::wstring& folder, int& column,
                                    std::vector<BYTE>& sortTypes, int& fontSize, std::wstring& fontFace) {
  fontSize = IntOr(dom, L"fontsize", fontSize);
  std::wstring face = Text(dom, L"fonttype");
  if (!face.empty()) fontFace = face;
  switch (IntOr(dom, L"TypeID", -1)) {
    case kHeaderItem:
      ReadHeaderItem(dom, folder, fontSize, fontFace);
      break;
    case kColumnItem:
      if (ReadColumnItem(dom, column, sortTypes)) ++column;
      break;
    case kRowsItem:
      ReadRowsItem(dom, fontSize, fontFace);
      break;
    case kAlternatingItem: {
      COLORREF background = CLR_INVALID, text = CLR_INVALID;
      listskin::Colour(dom, L"bgclr", background);
      listskin::Colour(dom, L"fontclr", text);
      AddRowColors(background, text);
      break;
    }
    case kLinkColumnItem:
      ReadLinkColumnItem(dom);
      break;
  }
}

void CListCtrlOwnData::ReadHeaderItem(CXmlDom& dom, const std::wstring& folder, int fontSize,
                                      const std::wstring& fontFace) {
  long long height = 0;
  if (listskin::Number(dom, L"height", height)) SetHeaderHeight(static_cast<int>(height));
  SetHeaderBitmaps(listskin::LoadBitmapFile(folder, Text(dom, L"normalbkgmid")), listskin::LoadBitmapFile(folder, Text(dom, L"normalbkgleft")),
                   listskin::LoadBitmapFile(folder, Text(dom, L"normalbkgright")));
  fw::ScopedBitmap ascending = listskin::LoadBitmapFile(folder, Text(dom, L"arrowAsc"));
  fw::ScopedBitmap descending = listskin::LoadBitmapFile(folder, Text(dom, L"arrowDes"));
  if (ascending || descending) SetSortArrowBitmaps(std::move(ascending), std::move(descending), CLR_INVALID);
  COLORREF background = CLR_INVALID, text = CLR_INVALID;
  listskin::Colour(dom, L"bgclr", background);
  listskin::Colour(dom, L"fontclr", text);
  SetHeaderColors(background, text);
  header_.SetHeaderFont(fw::ScopedFont(CreateSkinFont(fontSize, fontFace)));
  if (header_.Hwnd()) header_.SetHeight(header_.Height());  // laid out again in the new font
}

// False when the list has no such column: the counter then stays.
bool CListCtrlOwnData::ReadColumnItem(CXmlDom& dom, int column, std::vector<BYTE>& sortTypes) {
  if (column >= ColumnCount()) return false;
  long long width = 0;
  if (listskin::Number(dom, L"width", width)) {
    if (width == -1)
      SetFillColumn(column);
    else
      Send(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), MAKELPARAM(static_cast<int>(width), 0));
  }
  std::wstring text;
  if (dom.GetAttribString(L"text", text)) header_.SetItemText(column, text);
  long long align = 0;
  if (listskin::Number(dom, L"align", align)) {
    LVCOLUMNW info{};
    info.mask = LVCF_FMT;
    info.fmt = static_cast<int>(align);
    Send(LVM_SETCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&info));
  }
  if (column < kEllipsisColumns) drawEllipsis_.at(static_cast<size_t>(column)) = IntOr(dom, L"drawellipsis", 1) == 1;
  // Read whole: a value past a byte (256) must not wrap into a valid type.
  long long sortType = 1;
  listskin::Number(dom, L"sorttype", sortType);
  sortTypes.push_back(sortType >= 0 && sortType < kSortTypeCount ? static_cast<BYTE>(sortType) : kInvalidSortType);
  return true;
}

void CListCtrlOwnData::ReadRowsItem(CXmlDom& dom, int fontSize, const std::wstring& fontFace) {
  listskin::Colour(dom, L"highlightbgclr", highlightBackground_);
  listskin::Colour(dom, L"highlighttextclr", highlightText_);
  listskin::Colour(dom, L"showalwaysbgclr", showAlwaysBackground_);
  listskin::Colour(dom, L"showalwaystextclr", showAlwaysText_);
  listskin::Colour(dom, L"overbgclr", hoverBackground_);
  listskin::Colour(dom, L"overtextclr", hoverText_);
  COLORREF background = CLR_INVALID;
  listskin::Colour(dom, L"bgclr", background);
  if (background != CLR_INVALID && Hwnd()) Send(LVM_SETBKCOLOR, 0, static_cast<LPARAM>(background));
  SetListFont(fw::ScopedFont(CreateSkinFont(fontSize, fontFace)));
}

// The window takes the new font before the old one is deleted, so that it
// never holds a deleted font.
void CListCtrlOwnData::SetListFont(fw::ScopedFont font) {
  if (Hwnd()) {
    const HFONT current = reinterpret_cast<HFONT>(Send(WM_GETFONT));
    if (!listFont_ || current != listFont_.Get()) windowFontBefore_ = current;
    Send(WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
  }
  listFont_ = std::move(font);
}

// A subclassed list's window can outlive this object, which deletes the font.
void CListCtrlOwnData::GiveBackWindowFont() {
  if (!Hwnd() || !listFont_ || reinterpret_cast<HFONT>(Send(WM_GETFONT)) != listFont_.Get()) return;
  Send(WM_SETFONT, reinterpret_cast<WPARAM>(windowFontBefore_), FALSE);
}

// The template's fonts are copies of the list's font as it is now; groups
// made from an older template keep theirs alive while they draw.
void CListCtrlOwnData::ReadLinkColumnItem(CXmlDom& dom) {
  auto linkColumn = std::make_unique<LinkColumnTemplate>();
  linkColumn->column = IntOr(dom, L"col", 0);
  linkColumn->spacing = IntOr(dom, L"space", 0);
  linkColumn->normalFont = listskin::CopyFont(ListFont(), false);
  linkColumn->underlinedFont = listskin::CopyFont(ListFont(), true);
  if (dom.MoveToFirstChild()) {
    do {
      std::wstring name;
      dom.GetNodeName(name);
      if (name.empty() || name[0] == L'#') continue;  // text and comments
      LinkTemplate link;
      link.text = Text(dom, L"text");
      link.tooltip = Text(dom, L"tooltip");
      link.id = IntOr(dom, L"id", 0);
      listskin::Colour(dom, L"fontclr", link.colour);
      listskin::Colour(dom, L"disableclr", link.disabledColour);
      link.disabled = IntOr(dom, L"disable", 0) != 0;
      link.underline = IntOr(dom, L"underline", 0) != 0;
      linkColumn->links.push_back(std::move(link));
    } while (dom.MoveToNextSibling());
    dom.MoveToParent();
  }
  int column = linkColumn->column;
  linkColumns_[column] = std::move(linkColumn);
}
