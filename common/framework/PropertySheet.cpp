#include "PropertySheet.h"

#include "PropertyPage.h"

namespace fw {
namespace {

// PropertySheetW's callback carries no context: the sheet being built on
// this thread is remembered here for the moment of its creation.
thread_local PropertySheet* creatingSheet = nullptr;

}  // namespace

PropertySheet::PropertySheet(const std::wstring& caption, HWND parent, UINT startPage)
    : caption_(caption), parent_(parent), startPage_(startPage) {}

void PropertySheet::AddPage(PropertyPage& page) { pages_.push_back(&page); }

int PropertySheet::PageIndex(const PropertyPage& page) const {
  for (size_t i = 0; i < pages_.size(); ++i)
    if (pages_[i] == &page) return static_cast<int>(i);
  return -1;
}

PropertyPage* PropertySheet::ActivePage() const {
  HWND current = reinterpret_cast<HWND>(Send(PSM_GETCURRENTPAGEHWND));
  for (PropertyPage* page : pages_)
    if (page->Hwnd() && page->Hwnd() == current) return page;
  return nullptr;
}

INT_PTR PropertySheet::DoModal() {
  if (hwnd_ || pages_.empty() || creatingSheet) return -1;
  bool hasHelp = (flags_ & PSH_HASHELP) != 0;
  std::vector<PROPSHEETPAGEW> descriptions;
  for (PropertyPage* page : pages_) descriptions.push_back(page->Describe(hasHelp));

  PROPSHEETHEADERW header{};
  header.dwSize = sizeof(header);
  header.dwFlags = flags_ | PSH_PROPSHEETPAGE | PSH_USECALLBACK;
  header.hwndParent = parent_;
  header.hInstance = ThisModule();
  header.pszCaption = caption_.c_str();
  header.nPages = static_cast<UINT>(descriptions.size());
  header.nStartPage = startPage_ < descriptions.size() ? startPage_ : 0;
  header.ppsp = descriptions.data();
  header.pfnCallback = &SheetCallback;

  creatingSheet = this;
  INT_PTR result = ::PropertySheetW(&header);
  creatingSheet = nullptr;
  return result;
}

int CALLBACK PropertySheet::SheetCallback(HWND hwnd, UINT message, LPARAM) {
  if (message != PSCB_INITIALIZED || !creatingSheet) return 0;
  PropertySheet* sheet = creatingSheet;
  creatingSheet = nullptr;
  if (sheet->Subclass(hwnd)) sheet->OnInitDialog();
  return 0;
}

}  // namespace fw
