#include "Pelvinaxctrl1.h"

#include "CreatableClass.h"

FW_CREATABLE_CLASS(CPelvinaxctrl1);

// {EED5EB2E-2BCA-4C45-9774-152109C4E02D}
const CLSID& CPelvinaxctrl1::GetClsid() {
  static const CLSID kPelvinControl = {0xEED5EB2E, 0x2BCA, 0x4C45, {0x97, 0x74, 0x15, 0x21, 0x09, 0xC4, 0xE0, 0x2D}};
  return kPelvinControl;
}
