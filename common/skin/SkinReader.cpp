#include "SkinReader.h"

#include <cerrno>
#include <climits>
#include <cwchar>

#include "CommHelper.h"
#include "XmlDom.h"

namespace {

// The text between leading and trailing blanks.
std::wstring Trimmed(const std::wstring& text) {
  const size_t first = text.find_first_not_of(L" \t\r\n");
  if (first == std::wstring::npos) return std::wstring();
  const size_t last = text.find_last_not_of(L" \t\r\n");
  return text.substr(first, last - first + 1);
}

// Only digits after an optional sign; wcstol alone would accept "12px".
bool IsDecimal(const std::wstring& text, bool allowMinus) {
  size_t start = 0;
  if (!text.empty() && (text[0] == L'-' || text[0] == L'+')) {
    if (text[0] == L'-' && !allowMinus) return false;
    start = 1;
  }
  if (start == text.size()) return false;
  for (size_t i = start; i < text.size(); ++i) {
    if (text[i] < L'0' || text[i] > L'9') return false;
  }
  return true;
}

}  // namespace

bool CSkinReader::ParseInt(const std::wstring& text, int* value) {
  const std::wstring number = Trimmed(text);
  if (!IsDecimal(number, true)) return false;
  errno = 0;
  const long long parsed = std::wcstoll(number.c_str(), nullptr, 10);
  if (errno == ERANGE || parsed < INT_MIN || parsed > INT_MAX) return false;
  *value = static_cast<int>(parsed);
  return true;
}

bool CSkinReader::ParseUInt(const std::wstring& text, UINT* value) {
  const std::wstring number = Trimmed(text);
  if (!IsDecimal(number, false)) return false;
  errno = 0;
  const unsigned long long parsed = std::wcstoull(number.c_str(), nullptr, 10);
  if (errno == ERANGE || parsed > UINT_MAX) return false;
  *value = static_cast<UINT>(parsed);
  return true;
}

bool CSkinReader::ReadInt(CXmlDom& dom, const wchar_t* name, int* value) {
  std::wstring text;
  if (!dom.GetAttribString(name, text)) return false;
  return ParseInt(text, value);
}

bool CSkinReader::ReadSize(CXmlDom& dom, const wchar_t* name, int* value) {
  int read = 0;
  if (!ReadInt(dom, name, &read)) return false;
  *value = read < 0 ? 0 : read;
  return true;
}

bool CSkinReader::ReadUInt(CXmlDom& dom, const wchar_t* name, UINT* value) {
  std::wstring text;
  if (!dom.GetAttribString(name, text)) return false;
  return ParseUInt(text, value);
}

bool CSkinReader::ReadColour(CXmlDom& dom, const wchar_t* name, COLORREF* value) {
  UINT read = 0;
  if (!ReadUInt(dom, name, &read)) return false;
  *value = static_cast<COLORREF>(read);
  return true;
}

bool CSkinReader::ReadText(CXmlDom& dom, const wchar_t* name, std::wstring* value) {
  return dom.GetAttribString(name, *value) != 0;
}

void CSkinReader::ReadImage(CXmlDom& dom, const wchar_t* name, const std::wstring& folder, tagSkinItem* item,
                            fw::ScopedBitmap* image) {
  std::wstring file;
  if (!dom.GetAttribString(name, file) || file.empty()) return;
  // The first image that loads fixes a size the skin left at 0; the later
  // ones are scaled to it.
  HBITMAP loaded = nullptr;
  if (LoadPictureBitmap(&loaded, folder + file, &item->width, &item->height)) image->Reset(loaded);
}

void CSkinReader::ReadSound(CXmlDom& dom, const wchar_t* name, const std::wstring& folder, std::wstring* path) {
  std::wstring file;
  if (!dom.GetAttribString(name, file)) return;
  // An empty name is no sound, not the folder.
  *path = file.empty() ? std::wstring() : folder + file;
}

std::unique_ptr<tagSkinItem> CSkinReader::ReadItem(CXmlDom& dom, const std::wstring& folder) {
  auto item = std::make_unique<tagSkinItem>();
  tagSkinItem& i = *item;
  ReadInt(dom, L"skintype", &i.skintype);
  ReadText(dom, L"id", &i.id);
  ReadInt(dom, L"drawtype", &i.drawtype);
  ReadSize(dom, L"width", &i.width);
  ReadSize(dom, L"height", &i.height);
  ReadText(dom, L"leftid", &i.leftid);
  ReadText(dom, L"topid", &i.topid);
  ReadText(dom, L"rightid", &i.rightid);
  ReadText(dom, L"bottomid", &i.bottomid);
  ReadInt(dom, L"left", &i.left);
  ReadInt(dom, L"top", &i.top);
  ReadInt(dom, L"right", &i.right);
  ReadInt(dom, L"bottom", &i.bottom);
  ReadColour(dom, L"colorbg", &i.colorbg);
  ReadInt(dom, L"linewidth", &i.linewidth);

  const struct {
    const wchar_t* name;
    std::wstring* field;
  } backgrounds[] = {
      {L"normalbkgleft", &i.normalbkgleft},   {L"normalbkgmid", &i.normalbkgmid},
      {L"normalbkgright", &i.normalbkgright}, {L"onbkgleft", &i.onbkgleft},
      {L"onbkgmid", &i.onbkgmid},             {L"onbkgright", &i.onbkgright},
      {L"downbkgleft", &i.downbkgleft},       {L"downbkgmid", &i.downbkgmid},
      {L"downbkgright", &i.downbkgright},     {L"disablebkgleft", &i.disablebkgleft},
      {L"disablebkgmid", &i.disablebkgmid},   {L"disablebkgright", &i.disablebkgright},
  };
  for (const auto& background : backgrounds) ReadText(dom, background.name, background.field);

  ReadInt(dom, L"fontsize", &i.fontsize);
  ReadColour(dom, L"normalclr", &i.normalclr);
  ReadColour(dom, L"onclr", &i.onclr);
  ReadUInt(dom, L"drawformat", &i.drawformat);
  ReadText(dom, L"fonttype", &i.fonttype);
  ReadText(dom, L"caption", &i.caption);
  ReadText(dom, L"normalicon", &i.normalicon);
  ReadText(dom, L"onicon", &i.onicon);

  ReadImage(dom, L"normal", folder, &i, &i.normal);
  ReadImage(dom, L"down", folder, &i, &i.down);
  ReadImage(dom, L"hover", folder, &i, &i.hover);
  ReadImage(dom, L"disable", folder, &i, &i.disable);
  ReadSound(dom, L"sound_down", folder, &i.sound_down);
  ReadSound(dom, L"sound_hover", folder, &i.sound_hover);
  return item;
}
