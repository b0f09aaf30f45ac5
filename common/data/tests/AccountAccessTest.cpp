// What every account of the machine may do with the files the programs keep
// in the shared data folder. Wine keeps no permissions on files, so the cases
// check the descriptors built and what each creation is given.
#include <gtest/gtest.h>

#include <vector>

#include "AccountAccess.h"
#include "CreationLog.h"
#include "DataFile.h"
#include "DataFolderTest.h"
#include "SiteList.h"
#include "SnapshotList.h"
#include "SysConf.h"
#include "TimeLog.h"

namespace {

using Target = CAccountAccess::Target;

bool RunsOnWine() { return ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }

std::wstring WithoutSlash(std::wstring folder) {
  if (!folder.empty() && folder.back() == L'\\') folder.pop_back();
  return folder;
}

TEST(AccountAccessTest, GrantsTheLocalUsersGroupWhatEachSharingSays) {
  EXPECT_EQ(nullptr, CAccountAccess(AccountSharing::kCreatorOnly, Target::kFile).Attributes());
  EXPECT_EQ(nullptr, CAccountAccess(AccountSharing::kCreatorOnly, Target::kFolder).Attributes());
  struct Case {
    AccountSharing sharing;
    Target target;
    const wchar_t* grant;
  } cases[] = {{AccountSharing::kAddOnly, Target::kFolder, kAddOnlyGrant},
               {AccountSharing::kModify, Target::kFolder, kModifyFolderGrant},
               {AccountSharing::kModify, Target::kFile, kModifyFileGrant},
               {AccountSharing::kModifyInside, Target::kFolder, kModifyInsideGrant},
               {AccountSharing::kModifyInside, Target::kFile, kModifyFileGrant}};
  for (const Case& c : cases) {
    CAccountAccess access(c.sharing, c.target);
    const SECURITY_ATTRIBUTES* attributes = access.Attributes();
    ASSERT_NE(nullptr, attributes) << c.grant;
    EXPECT_EQ(sizeof(SECURITY_ATTRIBUTES), attributes->nLength);
    EXPECT_FALSE(attributes->bInheritHandle) << "no child process gets the file";
    EXPECT_TRUE(::IsValidSecurityDescriptor(attributes->lpSecurityDescriptor));
    EXPECT_EQ(c.grant, DescribeGrant(attributes));
  }
}

class AccountSharingTest : public DataFolderTest {};

// The machine of a new user: nothing of ours under the all-users folder. The
// parent's settings, password and site lists keep default security, so that
// no child's account can change them.
TEST_F(AccountSharingTest, EveryAccountMayKeepTheMinutesAndRecordsButNotTheParentsSettings) {
  const std::wstring data = WithoutSlash(folder_);
  const std::wstring hollin = data.substr(0, data.rfind(L'\\'));
  RemoveTree(hollin);
  ASSERT_FALSE(Has(L""));
  CreationLog log;
  ASSERT_EQ(folder_, CCommHelper::GetDataDir(true));
  EXPECT_EQ(kAddOnlyGrant, log.GrantOf(hollin));
  EXPECT_EQ(kAddOnlyGrant, log.GrantOf(data));
  // Nobody may put another folder or a link in place of the two record
  // folders, and the account setting up owns them, not the child's.
  EXPECT_EQ(kModifyInsideGrant, log.GrantOf(folder_ + L"his"));
  EXPECT_EQ(kModifyInsideGrant, log.GrantOf(folder_ + L"favs"));
  EXPECT_EQ(4u, log.Paths().size()) << "nothing else is made for the data folder";

  CTimeLog().AddUsage(60, 1);
  EXPECT_EQ(kModifyFileGrant, log.GrantOfSave(folder_ + L"tl.dat"));
  { CHistoryList().AddVisit(L"http://kids.test/", L"kids", L""); }
  EXPECT_EQ(kModifyFileGrant, log.GrantOfSave(folder_ + L"his\\his.xml"));
  { CFavorites().Add(L"http://kids.test/", L"kids", L""); }
  EXPECT_EQ(kModifyFileGrant, log.GrantOfSave(folder_ + L"favs\\favs.xml"));

  CSysConf settings;
  ASSERT_EQ(1, settings.Save());
  CNavCtrlList allowed;
  allowed.Add(L"http://kids.test/", L"kids");
  ASSERT_EQ(1, allowed.Save());
  CRecommendList recommended;
  recommended.Add(L"http://kids.test/", L"kids");
  ASSERT_EQ(1, recommended.Save());
  EXPECT_EQ(kDefaultGrant, log.GrantOf(folder_ + L"conf"));
  for (const wchar_t* file : {L"conf\\sys.conf", L"conf\\acc.conf", L"navctrl.dat", L"pr.dat"})
    EXPECT_EQ(kDefaultGrant, log.GrantOfSave(folder_ + file)) << file;

  // Folders made on the way to one asked for take none of its entries, which
  // would reach the settings beside it.
  RemoveTree(hollin);
  CCommHelper::MakeDirTree(data + L"\\his", AccountSharing::kModifyInside);
  EXPECT_EQ(kDefaultGrant, log.GrantOf(hollin));
  EXPECT_EQ(kDefaultGrant, log.GrantOf(data));
  EXPECT_EQ(kModifyInsideGrant, log.GrantOf(data + L"\\his"));
}

// What the file system keeps can only be read back where it keeps
// permissions: on Windows, on NTFS.
TEST_F(AccountSharingTest, ASharedSaveCarriesTheUsersEntryBesideWhatItsFolderPassesOn) {
  if (RunsOnWine())
    GTEST_SKIP() << "Wine keeps no security descriptor on files: a DACL given at creation reads back as Wine's own";
  DWORD flags = 0;
  const std::wstring root = folder_.substr(0, 3);
  if (!::GetVolumeInformationW(root.c_str(), nullptr, 0, nullptr, nullptr, &flags, nullptr, 0) ||
      !(flags & FILE_PERSISTENT_ACLS))
    GTEST_SKIP() << "the data folder's file system keeps no permissions";
  const std::wstring path = folder_ + L"shared.dat";
  ASSERT_TRUE(datafile::WriteBytesReplacing(path, "x", false, AccountSharing::kModify));
  DWORD size = 0;
  ::GetFileSecurityW(path.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &size);
  std::vector<DWORD> buffer(size / sizeof(DWORD) + 1);
  ASSERT_TRUE(::GetFileSecurityW(path.c_str(), DACL_SECURITY_INFORMATION, buffer.data(), size, &size));
  SECURITY_ATTRIBUTES kept{sizeof(kept), buffer.data(), FALSE};
  const std::wstring grant = DescribeGrant(&kept);
  EXPECT_NE(std::wstring::npos, grant.find(kModifyFileGrant)) << grant;
  EXPECT_NE(std::wstring::npos, grant.find(L"inherit 0x1")) << "nothing was merged from the folder: " << grant;
}

}  // namespace
