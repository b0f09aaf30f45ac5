#pragma once
#include <string>

#include "DataFile.h"

// The settings record of one program: the parent's rules, the browser's
// display options, the child, the home page, and the parent password. Kept
// in conf\sys.conf and (scrambled) conf\acc.conf of the data folder.
class CSysConf {
 public:
  CSysConf();
  virtual ~CSysConf() = default;

  // Reads sys.conf, then acc.conf. A missing or damaged sys.conf rewrites
  // both files from the record (with the password as acc.conf holds it) and
  // answers 0. A file there that cannot be read leaves its fields as they
  // were and nothing is written.
  int Load();
  // Writes sys.conf, then acc.conf; 1 only when both were written. Nothing
  // is written while the last Load could not read one of them.
  int Save();
  // The first of sys.conf and acc.conf that the last Load found but could
  // not read (held by another program, refused to this account); empty when
  // both were read, missing or damaged.
  std::wstring UnreadablePath() const;
  int LoadAccount();
  int SaveAccount();
  // Applies the scrambling step to acc.conf on disk; always 1.
  int ScrambleAccountFile();

  // acc.conf holds the password in the ANSI code page of the thread: a
  // character without its own character there would be stored changed and
  // never match again. Every page that takes a new password refuses such a
  // one with this text.
  static bool CanStorePassword(const std::wstring& password);
  // The same judgement for `codePage`: the password converts to it and back
  // unchanged, look-alikes and default characters included.
  static bool CanStorePassword(const std::wstring& password, unsigned codePage);
  static const wchar_t kUnstorablePasswordText[];
  // What a program that will not run over an unreadable settings file says.
  static std::wstring UnreadableText(const std::wstring& path);

  int limited = 0;
  int exit_need_pwd = 0;
  int fullscreen_always = 0;
  int login_need_pwd = 0;
  int auto_update = 1;
  int cus_ctrl = 1;
  int is_boy = 1;
  int dbclose = 1;
  int dbnewtab = 1;
  int hide_single_tab = 0;
  int show_tab_top = 1;
  int enable_filter = 0;
  int enable_log = 0;
  int block_key = 0;
  int can_change_mp = 1;
  int start_check = 1;
  int first_run = 1;
  int open_btn_sound = 1;
  int time = 0;       // daily limit in minutes
  int interval = 15;  // seconds between two of the parent's messages
  std::wstring nick_name = L"乖儿子";
  std::wstring age = L"07";
  std::wstring password;
  std::wstring sys_conf_path;
  std::wstring acc_conf_path;
  std::wstring home_url;

  // Bounds for numbers read from the file: a larger one reads as the bound, a
  // negative one or no number as a missing attribute (0).
  static constexpr int kMaxMinutes = 24 * 60;
  static constexpr int kMaxIntervalSeconds = 24 * 60 * 60;
  // Longer texts in the file are cut to this many characters: as many as an
  // edit box takes, so whatever the parent typed (a home address, a password)
  // reads back whole.
  static constexpr size_t kMaxTextChars = 32767;

 private:
  datafile::ReadResult ReadSysConf();
  bool WriteSysConf() const;

  datafile::FileState sysState_ = datafile::FileState::kMissing;
  datafile::FileState accountState_ = datafile::FileState::kMissing;
};

// The sys.conf path, for callers without a record.
std::wstring GetSysConfPath();
