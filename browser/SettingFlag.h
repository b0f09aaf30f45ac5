#pragma once

class CSysConf;

// Changes one flag the browser sets on its own (start_check, first_run): in
// memory, and in the files through a record read fresh from them, so that
// whatever the wizard or the control panel saved meanwhile (the password
// above all) is kept. 1 when the files were written.
int SaveSettingFlag(CSysConf& settings, int CSysConf::*flag, int value);
