#include "BCMenuData.h"

#include "StringConv.h"

void BCMenuData::SetText(const char* text, UINT codePage) { text_ = text ? fw::ToWide(text, codePage) : L""; }

std::wstring BCMenuData::Label() const { return text_.substr(0, text_.find(L'\t')); }

std::wstring BCMenuData::Accelerator() const {
  size_t tab = text_.find(L'\t');
  return tab == std::wstring::npos ? std::wstring() : text_.substr(tab + 1);
}

void BCMenuData::SetOwnImages(fw::ScopedImageList list) {
  ownList_ = std::move(list);
  ownImageIndex = ownList_ ? 0 : -1;
}

int BCMenuData::OwnImageCount() const { return ownList_ ? ::ImageList_GetImageCount(ownList_.Get()) : 0; }
