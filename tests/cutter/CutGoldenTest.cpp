// Same seed and parameters give the same mask and records, byte for byte:
// the cuts are checked against stored hashes (and, for small cuts, the
// stored piece tables). ORVEL_UPDATE_GOLDENS=1 rewrites the files; a change
// to them is a decision, explained in the commit.
#include <gtest/gtest.h>

#include <cinttypes>
#include <map>

#include "CutTestUtil.h"
#include "ResultTestUtil.h"
#include "cutter/KnobStrip.h"

namespace orvel {
namespace {

const std::string kGoldenDir = std::string(ORVEL_TEST_DATA_DIR) + "/golden/cutter";

struct Case {
    int w, h, level, shape, border;
    uint32_t seed;
    std::string Name() const {
        char s[96];
        std::snprintf(s, sizeof s, "%dx%d_l%d_s%d_b%d_seed%u", w, h, level, shape, border, seed);
        return s;
    }
};

std::vector<Case> Cases() {
    std::vector<Case> cases;
    uint32_t seed = 1;
    for (int shape : {0, 1, 2, 4, 5, 6})
        for (int border : {0, 1}) {
            for (int level : {0, 6, 13}) cases.push_back({400, 300, level, shape, border, seed++ * 7919u});
            cases.push_back({257, 193, 9, shape, border, seed++ * 7919u});
            cases.push_back({180, 420, 4, shape, border, seed++ * 7919u});
        }
    cases.push_back({640, 480, 2, 0, 0, 424242u});
    cases.push_back({640, 480, 2, 4, 1, 424242u});
    return cases;
}

Result RunCut(TGame& game, const TMyBitmap& strip) {
    CutEnvironment env;
    return game.Header.ShapeStyle < 4 ? CutPieces(game, env) : CutGrid(game, env, strip);
}

TEST(CutGolden, MasksAndRecordsMatchTheStoredCuts) {
    TMyBitmap strip;
    ASSERT_TRUE(DrawKnobStrip(strip));
    std::string index;
    const bool update = test::UpdateGoldens();
    std::map<std::string, std::string> stored;
    if (!update) {
        ASSERT_TRUE(test::ReadGoldenIndex(kGoldenDir + "/cuts.txt", stored)) << "missing " << kGoldenDir;
    }
    for (const Case& c : Cases()) {
        TGame game;
        test::SetUpGame(game, c.w, c.h, c.level, c.shape, c.border, c.seed);
        const Result cut = RunCut(game, strip);
        EXPECT_TRUE(test::Succeeded(cut)) << c.Name();
        EXPECT_TRUE(cut.Notes().empty())
            << c.Name() << ": " << (cut.Notes().empty() ? "" : cut.Notes()[0].Key);
        const std::string json = test::PiecesJson(game);
        char line[160];
        std::snprintf(line, sizeof line, " mask=%016" PRIx64 " pieces=%016" PRIx64 " n=%d", test::MaskHash(game.Buffers[4]),
                      test::TextHash(json), game.Header.TotalTileNum);
        index += c.Name() + line + "\n";
        const bool small = game.Header.TotalTileNum <= 40;
        const std::string jsonPath = kGoldenDir + "/" + c.Name() + ".json";
        if (update) {
            if (small) test::WriteText(jsonPath, json);
            continue;
        }
        EXPECT_EQ(stored[c.Name()], std::string(line)) << c.Name();
        if (small) {
            std::string want;
            ASSERT_TRUE(test::ReadText(jsonPath, want)) << jsonPath;
            EXPECT_EQ(json, want) << c.Name();
        }
    }
    if (update) test::WriteText(kGoldenDir + "/cuts.txt", index);
}

TEST(CutGolden, SameSeedSameCutDifferentSeedDifferentCut) {
    TMyBitmap strip;
    ASSERT_TRUE(DrawKnobStrip(strip));
    for (int shape : {0, 2, 5}) {
        TGame a, b, c;
        test::SetUpGame(a, 300, 220, 5, shape, 1, 77);
        test::SetUpGame(b, 300, 220, 5, shape, 1, 77);
        test::SetUpGame(c, 300, 220, 5, shape, 1, 78);
        ASSERT_TRUE(test::Succeeded(RunCut(a, strip)));
        ASSERT_TRUE(test::Succeeded(RunCut(b, strip)));
        ASSERT_TRUE(test::Succeeded(RunCut(c, strip)));
        EXPECT_EQ(test::MaskHash(a.Buffers[4]), test::MaskHash(b.Buffers[4]));
        EXPECT_EQ(test::PiecesJson(a), test::PiecesJson(b));
        EXPECT_NE(test::MaskHash(a.Buffers[4]), test::MaskHash(c.Buffers[4]));
    }
}

}  // namespace
}  // namespace orvel
