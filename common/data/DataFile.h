#pragma once
#include <string>

class TiXmlDocument;

// Whole-file reads and writes of the data files. A save never leaves a
// truncated file: the bytes go to a temporary file beside the target, which
// then replaces it; on any failure the old file stays as it was.
namespace datafile {

// Files larger than this are not data files of ours and read as damaged.
constexpr size_t kMaxFileBytes = 4 * 1024 * 1024;

bool ReadBytes(const std::wstring& path, std::string* bytes);
// Creates the file's folder first only when asked: some lists expect theirs.
bool WriteBytesReplacing(const std::wstring& path, const std::string& bytes, bool createFolder = false);

// The scrambling of acc.conf and tl.dat: the first min(size, 128) bytes
// inverted. Its own inverse; done in memory so the file is never plain.
void InvertHead(std::string* bytes);
// The same step on a file in place (for tools that need it on disk).
bool InvertFileHead(const std::wstring& path);

// Parses narrow XML with TinyXML's own encoding detection.
bool ParseXml(const std::string& bytes, TiXmlDocument* document);
std::string PrintXml(const TiXmlDocument& document);

// Loads a data file (unscrambling it when asked); false when it is missing,
// too large or not well-formed.
bool LoadXmlFile(const std::wstring& path, TiXmlDocument* document, bool scrambled = false);
// Writes a document whole (scrambled when asked).
bool SaveXmlFile(const std::wstring& path, const TiXmlDocument& document, bool scrambled = false,
                 bool createFolder = false);

}  // namespace datafile
