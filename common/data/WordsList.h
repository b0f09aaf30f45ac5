#pragma once
#include <string>
#include <vector>

// The parent's short messages for the child, in conf\words.xml of the
// program folder, handed out one after another.
class CWordsList {
 public:
  using Callback = void (*)(std::wstring text, void* user);

  CWordsList();
  explicit CWordsList(std::wstring path);
  virtual ~CWordsList() = default;

  // Appends the file's messages and shuffles the whole list (with the C
  // library's unseeded rand, so one file gives one order at every start).
  int Load();
  // A file that could not be read is first set aside as "<file>.damaged".
  int Save() const;
  // The next message in rotation; empty when there is none.
  std::wstring GetNextWord();
  int ForEach(Callback callback, void* user) const;
  void Add(const std::wstring& text) { words_.push_back(text); }
  void RemoveAll() { words_.clear(); }
  size_t Count() const { return words_.size(); }

 private:
  std::wstring path_;
  std::vector<std::wstring> words_;
  size_t position_ = 0;
  // The file exists but could not be read: set aside before saving over it.
  mutable bool damaged_ = false;
  // Another program holds the file: it is never written over.
  bool unreadable_ = false;
};

std::wstring GetWordsPath();
