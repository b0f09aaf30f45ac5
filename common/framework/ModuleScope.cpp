#include "ModuleScope.h"

#include "StringConv.h"
#include "Wnd.h"

namespace fw {

const std::wstring& ModuleScopedName(const wchar_t* base, std::wstring* cache) {
  if (cache->empty())
    *cache = Format(L"%ls.%llx", base, static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(ThisModule())));
  return *cache;
}

}  // namespace fw
