#include "Shockwaveflash1.h"

#include "CreatableClass.h"

FW_CREATABLE_CLASS(CShockwaveflash1);

const CLSID& CShockwaveflash1::GetClsid() {
  static const CLSID kFlashPlayer = {0xD27CDB6E, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
  return kFlashPlayer;
}

bool CShockwaveflash1::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_HELP) {
    result = TRUE;
    return true;
  }
  return OleControlHost::OnMessage(message, wParam, lParam, result);
}
