#include <windows.h>

#include <gtest/gtest.h>

#include "DataFolderTest.h"
#include "FileScrambleGuard.h"
#include "StringConv.h"
#include "SysConf.h"

namespace {

// 乖儿子 in GB2312.
const std::string kNickGb = "\xB9\xD4\xB6\xF9\xD7\xD3";

std::string DefaultSysConf() {
  return "<?xml version=\"1.0\" encoding=\"gb2312\" ?>\n"
         "<confs>\n"
         "    <ctrl limited=\"false\" time=\"0\" interval=\"15\" exit_need_pwd=\"false\" fullscreen_always=\"false\" "
         "login_need_pwd=\"false\" auto_update=\"true\" cus_ctrl=\"true\" dbclose=\"true\" dbnewtab=\"true\" "
         "hide_single_tab=\"false\" show_tab_top=\"true\" enable_filter=\"false\" enable_log=\"false\" "
         "block_key=\"false\" can_change_mp=\"true\" start_check=\"true\" first_run=\"true\" "
         "open_btn_sound=\"true\" />\n"
         "    <kid nick_name=\"" +
         kNickGb +
         "\" sex=\"boy\" age=\"07\" />\n"
         "    <home url=\"\" />\n"
         "</confs>\n";
}

std::string AccConf(const std::string& password) {
  return "<?xml version=\"1.0\" encoding=\"gb2312\" ?>\n<confs>\n    <acc pwd=\"" + password + "\" />\n</confs>\n";
}

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
    conf.home_url = L"http://儿童.example/首页";
    conf.password = L"妈妈&\"<pw>";
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
  EXPECT_EQ(L"http://儿童.example/首页", loaded.home_url);
  EXPECT_EQ(L"妈妈&\"<pw>", loaded.password);
  EXPECT_NE(std::string::npos, ReadFile(L"conf\\sys.conf").find("sex=\"girl\""));
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
  for (const std::string& damaged :
       {std::string(), std::string("<confs><ctrl limited=\"true\""), std::string("\x01\xFF\x80garbage\0x", 11)}) {
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

TEST_F(SysConfTest, AbsurdNumbersAndHugeTextsReadSafely) {
  std::string huge(200000, 'a');
  WriteFile(L"conf\\sys.conf", "<confs><ctrl time=\"-5\" interval=\"99999999999999999999\" />"
                               "<kid nick_name=\"" + huge + "\" age=\"12\" /></confs>");
  CSysConf conf;
  EXPECT_EQ(0, conf.time);
  EXPECT_EQ(0, conf.interval);
  EXPECT_EQ(CSysConf::kMaxTextChars, conf.nick_name.size());
  EXPECT_EQ(L"12", conf.age);
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

}  // namespace
