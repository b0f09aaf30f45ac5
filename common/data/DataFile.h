#pragma once
#include <string>
#include <string_view>

#include "AccountSharing.h"

class TiXmlDocument;

// Whole-file reads and writes of the data files. A save never leaves a
// truncated file: the bytes go to a temporary file beside the target, which
// then replaces it; on any failure the old file stays as it was.
namespace datafile {

// Settings files are a few hundred bytes; one larger than this is not ours
// and reads as damaged.
constexpr size_t kMaxSettingsBytes = 4 * 1024 * 1024;
// Lists grow with use (a history entry is about 300 bytes) and load whole at
// any sane size; the cap only guards against absurd files.
constexpr size_t kMaxListBytes = 256 * 1024 * 1024;
// What a list's load may take: its file's bytes, the parsed document and the
// records, all at once. Tiny elements within kMaxListBytes would need many
// times what a 32-bit process has, and TinyXML loses what it built when it
// runs out mid-parse. 300,000 history entries as the browser writes them
// (65 MB) are estimated at 450 MB in the 32-bit release, 570 MB in a 64-bit
// build; the rest of a 32-bit process's 2 GB holds the program with the
// browser engine, the pages it shows and a heap that is never one free block.
constexpr unsigned long long kMaxListMemory = 768ull * 1024 * 1024;

// What one entry of a list holds once loaded, beside the parsed document.
struct ListEntrySize {
  size_t record;       // the record's own block
  size_t node;         // its container's block for it; 0: none
  size_t valueCopies;  // how often each attribute value is kept, as UTF-16
};
// A std::map's block for an entry: a colour and three links, then the value.
template <typename Map>
constexpr size_t MapNodeSize() {
  return 4 * sizeof(void*) + sizeof(typename Map::value_type);
}
// The most memory the load of a list in `text` takes, as TinyXML and this
// build's heap allocate it, with every element an entry.
unsigned long long ListLoadMemory(std::string_view text, const ListEntrySize& entry);

// What a whole-file read found. Only a file that is not there is missing: one
// another program holds without read sharing, one this account may not read
// or one whose read fails is unreadable, and must neither be taken for absent
// nor be written over. A file read but too large or not well-formed is damaged.
enum class FileState { kRead, kMissing, kUnreadable, kDamaged };
struct ReadResult {
  FileState state;
  explicit operator bool() const { return state == FileState::kRead; }
  bool Unreadable() const { return state == FileState::kUnreadable; }
};
// An unreadable file is tried again for this long, in these steps: a virus
// scanner or a backup holds a file for moments.
constexpr unsigned long kReadRetryMs = 2000;
constexpr unsigned long kReadRetryStepMs = 100;

ReadResult ReadBytes(const std::wstring& path, std::string* bytes, size_t maxBytes = kMaxSettingsBytes);
// Creates the file's folder first only when asked: some lists expect theirs.
// The bytes go to a new temporary file (CSaveTemporary), never to a file or
// link found there. The file (and a folder created for it) gets `sharing`:
// the temporary is created with it and the replace keeps it, so a file
// written before gains it at its next save.
bool WriteBytesReplacing(const std::wstring& path, const std::string& bytes, bool createFolder = false,
                         AccountSharing sharing = AccountSharing::kCreatorOnly);
// Whether `name` is a temporary file a save of `path` writes before it
// replaces the file ("<file>.tmp<digits>"), whatever process it belongs to.
bool IsSaveTemporary(const std::wstring& name, const std::wstring& path);

bool Exists(const std::wstring& path);
// Whether `folder`, whose own handle shows `attributes`, is a reparse point
// (junction, mount point, symbolic link): what is written into it or deleted
// in it lands wherever the link points.
bool IsLinkedFolder(const std::wstring& folder, unsigned long attributes);
// Seam for tests (Wine makes no junctions): answers in place of a folder's
// attributes; nullptr restores the handle's.
using FolderAttributesQuery = unsigned long (*)(const std::wstring& folder);
void SetFolderAttributesQuery(FolderAttributesQuery query);
// Moves a file that could not be read to a name of its own beside it, so
// that saving anew never destroys it: `<path>.damaged`, or when that is
// taken `<path>.damaged2`, `.damaged3` and on. A rename never replaces nor
// follows what stands at a name, so an earlier copy (or a link planted
// there) stays. True when nothing is left at `path`; `copy` then names the
// copy (empty when there was no file). A folder standing at `path` is no
// damaged file and stays: false.
bool SetAside(const std::wstring& path, std::wstring* copy = nullptr);
// Whether `name` is a copy SetAside makes of `path`.
bool IsSetAside(const std::wstring& name, const std::wstring& path);

// The scrambling of acc.conf and tl.dat: the first min(size, 128) bytes
// inverted. Its own inverse; done in memory so the file is never plain.
void InvertHead(std::string* bytes);
// The same step on a file in place (for tools that need it on disk).
bool InvertFileHead(const std::wstring& path);

// No data or skin file nests its elements anywhere near this deep; parsers
// recurse once per level and a file nested thousands deep would run them out
// of stack, so such a file reads as damaged before it is parsed.
constexpr size_t kMaxXmlDepth = 256;
// One pass over the markup as a parser sees its tags (comments, CDATA,
// declarations and quoted attribute values skipped). Narrow text may be in
// any code page whose multi-byte characters never hold '<', '>' or quotes,
// as UTF-8 and the Chinese code pages do.
bool NestsTooDeep(std::string_view text);
bool NestsTooDeep(std::wstring_view text);
// The same for a file's bytes in whatever encoding an XML parser detects:
// UTF-16 (with or without its mark) is read as such.
bool FileNestsTooDeep(const std::string& bytes);

// Parses narrow XML with TinyXML's own encoding detection; a file nested too
// deep fails as not well-formed.
bool ParseXml(const std::string& bytes, TiXmlDocument* document);
// Lines end in CR LF, as text-mode files on Windows always had them.
constexpr char kLineBreak[] = "\r\n";
std::string PrintXml(const TiXmlDocument& document);

// Loads a data file (unscrambling it when asked); a file larger than
// `maxBytes` or not well-formed is damaged. A scrambled file found plain is
// read as it stands.
ReadResult LoadXmlFile(const std::wstring& path, TiXmlDocument* document, bool scrambled = false,
                 size_t maxBytes = kMaxSettingsBytes);
// Loads a list's file (up to kMaxListBytes) as LoadXmlFile does; damaged
// also, without parsing, when its load would take more than kMaxListMemory.
ReadResult LoadListFile(const std::wstring& path, TiXmlDocument* document, const ListEntrySize& entry);
// Writes a document whole (scrambled when asked).
bool SaveXmlFile(const std::wstring& path, const TiXmlDocument& document, bool scrambled = false,
                 bool createFolder = false, AccountSharing sharing = AccountSharing::kCreatorOnly);

}  // namespace datafile
