#include "CurrentSettings.h"

#include "SysConf.h"

namespace {

CSysConf* published = nullptr;

}  // namespace

// Pages exist only inside the sheet, which publishes its record before any
// page window is made.
CSysConf& CurrentSettings() { return *published; }

void PublishSettings(CSysConf* settings) { published = settings; }
