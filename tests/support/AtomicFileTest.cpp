// The atomic write: the target is the old file or the whole new one, and a failure says at which step it came.
#include "support/AtomicFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

using namespace tavlix;

namespace {

namespace fs = std::filesystem;

class AtomicWrite : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("tavlix-atomic-" + std::to_string(::getpid()) + "-" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        std::ofstream(dir / "old.txt") << "old";
        fs::permissions(dir / "old.txt", fs::perms::owner_read | fs::perms::owner_write);
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string Read(const std::string& name) const
    {
        std::ifstream in(dir / name, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    long Entries() const { return std::distance(fs::directory_iterator(dir), fs::directory_iterator()); }

    fs::path dir;
};

// Every way a write ends: the target's bytes after it, the step that failed and the reason, and nothing left over.
TEST_F(AtomicWrite, EndsWithTheOldFileOrTheWholeNewOne)
{
    struct Case {
        const char* name;
        const char* target;  // inside the test's folder
        bool commit;
        AtomicFile::Step failedStep;
        int failure;
        const char* after;  // the target's bytes afterwards
    };
    const Case cases[] = {
        {"abandoned", "old.txt", false, AtomicFile::Step::None, 0, "old"},
        {"committed", "old.txt", true, AtomicFile::Step::None, 0, "new"},
        {"no such folder", "missing/new.txt", true, AtomicFile::Step::Create, ENOENT, ""},
        {"a folder in the way", "sub", true, AtomicFile::Step::Replace, EISDIR, ""},
    };
    fs::create_directory(dir / "sub");
    for (const Case& c : cases) {
        const std::string target = (dir / c.target).string();
        {
            AtomicFile file;
            if (file.open(target))
                std::fputs("new", file.stream());
            const bool done = c.commit && file.commit(true);
            EXPECT_EQ(file.failedStep(), c.failedStep) << c.name;
            EXPECT_EQ(file.failure(), c.failure) << c.name;
            EXPECT_EQ(done, c.commit && c.failedStep == AtomicFile::Step::None) << c.name;
        }
        if (fs::is_regular_file(target)) {
            EXPECT_EQ(Read(c.target), c.after) << c.name;
        }
        EXPECT_EQ(Entries(), 2) << c.name << ": a temporary file was left";
    }
    // The replaced file kept who may read it.
    struct stat st {};
    ASSERT_EQ(::stat((dir / "old.txt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

}  // namespace
