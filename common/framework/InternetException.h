#pragma once
#include <windows.h>

#include <stdexcept>
#include <string>

namespace fw {

// A failed WinINet call of the internet classes; carries the system error.
class InternetException : public std::runtime_error {
public:
    InternetException(const char* operation, DWORD error);

    DWORD error() const { return error_; }

    // Raises the exception for the calling thread's last error.
    [[noreturn]] static void ThrowLast(const char* operation);

private:
    DWORD error_;
};

}  // namespace fw
