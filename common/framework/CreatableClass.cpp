#include "CreatableClass.h"

#include <map>
#include <string>

namespace fw {

namespace {

// Made on first use: registrations run while static objects are built, in
// no order between files.
std::map<std::wstring, CreatableClass::Maker>& Registry() {
  static std::map<std::wstring, CreatableClass::Maker> classes;
  return classes;
}

}  // namespace

CreatableClass::CreatableClass(const wchar_t* name, Maker maker) {
  if (name && maker) Registry().emplace(name, maker);
}

std::unique_ptr<Wnd> CreatableClass::Create(const wchar_t* name, const CreateArgs& args) {
  if (!name) return nullptr;
  auto found = Registry().find(name);
  if (found == Registry().end()) return nullptr;
  return found->second(args);
}

}  // namespace fw
