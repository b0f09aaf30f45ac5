#pragma once
#include <windows.h>
#include <downloadmgr.h>
#include <mshtmhst.h>
#include <urlmon.h>

#include "OleControlSite.h"

class CHtmlCtrl;

// The site through which the browser asks its host: UI flags, menus, message
// boxes, drop target, window.external, and the security answers for URL
// actions. The browser may call it after the control is gone: Detach clears
// the control and later calls get default answers.
class CDocHostSite : public fw::OleControlSite {
 public:
  CDocHostSite(HWND host, CHtmlCtrl* control);
  CHtmlCtrl* Control() const { return control_; }
  void Detach() override;

  // The security manager's answer for one URL action.
  static HRESULT UrlActionPolicy(const wchar_t* url, DWORD action, BYTE* policy, DWORD policySize);

  class XDocHostShowUI : public IDocHostShowUI {
   public:
    explicit XDocHostShowUI(CDocHostSite& site) : site_(site) {}
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override { return site_.QueryInterface(iid, object); }
    STDMETHODIMP_(ULONG) AddRef() override { return site_.AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return site_.Release(); }
    STDMETHODIMP ShowMessage(HWND window, LPOLESTR text, LPOLESTR caption, DWORD type, LPOLESTR helpFile,
                             DWORD helpContext, LRESULT* result) override;
    STDMETHODIMP ShowHelp(HWND, LPOLESTR, UINT, DWORD, POINT, IDispatch*) override { return E_NOTIMPL; }

   private:
    CDocHostSite& site_;
  };

  class XDocHostUIHandler : public IDocHostUIHandler {
   public:
    explicit XDocHostUIHandler(CDocHostSite& site) : site_(site) {}
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override { return site_.QueryInterface(iid, object); }
    STDMETHODIMP_(ULONG) AddRef() override { return site_.AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return site_.Release(); }
    STDMETHODIMP ShowContextMenu(DWORD menuId, POINT* point, IUnknown* target, IDispatch* reserved) override;
    STDMETHODIMP GetHostInfo(DOCHOSTUIINFO* info) override;
    STDMETHODIMP ShowUI(DWORD id, IOleInPlaceActiveObject* active, IOleCommandTarget* command,
                        IOleInPlaceFrame* frame, IOleInPlaceUIWindow* document) override;
    STDMETHODIMP HideUI() override;
    STDMETHODIMP UpdateUI() override;
    STDMETHODIMP EnableModeless(BOOL enable) override;
    STDMETHODIMP OnDocWindowActivate(BOOL activate) override;
    STDMETHODIMP OnFrameWindowActivate(BOOL activate) override;
    STDMETHODIMP ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window, BOOL frame) override;
    STDMETHODIMP TranslateAccelerator(LPMSG message, const GUID* group, DWORD command) override;
    STDMETHODIMP GetOptionKeyPath(LPOLESTR* key, DWORD reserved) override;
    STDMETHODIMP GetDropTarget(IDropTarget* browserTarget, IDropTarget** target) override;
    STDMETHODIMP GetExternal(IDispatch** external) override;
    STDMETHODIMP TranslateUrl(DWORD translate, OLECHAR* url, OLECHAR** translated) override;
    STDMETHODIMP FilterDataObject(IDataObject* data, IDataObject** filtered) override;

   private:
    CDocHostSite& site_;
  };

  class XInternetSecurityManager : public IInternetSecurityManager {
   public:
    explicit XInternetSecurityManager(CDocHostSite& site) : site_(site) {}
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override { return site_.QueryInterface(iid, object); }
    STDMETHODIMP_(ULONG) AddRef() override { return site_.AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return site_.Release(); }
    STDMETHODIMP SetSecuritySite(IInternetSecurityMgrSite*) override { return INET_E_DEFAULT_ACTION; }
    STDMETHODIMP GetSecuritySite(IInternetSecurityMgrSite** site) override;
    STDMETHODIMP MapUrlToZone(LPCWSTR, DWORD*, DWORD) override { return INET_E_DEFAULT_ACTION; }
    STDMETHODIMP GetSecurityId(LPCWSTR, BYTE*, DWORD*, DWORD_PTR) override { return INET_E_DEFAULT_ACTION; }
    STDMETHODIMP ProcessUrlAction(LPCWSTR url, DWORD action, BYTE* policy, DWORD policySize, BYTE* context,
                                  DWORD contextSize, DWORD flags, DWORD reserved) override;
    STDMETHODIMP QueryCustomPolicy(LPCWSTR, REFGUID, BYTE**, DWORD*, BYTE*, DWORD, DWORD) override {
      return INET_E_DEFAULT_ACTION;
    }
    STDMETHODIMP SetZoneMapping(DWORD, LPCWSTR, DWORD) override { return INET_E_DEFAULT_ACTION; }
    STDMETHODIMP GetZoneMappings(DWORD, IEnumString**, DWORD) override { return INET_E_DEFAULT_ACTION; }

   private:
    CDocHostSite& site_;
  };

  // A locked page's download manager: it refuses every download, whether
  // the file would be opened or saved.
  class XDownloadManager : public IDownloadManager {
   public:
    explicit XDownloadManager(CDocHostSite& site) : site_(site) {}
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override { return site_.QueryInterface(iid, object); }
    STDMETHODIMP_(ULONG) AddRef() override { return site_.AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return site_.Release(); }
    STDMETHODIMP Download(IMoniker*, IBindCtx*, DWORD, LONG, BINDINFO*, LPCOLESTR, LPCOLESTR, UINT) override {
      return S_OK;  // handled: nothing is fetched
    }

   private:
    CDocHostSite& site_;
  };

  class XServiceProvider : public IServiceProvider {
   public:
    explicit XServiceProvider(CDocHostSite& site) : site_(site) {}
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override { return site_.QueryInterface(iid, object); }
    STDMETHODIMP_(ULONG) AddRef() override { return site_.AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return site_.Release(); }
    STDMETHODIMP QueryService(REFGUID service, REFIID iid, void** object) override;

   private:
    CDocHostSite& site_;
  };

 protected:
  void* QueryHostInterface(REFIID iid) override;

 private:
  bool Locked() const;

  CHtmlCtrl* control_;
  XDocHostShowUI showUI_{*this};
  XDocHostUIHandler uiHandler_{*this};
  XInternetSecurityManager securityManager_{*this};
  XServiceProvider serviceProvider_{*this};
  XDownloadManager downloadManager_{*this};
};
