#include "SkinFileCache.h"

#include <map>
#include <memory>

#include "ComSupport.h"
#include "XmlDom.h"

// What the scope open on this thread has parsed; documents are only ever
// touched on the thread that parsed them, and released before COM goes
// from it.
struct CSkinFileCache::Documents {
  fw::ComThreadScope com;
  std::map<std::wstring, std::unique_ptr<CXmlDom>> byPath;
};

namespace {

thread_local CSkinFileCache::Documents* t_open = nullptr;

}  // namespace

CSkinFileCache::Scope::Scope() {
  // A scope inside another adds nothing.
  if (t_open) return;
  documents_ = std::make_unique<Documents>();
  t_open = documents_.get();
}

CSkinFileCache::Scope::~Scope() {
  if (!documents_) return;
  t_open = nullptr;
  documents_.reset();
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
