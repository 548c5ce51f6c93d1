// Unpacking packs: what a good pack gives, and that no hostile or broken pack
// writes outside the jigsaw folder or leaves anything half-done in it.
#include <gtest/gtest.h>

#include "DownloadTestUtil.h"
#include "download/PackExtract.h"

namespace orvel {
namespace {

using namespace orvel::test;

class PackExtractTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_jigsaws = m_root.Sub("home/Jigsaws");
        WriteText(m_jigsaws + "mine.orv", "old jigsaw");
        WriteText(m_jigsaws + "notes.txt", "the player's own notes");
        m_before = Tree(m_root.Path());
    }
    std::string PackPath(const std::string& name) { return m_root.Sub("tmp") + name; }
    TExtractReport UnpackRar(const std::vector<TRarEntry>& entries, bool brokenTail = false,
                             const TExtractLimits& limits = {}) {
        WriteText(PackPath("pack.rar"), RarArchive(entries, brokenTail));
        return ExtractPack(PackPath("pack.rar"), m_jigsaws, limits);
    }
    TExtractReport UnpackZip(const std::vector<TZipEntry>& entries, const TExtractLimits& limits = {}) {
        WriteZip(PackPath("pack.zip"), entries);
        return ExtractPack(PackPath("pack.zip"), m_jigsaws, limits);
    }
    // Besides the pack in tmp/, the whole tree is as it was.
    void ExpectUntouched(const TExtractReport& report) {
        EXPECT_FALSE(report.Ok());
        EXPECT_TRUE(report.Written.empty());
        std::set<std::string> now = Tree(m_root.Path());
        std::erase_if(now, [](const std::string& p) { return p.starts_with("tmp/"); });
        std::set<std::string> before = m_before;
        std::erase_if(before, [](const std::string& p) { return p.starts_with("tmp/"); });
        EXPECT_EQ(now, before);
        EXPECT_EQ(ReadText(m_jigsaws + "mine.orv"), "old jigsaw");
    }

    TScratchDir m_root;
    std::string m_jigsaws;
    std::set<std::string> m_before;
};

TEST_F(PackExtractTest, GoodPacksOfEveryKindUnpackTheirFiles) {
    const TExtractReport rar = UnpackRar({{"lake.orv", "jigsaw bytes"}, {"lake.jpg", "preview"}});
    ASSERT_TRUE(rar.Ok()) << rar.Message;
    EXPECT_EQ(rar.Written.size(), 2u);
    EXPECT_EQ(ReadText(m_jigsaws + "lake.orv"), "jigsaw bytes");
    EXPECT_EQ(ReadText(m_jigsaws + "lake.jpg"), "preview");

    // A jigsaw already there is replaced; a folder inside the pack is made.
    const std::string big(300000, 'z');  // compresses well, within the ratio
    const TExtractReport zip = UnpackZip({{"mine.orv", "new jigsaw"}, {"extra/deep.orv", big}});
    ASSERT_TRUE(zip.Ok()) << zip.Message;
    EXPECT_EQ(ReadText(m_jigsaws + "mine.orv"), "new jigsaw");
    EXPECT_EQ(ReadText(m_jigsaws + "extra/deep.orv"), big);
    for (const std::string& p : Tree(m_jigsaws)) EXPECT_EQ(p.find(".part"), std::string::npos) << p;
}

TEST_F(PackExtractTest, APackEndingInADamagedHeaderKeepsWhatCameBefore) {
    const TExtractReport report = UnpackRar({{"cliff.orv", "cliff"}}, true);
    ASSERT_TRUE(report.Ok()) << report.Message;
    EXPECT_TRUE(report.HeaderBroken);
    EXPECT_EQ(ReadText(m_jigsaws + "cliff.orv"), "cliff");
}

TEST_F(PackExtractTest, HostileNamesAndKindsAreRefusedWithNothingWritten) {
    // Each pack starts with a good entry, which must not survive the refusal.
    const std::vector<std::vector<TRarEntry>> rars = {
        {{"good.orv", "g"}, {"../escape.orv", "x"}},
        {{"good.orv", "g"}, {"sub/../../escape.orv", "x"}},
        {{"good.orv", "g"}, {"..\\escape.orv", "x"}},
        {{"good.orv", "g"}, {"/tmp/escape.orv", "x"}},
        {{"good.orv", "g"}, {".hidden", "x"}},
        {{"good.orv", "g"}, {"link.orv", "/etc/passwd", 0120777}},
        {{"good.orv", "g"}, {"fifo.orv", "", 0010644}},
        {{"good.orv", "g"}, {"dev.orv", "", 0060644}},
        {{"good.orv", "g"}, {"NOTES.TXT", "x"}},   // folds onto the player's file
        {{"good.orv", "g"}, {"notes.txt", "x"}},   // not a kind a pack may replace
        {{"good.orv", "g"}, {"MINE.ORV", "x"}},    // a second name for a jigsaw there
        {{"good.orv", "g"}, {"Good.orv", "x"}},    // twice in one pack
    };
    for (const auto& entries : rars) {
        SCOPED_TRACE(entries[1].Name);
        const TExtractReport report = UnpackRar(entries);
        EXPECT_EQ(report.Status, ExtractStatus::EntryRefused) << report.Message;
        ExpectUntouched(report);
    }
    const TExtractReport link = UnpackZip({{"good.orv", "g"}, {"up", "", AE_IFLNK, "../.."}});
    EXPECT_EQ(link.Status, ExtractStatus::EntryRefused);
    ExpectUntouched(link);
}

TEST_F(PackExtractTest, ALinkPlantedInTheFolderIsNotFollowed) {
    const std::string outside = m_root.Sub("outside");
    fs::create_directory_symlink(outside, m_jigsaws + "door");
    fs::create_symlink(outside + "target.orv", m_jigsaws + "trap.orv");
    m_before = Tree(m_root.Path());
    for (const std::string name : {"door/escape.orv", "trap.orv"}) {
        SCOPED_TRACE(name);
        ExpectUntouched(UnpackRar({{"good.orv", "g"}, {name, "x"}}));
        EXPECT_TRUE(fs::is_empty(outside));
    }
}

TEST_F(PackExtractTest, OversizedEntriesAndCompressionBombsAreStopped) {
    // A header claiming 4 GiB is refused before anything is read.
    ExpectUntouched(UnpackRar({{"good.orv", "g"}, {"huge.orv", "tiny", 0100644, 0xFFFFFFF0u}}));

    TExtractLimits small;
    small.MaxEntryBytes = 64 * 1024;
    ExpectUntouched(UnpackZip({{"good.orv", "g"}, {"big.orv", std::string(100 * 1024, 'b')}}, small));

    // Two megabytes of zeros pack into a few kilobytes: far beyond the ratio.
    TExtractLimits ratio;
    ratio.MaxRatio = 20;
    ratio.Slack = 0;
    const TExtractReport bomb = UnpackZip({{"good.orv", "g"}, {"bomb.orv", std::string(2 << 20, '\0')}}, ratio);
    EXPECT_EQ(bomb.Status, ExtractStatus::EntryRefused);
    ExpectUntouched(bomb);
}

TEST_F(PackExtractTest, DamagedDataOrNoArchiveLeavesTheFolderAsItWas) {
    std::string rar = RarArchive({{"good.orv", "good data"}, {"second.orv", std::string(5000, 's')}});
    rar.resize(rar.find("sss") + 100);  // the second entry's data ends early
    WriteText(PackPath("bad.rar"), rar);
    const TExtractReport damaged = ExtractPack(PackPath("bad.rar"), m_jigsaws);
    EXPECT_EQ(damaged.Status, ExtractStatus::EntryFailed);
    ExpectUntouched(damaged);

    WriteText(PackPath("page.rar"), "Not Found");
    const TExtractReport junk = ExtractPack(PackPath("page.rar"), m_jigsaws);
    EXPECT_EQ(junk.Status, ExtractStatus::OpenFailed);
    ExpectUntouched(junk);
}

}  // namespace
}  // namespace orvel
