#include "TimeLog.h"

#include <tinyxml.h>

#include <cstring>

#include "CommHelper.h"
#include "DataFile.h"
#include "XmlAttributes.h"

namespace {

bool LocalNow(std::tm* now) {
  std::time_t seconds = std::time(nullptr);
  return localtime_s(now, &seconds) == 0;
}

CTimeLog::Clock currentClock = &LocalNow;

}  // namespace

CTimeLog::CTimeLog() : path(CCommHelper::GetDataDir(true) + L"tl.dat") {}

void CTimeLog::SetClock(Clock replacement) { currentClock = replacement ? replacement : &LocalNow; }

int CTimeLog::Reload() { return Read(); }

int CTimeLog::Read() {
  TiXmlDocument document;
  const datafile::ReadResult read = datafile::LoadXmlFile(path, &document, /*scrambled=*/true);
  unreadable_ = read.Unreadable();
  if (!read) return 0;
  for (const TiXmlNode* node = document.RootElement()->FirstChild(); node; node = node->NextSibling()) {
    const TiXmlElement* element = node->ToElement();
    if (!element || std::strcmp(element->Value(), "ti") != 0) continue;
    start_year = static_cast<int>(xmlattr::Number(*element, "start_year", 0, 0, 9999));
    start_month = static_cast<int>(xmlattr::Number(*element, "start_month", 0, 0, 12));
    start_day = static_cast<int>(xmlattr::Number(*element, "start_day", 0, 0, 31));
    time_sum = static_cast<int>(xmlattr::Number(*element, "time_sum", 0, 0, kMaxMinutes));
  }
  return 1;
}

int CTimeLog::Write() const {
  TiXmlDocument document;
  document.LinkEndChild(new TiXmlDeclaration("1.0", "gb2312", ""));
  TiXmlElement* root = document.LinkEndChild(new TiXmlElement("tl"))->ToElement();
  TiXmlElement* ti = root->LinkEndChild(new TiXmlElement("ti"))->ToElement();
  xmlattr::SetNumber(ti, "start_year", start_year);
  xmlattr::SetNumber(ti, "start_month", start_month);
  xmlattr::SetNumber(ti, "start_day", start_day);
  xmlattr::SetNumber(ti, "time_sum", time_sum);
  // Every account's browser adds its minutes to the one file.
  const bool saved =
      datafile::SaveXmlFile(path, document, /*scrambled=*/true, /*createFolder=*/false, AccountSharing::kModify);
  return saved ? 1 : 0;
}

int CTimeLog::TodayMinutes() {
  Read();
  std::tm now{};
  if (!currentClock(&now)) return 0;
  bool today = now.tm_year + 1900 == start_year && now.tm_mon + 1 == start_month && now.tm_mday == start_day;
  return today ? time_sum : 0;
}

int CTimeLog::AddUsage(int limit, int inc) {
  Read();
  if (unreadable_) {
    saved_ = false;
    return 0;
  }
  std::tm now{};
  bool known = currentClock(&now);
  int year = known ? now.tm_year + 1900 : 0;
  int month = known ? now.tm_mon + 1 : 0;
  int day = known ? now.tm_mday : 0;
  bool dayChanged = year != start_year || month != start_month || day != start_day;
  if (dayChanged) {
    start_year = year;
    start_month = month;
    start_day = day;
    time_sum = 0;
    saved_ = Write() == 1;
    return 1;
  }
  if (inc > 0 && time_sum <= kMaxMinutes - inc) time_sum += inc;
  saved_ = Write() == 1;
  return time_sum < limit ? 1 : 0;
}
