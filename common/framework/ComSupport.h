#pragma once
// COM smart pointers, _bstr_t, _variant_t and _com_error. mingw-w64 ships
// these headers but not the support library behind them; ComSupport.cpp
// supplies the missing functions. Include this instead of <comdef.h>.
#include <windows.h>
#include <comdef.h>

namespace fw {

// Initialises COM (apartment-threaded) for the lifetime of the scope, so a
// worker thread uninitialises on every exit path.
class ComThreadScope {
public:
    ComThreadScope();
    ~ComThreadScope();
    ComThreadScope(const ComThreadScope&) = delete;
    ComThreadScope& operator=(const ComThreadScope&) = delete;

    bool Initialized() const { return SUCCEEDED(result_); }
    HRESULT Result() const { return result_; }

private:
    HRESULT result_;
};

// Raises _com_error for a failed result, as the smart pointers do.
inline void ThrowIfFailed(HRESULT hr)
{
    if (FAILED(hr))
        _com_issue_error(hr);
}

}  // namespace fw
