// Document files: line splitting, the exact bytes written, round trips, refused files and safe replacement.
#include "support/DocumentFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace tavlix;

namespace fs = std::filesystem;

namespace {

using Lines = std::vector<std::string>;

struct SplitRow {
    std::string bytes;
    Lines lines;
};

void PrintTo(const SplitRow& r, std::ostream* os)
{
    *os << ::testing::PrintToString(r.bytes);
}

class SplitLinesCase : public ::testing::TestWithParam<SplitRow> {};

TEST_P(SplitLinesCase, Splits)
{
    EXPECT_EQ(splitLines(GetParam().bytes), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(Endings, SplitLinesCase,
                         ::testing::Values(SplitRow{"", {}}, SplitRow{"a", {"a"}}, SplitRow{"a\r\n", {"a"}},
                                           SplitRow{"\r\n", {""}}, SplitRow{"a\r\nb", {"a", "b"}},
                                           SplitRow{"a\rb\r", {"a", "b"}}, SplitRow{"a\nb\n", {"a", "b"}},
                                           SplitRow{"a\r\n\r\nb", {"a", "", "b"}}, SplitRow{"a\n\rb", {"a", "", "b"}},
                                           SplitRow{"a\r\r\nb", {"a", "", "b"}}, SplitRow{"a\n\n\n", {"a", "", ""}}));

INSTANTIATE_TEST_SUITE_P(Nul, SplitLinesCase,
                         ::testing::Values(SplitRow{std::string("a\r\nb\0c\r\nd", 9), {"a", "b"}},
                                           SplitRow{std::string("\0abc", 4), {}},
                                           SplitRow{std::string("a\r\0\nb", 5), {"a"}}));

Document DefaultDocument()
{
    Document doc;
    doc.settings = defaultSettings();
    return doc;
}

TEST(documentBytes, NewDocumentIsTheSixteenDefaultLines)
{
    EXPECT_EQ(documentBytes(DefaultDocument()),
              "-5\r\n10\r\n1\r\n0\r\n-5\r\n5\r\n1\r\n0\r\n-5\r\n10\r\n200\r\n0\r\n0\r\n0.00005\r\n0\r\n0\r\n");
}

TEST(documentBytes, EveryScriptLineEndsWithCrLf)
{
    Document doc = DefaultDocument();
    doc.lines = {"Konstanter", "", "a = 2"};
    std::string bytes = documentBytes(doc);
    EXPECT_EQ(bytes.substr(documentBytes(DefaultDocument()).size()), "Konstanter\r\n\r\na = 2\r\n");
}

// A line break inside a setting would move every later line of the file one place on.
TEST(documentBytes, BreaksInsideSettingsBecomeSpaces)
{
    Document doc = DefaultDocument();
    doc.settings[0] = "1\r\n2";
    doc.lines = {std::string("x\0y", 3)};
    std::vector<std::string> back = splitLines(documentBytes(doc));
    ASSERT_EQ(back.size(), 17u);
    EXPECT_EQ(back[0], "1  2");
    EXPECT_EQ(back[1], "10");
    EXPECT_EQ(back[16], "x y");
}

struct CompleteRow {
    std::string path;
    std::string completed;
};

class CompleteFileNameCase : public ::testing::TestWithParam<CompleteRow> {};

TEST_P(CompleteFileNameCase, AppendsOnlyWithoutAnyDot)
{
    EXPECT_EQ(completeFileName(GetParam().path), GetParam().completed);
}

INSTANTIATE_TEST_SUITE_P(Paths, CompleteFileNameCase,
                         ::testing::Values(CompleteRow{"opgave", "opgave.tvx"},
                                           CompleteRow{"mappe/opgave", "mappe/opgave.tvx"},
                                           CompleteRow{"opgave.txt", "opgave.txt"},
                                           CompleteRow{"v1.2/opgave", "v1.2/opgave"},
                                           CompleteRow{"opgave.", "opgave."}));

// A fresh directory per test, removed afterwards.
class DocumentFiles : public ::testing::Test {
protected:
    fs::path dir;

    void SetUp() override
    {
        std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::replace(name.begin(), name.end(), '/', '-');  // parameterised tests are named "Test/Row"
        dir = fs::temp_directory_path() / ("tavlix-doc-" + std::to_string(::getpid()) + "-" + name);
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(dir, ec);
    }

    std::string Path(const std::string& name) const { return (dir / name).string(); }

    static void Put(const std::string& path, const std::string& bytes)
    {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::string Get(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // Only the files the tests made: no temporary file may stay behind.
    std::vector<std::string> Entries() const
    {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

std::string SixteenLines(const std::string& ending)
{
    std::string s;
    for (int i = 0; i < 16; ++i)
        s += std::to_string(i) + ending;
    return s;
}

struct ReadRow {
    const char* name;
    std::string bytes;
    Lines lines;
};

void PrintTo(const ReadRow& r, std::ostream* os)
{
    *os << r.name;
}

class ReadDocumentCase : public DocumentFiles, public ::testing::WithParamInterface<ReadRow> {};

// The sixteen settings, then the script; saving writes every line back with CR LF.
TEST_P(ReadDocumentCase, ReadsTheScriptAndWritesItBackWithCrLf)
{
    std::string path = Path("doc.tvx");
    Put(path, GetParam().bytes);
    DocumentReadResult r = readDocument(path);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.doc.settings[15], "15");
    EXPECT_EQ(r.doc.lines, GetParam().lines);
    std::string expected = SixteenLines("\r\n");
    for (const std::string& line : GetParam().lines)
        expected += line + "\r\n";
    std::string error;
    ASSERT_TRUE(writeDocument(path, r.doc, error)) << error;
    EXPECT_EQ(Get(path), expected);
}

INSTANTIATE_TEST_SUITE_P(Files, ReadDocumentCase,
                         ::testing::Values(ReadRow{"CrOnly", SixteenLines("\r") + "a\r\rb", {"a", "", "b"}},
                                           ReadRow{"LfOnly", SixteenLines("\n") + "a\n\nb", {"a", "", "b"}},
                                           ReadRow{
                                               "NulEndsTheText",
                                               SixteenLines("\r\n") + "kept\r\n" + std::string("cut\0lost\r\nlost", 15),
                                               {"kept", "cut"}},
                                           ReadRow{"SixteenLinesMakeAnEmptyScript", SixteenLines("\r\n"), {}},
                                           ReadRow{"LastSettingWithoutLineEnd",
                                                   SixteenLines("\r\n").substr(0, SixteenLines("\r\n").size() - 2),
                                                   {}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DocumentFiles, Windows1252BytesSurviveARoundTrip)
{
    Document doc = DefaultDocument();
    doc.settings[0] = "-2*pi";
    doc.lines = {"\xC6\xD8\xC5 \xE6\xF8\xE5", "\x80\x9F\xFF\x01\t"};
    std::string path = Path(
        "\xC3\xA6"
        "ble.tvx");
    std::string error;
    ASSERT_TRUE(writeDocument(path, doc, error)) << error;
    DocumentReadResult r = readDocument(path);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.doc.settings, doc.settings);
    EXPECT_EQ(r.doc.lines, doc.lines);
}

TEST_F(DocumentFiles, FewerThanSixteenLinesAreRefused)
{
    struct Row {
        std::string bytes;
        std::string count;
    };
    for (const Row& row :
         {Row{"", "0 linjer"}, Row{"1\r\n", "1 linje,"}, Row{SixteenLines("\n").substr(3), "15 linjer"}}) {
        std::string path = Path("kort.tvx");
        Put(path, row.bytes);
        DocumentReadResult r = readDocument(path);
        EXPECT_FALSE(r.ok);
        EXPECT_NE(r.error.find("\"" + path + "\""), std::string::npos) << r.error;
        EXPECT_NE(r.error.find(row.count), std::string::npos) << r.error;
        EXPECT_TRUE(r.doc.lines.empty());
    }
}

TEST_F(DocumentFiles, UnreadableFilesAreNamedInTheError)
{
    DocumentReadResult missing = readDocument(Path("findes-ikke.tvx"));
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.error,
              "Kan ikke \xE5"
              "bne filen \"" +
                  Path("findes-ikke.tvx") + "\": filen eller mappen findes ikke.");

    DocumentReadResult directory = readDocument(dir.string());
    EXPECT_FALSE(directory.ok);
    EXPECT_NE(directory.error.find("det er en mappe"), std::string::npos) << directory.error;

    // UTF-8 file names are quoted in Windows-1252, like the rest of the message.
    DocumentReadResult danish = readDocument(Path("\xC3\xB8ve.tvx"));
    EXPECT_NE(danish.error.find("\xF8ve.tvx"), std::string::npos) << danish.error;
}

TEST_F(DocumentFiles, HugeFilesAreRefusedUnread)
{
    std::string path = Path("stor.tvx");
    Put(path, "");
    fs::resize_file(path, MaxDocumentBytes + 1);
    DocumentReadResult r = readDocument(path);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("for stor"), std::string::npos) << r.error;
}

TEST_F(DocumentFiles, SavingReplacesTheOldContentAndKeepsItsPermissions)
{
    std::string path = Path("doc.tvx");
    Put(path, SixteenLines("\r\n") + "a much longer old script line than the new one\r\n");
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    Document doc = DefaultDocument();
    doc.lines = {"ny"};
    std::string error;
    ASSERT_TRUE(writeDocument(path, doc, error)) << error;
    EXPECT_EQ(Get(path), documentBytes(doc));
    EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(Entries(), (Lines{"doc.tvx"}));
}

TEST_F(DocumentFiles, WriteProtectedFileIsNotReplaced)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "the superuser writes through every protection";
    std::string path = Path("laast.tvx");
    Put(path, SixteenLines("\r\n"));
    fs::permissions(path, fs::perms::owner_read);
    std::string error;
    EXPECT_FALSE(writeDocument(path, DefaultDocument(), error));
    EXPECT_EQ(error, "Kan ikke gemme filen \"" + path + "\": adgang n\xE6gtet.");
    EXPECT_EQ(Get(path), SixteenLines("\r\n"));
}

TEST_F(DocumentFiles, SavingThroughALinkReplacesTheFileItPointsTo)
{
    std::string real = Path("real.tvx");
    Put(real, SixteenLines("\r\n"));
    fs::create_symlink(real, Path("link.tvx"));
    Document doc = DefaultDocument();
    doc.lines = {"via link"};
    std::string error;
    ASSERT_TRUE(writeDocument(Path("link.tvx"), doc, error)) << error;
    EXPECT_TRUE(fs::is_symlink(Path("link.tvx")));
    EXPECT_EQ(Get(real), documentBytes(doc));
}

// A write that fails half-way (here: the file-size limit) leaves the old file as it was and no temporary file.
TEST_F(DocumentFiles, FailedWriteLeavesTheOldFileIntact)
{
    std::string path = Path("doc.tvx");
    std::string old = SixteenLines("\r\n") + "gammel\r\n";
    Put(path, old);
    Document doc = DefaultDocument();
    doc.lines.assign(2000, std::string(60, 'x'));

    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    std::string error;
    bool ok = writeDocument(path, doc, error);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(ok);
    EXPECT_EQ(error.rfind("Kan ikke skrive filen \"" + path + "\"", 0), 0u) << error;
    EXPECT_EQ(Get(path), old);
    EXPECT_EQ(Entries(), (Lines{"doc.tvx"}));
}

TEST_F(DocumentFiles, FailedRenameLeavesNoTemporaryFile)
{
    fs::create_directories(dir / "mappe" / "indhold");
    std::string error;
    EXPECT_FALSE(writeDocument(Path("mappe"), DefaultDocument(), error));
    EXPECT_NE(error.find("\"" + Path("mappe") + "\""), std::string::npos) << error;
    EXPECT_TRUE(fs::is_directory(dir / "mappe" / "indhold"));
    EXPECT_EQ(Entries(), (Lines{"mappe"}));
}

TEST_F(DocumentFiles, MissingDirectoryIsReported)
{
    std::string error;
    EXPECT_FALSE(writeDocument(Path("ingen/doc.tvx"), DefaultDocument(), error));
    EXPECT_EQ(error, "Kan ikke oprette filen \"" + Path("ingen/doc.tvx") + "\": filen eller mappen findes ikke.");
}

}  // namespace
