#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include "DataFolderTest.h"
#include "FileScrambleGuard.h"
#include "ScopedImportPatch.h"
#include "SiteList.h"
#include "SnapshotList.h"
#include "StringConv.h"
#include "SysConf.h"
#include "TimeLog.h"
#include "WordsList.h"

namespace {

// 乖儿子 in GB2312.
const std::string kNickGb = "\xB9\xD4\xB6\xF9\xD7\xD3";

std::string DefaultSysConf() {
  return "<?xml version=\"1.0\" encoding=\"gb2312\" ?>\r\n"
         "<confs>\r\n"
         "    <ctrl limited=\"false\" time=\"0\" interval=\"15\" exit_need_pwd=\"false\" fullscreen_always=\"false\" "
         "login_need_pwd=\"false\" auto_update=\"true\" cus_ctrl=\"true\" dbclose=\"true\" dbnewtab=\"true\" "
         "hide_single_tab=\"false\" show_tab_top=\"true\" enable_filter=\"false\" enable_log=\"false\" "
         "block_key=\"false\" can_change_mp=\"true\" start_check=\"true\" first_run=\"true\" "
         "open_btn_sound=\"true\" />\r\n"
         "    <kid nick_name=\"" +
         kNickGb +
         "\" sex=\"boy\" age=\"07\" />\r\n"
         "    <home url=\"\" />\r\n"
         "</confs>\r\n";
}

std::string AccConf(const std::string& password) {
  return "<?xml version=\"1.0\" encoding=\"gb2312\" ?>\r\n<confs>\r\n    <acc pwd=\"" + password +
         "\" />\r\n</confs>\r\n";
}

// One attribute of sys.conf: where it lives, a text that differs from what
// its absence reads as, and the field's value for either.
struct Attribute {
  const char* element;
  const char* name;
  const char* present;
  int CSysConf::*flag;
  std::wstring CSysConf::*text;
  int whenPresent;
  int whenMissing;
  const wchar_t* textWhenPresent;
  const wchar_t* textWhenMissing;
};

const Attribute kAttributes[] = {
    {"ctrl", "limited", "true", &CSysConf::limited, nullptr, 1, 0, nullptr, nullptr},
    {"ctrl", "time", "90", &CSysConf::time, nullptr, 90, 0, nullptr, nullptr},
    {"ctrl", "interval", "30", &CSysConf::interval, nullptr, 30, 0, nullptr, nullptr},
    {"ctrl", "exit_need_pwd", "true", &CSysConf::exit_need_pwd, nullptr, 1, 0, nullptr, nullptr},
    {"ctrl", "fullscreen_always", "true", &CSysConf::fullscreen_always, nullptr, 1, 0, nullptr, nullptr},
    {"ctrl", "login_need_pwd", "false", &CSysConf::login_need_pwd, nullptr, 0, 1, nullptr, nullptr},
    {"ctrl", "auto_update", "false", &CSysConf::auto_update, nullptr, 0, 1, nullptr, nullptr},
    {"ctrl", "cus_ctrl", "false", &CSysConf::cus_ctrl, nullptr, 0, 1, nullptr, nullptr},
    {"ctrl", "dbclose", "false", &CSysConf::dbclose, nullptr, 0, 1, nullptr, nullptr},
    {"ctrl", "dbnewtab", "false", &CSysConf::dbnewtab, nullptr, 0, 1, nullptr, nullptr},
    {"ctrl", "hide_single_tab", "true", &CSysConf::hide_single_tab, nullptr, 1, 0, nullptr, nullptr},
    {"ctrl", "show_tab_top", "false", &CSysConf::show_tab_top, nullptr, 0, 1, nullptr, nullptr},
    {"ctrl", "enable_filter", "true", &CSysConf::enable_filter, nullptr, 1, 0, nullptr, nullptr},
    {"ctrl", "enable_log", "true", &CSysConf::enable_log, nullptr, 1, 0, nullptr, nullptr},
    {"ctrl", "block_key", "true", &CSysConf::block_key, nullptr, 1, 0, nullptr, nullptr},
    {"ctrl", "can_change_mp", "false", &CSysConf::can_change_mp, nullptr, 0, 1, nullptr, nullptr},
    {"ctrl", "start_check", "false", &CSysConf::start_check, nullptr, 0, 1, nullptr, nullptr},
    {"ctrl", "first_run", "false", &CSysConf::first_run, nullptr, 0, 1, nullptr, nullptr},
    {"ctrl", "open_btn_sound", "false", &CSysConf::open_btn_sound, nullptr, 0, 1, nullptr, nullptr},
    {"kid", "sex", "girl", &CSysConf::is_boy, nullptr, 0, 1, nullptr, nullptr},
    {"kid", "nick_name", "Moon", nullptr, &CSysConf::nick_name, 0, 0, L"Moon", L"乖儿子"},
    {"kid", "age", "05", nullptr, &CSysConf::age, 0, 0, L"05", L"07"},
    {"home", "url", "http://h.example/", nullptr, &CSysConf::home_url, 0, 0, L"http://h.example/", L""},
};

std::wstring Read(const CSysConf& conf, const Attribute& attribute) {
  return attribute.flag ? std::to_wstring(conf.*attribute.flag) : conf.*attribute.text;
}
std::wstring Present(const Attribute& attribute) {
  return attribute.flag ? std::to_wstring(attribute.whenPresent) : attribute.textWhenPresent;
}
std::wstring Missing(const Attribute& attribute) {
  return attribute.flag ? std::to_wstring(attribute.whenMissing) : attribute.textWhenMissing;
}

// A sys.conf holding every attribute of the table but `left_out`.
std::string SysConfWithout(const char* leftOut) {
  std::string text = "<?xml version=\"1.0\" encoding=\"gb2312\" ?>\n<confs>\n";
  for (const char* element : {"ctrl", "kid", "home"}) {
    text += std::string("<") + element;
    for (const Attribute& attribute : kAttributes)
      if (std::string(attribute.element) == element && std::string(attribute.name) != leftOut)
        text += std::string(" ") + attribute.name + "=\"" + attribute.present + "\"";
    text += " />\n";
  }
  return text + "</confs>\n";
}

// Wine refuses to replace or rename a file another handle holds, whatever
// that handle shares; Windows lets both through a holder that shares delete.
// So every move of the held file is counted here, and none goes through.
class HeldFileMoves {
 public:
  explicit HeldFileMoves(std::wstring held) : patch_(::GetModuleHandleW(nullptr), SetReal(), reinterpret_cast<void*>(&Move)) {
    held_ = std::move(held);
    count_ = 0;
  }
  ~HeldFileMoves() { held_.clear(); }
  bool Patched() const { return patch_.Patched(); }
  static int Count() { return count_; }

 private:
  using MoveFunction = BOOL(WINAPI*)(LPCWSTR, LPCWSTR, DWORD);
  static void* SetReal() {
    real_ = reinterpret_cast<MoveFunction>(ScopedImportPatch::Function(L"kernel32.dll", "MoveFileExW"));
    return reinterpret_cast<void*>(real_);
  }
  static bool Names(LPCWSTR path) { return path && ::lstrcmpiW(path, held_.c_str()) == 0; }
  static BOOL WINAPI Move(LPCWSTR from, LPCWSTR to, DWORD flags) {
    if (!Names(from) && !Names(to)) return real_(from, to, flags);
    ++count_;
    ::SetLastError(ERROR_SHARING_VIOLATION);
    return FALSE;
  }

  static inline MoveFunction real_ = nullptr;
  static inline std::wstring held_;
  static inline int count_ = 0;
  ScopedImportPatch patch_;
};

using SysConfTest = DataFolderTest;

TEST_F(SysConfTest, FirstStartWritesTheDefaultsInTheExactFormat) {
  CSysConf conf;
  EXPECT_EQ(folder_ + L"conf\\sys.conf", conf.sys_conf_path);
  EXPECT_EQ(folder_ + L"conf\\acc.conf", conf.acc_conf_path);
  EXPECT_EQ(conf.sys_conf_path, GetSysConfPath());
  EXPECT_EQ(DefaultSysConf(), ReadFile(L"conf\\sys.conf"));
  EXPECT_EQ(Inverted(AccConf("")), ReadFile(L"conf\\acc.conf")) << "acc.conf is stored with its head inverted";
  EXPECT_EQ(15, conf.interval);
  EXPECT_EQ(L"乖儿子", conf.nick_name);
}

TEST_F(SysConfTest, EverySettingSurvivesSaveAndLoad) {
  {
    CSysConf conf;
    conf.limited = 1;
    conf.time = 90;
    conf.interval = 30;
    conf.login_need_pwd = 1;
    conf.auto_update = 0;
    conf.is_boy = 0;
    conf.enable_filter = 1;
    conf.first_run = 0;
    conf.nick_name = L"小月亮";
    conf.age = L"05";
    // As long as a browser's address may be, and longer than any cut.
    conf.home_url = L"http://儿童.example/首页?" + std::wstring(2070, L'q');
    conf.password = L"妈妈&\"<pw>" + std::wstring(1100, L'p');
    ASSERT_EQ(1, conf.Save());
  }
  CSysConf loaded;
  EXPECT_EQ(1, loaded.limited);
  EXPECT_EQ(90, loaded.time);
  EXPECT_EQ(30, loaded.interval);
  EXPECT_EQ(1, loaded.login_need_pwd);
  EXPECT_EQ(0, loaded.auto_update);
  EXPECT_EQ(0, loaded.is_boy);
  EXPECT_EQ(1, loaded.enable_filter);
  EXPECT_EQ(0, loaded.first_run);
  EXPECT_EQ(L"小月亮", loaded.nick_name);
  EXPECT_EQ(L"05", loaded.age);
  EXPECT_EQ(L"http://儿童.example/首页?" + std::wstring(2070, L'q'), loaded.home_url);
  EXPECT_EQ(L"妈妈&\"<pw>" + std::wstring(1100, L'p'), loaded.password);
  EXPECT_NE(std::string::npos, ReadFile(L"conf\\sys.conf").find("sex=\"girl\""));
}

TEST_F(SysConfTest, EachAttributeReadsItsValueOrWhatItsAbsenceGives) {
  WriteFile(L"conf\\sys.conf", SysConfWithout(""));
  {
    CSysConf conf;
    for (const Attribute& attribute : kAttributes) EXPECT_EQ(Present(attribute), Read(conf, attribute)) << attribute.name;
  }
  for (const Attribute& missing : kAttributes) {
    WriteFile(L"conf\\sys.conf", SysConfWithout(missing.name));
    CSysConf conf;
    EXPECT_EQ(Missing(missing), Read(conf, missing)) << "without " << missing.name;
  }
}

TEST_F(SysConfTest, ReadsTheLibertiesTheFormatAllows) {
  WriteFile(L"conf\\sys.conf",
            "<?xml version=\"1.0\" encoding=\"gb2312\" ?>\n<settings>\n<!-- note -->\n"
            "<ctrl limited=\"TRUE\" exit_need_pwd=\"1\" fullscreen_always=\"yes\" block_key=\"tRuE\" time=\"45\" />\n"
            "<other x=\"1\" />\n<kid sex=\"Boy\" />\n<kid sex=\"GIRL\" nick_name=\"" +
                kNickGb + "\" />\n<CTRL time=\"5\" />\n</settings>\n");
  WriteFile(L"conf\\acc.conf", Inverted(AccConf("secret")));
  CSysConf conf;
  EXPECT_EQ(1, conf.limited);
  EXPECT_EQ(0, conf.exit_need_pwd) << "1 is not true";
  EXPECT_EQ(0, conf.fullscreen_always) << "yes is not true";
  EXPECT_EQ(1, conf.block_key);
  EXPECT_EQ(1, conf.login_need_pwd) << "a missing login_need_pwd reads as set";
  EXPECT_EQ(0, conf.interval) << "a missing interval reads 0, not 15";
  EXPECT_EQ(45, conf.time) << "element names are compared case-sensitively";
  EXPECT_EQ(0, conf.is_boy) << "the later element wins";
  EXPECT_EQ(L"乖儿子", conf.nick_name);
  EXPECT_EQ(L"07", conf.age) << "a missing age keeps the value";
  EXPECT_EQ(L"secret", conf.password);
}

TEST_F(SysConfTest, DamagedSettingsKeepTheParentsPassword) {
  WriteFile(L"conf\\acc.conf", Inverted(AccConf("parent")));
  // Nested deeper than the parser's stack reaches.
  std::string deep;
  for (int i = 0; i < 10000; ++i) deep += "<confs>";
  for (const std::string& damaged : {std::string(), std::string("<confs><ctrl limited=\"true\""),
                                     std::string("\x01\xFF\x80garbage\0x", 11), deep}) {
    WriteFile(L"conf\\sys.conf", damaged);
    CSysConf conf;
    EXPECT_EQ(L"parent", conf.password);
    EXPECT_EQ(DefaultSysConf(), ReadFile(L"conf\\sys.conf")) << "the damaged file was rewritten";
    EXPECT_EQ(Inverted(AccConf("parent")), ReadFile(L"conf\\acc.conf"));
  }
}

TEST_F(SysConfTest, DamagedAccountIsNeitherReadNorOverwrittenWithNothing) {
  WriteFile(L"conf\\acc.conf", "plain garbage that is not scrambled xml");
  WriteFile(L"conf\\sys.conf", "broken");
  CSysConf conf;
  EXPECT_EQ(L"", conf.password);
  EXPECT_EQ("plain garbage that is not scrambled xml", ReadFile(L"conf\\acc.conf"));
}

TEST_F(SysConfTest, NumbersBeyondTheirBoundClampAndHugeTextsAreCut) {
  struct Case {
    const char* time;
    const char* interval;
    int expectedTime;
    int expectedInterval;
  };
  const Case cases[] = {
      {"1500", "86401", 1440, 86400},  // a limit over a day must not lock the child out
      {"99999999999999999999", "99999999999999999999", 1440, 86400},
      {"-5", "-1", 0, 0},
      {"abc", "", 0, 0},
      {"1440", "86400", 1440, 86400},
  };
  std::string huge(200000, 'a');
  for (const Case& c : cases) {
    WriteFile(L"conf\\sys.conf", std::string("<confs><ctrl limited=\"true\" time=\"") + c.time + "\" interval=\"" +
                                     c.interval + "\" /><kid nick_name=\"" + huge + "\" age=\"12\" /></confs>");
    CSysConf conf;
    EXPECT_EQ(c.expectedTime, conf.time) << c.time;
    EXPECT_EQ(c.expectedInterval, conf.interval) << c.interval;
    EXPECT_EQ(CSysConf::kMaxTextChars, conf.nick_name.size());
    EXPECT_EQ(L"12", conf.age);
  }
}

TEST_F(SysConfTest, OversizedFileReadsAsDamaged) {
  WriteFile(L"conf\\sys.conf", "<confs><ctrl limited=\"true\" /></confs>" + std::string(10 * 1024 * 1024, ' '));
  CSysConf conf;
  EXPECT_EQ(0, conf.limited);
  EXPECT_EQ(DefaultSysConf(), ReadFile(L"conf\\sys.conf"));
}

TEST_F(SysConfTest, ReadOnlyAccountFileStillReadsAndSaveReportsFailure) {
  {
    CSysConf conf;
    conf.password = L"pw";
    ASSERT_EQ(1, conf.Save());
  }
  std::wstring acc = folder_ + L"conf\\acc.conf";
  ASSERT_TRUE(::SetFileAttributesW(acc.c_str(), FILE_ATTRIBUTE_READONLY));
  CSysConf conf;
  EXPECT_EQ(L"pw", conf.password) << "reading never needs write access";
  conf.password = L"new";
  EXPECT_EQ(0, conf.Save()) << "acc.conf could not be written";
  ::SetFileAttributesW(acc.c_str(), FILE_ATTRIBUTE_NORMAL);
  CSysConf again;
  EXPECT_EQ(L"pw", again.password) << "the failed write left the old file whole";
}

TEST_F(SysConfTest, SaveReportsFailureWhenTheSettingsFileCannotBeWritten) {
  CSysConf conf;
  conf.password = L"kept";
  std::wstring sys = folder_ + L"conf\\sys.conf";
  ASSERT_TRUE(::DeleteFileW(sys.c_str()));
  ASSERT_TRUE(::CreateDirectoryW(sys.c_str(), nullptr));
  EXPECT_EQ(0, conf.Save()) << "a folder stands where sys.conf should be";
  EXPECT_EQ(Inverted(AccConf("")), ReadFile(L"conf\\acc.conf")) << "acc.conf is not written after a failed sys.conf";
  ASSERT_TRUE(::RemoveDirectoryW(sys.c_str()));
  WriteFile(L"conf\\sys.conf", "<confs />");
  ASSERT_TRUE(::SetFileAttributesW(sys.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(0, conf.Save()) << "sys.conf is read-only";
  EXPECT_EQ("<confs />", ReadFile(L"conf\\sys.conf"));
  ::SetFileAttributesW(sys.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(1, conf.Save());
}

TEST_F(SysConfTest, AFileAnotherProgramHoldsIsTriedAgainButNeverTakenForMissingNorWrittenOver) {
  {
    CSysConf conf;
    conf.limited = 1;
    conf.time = 60;
    conf.password = L"parent";
    ASSERT_EQ(1, conf.Save());
    CTimeLog log;
    log.AddUsage(60, 0);
    ASSERT_EQ(1, log.AddUsage(60, 30));
  }
  WriteFile(L"navctrl.dat", "<navctrl><site url=\"http://s.example/\" title=\"s\" /></navctrl>");
  WriteFile(L"pr.dat", "<recs><site uri=\"http://r.example/\" title=\"r\" /></recs>");
  WriteFile(L"words.xml", "<words><word v=\"w\" /></words>");
  {
    CHistoryList history;
    history.AddVisit(L"http://h.example/", L"h", folder_ + L"his\\h.bmp");
    ASSERT_EQ(1, history.Save());
    WriteFile(L"his\\h.bmp", "picture");
  }
  CSysConf running;  // read before the file was held
  auto keepsWhatItRead = [&](const std::wstring& unread) {
    EXPECT_EQ(0, running.Load());
    EXPECT_EQ(unread, running.UnreadablePath());
    EXPECT_EQ(1, running.limited);
    EXPECT_EQ(60, running.time);
    EXPECT_EQ(L"parent", running.password);
    EXPECT_EQ(0, running.Save());
  };
  const struct {
    const wchar_t* name;
    std::function<void()> readWhileHeld;
  } files[] = {
      {L"conf\\sys.conf",
       [&] {
         CSysConf fresh;
         EXPECT_EQ(fresh.sys_conf_path, fresh.UnreadablePath());
         EXPECT_EQ(0, fresh.Save());
         keepsWhatItRead(fresh.sys_conf_path);
       }},
      {L"conf\\acc.conf",
       [&] {
         // With sys.conf gone as well: that one is written anew, this one is not.
         const std::string rules = ReadFile(L"conf\\sys.conf");
         ASSERT_TRUE(::DeleteFileW(running.sys_conf_path.c_str()));
         CSysConf fresh;
         WriteFile(L"conf\\sys.conf", rules);
         EXPECT_EQ(fresh.acc_conf_path, fresh.UnreadablePath());
         EXPECT_EQ(0, fresh.Save());
         EXPECT_EQ(1, running.Load());
         EXPECT_EQ(L"parent", running.password);
         EXPECT_EQ(0, running.Save());
       }},
      {L"navctrl.dat",
       [] {
         CNavCtrlList list;
         EXPECT_TRUE(list.Unreadable());
         list.Add(L"http://other.example/", L"o");
         EXPECT_EQ(0, list.Save());
       }},
      {L"pr.dat",
       [] {
         CRecommendList list;
         EXPECT_TRUE(list.Unreadable());
         EXPECT_EQ(0, list.Save());
       }},
      {L"his\\his.xml",
       [&] {
         CHistoryList history;
         history.AddVisit(L"http://other.example/", L"o", L"");
         EXPECT_EQ(0, history.Save());
         history.PurgeUnusedFiles(folder_ + L"his");
         EXPECT_TRUE(Has(L"his\\h.bmp")) << "the held list's picture was purged";
       }},
      {L"words.xml",
       [&] {
         CWordsList words(folder_ + L"words.xml");
         words.Add(L"new");
         EXPECT_EQ(0, words.Save());
       }},
      {L"tl.dat",
       [] {
         CTimeLog log;
         EXPECT_EQ(0, log.AddUsage(60, 1)) << "a held file is no fresh day";
         EXPECT_TRUE(log.Unreadable());
         EXPECT_FALSE(log.Saved());
       }},
  };
  for (DWORD sharing : {0ul, static_cast<unsigned long>(FILE_SHARE_DELETE)}) {
    for (const auto& file : files) {
      SCOPED_TRACE(::testing::Message() << fw::ToAnsi(file.name) << " held with sharing " << sharing);
      const std::string bytes = ReadFile(file.name);
      {
        HeldFile held(folder_ + file.name, sharing);
        ASSERT_TRUE(held.Held());
        HeldFileMoves moves(folder_ + file.name);
        ASSERT_TRUE(moves.Patched());
        file.readWhileHeld();
        EXPECT_EQ(0, moves.Count()) << "the held file was to be replaced or set aside";
      }
      EXPECT_EQ(bytes, ReadFile(file.name));
      EXPECT_FALSE(Has(file.name + std::wstring(L".damaged")));
    }
  }

  // A scanner that lets go within the retry window costs nothing.
  HeldFile held(folder_ + L"conf\\sys.conf", 0);
  ASSERT_TRUE(held.Held());
  std::thread scanner([&] {
    ::Sleep(datafile::kReadRetryMs / 4);
    held.Release();
  });
  CSysConf conf;
  scanner.join();
  EXPECT_EQ(L"", conf.UnreadablePath());
  EXPECT_EQ(1, conf.limited);
  EXPECT_EQ(L"parent", conf.password);
}

TEST_F(SysConfTest, PlainAccountFileIsReadAndScrambledAgainAtTheNextSave) {
  WriteFile(L"conf\\acc.conf", AccConf("plain"));
  CSysConf conf;
  EXPECT_EQ(L"plain", conf.password) << "a crash of the old in-place scrambling leaves the file plain";
  ASSERT_EQ(1, conf.Save());
  EXPECT_EQ(Inverted(AccConf("plain")), ReadFile(L"conf\\acc.conf"));
}

TEST_F(SysConfTest, SaveRemovesTemporaryFilesOfDeadWritersOnly) {
  wchar_t self[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring command = L"\"" + std::wstring(self) + L"\" --gtest_filter=None";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION dead{}, live{};
  ASSERT_TRUE(::CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &dead));
  ::WaitForSingleObject(dead.hProcess, 30000);
  ASSERT_TRUE(::CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr,
                               &startup, &live));
  CSysConf conf;
  std::wstring deadTemporary = L"conf\\sys.conf.tmp" + std::to_wstring(dead.dwProcessId);
  std::wstring liveTemporary = L"conf\\sys.conf.tmp" + std::to_wstring(live.dwProcessId);
  std::wstring otherFile = L"conf\\other.conf.tmp" + std::to_wstring(dead.dwProcessId);
  std::wstring notOurs = L"conf\\sys.conf.tmpx" + std::to_wstring(dead.dwProcessId);
  // A writer whose first name was taken adds eight random digits to its id.
  const auto further = [](DWORD id) { return fw::Format(L"conf\\sys.conf.tmp%010lu31415926", id); };
  const std::wstring deadFurther = further(dead.dwProcessId), liveFurther = further(live.dwProcessId);
  for (const std::wstring& name : {deadTemporary, liveTemporary, notOurs, deadFurther, liveFurther})
    WriteFile(name, "half a save");
  WriteFile(otherFile, "half");
  ASSERT_EQ(1, conf.Save());
  EXPECT_FALSE(Has(deadTemporary)) << "left by a process that no longer runs";
  EXPECT_FALSE(Has(deadFurther));
  EXPECT_TRUE(Has(liveTemporary)) << "a live writer's file stays";
  EXPECT_TRUE(Has(liveFurther));
  EXPECT_TRUE(Has(notOurs));
  EXPECT_TRUE(Has(otherFile)) << "only the saved file's own leftovers go";
  ::TerminateProcess(live.hProcess, 0);
  for (HANDLE handle : {dead.hProcess, dead.hThread, live.hProcess, live.hThread}) ::CloseHandle(handle);
}

TEST_F(SysConfTest, ScramblingIsItsOwnInverse) {
  CSysConf conf;
  std::string stored = ReadFile(L"conf\\acc.conf");
  conf.ScrambleAccountFile();
  EXPECT_EQ(AccConf(""), ReadFile(L"conf\\acc.conf"));
  {
    CFileScrambleGuard guard(conf.acc_conf_path);
    EXPECT_EQ(Inverted(AccConf("")), ReadFile(L"conf\\acc.conf"));
  }
  EXPECT_EQ(AccConf(""), ReadFile(L"conf\\acc.conf"));
  conf.ScrambleAccountFile();
  EXPECT_EQ(stored, ReadFile(L"conf\\acc.conf"));

  WriteFile(L"empty", "");
  { CFileScrambleGuard guard(folder_ + L"empty"); }
  EXPECT_EQ("", ReadFile(L"empty"));
  std::string longer(300, 'x');
  WriteFile(L"long", longer);
  CFileScrambleGuard once(folder_ + L"long");
  std::string scrambled = ReadFile(L"long");
  EXPECT_EQ(std::string(128, static_cast<char>(~'x')), scrambled.substr(0, 128));
  EXPECT_EQ(std::string(172, 'x'), scrambled.substr(128));
}

TEST_F(SysConfTest, APasswordIsStorableWhenItComesBackFromTheCodePageUnchanged) {
  const wchar_t loneSurrogate[] = {L'p', 0xD800, L'w', 0};
  const struct {
    unsigned codePage;
    std::wstring password;
    bool storable;
  } cases[] = {
      // UTF-8 as the ANSI code page holds every character but a lone surrogate.
      {CP_UTF8, L"pa\u00b2s", true},
      {CP_UTF8, L"妈妈\u0175Secret", true},
      {CP_UTF8, loneSurrogate, false},
      {936, L"妈妈Secret&<>", true},
      {936, L"", true},
      // Best fit stores "2": a look-alike the parent never typed.
      {936, L"pa\u00b2s", false},
      // No look-alike: stored as the default character.
      {936, L"pa\u0175s", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "code page " << c.codePage << ", " << fw::ToAnsi(c.password, CP_UTF8));
    EXPECT_EQ(c.storable, CSysConf::CanStorePassword(c.password, c.codePage));
  }
}

}  // namespace
