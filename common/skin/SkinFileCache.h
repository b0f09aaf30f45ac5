#pragma once
#include <windows.h>

#include <memory>
#include <string>

class CXmlDom;

// Skin files parsed once while a scope is open on the calling thread: a
// window whose own skin and whose controls' skins come from one file reads
// it once as it starts. The documents go with the scope; outside one, every
// open parses the file.
class CSkinFileCache {
 public:
  struct Documents;

  class Scope {
   public:
    Scope();
    ~Scope();
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

   private:
    std::unique_ptr<Documents> documents_;
  };

  // Opens the skin file at `path` into `dom`, sharing a document this
  // thread's open scope has parsed already. 0 when it cannot be read.
  static int Open(CXmlDom& dom, const std::wstring& path);
};
