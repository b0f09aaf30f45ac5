#include "ToolInfo.h"

namespace fw {

TOOLINFOW ToolInfo(HWND owner, UINT_PTR id) {
  TOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.hwnd = owner;
  tool.uId = id;
  return tool;
}

}  // namespace fw
