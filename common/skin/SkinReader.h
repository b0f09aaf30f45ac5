#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "SkinItem.h"

class CXmlDom;

// Reads the values of a skin file from the current node of a document.
// Nothing read from a file is trusted: a number that does not parse, or is
// out of range, is taken as absent and leaves the field at its default.
class CSkinReader {
 public:
  // Decimal text of a signed 32-bit number, blanks around it allowed.
  static bool ParseInt(const std::wstring& text, int* value);
  // Decimal text of an unsigned 32-bit number (colours, format bits).
  static bool ParseUInt(const std::wstring& text, UINT* value);

  // Each leaves `value` alone when the attribute is absent, empty or not a
  // number; true when it changed it.
  static bool ReadInt(CXmlDom& dom, const wchar_t* name, int* value);
  // As ReadInt, a negative number read as 0: a size below nothing means the
  // skin gave none.
  static bool ReadSize(CXmlDom& dom, const wchar_t* name, int* value);
  static bool ReadUInt(CXmlDom& dom, const wchar_t* name, UINT* value);
  static bool ReadColour(CXmlDom& dom, const wchar_t* name, COLORREF* value);
  // A text attribute that is present is taken as it is, even empty.
  static bool ReadText(CXmlDom& dom, const wchar_t* name, std::wstring* value);

  // One item from the current node; images and sounds are found in
  // `folder` (with its trailing backslash).
  static std::unique_ptr<tagSkinItem> ReadItem(CXmlDom& dom, const std::wstring& folder);

 private:
  static void ReadImage(CXmlDom& dom, const wchar_t* name, const std::wstring& folder, tagSkinItem* item,
                        fw::ScopedBitmap* image);
  static void ReadSound(CXmlDom& dom, const wchar_t* name, const std::wstring& folder, std::wstring* path);
};
