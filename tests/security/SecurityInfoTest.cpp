// The security group of a row on both builds: the Windows build reads the
// real descriptors (under Wine, made from the Unix mode), the Linux build the
// descriptor it makes from the mode and the POSIX ACL.
#include <gtest/gtest.h>

#include <filesystem>

#include "fileinfo/FileRecord.h"
#include "platform/FileSecurity.h"
#include "platform/PathSplit.h"
#include "tests/platform/OnPlatform.h"
#include "tests/security/SecurityAccounts.h"
#include "tests/support/ScopedResources.h"
#include "tests/support/TestSupport.h"

using namespace testing_support;
using namespace security_testing;
using testing_platform::OnPlatform;
namespace fs = std::filesystem;

namespace {

class SecurityInfoTest : public ::testing::Test {
protected:
    // Loads the group of `name` in the temporary folder as a fresh row.
    const SecurityGroup& Load(const std::string& name, FileRecord& record) {
        data_ = platform::FindData{};
        U16(name).copy(data_.cFileName, 259);
        std::u16string folder = dir_.folderText();
        folder.pop_back();
        record.Reset();
        record.Fill(&data_, folder, 0, 0);
        const SecurityGroup& group = record.Security();
        EXPECT_TRUE(record.IsLoaded(RecordGroup::Security));
        return group;
    }
    const SecurityGroup& Load(const std::string& name) { return Load(name, record_); }

    static void ExpectEmpty(const SecurityGroup& group) {
        EXPECT_EQ(U8(group.owner.str()), "");
        EXPECT_EQ(U8(group.ownerDomain.str()), "");
        EXPECT_EQ(U8(group.acl.str()), "");
    }

    ScopedResources resources_;
    TempDir dir_;
    platform::FindData data_{};
    FileRecord record_{u""};
};

// Wine names the owner after the Unix user and gives SYSTEM, the owner and
// Everyone entries from the owner's and others' bits; the Linux build lists
// the owner, the owning group and others.
std::string UnixModeAcl(const std::string& owner, const std::string& other) {
    return "SYSTEM   Allowed Full Control (All) (0x1f01ff)\n" + owner +
           "   Allowed Full Control (All) (0x1f01ff)\nEveryone   Allowed " + other;
}

TEST_F(SecurityInfoTest, AFileWithOwnerReadWrite) {
    const fs::path file = dir_.Write("plain.txt", "text");
    fs::permissions(file, fs::perms(0644));
    const SecurityGroup& group = Load("plain.txt");
    const std::string user = ProcessUserName();
    EXPECT_EQ(U8(group.owner.str()), user);
    EXPECT_EQ(U8(group.ownerDomain.str()), LocalDomain());
    EXPECT_EQ(U8(group.acl.str()),
              OnPlatform(user + "   Allowed Change (RWXD) (0x13019f)\n" + ProcessGroupName() +
                             "   Allowed Read (RX) (0x120089)\n"
                             "Everyone   Allowed Read (RX) (0x120089)",
                         UnixModeAcl(user, "Read (RX) (0x1200a9)")));
}

TEST_F(SecurityInfoTest, AReadOnlyFile) {
    const fs::path file = dir_.Write("readonly.txt", "text");
    fs::permissions(file, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    const std::string user = ProcessUserName();
    const std::string group = ProcessGroupName();
    EXPECT_EQ(U8(Load("readonly.txt").acl.str()),
              OnPlatform(user + "   Allowed Read (RX) (0x120089)\n" + group +
                             "   Allowed Read (RX) (0x120089)\n"
                             "Everyone   Allowed Read (RX) (0x120089)",
                         // Wine: the owner keeps the rights to read and to
                         // change the permissions, not to write or delete.
                         "SYSTEM   Allowed Full Control (All) (0x1f01ff)\n" + user +
                             "   Allowed Read (RX) (0x1e00a9)\n"
                             "Everyone   Allowed Read (RX) (0x1200a9)"));
    fs::permissions(file, fs::perms::owner_write, fs::perm_options::add);
}

TEST_F(SecurityInfoTest, ADirectory) {
    fs::create_directory(dir_.path() / "sub");
    fs::permissions(dir_.path() / "sub", fs::perms(0755));
    const SecurityGroup& group = Load("sub");
    const std::string user = ProcessUserName();
    EXPECT_EQ(U8(group.owner.str()), user);
    EXPECT_EQ(U8(group.acl.str()),
              OnPlatform(user + "   Allowed Full Control (All) (0x1f01ff)\n" + ProcessGroupName() +
                             "   Allowed Read (RX) (0x1200a9)\n"
                             "Everyone   Allowed Read (RX) (0x1200a9)",
                         UnixModeAcl(user, "Read (RX) (0x1200a9)")));
}

TEST_F(SecurityInfoTest, TheWordsComeFromTheRowsLanguage) {
    const fs::path file = dir_.Write("plain.txt", "text");
    fs::permissions(file, fs::perms(0644));
    FileRecord german(u"de");
    const std::string acl = U8(Load("plain.txt", german).acl.str());
    const std::string everyone = "Everyone   Zugelassen Lesen (RX) (0x";
    EXPECT_NE(acl.find(everyone), std::string::npos) << acl;
    EXPECT_EQ(acl.find("Allowed"), std::string::npos) << acl;
}

TEST_F(SecurityInfoTest, RowsWithoutADescriptor) {
    ExpectEmpty(Load("missing.txt"));

    record_.Reset();
    record_.Fill(nullptr, dir_.folderText(), 0, 0);
    const SecurityGroup& group = record_.Security();
    EXPECT_TRUE(record_.IsLoaded(RecordGroup::Security));
    ExpectEmpty(group);
}

TEST_F(SecurityInfoTest, TheDescriptorIsQueriedOncePerRow) {
    dir_.Write("gone.txt", "text");
    const std::string owner = U8(Load("gone.txt").owner.str());
    ASSERT_FALSE(owner.empty());
    const std::string acl = U8(record_.Security().acl.str());

    // Reading ACL after Owner finds the group loaded: no second query, so
    // removing the file in between changes nothing.
    fs::remove(dir_.path() / "gone.txt");
    EXPECT_EQ(U8(record_.Security().owner.str()), owner);
    EXPECT_EQ(U8(record_.Security().acl.str()), acl);

    // The next row queries again.
    ExpectEmpty(Load("gone.txt"));
}

TEST(FileSecurity, TheLengthIsReportedWithOrWithoutRoom) {
    TempDir dir;
    const fs::path file = dir.Write("f.txt", "text");
    const std::u16string path = file.u16string();
    const uint32_t information =
        platform::kOwnerSecurityInformation | platform::kDaclSecurityInformation;
    uint8_t small[8];
    uint32_t needed = 0;
    EXPECT_FALSE(platform::QueryFileSecurity(path, information, small, sizeof small, &needed));
    EXPECT_GT(needed, 8u);
    EXPECT_LE(needed, 512u);

    std::vector<uint8_t> exact(needed);
    uint32_t again = 0;
    EXPECT_TRUE(platform::QueryFileSecurity(path, information, exact.data(), needed, &again));
    EXPECT_EQ(again, needed);

    const void* owner = nullptr;
    bool present = false;
    const void* dacl = nullptr;
    platform::AclSize size{};
    ASSERT_TRUE(platform::DescriptorOwner(exact.data(), &owner));
    ASSERT_TRUE(platform::DescriptorDacl(exact.data(), &present, &dacl));
    ASSERT_TRUE(present);
    ASSERT_TRUE(platform::GetAclSize(dacl, &size));
    EXPECT_EQ(size.aceCount, 3u);
    platform::AccessEntry entry{};
    EXPECT_TRUE(platform::GetAccessEntry(dacl, 2, &entry));
    EXPECT_FALSE(platform::GetAccessEntry(dacl, 3, &entry));
    char16_t name[256], domain[256];
    uint32_t nameUnits = 256, domainUnits = 256;
    ASSERT_TRUE(platform::LookupSidAccount(entry.sid, name, &nameUnits, domain, &domainUnits));
    EXPECT_EQ(U8(name), "Everyone");
    EXPECT_EQ(nameUnits, 8u);
    EXPECT_EQ(U8(domain), "");

    // Missing: no length is reported.
    needed = 0xCCCC;
    EXPECT_FALSE(platform::QueryFileSecurity(dir.folderText() + u"missing", information,
                                             exact.data(), static_cast<uint32_t>(exact.size()),
                                             &needed));
    EXPECT_EQ(needed, 0xCCCCu);
}

}  // namespace
