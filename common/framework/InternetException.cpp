#include "InternetException.h"

#include <wininet.h>

namespace fw {

InternetException::InternetException(const char* operation, DWORD error)
    : std::runtime_error(std::string(operation) + " failed with error " + std::to_string(error)), error_(error)
{
}

void InternetException::ThrowLast(const char* operation)
{
    const DWORD error = ::GetLastError();
    throw InternetException(operation, error ? error : ERROR_INTERNET_INTERNAL_ERROR);
}

}  // namespace fw
