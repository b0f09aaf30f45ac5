#pragma once
#include <string>

#include "Handles.h"

// A folder opened for as long as this object lives, its handle sharing
// reading and writing but not deleting: nobody can rename, delete or replace
// it meanwhile, so a path through it names the same folder throughout. Every
// account may add folders to the record folders and could put a link in
// place of one between a look at it and its use; held, what was checked is
// what is used.
class CHeldFolder {
 public:
  CHeldFolder() = default;
  // Holds the folder at `path` itself, not what a link there points to;
  // nothing when it is missing, no folder or a link (reparse point).
  explicit CHeldFolder(std::wstring path);
  CHeldFolder(CHeldFolder&&) = default;
  CHeldFolder& operator=(CHeldFolder&&) = default;

  // A folder directly in this one, held the same way; nothing unless this one
  // is held and `name` is a plain name.
  CHeldFolder Child(const std::wstring& name) const;
  bool IsHeld() const { return static_cast<bool>(handle_); }
  // Opened, but a link: refused.
  bool IsLink() const { return link_; }
  // Without a trailing backslash.
  const std::wstring& Path() const { return path_; }
  // `name` in this folder, joined by one backslash.
  std::wstring PathOf(const std::wstring& name) const { return path_ + L"\\" + name; }

 private:
  std::wstring path_;
  fw::ScopedHandle handle_;
  bool link_ = false;
};
