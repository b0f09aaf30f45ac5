#include "MsgDialog.h"

#include "CommHelper.h"
#include "SkinResources.h"

namespace {

HICON LoadIconFile(const std::wstring& path, int size) {
  return static_cast<HICON>(::LoadImageW(nullptr, path.c_str(), IMAGE_ICON, size, size, LR_LOADFROMFILE));
}

HICON LoadIconResource(HINSTANCE module, int size) {
  return static_cast<HICON>(
      ::LoadImageW(module, MAKEINTRESOURCEW(IDI_SKIN_PROGRAM), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

// The width an item takes: its laid-out one, or the skin's when the layout
// left a side open.
int ItemWidth(const tagSkinItem& item) {
  if (item.rect.left < 0 || item.rect.right < 0) return item.width;
  return item.rect.right - item.rect.left;
}

void PlaceAt(tagSkinItem* item, int left, int width) {
  item->rect.left = left;
  item->rect.right = left + width;
}

}  // namespace

CMsgDialog::CMsgDialog(const std::wstring& text, HWND parent, int type, HINSTANCE module)
    : CFrameDlg(IDD_SKIN_MSGDIALOG, parent, module), text_(text), type_(type) {
  m_strSkinElement = L"msgdialog";
  m_strSkinFile = L"skin.xml";
  m_strSkinTheme = L"default";
  LoadIcons(module);
}

void CMsgDialog::LoadIcons(HINSTANCE module) {
  // The logo is named by the version resource, beside the program file.
  std::wstring logo;
  if (CCommHelper::GetAppVersionString(L"logo_icon", &logo) && !logo.empty()) {
    std::wstring path = CCommHelper::GetModuleFilePath(module);
    size_t slash = path.find_last_of(L'\\');
    path = (slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1)) + logo;
    largeIcon_.Reset(LoadIconFile(path, 32));
    if (largeIcon_) smallIcon_.Reset(LoadIconFile(path, 16));
  }
  if (largeIcon_) return;
  // Inside a DLL the icon may still be the program's: try the module, then
  // the program file.
  for (HINSTANCE source : {module, ::GetModuleHandleW(nullptr)}) {
    largeIcon_.Reset(LoadIconResource(source, 32));
    if (!largeIcon_) continue;
    smallIcon_.Reset(LoadIconResource(source, 16));
    return;
  }
}

BOOL CMsgDialog::OnInitDialog() {
  ok_.SubclassButton(Item(IDOK));
  cancel_.SubclassButton(Item(IDCANCEL));
  textControl_ = Item(IDC_SKIN_MSGTEXT);

  SetCaptionButtons(false, false, false, true);
  CFrameDlg::OnInitDialog();

  if (largeIcon_) ::SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(largeIcon_.Get()));
  if (smallIcon_) ::SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.Get()));
  ::SendMessageW(hwnd_, DM_SETDEFID, IDOK, 0);
  SetMovable(TRUE);
  SetTransparentChildren(TRUE);

  ::ShowWindow(cancel_.Hwnd(), type_ == kOkCancel ? SW_SHOW : SW_HIDE);
  // The skin paints the message; the control only marks the place.
  if (textControl_) ::SetWindowTextW(textControl_, L"");
  if (m_skin.Width() && m_skin.Height())
    ::SetWindowPos(hwnd_, nullptr, 0, 0, m_skin.Width(), m_skin.Height(), SWP_NOMOVE | SWP_NOZORDER);
  ::SetFocus(ok_.Hwnd());
  return FALSE;  // the focus is set
}

void CMsgDialog::BindSkinItems() {
  CFrameDlg::BindSkinItems();
  SetSkinItemWnd(L"text", textControl_);
  SetSkinItemWnd(L"ok", ok_.Hwnd());
  SetButtonSkin(L"ok", &ok_);
  if (type_ != kOkCancel) return;
  ::ShowWindow(cancel_.Hwnd(), SW_SHOW);
  SetSkinItemWnd(L"cancel", cancel_.Hwnd());
  SetButtonSkin(L"cancel", &cancel_);
}

void CMsgDialog::OnSkinPrePaint() {
  CFrameDlg::OnSkinPrePaint();
  m_skin.SetItemText(L"text", text_, DT_CENTER, false);
}

void CMsgDialog::OnSkinLayout() {
  CFrameDlg::OnSkinLayout();
  PlaceButtons();
}

// OK centred under the text; with Cancel, the two centred as a pair.
void CMsgDialog::PlaceButtons() {
  tagSkinItem* text = m_skin.FindItem(L"text");
  tagSkinItem* ok = m_skin.FindItem(L"ok");
  if (!text || !ok) return;
  const int textLeft = text->rect.left;
  const int textWidth = text->rect.right - text->rect.left;
  const int okWidth = ItemWidth(*ok);
  // Any type but OK-and-Cancel shows OK alone.
  if (type_ != kOkCancel) {
    PlaceAt(ok, textLeft + (textWidth - okWidth) / 2, okWidth);
    return;
  }
  tagSkinItem* cancel = m_skin.FindItem(L"cancel");
  if (!cancel) return;
  const int left = textLeft + (textWidth - 2 * okWidth - kButtonGap) / 2;
  PlaceAt(ok, left, okWidth);
  PlaceAt(cancel, left + okWidth + kButtonGap, ItemWidth(*cancel));
}

void CMsgDialog::OnOK() {
  result_ = kOk;
  EndDialog(IDOK);
}

void CMsgDialog::OnCancel() {
  result_ = result_ == kClosing ? kClosed : kCancelled;
  EndDialog(IDCANCEL);
}

bool CMsgDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  // Closing runs the Cancel path, which then reports "closed".
  if (message == WM_CLOSE) result_ = kClosing;
  return CFrameDlg::OnMessage(message, wParam, lParam, result);
}

bool CMsgDialog::PreTranslateMessage(MSG& message) {
  // F5 goes to the focused control as it is, past the dialog's key handling.
  if (message.message == WM_KEYDOWN && message.wParam == VK_F5) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
    return true;
  }
  return CFrameDlg::PreTranslateMessage(message);
}
