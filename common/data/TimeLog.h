#pragma once
#include <ctime>
#include <string>

// Minutes online today, in tl.dat of the data folder (stored scrambled).
// Every browser process of the machine shares it: each call reads the file
// fresh and writes it back at once.
class CTimeLog {
 public:
  // The local date, or false when the time cannot be broken down.
  using Clock = bool (*)(std::tm* now);

  CTimeLog();
  virtual ~CTimeLog() = default;

  int Reload();
  // Rolls the day over (then answers 1 and does not add), else adds `inc`
  // minutes and answers whether the sum is still below `limit`. The answer
  // stands whether or not the file could be written: see Saved. A file there
  // that cannot be read is no new day: nothing is written, and the answer is
  // 0, no time known to be left.
  int AddUsage(int limit, int inc);
  // Whether the last AddUsage wrote tl.dat. A read-only file, one another
  // account owns, or a folder that cannot be written keeps the old sum.
  bool Saved() const { return saved_; }
  // Whether the last read found tl.dat but could not read it (another
  // program holds it): its numbers are not the day's.
  bool Unreadable() const { return unreadable_; }
  // Reads the file without writing it: the minutes of today, 0 when the
  // stored day is another one (or the date cannot be had).
  int TodayMinutes();
  int GetRemaining(int limit) const { return limit - time_sum; }
  int GetUsed() const { return time_sum; }

  // Replaces the clock for every CTimeLog of the program (nullptr: the real one).
  static void SetClock(Clock clock);

  std::wstring path;
  int start_year = 0;
  int start_month = 0;
  int start_day = 0;
  int time_sum = 0;

  // A sum beyond this is damage, not a day's use; it reads as 0.
  static constexpr int kMaxMinutes = 1000000;

 private:
  int Read();
  int Write() const;

  bool saved_ = false;
  bool unreadable_ = false;
};
