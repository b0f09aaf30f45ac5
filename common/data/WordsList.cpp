#include "WordsList.h"

#include <tinyxml.h>

#include <cstdlib>
#include <cstring>
#include <utility>

#include "CommHelper.h"
#include "DataFile.h"
#include "XmlAttributes.h"

std::wstring GetWordsPath() { return CCommHelper::GetThisModuleDir(true) + L"conf\\words.xml"; }

CWordsList::CWordsList() : CWordsList(GetWordsPath()) {}

CWordsList::CWordsList(std::wstring path) : path_(std::move(path)) { Load(); }

int CWordsList::Load() {
  TiXmlDocument document;
  damaged_ = false;
  unreadable_ = false;
  // A vector doubles as it grows, old and new buffer at once.
  const datafile::ListEntrySize entrySize{3 * sizeof(std::wstring), 0, 1};
  const datafile::ReadResult read = datafile::LoadListFile(path_, &document, entrySize);
  if (!read) {
    damaged_ = read.state == datafile::FileState::kDamaged;
    unreadable_ = read.Unreadable();
    return 0;
  }
  for (const TiXmlNode* node = document.RootElement()->FirstChild(); node; node = node->NextSibling()) {
    const TiXmlElement* element = node->ToElement();
    if (element && std::strcmp(element->Value(), "word") == 0 && xmlattr::Has(*element, "v"))
      words_.push_back(xmlattr::Text(*element, "v"));
  }
  for (size_t i = words_.size(); i > 1; --i) std::swap(words_[i - 1], words_[static_cast<size_t>(std::rand()) % i]);
  return 1;
}

int CWordsList::Save() const {
  // The parent's messages in a file another program holds are not ours to
  // write over.
  if (unreadable_) return 0;
  if (damaged_) {
    if (!datafile::SetAside(path_)) return 0;
    damaged_ = false;
  }
  TiXmlDocument document;
  document.LinkEndChild(new TiXmlDeclaration("1.0", "gb2312", ""));
  TiXmlElement* root = document.LinkEndChild(new TiXmlElement("words"))->ToElement();
  for (const std::wstring& word : words_)
    xmlattr::SetText(root->LinkEndChild(new TiXmlElement("word"))->ToElement(), "v", word);
  return datafile::SaveXmlFile(path_, document) ? 1 : 0;
}

std::wstring CWordsList::GetNextWord() {
  if (words_.empty()) return {};
  // Edits may have shortened the list under the rotation.
  if (position_ >= words_.size()) position_ = 0;
  std::wstring word = words_[position_];
  position_ = (position_ + 1) % words_.size();
  return word;
}

int CWordsList::ForEach(Callback callback, void* user) const {
  if (!callback) return 0;
  for (const std::wstring& word : words_) callback(word, user);
  return 0;
}
