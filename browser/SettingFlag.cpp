#include "SettingFlag.h"

#include "SysConf.h"

int SaveSettingFlag(CSysConf& settings, int CSysConf::*flag, int value) {
  settings.*flag = value;
  CSysConf stored;
  stored.Load();
  stored.*flag = value;
  return stored.Save();
}
