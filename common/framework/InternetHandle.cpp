#include "InternetHandle.h"

namespace fw {

InternetHandle& InternetHandle::operator=(InternetHandle&& other) noexcept
{
    if (this != &other) {
        Close();
        handle_ = other.Release();
    }
    return *this;
}

HINTERNET InternetHandle::Release()
{
    HINTERNET handle = handle_;
    handle_ = nullptr;
    return handle;
}

void InternetHandle::Close()
{
    if (handle_) {
        ::InternetCloseHandle(handle_);
        handle_ = nullptr;
    }
}

}  // namespace fw
