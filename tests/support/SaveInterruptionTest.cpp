// A save interrupted at any point, by a kill or a failing write, leaves the old document or the new one, whole.
#include "support/DocumentFile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace tavlix;

namespace {

namespace fs = std::filesystem;

std::string Slurp(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class SaveInterruption : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        for (char& c : name)
            if (c == '/')
                c = '_';  // parameterised tests are named "Case/1"
        Dir = fs::temp_directory_path() / ("tavlix-save-" + std::to_string(::getpid()) + "-" + name);
        fs::remove_all(Dir);
        fs::create_directories(Dir);
        Path = (Dir / "doc.tvx").string();
        Old.settings = defaultSettings();
        Old.lines = {"Funktioner", "  f = sin(t)", "GrafVariable", "  t, f, l1"};
        OldBytes = documentBytes(Old);
        std::ofstream(Path, std::ios::binary) << OldBytes;
    }
    void TearDown() override { fs::remove_all(Dir); }

    // The document on disk must be exactly the old one or exactly the new one.
    void ExpectOldOrNew(const std::string& newBytes, const std::string& when)
    {
        const std::string now = Slurp(Path);
        EXPECT_TRUE(now == OldBytes || now == newBytes)
            << when << ": " << now.size() << " bytes on disk, old " << OldBytes.size() << ", new " << newBytes.size();
    }

    // Saves doc in a child process that is set up by prepare(); returns the child's wait status.
    template <typename Prepare>
    int SaveInChild(const Document& doc, Prepare prepare)
    {
        const pid_t pid = ::fork();
        if (pid == 0) {
            prepare();
            std::string error;
            ::_exit(writeDocument(Path, doc, error) ? 0 : 3);
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        return status;
    }

    fs::path Dir;
    std::string Path;
    Document Old;
    std::string OldBytes;
};

// A document of about size bytes.
Document Big(std::size_t size)
{
    Document doc;
    doc.settings = defaultSettings();
    doc.lines.assign(size / 62 + 1, "  f = 0.123456789*t + 0.987654321*t*t - 3.14159*t*t*t    ");
    return doc;
}

// The file-size limit kills the saving process the moment its write passes the given byte: every such moment,
// from the first byte to the last, leaves the old file.
class KilledAtByte : public SaveInterruption, public ::testing::WithParamInterface<long> {};

TEST_P(KilledAtByte, LeavesTheOldFile)
{
    const Document doc = Big(300000);
    const std::string newBytes = documentBytes(doc);
    const long limit = GetParam() >= 0 ? GetParam() : static_cast<long>(newBytes.size()) + GetParam();
    const int status = SaveInChild(doc, [limit] {
        std::signal(SIGXFSZ, SIG_DFL);
        rlimit r{};
        ::getrlimit(RLIMIT_FSIZE, &r);
        r.rlim_cur = static_cast<rlim_t>(limit);
        ::setrlimit(RLIMIT_FSIZE, &r);
    });
    ASSERT_TRUE(WIFSIGNALED(status)) << "the save was not killed";
    EXPECT_EQ(WTERMSIG(status), SIGXFSZ);
    EXPECT_TRUE(Slurp(Path) == OldBytes) << "limit " << limit;
}

// 0: before the first byte; negative: that many bytes before the end.
INSTANTIATE_TEST_SUITE_P(SaveInterruption, KilledAtByte, ::testing::Values(0L, 1L, 100L, 65536L, 100001L, -1L));

// The same limit with the signal ignored makes the write fail: the save says so and the old file stays.
TEST_F(SaveInterruption, AFailingWriteReportsAndKeepsTheOldFile)
{
    const Document doc = Big(300000);
    const long size = static_cast<long>(documentBytes(doc).size());
    for (const long limit : {0L, 1L, 4096L, size - 1}) {
        const int status = SaveInChild(doc, [limit] {
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit r{};
            ::getrlimit(RLIMIT_FSIZE, &r);
            r.rlim_cur = static_cast<rlim_t>(limit);
            ::setrlimit(RLIMIT_FSIZE, &r);
        });
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 3) << "limit " << limit;
        EXPECT_TRUE(Slurp(Path) == OldBytes) << "limit " << limit;
        // A failed save cleans up after itself.
        EXPECT_EQ(std::distance(fs::directory_iterator(Dir), fs::directory_iterator()), 1) << "limit " << limit;
    }
}

// A real kill at moments spread over a save of a large document: never a truncated file.
TEST_F(SaveInterruption, KilledWhileSavingALargeDocument)
{
    const Document doc = Big(40u << 20);
    const std::string newBytes = documentBytes(doc);
    // Milliseconds after the save began; AfterTheSave waits for the save to return, however slow the machine.
    constexpr int AfterTheSave = -1;
    int old = 0, renewed = 0;
    for (const int delayMs : {0, 2, 10, 40, 120, 400, 1500, AfterTheSave}) {
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::close(ready[0]);
            (void)!::write(ready[1], "g", 1);
            std::string error;
            const bool saved = writeDocument(Path, doc, error);
            (void)!::write(ready[1], saved ? "s" : "f", 1);
            ::pause();
            ::_exit(0);
        }
        ::close(ready[1]);
        char c;
        (void)!::read(ready[0], &c, 1);
        if (delayMs == AfterTheSave)
            ASSERT_EQ(::read(ready[0], &c, 1), 1);
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
        ::close(ready[0]);
        ::kill(pid, SIGKILL);
        int status = 0;
        ::waitpid(pid, &status, 0);
        ExpectOldOrNew(newBytes, "killed after " + std::to_string(delayMs) + " ms");
        const bool isNew = Slurp(Path) == newBytes;
        renewed += isNew;
        old += !isNew;
        // Put the old document back for the next kill, and clear what the killed save left behind.
        for (const auto& entry : fs::directory_iterator(Dir))
            fs::remove(entry.path());
        std::ofstream(Path, std::ios::binary) << OldBytes;
    }
    // At least the earliest kill came before the save was done, and a kill after it keeps the new document.
    EXPECT_GE(old, 1);
    EXPECT_GE(renewed, 1);
    const int status = SaveInChild(doc, [] {});
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_TRUE(Slurp(Path) == newBytes);
}

}  // namespace
