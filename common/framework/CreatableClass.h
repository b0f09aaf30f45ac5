#pragma once
#include <windows.h>

#include <memory>

#include "Wnd.h"

namespace fw {

// A window class that a program can make from its name at run time: the
// name is all the caller knows, and the class's own Create makes the window.
// A class registers itself in its source file with FW_CREATABLE_CLASS.
//
// A static library's object that nothing names is left out of the program,
// and its registration with it; a library holding creatable classes makes
// every program that links it ask for each registration by its symbol,
// fw_creatable_<class> (see common/widgets/CMakeLists.txt).
class CreatableClass {
 public:
  // A new object with its window made from `args`; nullptr when the window
  // cannot be made.
  using Maker = std::unique_ptr<Wnd> (*)(const CreateArgs& args);

  // Registers `maker` under `name`; the first class of a name keeps it.
  CreatableClass(const wchar_t* name, Maker maker);

  // An object of the class registered under `name` (case-sensitive), its
  // window made from `args`; nullptr for an unknown name or a window that
  // cannot be made.
  static std::unique_ptr<Wnd> Create(const wchar_t* name, const CreateArgs& args);
};

template <typename T>
std::unique_ptr<Wnd> MakeCreatable(const CreateArgs& args) {
  auto window = std::make_unique<T>();
  if (!window->Create(args)) return nullptr;
  return window;
}

}  // namespace fw

#define FW_CREATABLE_WIDEN_(text) L##text
#define FW_CREATABLE_WIDEN(text) FW_CREATABLE_WIDEN_(text)
// At namespace scope in the class's source file. The registration has C
// linkage so that its symbol is the same for every compiler setting.
#define FW_CREATABLE_CLASS(T)                       \
  extern "C" {                                      \
  extern const fw::CreatableClass fw_creatable_##T; \
  }                                                 \
  const fw::CreatableClass fw_creatable_##T(FW_CREATABLE_WIDEN(#T), &fw::MakeCreatable<T>)
