#pragma once

// What every local account may do with a folder or file the programs create
// in the shared data folder. In the all-users folder each account may create
// files but not change what another account made; the child has an account
// of its own, usually not the one that first ran the browser, so what every
// account's browser keeps must say so itself.
enum class AccountSharing {
  kCreatorOnly,  // default security: what the parent folder passes on
  kAddOnly,      // a folder every account may list and add files and folders to, without changing others'
  kModify,       // every account may read, write, replace and delete; a folder passes this on to what it holds
  // A folder every account may add to and whose files and folders every
  // account may change, but which none may delete or rename, so that nobody
  // can put another folder (or a link) in its place. A file made with it is
  // kModify.
  kModifyInside,
};
