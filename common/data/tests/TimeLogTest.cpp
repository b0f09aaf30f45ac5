#include <gtest/gtest.h>

#include "CreationLog.h"
#include "DataFile.h"
#include "DataFolderTest.h"
#include "StringConv.h"
#include "TimeLog.h"

namespace {

std::tm today{};
bool TestClock(std::tm* now) {
  *now = today;
  return true;
}
bool BrokenClock(std::tm*) { return false; }

void SetDate(int year, int month, int day) {
  today = std::tm{};
  today.tm_year = year - 1900;
  today.tm_mon = month - 1;
  today.tm_mday = day;
}

class TimeLogTest : public DataFolderTest {
 protected:
  void SetUp() override {
    DataFolderTest::SetUp();
    SetDate(2026, 12, 8);
    CTimeLog::SetClock(&TestClock);
  }
  void TearDown() override { CTimeLog::SetClock(nullptr); }
};

TEST_F(TimeLogTest, MinutesAccumulateAcrossInstancesAndRestartOnANewDay) {
  EXPECT_EQ(1, CTimeLog().AddUsage(3, 1)) << "the first call of a day only starts it";
  EXPECT_EQ(0, CTimeLog().GetUsed());
  EXPECT_EQ(1, CTimeLog().AddUsage(3, 1));
  CTimeLog log;
  EXPECT_EQ(0, log.AddUsage(3, 2)) << "3 minutes are not below a limit of 3";
  EXPECT_EQ(3, log.GetUsed());
  EXPECT_EQ(0, log.GetRemaining(3));
  EXPECT_EQ(-2, log.GetRemaining(1));

  CTimeLog reloaded;
  EXPECT_EQ(1, reloaded.Reload());
  EXPECT_EQ(3, reloaded.GetUsed());
  EXPECT_EQ(2026, reloaded.start_year);
  EXPECT_EQ(12, reloaded.start_month);
  EXPECT_EQ(8, reloaded.start_day);

  SetDate(2026, 12, 9);
  CTimeLog yesterday;
  yesterday.Reload();
  EXPECT_EQ(3, yesterday.GetUsed()) << "reloading alone does not roll the day over";
  CTimeLog next;
  EXPECT_EQ(1, next.AddUsage(3, 1));
  EXPECT_EQ(0, next.GetUsed());

  SetDate(2027, 12, 9);
  CTimeLog added;
  added.AddUsage(60, 1);
  added.AddUsage(60, 5);
  EXPECT_EQ(5, added.GetUsed());
  SetDate(2028, 12, 9);
  CTimeLog yearLater;
  EXPECT_EQ(1, yearLater.AddUsage(60, 1));
  EXPECT_EQ(0, yearLater.GetUsed()) << "only the year differs, and it is a new day";
}

TEST_F(TimeLogTest, ZeroLimitIsReachedAtOnce) {
  CTimeLog().AddUsage(0, 0);
  EXPECT_EQ(0, CTimeLog().AddUsage(0, 0));
}

TEST_F(TimeLogTest, AFileThatCannotBeWrittenIsToldAndTheSumIsAnsweredAllTheSame) {
  CTimeLog started;
  started.AddUsage(2, 0);
  EXPECT_TRUE(started.Saved());
  const std::wstring file = folder_ + L"tl.dat";
  ASSERT_TRUE(::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY));
  CTimeLog log;
  EXPECT_EQ(1, log.AddUsage(2, 1));
  EXPECT_FALSE(log.Saved()) << "a failed write went untold";
  EXPECT_EQ(1, log.GetUsed());
  CTimeLog again;
  EXPECT_EQ(0, again.AddUsage(1, 1)) << "a failed write changed the answer";
  EXPECT_FALSE(again.Saved());
  EXPECT_EQ(0, CTimeLog().TodayMinutes());
  ::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(TimeLogTest, FileIsScrambledXmlOfTheExactShape) {
  CTimeLog().AddUsage(10, 1);
  CTimeLog().AddUsage(10, 4);
  std::string expected =
      "<?xml version=\"1.0\" encoding=\"gb2312\" ?>\r\n<tl>\r\n"
      "    <ti start_year=\"2026\" start_month=\"12\" start_day=\"8\" time_sum=\"4\" />\r\n</tl>\r\n";
  EXPECT_EQ(Inverted(expected), ReadFile(L"tl.dat"));
}

TEST_F(TimeLogTest, DamagedFilesStartTheDayAfreshAndBoundsClamp) {
  auto today = [](const std::string& month, const std::string& sum) {
    return "<tl><ti start_year=\"2026\" start_month=\"" + month + "\" start_day=\"8\" time_sum=\"" + sum +
           "\" /></tl>";
  };
  struct Case {
    std::string file;
    int usedAfterOneMinute;
  };
  const Case cases[] = {
      {"garbage", 0},                                // a new day starts
      {Inverted(today("12", "-40")), 1},             // negative reads as missing: 0
      {Inverted(today("12", "999999999999")), CTimeLog::kMaxMinutes},  // beyond the bound: the day is used up
      {Inverted(today("11", "40")), 0},              // another day
      {Inverted(today("12", "40")), 41},
      {today("12", "7"), 8},                         // left plain by a crash: read as it stands
  };
  for (const Case& c : cases) {
    WriteFile(L"tl.dat", c.file);
    CTimeLog log;
    log.AddUsage(2000, 1);
    EXPECT_EQ(c.usedAfterOneMinute, log.GetUsed()) << c.file;
    EXPECT_EQ('\xC3', ReadFile(L"tl.dat")[0]) << "written scrambled again";
  }
  CTimeLog::SetClock(&BrokenClock);
  CTimeLog log;
  EXPECT_EQ(1, log.AddUsage(10, 1));
  EXPECT_EQ(0, log.start_year);
}

// Any account may add files to the data folder: a hard link planted under
// the save's temporary name would hand the minutes to the file it reaches.
TEST_F(TimeLogTest, AFilePlantedUnderTheTemporaryNameNeverTakesTheSave) {
  WriteFile(L"elsewhere\\parent.dat", "the parent's own file");
  const std::wstring reached = folder_ + L"elsewhere\\parent.dat";
  const std::wstring temporary = folder_ + L"tl.dat.tmp" + std::to_wstring(::GetCurrentProcessId());
  ASSERT_TRUE(::CreateHardLinkW(temporary.c_str(), reached.c_str(), nullptr));
  CTimeLog().AddUsage(60, 1);  // starts the day
  CTimeLog().AddUsage(60, 1);
  EXPECT_EQ("the parent's own file", ReadFile(L"elsewhere\\parent.dat"));

  // Planted again, and this time it cannot be removed: its file is held open
  // without leave to delete it. The save takes another name.
  ASSERT_TRUE(::CreateHardLinkW(temporary.c_str(), reached.c_str(), nullptr));
  HANDLE held = ::CreateFileW(reached.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, held);
  CreationLog log;
  CTimeLog().AddUsage(60, 1);
  ::CloseHandle(held);
  EXPECT_EQ("the parent's own file", ReadFile(L"elsewhere\\parent.dat"));
  // The name taken instead still tells the clean-up which process wrote it.
  const std::vector<std::wstring> made = log.Paths();
  ASSERT_EQ(2u, made.size());
  EXPECT_EQ(0u, made[1].find(folder_ + fw::Format(L"tl.dat.tmp%010lu", ::GetCurrentProcessId())));
  EXPECT_TRUE(datafile::IsSaveTemporary(made[1].substr(folder_.size()), folder_ + L"tl.dat"));
  CTimeLog reloaded;
  EXPECT_EQ(1, reloaded.Reload());
  EXPECT_EQ(2, reloaded.GetUsed()) << "the save went through all the same";
}

}  // namespace
