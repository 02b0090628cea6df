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

// Files of mode 0644 and 0444 and a directory of 0755. Wine: a read-only
// owner keeps the rights to read and to change the permissions.
TEST_F(SecurityInfoTest, OwnerDomainAndAclOfFilesAndDirectories) {
    const std::string user = ProcessUserName(), group = ProcessGroupName();
    const std::string read = "   Allowed Read (RX) (0x120089)\n",
                      full = "   Allowed Full Control (All) (0x1f01ff)\n";
    dir_.Write("plain.txt", "text");
    dir_.Write("readonly.txt", "text");
    fs::create_directory(dir_.path() / "sub");
    const struct {
        const char* name;
        fs::perms mode;
        std::string posix, windows;
    } rows[] = {
        {"plain.txt", fs::perms(0644),
         user + "   Allowed Change (RWXD) (0x13019f)\n" + group + read + "Everyone" + read,
         UnixModeAcl(user, "Read (RX) (0x1200a9)\n")},
        {"readonly.txt", fs::perms(0444), user + read + group + read + "Everyone" + read,
         "SYSTEM" + full + user +
             "   Allowed Read (RX) (0x1e00a9)\nEveryone   Allowed Read (RX) (0x1200a9)\n"},
        {"sub", fs::perms(0755),
         user + full + group +
             "   Allowed Read (RX) (0x1200a9)\nEveryone   Allowed Read (RX) (0x1200a9)\n",
         UnixModeAcl(user, "Read (RX) (0x1200a9)\n")},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        fs::permissions(dir_.path() / row.name, row.mode);
        const SecurityGroup& loaded = Load(row.name);
        EXPECT_EQ(U8(loaded.owner.str()), user);
        EXPECT_EQ(U8(loaded.ownerDomain.str()), LocalDomain());
        EXPECT_EQ(U8(loaded.acl.str()) + "\n", OnPlatform(row.posix, row.windows));
    }
    fs::permissions(dir_.path() / "readonly.txt", fs::perms(0644));
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
