#pragma once
// The folder of the programs a test starts from outside (the browser, the
// launcher, the wizard, with the DLLs and files they load): the release
// build's when this test tree was configured with one, so that the programs a
// parent installs are the ones driven; otherwise the test's own folder.
#include <string>

#include "CommHelper.h"

inline std::wstring ReleaseFolder() {
#ifdef HOLLIN_RELEASE_BIN
  return HOLLIN_RELEASE_BIN;
#else
  return CCommHelper::GetExeDir(true);
#endif
}
