// Page and form helpers of the control: fields, elements and scripts of the
// loaded document.
#include "CHtmlCtrl.h"

#include <dispex.h>

#include <cwchar>

namespace {

const wchar_t kNoDocument[] = L"Failed to get HTML document COM object";

std::wstring Text(BSTR text) { return text ? std::wstring(text, ::SysStringLen(text)) : std::wstring(); }

class Bstr {
 public:
  explicit Bstr(const std::wstring& text) : value_(::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
  ~Bstr() { ::SysFreeString(value_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  operator BSTR() const { return value_; }

 private:
  BSTR value_;
};

bool Equal(const std::wstring& a, const wchar_t* b) { return ::_wcsicmp(a.c_str(), b) == 0; }

}  // namespace

IHTMLElement* CHtmlCtrl::GetElement(const std::wstring& name) const {
  IHTMLDocument2* document = GetHtmlDocument2();
  if (!document) {
    helperError_ = kNoDocument;
    return nullptr;
  }
  IHTMLElementCollection* all = nullptr;
  IHTMLElement* element = nullptr;
  if (SUCCEEDED(document->get_all(&all)) && all) {
    VARIANT key;
    ::VariantInit(&key);
    key.vt = VT_BSTR;
    key.bstrVal = ::SysAllocString(name.c_str());
    VARIANT index;
    ::VariantInit(&index);
    index.vt = VT_I4;
    index.lVal = 0;
    IDispatch* found = nullptr;
    if (SUCCEEDED(all->item(key, index, &found)) && found) {
      found->QueryInterface(IID_IHTMLElement, reinterpret_cast<void**>(&element));
      found->Release();
    }
    ::VariantClear(&key);
    all->Release();
  }
  document->Release();
  return element;
}

IHTMLStyle* CHtmlCtrl::GetElementStyle(const std::wstring& name) const {
  IHTMLElement* element = GetElement(name);
  if (!element) return nullptr;
  IHTMLStyle* style = nullptr;
  if (FAILED(element->get_style(&style))) style = nullptr;
  element->Release();
  return style;
}

bool CHtmlCtrl::SetElementHtml(const std::wstring& name, const std::wstring& html) const {
  IHTMLElement* element = GetElement(name);
  if (!element) return false;
  const bool done = SUCCEEDED(element->put_innerHTML(Bstr(html)));
  element->Release();
  return done;
}

bool CHtmlCtrl::ClickElement(const std::wstring& name) const {
  IHTMLElement* element = GetElement(name);
  if (!element) return false;
  const bool done = SUCCEEDED(element->click());
  element->Release();
  return done;
}

bool CHtmlCtrl::GetFieldValue(const std::wstring& name, std::wstring* value) const {
  IHTMLElement* element = GetElement(name);
  if (!element || !value) {
    if (element) element->Release();
    return false;
  }
  bool done = false;
  IHTMLInputElement* input = nullptr;
  IHTMLSelectElement* select = nullptr;
  IHTMLTextAreaElement* area = nullptr;
  BSTR text = nullptr;
  if (SUCCEEDED(element->QueryInterface(IID_IHTMLInputElement, reinterpret_cast<void**>(&input)))) {
    BSTR type = nullptr;
    input->get_type(&type);
    const std::wstring kind = Text(type);
    ::SysFreeString(type);
    if (Equal(kind, L"checkbox") || Equal(kind, L"radio")) {
      VARIANT_BOOL checked = VARIANT_FALSE;
      done = SUCCEEDED(input->get_checked(&checked));
      *value = checked ? L"1" : L"0";
    } else if (Equal(kind, L"text") || Equal(kind, L"hidden")) {
      done = SUCCEEDED(input->get_value(&text));
      *value = Text(text);
    }
    input->Release();
  } else if (SUCCEEDED(element->QueryInterface(IID_IHTMLSelectElement, reinterpret_cast<void**>(&select)))) {
    long index = -1;
    done = SUCCEEDED(select->get_selectedIndex(&index));
    *value = std::to_wstring(index);
    select->Release();
  } else if (SUCCEEDED(element->QueryInterface(IID_IHTMLTextAreaElement, reinterpret_cast<void**>(&area)))) {
    done = SUCCEEDED(area->get_value(&text));
    *value = Text(text);
    area->Release();
  }
  ::SysFreeString(text);
  element->Release();
  return done;
}

bool CHtmlCtrl::SetFieldValue(const std::wstring& name, const std::wstring& value) const {
  IHTMLElement* element = GetElement(name);
  if (!element) return false;
  bool done = false;
  IHTMLInputElement* input = nullptr;
  IHTMLSelectElement* select = nullptr;
  IHTMLTextAreaElement* area = nullptr;
  if (SUCCEEDED(element->QueryInterface(IID_IHTMLInputElement, reinterpret_cast<void**>(&input)))) {
    BSTR type = nullptr;
    input->get_type(&type);
    const std::wstring kind = Text(type);
    ::SysFreeString(type);
    if (Equal(kind, L"checkbox") || Equal(kind, L"radio"))
      done = SUCCEEDED(input->put_checked(value != L"0" && !value.empty() ? VARIANT_TRUE : VARIANT_FALSE));
    else if (Equal(kind, L"text") || Equal(kind, L"hidden"))
      done = SUCCEEDED(input->put_value(Bstr(value)));
    input->Release();
  } else if (SUCCEEDED(element->QueryInterface(IID_IHTMLSelectElement, reinterpret_cast<void**>(&select)))) {
    done = SUCCEEDED(select->put_selectedIndex(std::wcstol(value.c_str(), nullptr, 10)));
    select->Release();
  } else if (SUCCEEDED(element->QueryInterface(IID_IHTMLTextAreaElement, reinterpret_cast<void**>(&area)))) {
    done = SUCCEEDED(area->put_value(Bstr(value)));
    area->Release();
  }
  element->Release();
  return done;
}

bool CHtmlCtrl::CallScript(const std::wstring& function, const std::wstring* arguments, int count, VARIANT* result) {
  helperError_ = L"函数GetJScrip调用失败！";
  if (count < 0 || count > 3 || (count && !arguments)) return false;
  IHTMLDocument2* document = GetHtmlDocument2();
  if (!document) {
    helperError_ = kNoDocument;
    return false;
  }
  IDispatch* script = nullptr;
  bool done = false;
  if (SUCCEEDED(document->get_Script(&script)) && script) {
    Bstr name(function);
    LPOLESTR names[] = {name};
    DISPID id = 0;
    if (SUCCEEDED(script->GetIDsOfNames(IID_NULL, names, 1, LOCALE_SYSTEM_DEFAULT, &id))) {
      VARIANT values[3];
      for (int i = 0; i < count; ++i) {  // last argument first
        ::VariantInit(&values[i]);
        values[i].vt = VT_BSTR;
        values[i].bstrVal = ::SysAllocString(arguments[count - 1 - i].c_str());
      }
      DISPPARAMS params{count ? values : nullptr, nullptr, static_cast<UINT>(count), 0};
      done = SUCCEEDED(script->Invoke(id, IID_NULL, LOCALE_SYSTEM_DEFAULT, DISPATCH_METHOD, &params, result,
                                      nullptr, nullptr));
      for (int i = 0; i < count; ++i) ::VariantClear(&values[i]);
    }
    script->Release();
  }
  document->Release();
  if (done) helperError_.clear();
  return done;
}

std::vector<std::wstring> CHtmlCtrl::ScriptFunctionNames() const {
  std::vector<std::wstring> names;
  IHTMLDocument2* document = GetHtmlDocument2();
  if (!document) {
    helperError_ = kNoDocument;
    return names;
  }
  IDispatch* script = nullptr;
  IDispatchEx* members = nullptr;
  if (SUCCEEDED(document->get_Script(&script)) && script &&
      SUCCEEDED(script->QueryInterface(IID_IDispatchEx, reinterpret_cast<void**>(&members)))) {
    DISPID id = DISPID_STARTENUM;
    while (members->GetNextDispID(fdexEnumAll, id, &id) == S_OK) {
      BSTR name = nullptr;
      VARIANT value;
      ::VariantInit(&value);
      DISPPARAMS none{nullptr, nullptr, 0, 0};
      if (SUCCEEDED(members->GetMemberName(id, &name)) &&
          SUCCEEDED(members->InvokeEx(id, LOCALE_SYSTEM_DEFAULT, DISPATCH_PROPERTYGET, &none, &value, nullptr,
                                      nullptr)) &&
          value.vt == VT_DISPATCH) {
        // Script functions are objects whose text begins "function".
        VARIANT text;
        ::VariantInit(&text);
        if (SUCCEEDED(::VariantChangeType(&text, &value, 0, VT_BSTR)) &&
            std::wcsncmp(text.bstrVal ? text.bstrVal : L"", L"function", 8) == 0)
          names.push_back(Text(name));
        ::VariantClear(&text);
      }
      ::VariantClear(&value);
      ::SysFreeString(name);
    }
    members->Release();
  }
  if (script) script->Release();
  document->Release();
  return names;
}

std::wstring CHtmlCtrl::ErrorText(DWORD error) {
  wchar_t* buffer = nullptr;
  const DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
      reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  if (!length || !buffer) return L"FormatMessage Netive Error";
  std::wstring text(buffer, length);
  ::LocalFree(buffer);
  return text;
}
