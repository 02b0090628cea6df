// What only the Linux build's descriptor shows: the owning group, rights from
// each rwx combination, extended ACLs with named users and groups and a mask,
// accounts without a name, and files an unprivileged user may not query.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "fileinfo/FileRecord.h"
#include "tests/security/SecurityAccounts.h"
#include "tests/support/ScopedResources.h"
#include "tests/support/TestSupport.h"
#include "tests/support/Unprivileged.h"

using namespace testing_support;
using namespace security_testing;
namespace fs = std::filesystem;

namespace {

class PosixSecurityTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (geteuid() != 0)
            GTEST_SKIP() << "changing owners needs root";
        file_ = dir_.Write("f", "text");
    }

    void Run(const std::string& command) {
        ASSERT_EQ(std::system((command + " '" + file_.string() + "'").c_str()), 0) << command;
    }

    const SecurityGroup& Load() {
        data_ = platform::FindData{};
        U16(file_.filename().string()).copy(data_.cFileName, 259);
        record_.Reset();
        record_.Fill(&data_, U16(dir_.path().string()), 0, 0);
        return record_.Security();
    }

    std::string Acl() { return U8(Load().acl.str()); }

    void ExpectEmpty() {
        const SecurityGroup& group = Load();
        EXPECT_EQ(U8(group.owner.str()), "");
        EXPECT_EQ(U8(group.ownerDomain.str()), "");
        EXPECT_EQ(U8(group.acl.str()), "");
    }

    ScopedResources resources_;
    TempDir dir_;
    fs::path file_;
    platform::FindData data_{};
    FileRecord record_{u""};
};

TEST_F(PosixSecurityTest, RightsFromTheModeBits) {
    const std::string user = ProcessUserName(), group = ProcessGroupName();
    const struct {
        unsigned mode;
        const char* owner;
        const char* group;
        const char* other;
    } rows[] = {
        {0000, "No Access (None) (0x0)", "No Access (None) (0x0)", "No Access (None) (0x0)"},
        {0777, "Full Control (All) (0x1f01ff)", "Full Control (All) (0x1f01ff)",
         "Full Control (All) (0x1f01ff)"},
        {0751, "Full Control (All) (0x1f01ff)", "Read (RX) (0x1200a9)", "Read (RX) (0x1200a0)"},
        {0620, "Change (RWXD) (0x13019f)", "Change (RWXD) (0x130116)", "No Access (None) (0x0)"},
        {0436, "Read (RX) (0x120089)", "Change (RWXD) (0x1301b6)", "Change (RWXD) (0x13019f)"},
    };
    for (const auto& row : rows) {
        fs::permissions(file_, fs::perms(row.mode));
        EXPECT_EQ(Acl(), user + "   Allowed " + row.owner + "\n" + group + "   Allowed " +
                             row.group + "\nEveryone   Allowed " + row.other)
            << std::oct << row.mode;
    }
}

TEST_F(PosixSecurityTest, NamedUsersAndGroupsLimitedByTheMask) {
    fs::permissions(file_, fs::perms(0640));
    Run("setfacl -m u:bin:rw-,u:daemon:rwx,g:tty:r--,g:adm:rw-,m:r-x");
    const std::string user = ProcessUserName(), group = ProcessGroupName();
    EXPECT_EQ(Acl(), user +
                         "   Allowed Change (RWXD) (0x13019f)\n"
                         "daemon   Allowed Read (RX) (0x1200a9)\n"
                         "bin   Allowed Read (RX) (0x120089)\n" +
                         group +
                         "   Allowed Read (RX) (0x120089)\n"
                         "adm   Allowed Read (RX) (0x120089)\n"
                         "tty   Allowed Read (RX) (0x120089)\n"
                         "Everyone   Allowed No Access (None) (0x0)");
    EXPECT_EQ(U8(record_.Security().owner.str()), user);
    EXPECT_EQ(U8(record_.Security().ownerDomain.str()), LocalDomain());

    // A mask of rwx limits nothing.
    Run("setfacl -m m:rwx");
    const std::string acl = Acl();
    EXPECT_NE(acl.find("daemon   Allowed Full Control (All) (0x1f01ff)"), std::string::npos) << acl;
    EXPECT_NE(acl.find("adm   Allowed Change (RWXD) (0x13019f)"), std::string::npos) << acl;
}

TEST_F(PosixSecurityTest, ADescriptorLargerThanTheFirstBuffer) {
    // 3 + 24 entries of 24 bytes do not fit in 512 bytes.
    const char* users[] = {"daemon", "bin",  "sys",  "sync", "games", "man",
                           "lp",     "mail", "news", "uucp", "proxy", "www-data"};
    const char* groups[] = {"adm",  "tty", "disk",  "lp",   "mail",    "news",
                            "uucp", "man", "proxy", "kmem", "dialout", "fax"};
    std::string named;
    for (const char* user : users)
        named += std::string(named.empty() ? "" : ",") + "u:" + user + ":r--";
    for (const char* group : groups)
        named += ",g:" + std::string(group) + ":r--";
    Run("setfacl -m " + named);
    const std::string acl = Acl();
    std::istringstream lines(acl);
    std::vector<std::string> entries;
    for (std::string line; std::getline(lines, line);)
        entries.push_back(line);
    ASSERT_EQ(entries.size(), 27u) << acl;
    EXPECT_EQ(entries[1], "daemon   Allowed Read (RX) (0x120089)");
    EXPECT_EQ(entries[12], "www-data   Allowed Read (RX) (0x120089)");
    EXPECT_EQ(entries[25], "fax   Allowed Read (RX) (0x120089)");
    EXPECT_EQ(entries[26].rfind("Everyone   Allowed ", 0), 0u);
}

TEST_F(PosixSecurityTest, AccountsWithoutANameEmptyEverything) {
    Run("chown 4242");  // an owner without a name
    ExpectEmpty();
    Run("chown 0");
    ASSERT_FALSE(Load().owner.isEmpty());

    Run("chgrp 4243");  // the owning group's entry does not resolve
    ExpectEmpty();
    Run("chgrp 0");

    Run("setfacl -m u:4244:r--");  // a named user that was deleted
    ExpectEmpty();
    Run("setfacl -x u:4244");
    EXPECT_FALSE(Load().acl.isEmpty());
}

TEST_F(PosixSecurityTest, FilesTheUserMayNotReach) {
    fs::create_directory(dir_.path() / "closed");
    const fs::path hidden = dir_.path() / "closed" / "f";
    dir_.Write("closed/f", "text");
    fs::permissions(dir_.path() / "closed", fs::perms(0700));
    fs::permissions(dir_.path(), fs::perms(0755));
    fs::permissions(file_, fs::perms(0600));  // unreadable, but its owner and ACL are not secret

    auto load = [&](const fs::path& folder, const char* name) {
        data_ = platform::FindData{};
        U16(name).copy(data_.cFileName, 259);
        record_.Reset();
        record_.Fill(&data_, U16(folder.string()), 0, 0);
        return record_.Security();
    };
    EXPECT_EQ(AsUnprivilegedUser([&] {
                  const SecurityGroup closed = load(dir_.path() / "closed", "f");
                  const SecurityGroup open = load(dir_.path(), "f");
                  return closed.owner.isEmpty() && closed.acl.isEmpty() && !open.owner.isEmpty() &&
                         !open.acl.isEmpty();
              }),
              0);
}

TEST_F(PosixSecurityTest, ADanglingLinkHasNoDescriptor) {
    fs::remove(file_);
    fs::create_symlink(dir_.path() / "nowhere", file_);
    ExpectEmpty();
}

}  // namespace
