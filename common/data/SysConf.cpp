#include "SysConf.h"

#include <windows.h>

#include <tinyxml.h>

#include <cstring>
#include <new>

#include "CommHelper.h"
#include "DataFile.h"
#include "StringConv.h"
#include "XmlAttributes.h"

namespace {

struct FlagField {
  const char* name;
  int CSysConf::*field;
  bool missing;
};

// The "ctrl" attributes in file order ("time" and "interval" sit between
// "limited" and "exit_need_pwd").
const FlagField kLeadingFlag = {"limited", &CSysConf::limited, false};
const FlagField kFlags[] = {
    {"exit_need_pwd", &CSysConf::exit_need_pwd, false},
    {"fullscreen_always", &CSysConf::fullscreen_always, false},
    {"login_need_pwd", &CSysConf::login_need_pwd, true},
    {"auto_update", &CSysConf::auto_update, true},
    {"cus_ctrl", &CSysConf::cus_ctrl, true},
    {"dbclose", &CSysConf::dbclose, true},
    {"dbnewtab", &CSysConf::dbnewtab, true},
    {"hide_single_tab", &CSysConf::hide_single_tab, false},
    {"show_tab_top", &CSysConf::show_tab_top, true},
    {"enable_filter", &CSysConf::enable_filter, false},
    {"enable_log", &CSysConf::enable_log, false},
    {"block_key", &CSysConf::block_key, false},
    {"can_change_mp", &CSysConf::can_change_mp, true},
    {"start_check", &CSysConf::start_check, true},
    {"first_run", &CSysConf::first_run, true},
    {"open_btn_sound", &CSysConf::open_btn_sound, true},
};

void ReadFlag(CSysConf& conf, const TiXmlElement& element, const FlagField& flag) {
  conf.*flag.field = xmlattr::Flag(element, flag.name, flag.missing) ? 1 : 0;
}

void ReadCtrl(CSysConf& conf, const TiXmlElement& ctrl) {
  ReadFlag(conf, ctrl, kLeadingFlag);
  for (const FlagField& flag : kFlags) ReadFlag(conf, ctrl, flag);
  conf.time = static_cast<int>(xmlattr::Number(ctrl, "time", 0, 0, CSysConf::kMaxMinutes));
  conf.interval = static_cast<int>(xmlattr::Number(ctrl, "interval", 0, 0, CSysConf::kMaxIntervalSeconds));
}

void ReadKid(CSysConf& conf, const TiXmlElement& kid) {
  conf.nick_name = xmlattr::Text(kid, "nick_name", conf.nick_name, CSysConf::kMaxTextChars);
  if (xmlattr::Has(kid, "sex")) conf.is_boy = fw::EqualsNoCase(xmlattr::Text(kid, "sex"), L"boy") ? 1 : 0;
  conf.age = xmlattr::Text(kid, "age", conf.age, CSysConf::kMaxTextChars);
}

TiXmlDocument NewDocument() {
  TiXmlDocument document;
  document.LinkEndChild(new TiXmlDeclaration("1.0", "gb2312", ""));
  return document;
}

TiXmlElement* AddElement(TiXmlNode* parent, const char* name) {
  return parent->LinkEndChild(new TiXmlElement(name))->ToElement();
}

}  // namespace

CSysConf::CSysConf() {
  std::wstring data = CCommHelper::GetDataDir(true);
  sys_conf_path = data + L"conf\\sys.conf";
  acc_conf_path = data + L"conf\\acc.conf";
  Load();
}

const wchar_t CSysConf::kUnstorablePasswordText[] = L"密码中含有无法保存的字符，请只使用字母、数字或常用符号。";

bool CSysConf::CanStorePassword(const std::wstring& password) { return CanStorePassword(password, CP_THREAD_ACP); }

// A round trip, not the used-default flag: the conversion refuses that flag
// for UTF-8, an ANSI code page Windows 10 offers.
bool CSysConf::CanStorePassword(const std::wstring& password, unsigned codePage) {
  if (password.empty()) return true;
  return fw::ToWide(fw::ToAnsi(password, codePage), codePage) == password;
}

std::wstring CSysConf::UnreadableText(const std::wstring& path) {
  return L"无法读取设置文件：\n" + path + L"\n它可能正被其他程序占用。为了不覆盖其中的设置，现在不能打开，请稍后再试。";
}

std::wstring GetSysConfPath() { return CCommHelper::GetDataDir(true) + L"conf\\sys.conf"; }

int CSysConf::Load() {
  sysState_ = datafile::FileState::kDamaged;
  try {
    sysState_ = ReadSysConf().state;
  } catch (const std::bad_alloc&) {
    // Read in part: as good as damaged.
  }
  // The password is read before any rewrite, so a damaged sys.conf never
  // costs the parent the password in a good acc.conf.
  LoadAccount();
  if (sysState_ == datafile::FileState::kRead) return 1;
  // The parent's rules are in a file another program holds: the record keeps
  // what it last read, and the file stays as it is.
  if (sysState_ == datafile::FileState::kUnreadable) return 0;
  WriteSysConf();
  // A damaged or unreadable acc.conf is left for the parent to mend rather
  // than replaced by an empty password; a missing one is written.
  if (accountState_ == datafile::FileState::kRead || accountState_ == datafile::FileState::kMissing) SaveAccount();
  return 0;
}

std::wstring CSysConf::UnreadablePath() const {
  if (sysState_ == datafile::FileState::kUnreadable) return sys_conf_path;
  if (accountState_ == datafile::FileState::kUnreadable) return acc_conf_path;
  return {};
}

datafile::ReadResult CSysConf::ReadSysConf() {
  TiXmlDocument document;
  if (const datafile::ReadResult read = datafile::LoadXmlFile(sys_conf_path, &document); !read) return read;
  for (const TiXmlNode* node = document.RootElement()->FirstChild(); node; node = node->NextSibling()) {
    const TiXmlElement* element = node->ToElement();
    if (!element) continue;
    if (std::strcmp(element->Value(), "ctrl") == 0)
      ReadCtrl(*this, *element);
    else if (std::strcmp(element->Value(), "kid") == 0)
      ReadKid(*this, *element);
    else if (std::strcmp(element->Value(), "home") == 0)
      home_url = xmlattr::Text(*element, "url", home_url, kMaxTextChars);
  }
  return {datafile::FileState::kRead};
}

int CSysConf::Save() {
  if (!UnreadablePath().empty()) return 0;
  bool sysWritten = WriteSysConf();
  if (!sysWritten) return 0;
  return SaveAccount();
}

bool CSysConf::WriteSysConf() const {
  TiXmlDocument document = NewDocument();
  TiXmlElement* root = AddElement(&document, "confs");
  TiXmlElement* ctrl = AddElement(root, "ctrl");
  xmlattr::SetFlag(ctrl, kLeadingFlag.name, this->*kLeadingFlag.field != 0);
  xmlattr::SetNumber(ctrl, "time", time);
  xmlattr::SetNumber(ctrl, "interval", interval);
  for (const FlagField& flag : kFlags) xmlattr::SetFlag(ctrl, flag.name, this->*flag.field != 0);
  TiXmlElement* kid = AddElement(root, "kid");
  xmlattr::SetText(kid, "nick_name", nick_name);
  kid->SetAttribute("sex", is_boy ? "boy" : "girl");
  xmlattr::SetText(kid, "age", age);
  xmlattr::SetText(AddElement(root, "home"), "url", home_url);
  return datafile::SaveXmlFile(sys_conf_path, document, /*scrambled=*/false, /*createFolder=*/true);
}

int CSysConf::LoadAccount() {
  TiXmlDocument document;
  accountState_ = datafile::LoadXmlFile(acc_conf_path, &document, /*scrambled=*/true).state;
  if (accountState_ != datafile::FileState::kRead) return 0;
  for (const TiXmlNode* node = document.RootElement()->FirstChild(); node; node = node->NextSibling()) {
    const TiXmlElement* element = node->ToElement();
    if (element && std::strcmp(element->Value(), "acc") == 0)
      password = xmlattr::Text(*element, "pwd", password, kMaxTextChars);
  }
  return 1;
}

int CSysConf::SaveAccount() {
  TiXmlDocument document = NewDocument();
  xmlattr::SetText(AddElement(AddElement(&document, "confs"), "acc"), "pwd", password);
  return datafile::SaveXmlFile(acc_conf_path, document, /*scrambled=*/true, /*createFolder=*/true) ? 1 : 0;
}

int CSysConf::ScrambleAccountFile() {
  datafile::InvertFileHead(acc_conf_path);
  return 1;
}
