#include "WebBrowserEvents.h"

#include <exdisp.h>
#include <exdispid.h>
#include <ocidl.h>

namespace fw {

namespace {

// The value behind an argument the browser passes by reference.
const VARIANT* Deref(const VARIANT& argument) {
  if (argument.vt == (VT_BYREF | VT_VARIANT) && argument.pvarVal) return argument.pvarVal;
  return &argument;
}

std::wstring Text(const VARIANT& argument) {
  const VARIANT* value = Deref(argument);
  if (value->vt == VT_BSTR && value->bstrVal) return std::wstring(value->bstrVal, ::SysStringLen(value->bstrVal));
  if (value->vt == (VT_BYREF | VT_BSTR) && value->pbstrVal && *value->pbstrVal) return *value->pbstrVal;
  return std::wstring();
}

LONG Number(const VARIANT& argument) {
  const VARIANT* value = Deref(argument);
  VARIANT converted;
  ::VariantInit(&converted);
  if (FAILED(::VariantChangeType(&converted, const_cast<VARIANT*>(value), 0, VT_I4))) return 0;
  return converted.lVal;
}

IDispatch* Browser(const VARIANT& argument) {
  const VARIANT* value = Deref(argument);
  return value->vt == VT_DISPATCH ? value->pdispVal : nullptr;
}

// The cancel flag of an event; nullptr when the argument is not one.
VARIANT_BOOL* CancelFlag(const VARIANT& argument) {
  return argument.vt == (VT_BYREF | VT_BOOL) ? argument.pboolVal : nullptr;
}

void WriteCancel(VARIANT_BOOL* flag, bool cancel) {
  if (flag) *flag = cancel ? VARIANT_TRUE : VARIANT_FALSE;
}

}  // namespace

bool WebBrowserEvents::Advise(IUnknown* browser) {
  IConnectionPointContainer* container = nullptr;
  if (!browser || FAILED(browser->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container))))
    return false;
  HRESULT hr = container->FindConnectionPoint(DIID_DWebBrowserEvents2, &point_);
  container->Release();
  if (SUCCEEDED(hr)) hr = point_->Advise(static_cast<IDispatch*>(this), &cookie_);
  if (SUCCEEDED(hr)) return true;
  if (point_) point_->Release();
  point_ = nullptr;
  return false;
}

void WebBrowserEvents::Unadvise() {
  if (!point_) return;
  point_->Unadvise(cookie_);
  point_->Release();
  point_ = nullptr;
  cookie_ = 0;
}

STDMETHODIMP WebBrowserEvents::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IDispatch || iid == DIID_DWebBrowserEvents2) {
    *object = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) WebBrowserEvents::AddRef() { return static_cast<ULONG>(::InterlockedIncrement(&references_)); }

STDMETHODIMP_(ULONG) WebBrowserEvents::Release() {
  const LONG left = ::InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

STDMETHODIMP WebBrowserEvents::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

STDMETHODIMP WebBrowserEvents::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP WebBrowserEvents::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                      UINT*) {
  if (!params || (params->cArgs && !params->rgvarg)) return E_INVALIDARG;
  if (!handler_) return S_OK;
  return Dispatch(id, *params);
}

// Arguments arrive in reverse order: the last one of the event is rgvarg[0].
HRESULT WebBrowserEvents::Dispatch(DISPID id, DISPPARAMS& params) {
  const VARIANT* a = params.rgvarg;
  const UINT count = params.cArgs;
  bool cancel = false;
  switch (id) {
    case DISPID_BEFORENAVIGATE2: {
      if (count != 7) return DISP_E_BADPARAMCOUNT;
      VARIANT_BOOL* flag = CancelFlag(a[0]);
      cancel = flag && *flag != VARIANT_FALSE;
      VARIANT* postData = const_cast<VARIANT*>(Deref(a[2]));
      handler_->OnBeforeNavigate2(Browser(a[6]), Text(a[5]), static_cast<DWORD>(Number(a[4])), Text(a[3]), postData,
                                  Text(a[1]), cancel);
      WriteCancel(flag, cancel);
      return S_OK;
    }
    case DISPID_DOCUMENTCOMPLETE:
      if (count != 2) return DISP_E_BADPARAMCOUNT;
      handler_->OnDocumentComplete(Browser(a[1]), Text(a[0]));
      return S_OK;
    case DISPID_NAVIGATEERROR: {
      if (count != 5) return DISP_E_BADPARAMCOUNT;
      VARIANT_BOOL* flag = CancelFlag(a[0]);
      cancel = flag && *flag != VARIANT_FALSE;
      handler_->OnNavigateError(Browser(a[4]), Text(a[3]), Text(a[2]), Number(a[1]), cancel);
      WriteCancel(flag, cancel);
      return S_OK;
    }
    case DISPID_TITLECHANGE:
      if (count != 1) return DISP_E_BADPARAMCOUNT;
      handler_->OnTitleChange(Text(a[0]));
      return S_OK;
    case DISPID_NEWWINDOW2: {
      if (count != 2) return DISP_E_BADPARAMCOUNT;
      if (a[1].vt != (VT_BYREF | VT_DISPATCH)) return DISP_E_TYPEMISMATCH;
      VARIANT_BOOL* flag = CancelFlag(a[0]);
      if (!flag) return DISP_E_TYPEMISMATCH;
      handler_->OnNewWindow2(a[1].ppdispVal, flag);
      WriteCancel(flag, *flag != VARIANT_FALSE);
      return S_OK;
    }
    case DISPID_PROGRESSCHANGE:
      if (count != 2) return DISP_E_BADPARAMCOUNT;
      handler_->OnProgressChange(Number(a[1]), Number(a[0]));
      return S_OK;
    case DISPID_FILEDOWNLOAD: {
      // IE7 on: ActiveDocument, Cancel; IE6: Cancel alone.
      if (count != 1 && count != 2) return DISP_E_BADPARAMCOUNT;
      VARIANT_BOOL* flag = CancelFlag(a[0]);
      if (!flag) return DISP_E_TYPEMISMATCH;
      cancel = *flag != VARIANT_FALSE;
      handler_->OnFileDownload(count == 1 || Number(a[1]) != 0, cancel);
      WriteCancel(flag, cancel);
      return S_OK;
    }
    case DISPID_NAVIGATECOMPLETE2:
      if (count != 2) return DISP_E_BADPARAMCOUNT;
      handler_->OnNavigateComplete2(Browser(a[1]), Text(a[0]));
      return S_OK;
    default:
      return S_OK;
  }
}

}  // namespace fw
