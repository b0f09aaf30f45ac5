#include "SkinFileCache.h"

#include <objbase.h>

#include <map>
#include <memory>

#include "XmlDom.h"

// What the scope open on this thread has parsed; documents are only ever
// touched on the thread that parsed them.
struct CSkinFileCache::Documents {
  std::map<std::wstring, std::unique_ptr<CXmlDom>> byPath;
};

namespace {

thread_local CSkinFileCache::Documents* t_open = nullptr;

}  // namespace

CSkinFileCache::Scope::Scope() {
  // A scope inside another adds nothing.
  if (t_open) return;
  // The documents are released before COM goes from this thread.
  com_ = ::CoInitialize(nullptr);
  documents_ = std::make_unique<Documents>();
  t_open = documents_.get();
}

CSkinFileCache::Scope::~Scope() {
  if (!documents_) return;
  t_open = nullptr;
  documents_.reset();
  if (SUCCEEDED(com_)) ::CoUninitialize();
}

int CSkinFileCache::Open(CXmlDom& dom, const std::wstring& path) {
  if (!t_open) return dom.Open(path.c_str(), true, nullptr);
  auto found = t_open->byPath.find(path);
  if (found != t_open->byPath.end()) return dom.OpenShared(*found->second);
  auto parsed = std::make_unique<CXmlDom>();
  if (!parsed->Open(path.c_str(), true, nullptr)) return 0;
  const int opened = dom.OpenShared(*parsed);
  t_open->byPath.emplace(path, std::move(parsed));
  return opened;
}
