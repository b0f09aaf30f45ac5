#pragma once
#include "Wnd.h"

// Static text on a transparent background: the parent's background shows
// through around the letters.
class CStaticEx : public fw::Wnd {
 protected:
  bool OnReflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};
