#include "SkinFileCache.h"

#include <objbase.h>

#include <map>
#include <memory>

#include "XmlDom.h"

namespace {

// The one open scope: its thread and what it has parsed. Documents are only
// ever touched on that thread.
struct OpenScope {
  DWORD thread = 0;
  std::map<std::wstring, std::unique_ptr<CXmlDom>> documents;
};

OpenScope* g_scope = nullptr;

}  // namespace

CSkinFileCache::Scope::Scope() {
  // A scope inside another, or on a second thread, adds nothing.
  if (g_scope) return;
  // The documents are released before COM goes from this thread.
  com_ = ::CoInitialize(nullptr);
  g_scope = new OpenScope{::GetCurrentThreadId(), {}};
  owner_ = true;
}

CSkinFileCache::Scope::~Scope() {
  if (!owner_) return;
  delete g_scope;
  g_scope = nullptr;
  if (SUCCEEDED(com_)) ::CoUninitialize();
}

int CSkinFileCache::Open(CXmlDom& dom, const std::wstring& path) {
  if (!g_scope || g_scope->thread != ::GetCurrentThreadId()) return dom.Open(path.c_str(), true, nullptr);
  auto found = g_scope->documents.find(path);
  if (found != g_scope->documents.end()) return dom.OpenShared(*found->second);
  auto parsed = std::make_unique<CXmlDom>();
  if (!parsed->Open(path.c_str(), true, nullptr)) return 0;
  const int opened = dom.OpenShared(*parsed);
  g_scope->documents.emplace(path, std::move(parsed));
  return opened;
}
