#include "CDocHostSite.h"

#include "CHtmlCtrl.h"
#include "ProgramPage.h"

namespace {

bool Within(DWORD action, DWORD first, DWORD last) { return action >= first && action <= last; }

// The program's own pages run controls and scripts freely. Any other page
// runs scripts and safe controls without prompts, but may not script
// controls that are not marked safe (the file-system and shell objects);
// the rest, cross-domain data included, is the browser's zone default.
DWORD PolicyFor(const wchar_t* url, DWORD action, bool* decided) {
  *decided = true;
  if (IsProgramPage(url ? url : L"")) {
    if (Within(action, URLACTION_ACTIVEX_MIN, URLACTION_ACTIVEX_MAX) ||
        Within(action, URLACTION_SCRIPT_MIN, URLACTION_SCRIPT_MAX))
      return URLPOLICY_ALLOW;
  } else {
    if (action == URLACTION_ACTIVEX_RUN || action == URLACTION_SCRIPT_RUN || action == URLACTION_SCRIPT_SAFE_ACTIVEX)
      return URLPOLICY_ALLOW;
    if (Within(action, URLACTION_ACTIVEX_OVERRIDE_OBJECT_SAFETY, URLACTION_ACTIVEX_OVERRIDE_SCRIPT_SAFETY) ||
        action == URLACTION_SCRIPT_OVERRIDE_SAFETY)
      return URLPOLICY_DISALLOW;
  }
  *decided = false;
  return 0;
}

}  // namespace

CDocHostSite::CDocHostSite(HWND host, CHtmlCtrl* control) : fw::OleControlSite(host), control_(control) {}

void CDocHostSite::Detach() {
  control_ = nullptr;
  fw::OleControlSite::Detach();
}

void* CDocHostSite::QueryHostInterface(REFIID iid) {
  if (iid == __uuidof(IDocHostShowUI)) return static_cast<IDocHostShowUI*>(&showUI_);
  if (iid == IID_IDocHostUIHandler) return static_cast<IDocHostUIHandler*>(&uiHandler_);
  if (iid == IID_IInternetSecurityManager) return static_cast<IInternetSecurityManager*>(&securityManager_);
  if (iid == IID_IServiceProvider) return static_cast<IServiceProvider*>(&serviceProvider_);
  if (iid == __uuidof(IDownloadManager) && Locked()) return static_cast<IDownloadManager*>(&downloadManager_);
  return nullptr;
}

bool CDocHostSite::Locked() const { return control_ && control_->IsLocked(); }

// Java actions (0x1C00-0x1CFF, 0x1605) and every undecided action keep the
// browser's default. A policy buffer too small for a DWORD gets nothing.
HRESULT CDocHostSite::UrlActionPolicy(const wchar_t* url, DWORD action, BYTE* policy, DWORD policySize) {
  bool decided = false;
  const DWORD answer = PolicyFor(url, action, &decided);
  if (!decided) return INET_E_DEFAULT_ACTION;
  if (!policy || policySize < sizeof(DWORD)) return S_FALSE;
  *reinterpret_cast<DWORD*>(policy) = answer;
  return answer == URLPOLICY_ALLOW ? S_OK : S_FALSE;
}

STDMETHODIMP CDocHostSite::XDocHostShowUI::ShowMessage(HWND window, LPOLESTR text, LPOLESTR caption, DWORD type,
                                                       LPOLESTR helpFile, DWORD helpContext, LRESULT* result) {
  if (!site_.control_) return S_FALSE;
  return site_.control_->ShowMessage(window, text, caption, type, helpFile, helpContext, result);
}

STDMETHODIMP CDocHostSite::XDocHostUIHandler::ShowContextMenu(DWORD menuId, POINT* point, IUnknown* target,
                                                              IDispatch* reserved) {
  return site_.control_ ? site_.control_->OnShowContextMenu(menuId, point, target, reserved) : S_FALSE;
}

STDMETHODIMP CDocHostSite::XDocHostUIHandler::GetHostInfo(DOCHOSTUIINFO* info) {
  return site_.control_ ? site_.control_->OnGetHostInfo(info) : E_NOTIMPL;
}

STDMETHODIMP CDocHostSite::XDocHostUIHandler::ShowUI(DWORD id, IOleInPlaceActiveObject* active,
                                                     IOleCommandTarget* command, IOleInPlaceFrame* frame,
                                                     IOleInPlaceUIWindow* document) {
  return site_.control_ ? site_.control_->OnShowUI(id, active, command, frame, document) : S_FALSE;
}

STDMETHODIMP CDocHostSite::XDocHostUIHandler::HideUI() { return site_.control_ ? site_.control_->OnHideUI() : S_OK; }

STDMETHODIMP CDocHostSite::XDocHostUIHandler::UpdateUI() {
  return site_.control_ ? site_.control_->OnUpdateUI() : S_OK;
}

STDMETHODIMP CDocHostSite::XDocHostUIHandler::EnableModeless(BOOL enable) {
  return site_.control_ ? site_.control_->OnEnableModeless(enable) : S_OK;
}

STDMETHODIMP CDocHostSite::XDocHostUIHandler::OnDocWindowActivate(BOOL activate) {
  return site_.control_ ? site_.control_->OnDocWindowActivate(activate) : S_OK;
}

STDMETHODIMP CDocHostSite::XDocHostUIHandler::OnFrameWindowActivate(BOOL activate) {
  return site_.control_ ? site_.control_->OnFrameWindowActivate(activate) : S_OK;
}

STDMETHODIMP CDocHostSite::XDocHostUIHandler::ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window, BOOL frame) {
  return site_.control_ ? site_.control_->OnResizeBorder(border, window, frame) : S_OK;
}

STDMETHODIMP CDocHostSite::XDocHostUIHandler::TranslateAccelerator(LPMSG message, const GUID* group,
                                                                   DWORD command) {
  return site_.control_ ? site_.control_->OnTranslateAccelerator(message, group, command) : E_NOTIMPL;
}

STDMETHODIMP CDocHostSite::XDocHostUIHandler::GetOptionKeyPath(LPOLESTR* key, DWORD reserved) {
  if (site_.control_) return site_.control_->OnGetOptionKeyPath(key, reserved);
  if (key) *key = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP CDocHostSite::XDocHostUIHandler::GetDropTarget(IDropTarget* browserTarget, IDropTarget** target) {
  if (site_.control_) return site_.control_->OnGetDropTarget(browserTarget, target);
  if (target) *target = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP CDocHostSite::XDocHostUIHandler::GetExternal(IDispatch** external) {
  if (site_.control_) return site_.control_->OnGetExternal(external);
  if (external) *external = nullptr;
  return S_FALSE;
}

STDMETHODIMP CDocHostSite::XDocHostUIHandler::TranslateUrl(DWORD translate, OLECHAR* url, OLECHAR** translated) {
  if (site_.control_) return site_.control_->OnTranslateUrl(translate, url, translated);
  if (translated) *translated = nullptr;
  return S_FALSE;
}

STDMETHODIMP CDocHostSite::XDocHostUIHandler::FilterDataObject(IDataObject* data, IDataObject** filtered) {
  if (site_.control_) return site_.control_->OnFilterDataObject(data, filtered);
  if (filtered) *filtered = nullptr;
  return S_FALSE;
}

STDMETHODIMP CDocHostSite::XInternetSecurityManager::GetSecuritySite(IInternetSecurityMgrSite** site) {
  if (site) *site = nullptr;
  return INET_E_DEFAULT_ACTION;
}

STDMETHODIMP CDocHostSite::XInternetSecurityManager::ProcessUrlAction(LPCWSTR url, DWORD action, BYTE* policy,
                                                                      DWORD policySize, BYTE*, DWORD, DWORD, DWORD) {
  return UrlActionPolicy(url, action, policy, policySize);
}

STDMETHODIMP CDocHostSite::XServiceProvider::QueryService(REFGUID service, REFIID iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (service == IID_IInternetSecurityManager && iid == IID_IInternetSecurityManager) {
    *object = static_cast<IInternetSecurityManager*>(&site_.securityManager_);
  } else if (service == __uuidof(IDownloadManager) && iid == __uuidof(IDownloadManager) && site_.Locked()) {
    // Its service id is its interface id. The browser asks it for a file to
    // download: the stop for IE6, whose FileDownload cannot tell a file from
    // a page.
    *object = static_cast<IDownloadManager*>(&site_.downloadManager_);
  } else {
    return E_NOINTERFACE;
  }
  site_.AddRef();
  return S_OK;
}
