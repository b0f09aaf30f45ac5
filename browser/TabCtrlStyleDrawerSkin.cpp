// The drawer's skin: the `tabctrl` element of a theme's skin.xml.
#include "TabCtrlStyleDrawer.h"

#include "ComSupport.h"
#include "CommHelper.h"
#include "SkinFileCache.h"
#include "SkinReader.h"
#include "XmlDom.h"

namespace {

std::wstring FolderOf(const std::wstring& path) {
  size_t slash = path.find_last_of(L'\\');
  if (slash != std::wstring::npos) return path.substr(0, slash + 1);
  wchar_t current[MAX_PATH] = {};
  DWORD length = ::GetCurrentDirectoryW(MAX_PATH, current);
  std::wstring folder(current, length < MAX_PATH ? length : 0);
  return folder.empty() || folder.back() == L'\\' ? folder : folder + L"\\";
}

}  // namespace

void TabCtrlStyleDrawer::SetSkin(const TabCtrl*, const wchar_t* theme) {
  skin_.path = GetThisModuleDir(true) + L"theme\\" + (theme ? theme : L"") + L"\\skin.xml";
  const std::wstring path = skin_.path;
  LoadTabCtrlSkin(path.c_str(), L"tabctrl");
}

bool TabCtrlStyleDrawer::LoadTabCtrlSkin(const wchar_t* path, const wchar_t* element) {
  if (!path || !element) return true;
  try {
    fw::ComThreadScope com;
    CXmlDom dom;
    if (!CSkinFileCache::Open(dom, path)) return true;
    // Without the element nothing is read: the file's other elements belong
    // to other windows.
    if (!dom.SelectNode(element)) return true;
    ReadElement(dom);
    skin_.imageFolder = FolderOf(path);
    for (bool more = dom.MoveToFirstChild(); more; more = dom.MoveToNextSibling()) {
      std::wstring name;
      if (dom.GetNodeName(name) && name == L"#comment") continue;
      ReadItem(dom);
    }
    dom.Close();
  } catch (const _com_error&) {
    // A document that cannot be walked leaves what was read so far.
  }
  return true;
}

void TabCtrlStyleDrawer::ReadElement(CXmlDom& dom) {
  CSkinReader::ReadColour(dom, L"ctrlareabackclr", &skin_.ctrlAreaBackColor);
  CSkinReader::ReadColour(dom, L"wndbackclr", &skin_.wndsAreaBackColor);
  CSkinReader::ReadInt(dom, L"height", &skin_.stripHeight);
  CSkinReader::ReadInt(dom, L"width", &skin_.stripWidth);
  CSkinReader::ReadInt(dom, L"offset", &skin_.offset);
}

void TabCtrlStyleDrawer::ReadItem(CXmlDom& dom) {
  std::wstring id;
  if (!dom.GetAttribString(L"id", id)) return;
  if (id == L"tab") {
    CSkinReader::ReadInt(dom, L"width", &skin_.tabWidth);
    CSkinReader::ReadInt(dom, L"height", &skin_.tabHeight);
    CSkinReader::ReadColour(dom, L"clrborder", &skin_.borderColor);
  } else if (id == L"tab_nor") {
    ReadTabImages(dom, &skin_.normalTab);
  } else if (id == L"tab_sel") {
    ReadTabImages(dom, &skin_.currentTab);
  } else if (id == L"text") {
    CSkinReader::ReadText(dom, L"font", &skin_.fontFace);
    CSkinReader::ReadInt(dom, L"fontsize", &skin_.fontSize);
    CSkinReader::ReadColour(dom, L"normalclr", &skin_.textColor);
  } else if (id == L"close") {
    ReadButtonImages(dom, &skin_.close);
  } else if (id == L"closeall") {
    ReadButtonImages(dom, &skin_.closeAll);
  } else if (id == L"add") {
    ReadButtonImages(dom, &skin_.add);
  } else if (id == L"left") {
    ReadButtonImages(dom, &skin_.left);
  } else if (id == L"right") {
    ReadButtonImages(dom, &skin_.right);
  }
}

void TabCtrlStyleDrawer::ReadTabImages(CXmlDom& dom, TabImages* images) {
  ReadImage(dom, L"normal", &images->normal, &images->width, &images->height);
  ReadImage(dom, L"down", &images->down, &images->width, &images->height);
  ReadImage(dom, L"hover", &images->hover, &images->width, &images->height);
}

void TabCtrlStyleDrawer::ReadButtonImages(CXmlDom& dom, ButtonImages* images) {
  ReadImage(dom, L"normal", &images->normal, &images->width, &images->height);
  ReadImage(dom, L"down", &images->down, &images->width, &images->height);
  ReadImage(dom, L"hover", &images->hover, &images->width, &images->height);
  ReadImage(dom, L"disable", &images->disable, &images->width, &images->height);
  CSkinReader::ReadText(dom, L"caption", &images->caption);
}

bool TabCtrlStyleDrawer::ReadImage(CXmlDom& dom, const wchar_t* name, fw::ScopedBitmap* bitmap, int* width,
                                   int* height) {
  std::wstring file;
  if (!dom.GetAttribString(name, file)) return false;
  HBITMAP loaded = nullptr;
  int loadedWidth = 0;
  int loadedHeight = 0;
  if (file.empty() || !LoadPictureBitmap(&loaded, skin_.imageFolder + file, &loadedWidth, &loadedHeight)) {
    bitmap->Reset();
    return false;
  }
  bitmap->Reset(loaded);
  *width = loadedWidth;
  *height = loadedHeight;
  return true;
}
