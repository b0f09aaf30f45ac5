#pragma once
#include "EditEx.h"

// Password field: no selection by mouse, no context button, no Ctrl+V paste.
class CSkinPsdEdit : public CEditEx {
 public:
  bool PreTranslateMessage(MSG& message) override;
};
