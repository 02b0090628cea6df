// The security group of a row on both builds: the owner, its domain and the
// ACL text. The Windows build reads the real descriptors (under Wine, made
// from the Unix mode), the Linux build the one it makes from the mode and the
// POSIX ACL. The POSIX rows that change owners and ACLs need root.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "fileinfo/FileRecord.h"
#include "platform/FileSecurity.h"
#include "tests/support/ReferenceTable.h"
#include "tests/support/ScopedResources.h"
#include "tests/support/TestSupport.h"
#ifndef _WIN32
#include <grp.h>
#include <pwd.h>
#include <unistd.h>

#include "tests/support/Unprivileged.h"
#endif

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

// The owner and group of new files and the domain of local accounts, as each
// build names them (under Wine, the Windows user is named after the Unix one).
struct Accounts {
    std::string user, group, domain;
};
Accounts ProcessAccounts() {
#ifdef _WIN32
    const char *user = std::getenv("USERNAME"), *domain = std::getenv("USERDOMAIN");
    return {user ? user : "", "", domain ? domain : ""};
#else
    char host[256] = {};
    gethostname(host, sizeof host - 1);
    const passwd* user = getpwuid(geteuid());
    const group* group = getgrgid(getegid());
    return {user ? user->pw_name : "", group ? group->gr_name : "",
            std::string(host, std::strcspn(host, "."))};
#endif
}

class SecurityTest : public ::testing::Test {
protected:
    // "owner@domain" and the ACL lines of `name` in `folder`, as a fresh row.
    static std::string Load(const fs::path& folder, const std::string& name,
                            const char16_t* language = u"") {
        platform::FindData data{};
        U16(name).copy(data.cFileName, 259);
        FileRecord record(language);
        record.Fill(name.empty() ? nullptr : &data, folder.u16string(), 0, 0);
        const SecurityGroup& group = record.Security();
        EXPECT_TRUE(record.IsLoaded(RecordGroup::Security));
        return U8(group.owner.str()) + "@" + U8(group.ownerDomain.str()) + "\n" +
               U8(group.acl.str());
    }

    ScopedResources resources_;
    TempDir dir_;
};

TEST_F(SecurityTest, Descriptors) {
    const Accounts accounts = ProcessAccounts();
    const ReferenceTable table = ReferenceTable::LoadCases("security/acl.tsv");
    for (const auto& row : table.rows()) {
        std::string expected = table.Field(row, IsWindowsBuild() ? "windows" : "posix");
        const std::string name = table.Field(row, "name"), mode = table.Field(row, "mode"),
                          command = table.Field(row, "command");
#ifndef _WIN32
        if (!command.empty() && geteuid() != 0)
            continue;  // changing owners and ACLs
#endif
        if (expected == "-")
            continue;
        SCOPED_TRACE(row.name);
        for (const auto& [from, to] : {std::pair{"$user", accounts.user},
                                       {"$group", accounts.group},
                                       {"$domain", accounts.domain}})
            for (size_t at; (at = expected.find(from)) != std::string::npos;)
                expected.replace(at, std::strlen(from), to);
        TempDir dir;
        const fs::path path = dir.path() / "f";
        if (name == "link")
            fs::create_symlink(dir.path() / "nowhere", path);
        else if (name == "directory")
            fs::create_directory(path);
        else
            dir.Write("f", "text");
        if (!mode.empty())
            fs::permissions(path, fs::perms(std::stoi(mode, nullptr, 8)));
        ASSERT_EQ(command.empty() ? 0 : std::system((command + " '" + path.string() + "'").c_str()),
                  0);
        EXPECT_EQ(Load(dir.path(), "f"), expected);
        if (!mode.empty())
            fs::permissions(path, fs::perms::owner_all);  // so that it can be removed
    }
}

TEST_F(SecurityTest, TheWordsComeFromTheRowsLanguage) {
    fs::permissions(dir_.Write("f", "text"), fs::perms(0644));
    const std::string acl = Load(dir_.path(), "f", u"de");
    EXPECT_NE(acl.find("Everyone   Zugelassen Lesen (RX) (0x"), std::string::npos) << acl;
    EXPECT_EQ(acl.find("Allowed"), std::string::npos) << acl;
}

TEST_F(SecurityTest, RowsWithoutADescriptor) {
    EXPECT_EQ(Load(dir_.path(), "missing"), "@\n");
    EXPECT_EQ(Load(dir_.path(), ""), "@\n");  // a directory row
}

// The descriptor's length is reported when the buffer is too small, as
// Win32 does, and not at all for a file that is not there.
TEST(FileSecurity, TheLengthIsReportedWithoutRoom) {
    TempDir dir;
    const std::u16string path = dir.Write("f.txt", "text").u16string();
    const uint32_t information =
        platform::kOwnerSecurityInformation | platform::kDaclSecurityInformation;
    uint8_t small[8];
    uint32_t needed = 0;
    EXPECT_FALSE(platform::QueryFileSecurity(path, information, small, sizeof small, &needed));
    EXPECT_GT(needed, 8u);
    std::vector<uint8_t> exact(needed);
    uint32_t again = 0;
    EXPECT_TRUE(platform::QueryFileSecurity(path, information, exact.data(), needed, &again));
    EXPECT_EQ(again, needed);
    needed = 0xCCCC;
    EXPECT_FALSE(platform::QueryFileSecurity(path + u"-missing", information, exact.data(),
                                             static_cast<uint32_t>(exact.size()), &needed));
    EXPECT_EQ(needed, 0xCCCCu);
}

#ifndef _WIN32
// An unreadable file's owner and ACL are not secret; a file in a folder the
// user may not enter has none.
TEST_F(SecurityTest, FilesTheUserMayNotReach) {
    if (geteuid() != 0)
        GTEST_SKIP() << "dropping to an unprivileged user needs root";
    fs::create_directory(dir_.path() / "closed");
    dir_.Write("closed/f", "text");
    fs::permissions(dir_.path() / "closed", fs::perms(0700));
    fs::permissions(dir_.path(), fs::perms(0755));
    fs::permissions(dir_.Write("f", "text"), fs::perms(0600));
    EXPECT_EQ(AsUnprivilegedUser([&] {
                  return Load(dir_.path() / "closed", "f") == "@\n" &&
                         Load(dir_.path(), "f").find("Everyone") != std::string::npos;
              }),
              0);
}
#endif

}  // namespace
