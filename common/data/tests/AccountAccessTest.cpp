// What every account of the machine may do with the files the programs keep
// in the shared data folder.
#include <gtest/gtest.h>

#include "AccountAccess.h"
#include "CreationLog.h"

namespace {

using Target = CAccountAccess::Target;

TEST(AccountAccessTest, GrantsTheLocalUsersGroupWhatEachSharingSays) {
  EXPECT_EQ(nullptr, CAccountAccess(AccountSharing::kCreatorOnly, Target::kFile).Attributes());
  EXPECT_EQ(nullptr, CAccountAccess(AccountSharing::kCreatorOnly, Target::kFolder).Attributes());
  struct Case {
    AccountSharing sharing;
    Target target;
    const wchar_t* grant;
  } cases[] = {{AccountSharing::kAddOnly, Target::kFolder, kAddOnlyGrant},
               {AccountSharing::kModify, Target::kFolder, kModifyFolderGrant},
               {AccountSharing::kModify, Target::kFile, kModifyFileGrant}};
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

}  // namespace
