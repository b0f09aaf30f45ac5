#pragma once

class CSysConf;

// The settings record every page reads and writes: the sheet's own record,
// published while the sheet lives.
CSysConf& CurrentSettings();
void PublishSettings(CSysConf* settings);
