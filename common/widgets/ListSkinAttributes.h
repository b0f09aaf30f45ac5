#pragma once
#include <windows.h>

#include <string>

#include "CellLinkGroup.h"
#include "Handles.h"

class CXmlDom;

// Attribute reads shared by the list skins. Numbers are read as text, so a
// value that is no number leaves the default instead of raising; colours may
// be written signed (-1) or unsigned.
namespace listskin {

bool Number(CXmlDom& dom, const wchar_t* name, long long& value);
int IntOr(CXmlDom& dom, const wchar_t* name, int fallback);
// Leaves `colour` as it was when the attribute is missing.
void Colour(CXmlDom& dom, const wchar_t* name, COLORREF& colour);
std::wstring Text(CXmlDom& dom, const wchar_t* name);
// A bitmap file in `folder`; none for an empty name or a file that fails.
fw::ScopedBitmap LoadBitmapFile(const std::wstring& folder, const std::wstring& name);
std::wstring WithBackslash(const std::wstring& folder);
// A copy of the font, underlined or not; null without a font.
CCellLinkGroup::SharedFont CopyFont(HFONT font, bool underline);

}  // namespace listskin
