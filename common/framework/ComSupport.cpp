#include "ComSupport.h"

#include <cstring>
#include <new>

// The conversions behind _bstr_t and _variant_t: narrow text is in the ANSI
// code page of the calling thread, as everywhere at the process boundary.
namespace _com_util {

BSTR WINAPI ConvertStringToBSTR(const char* source)
{
    if (!source)
        return nullptr;
    const int sourceBytes = static_cast<int>(std::strlen(source));
    if (sourceBytes == 0) {
        BSTR empty = ::SysAllocStringLen(nullptr, 0);
        if (!empty)
            _com_issue_error(E_OUTOFMEMORY);
        return empty;
    }
    const int wideLength = ::MultiByteToWideChar(CP_THREAD_ACP, 0, source, sourceBytes, nullptr, 0);
    if (wideLength <= 0)
        _com_issue_error(HRESULT_FROM_WIN32(::GetLastError()));
    BSTR result = ::SysAllocStringLen(nullptr, static_cast<UINT>(wideLength));
    if (!result)
        _com_issue_error(E_OUTOFMEMORY);
    ::MultiByteToWideChar(CP_THREAD_ACP, 0, source, sourceBytes, result, wideLength);
    return result;
}

// The caller frees the result with delete[] (as _bstr_t does).
char* WINAPI ConvertBSTRToString(BSTR source)
{
    if (!source)
        return nullptr;
    const int wideLength = static_cast<int>(::SysStringLen(source));
    const int bytes = wideLength == 0
        ? 0
        : ::WideCharToMultiByte(CP_THREAD_ACP, 0, source, wideLength, nullptr, 0, nullptr, nullptr);
    if (bytes < 0 || (wideLength > 0 && bytes == 0))
        _com_issue_error(HRESULT_FROM_WIN32(::GetLastError()));
    char* result = new (std::nothrow) char[bytes + 1];
    if (!result)
        _com_issue_error(E_OUTOFMEMORY);
    if (bytes > 0)
        ::WideCharToMultiByte(CP_THREAD_ACP, 0, source, wideLength, result, bytes, nullptr, nullptr);
    result[bytes] = '\0';
    return result;
}

}  // namespace _com_util

// Raises the error with the error information of the object that failed, when
// it offers any for that interface.
void WINAPI _com_issue_errorex(HRESULT hr, IUnknown* failedObject, REFIID iid)
{
    IErrorInfo* errorInfo = nullptr;
    if (failedObject) {
        ISupportErrorInfo* support = nullptr;
        if (SUCCEEDED(failedObject->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(&support)))) {
            if (support->InterfaceSupportsErrorInfo(iid) == S_OK && ::GetErrorInfo(0, &errorInfo) != S_OK)
                errorInfo = nullptr;
            support->Release();
        }
    }
    // _com_error takes over the reference GetErrorInfo gave us.
    __mingw_com_error_handler(hr, errorInfo);
}

namespace fw {

ComThreadScope::ComThreadScope() : result_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}

ComThreadScope::~ComThreadScope()
{
    // S_FALSE (already initialised) still needs its matching uninitialise.
    if (SUCCEEDED(result_))
        ::CoUninitialize();
}

}  // namespace fw
