// The relief and wood data of a few cuts, against stored hashes.
#include <gtest/gtest.h>

#include <cinttypes>
#include <map>

#include "CutTestUtil.h"
#include "ResultTestUtil.h"
#include "cutter/KnobStrip.h"
#include "cutter/PieceEffects.h"

namespace orvel {
namespace {

const std::string kGoldenFile = std::string(ORVEL_TEST_DATA_DIR) + "/golden/cutter/effects.txt";

uint64_t WoodHash(const TGame::WoodBuffer& w) {
    uint64_t hash = 1469598103934665603ull;
    for (uint8_t b : w.Data) {
        hash ^= b;
        hash *= 1099511628211ull;
    }
    return hash;
}

TEST(EffectsGolden, ReliefAndWoodMatchTheStoredHashes) {
    TMyBitmap strip;
    ASSERT_TRUE(DrawKnobStrip(strip));
    std::string index;
    std::map<std::string, std::string> stored;
    if (!test::UpdateGoldens()) {
        ASSERT_TRUE(test::ReadGoldenIndex(kGoldenFile, stored));
    }
    int n = 0;
    for (int shape : {0, 4}) {
        for (int emboss : {0, 1, 2, 3}) {
            for (int wood : {0, 1, 2}) {
                TGame game;
                test::SetUpGame(game, 240, 180, 7, shape, (emboss + wood) % 2, 500 + n++);
                game.Header.Rotate = 1;
                CutEnvironment env;
                ASSERT_TRUE(
                    test::Succeeded(shape < 4 ? CutPieces(game, env) : CutGrid(game, env, strip)));
                for (int r = 1; r < 4; ++r)
                    ASSERT_TRUE(
                        RotateRightWithMargin(game.Buffers[4 + r], game.Buffers[4 + r - 1], 5));
                game.Pieces.resize(game.Header.TotalTileNum);
                ApplyPieceEffects(game, {emboss, wood}, nullptr);
                std::string line;
                for (int r = 0; r < 4; ++r) {
                    char part[64];
                    std::snprintf(part, sizeof part, " %016" PRIx64 "/%016" PRIx64, test::MaskHash(game.Mask(r)),
                                  WoodHash(game.Wood[r]));
                    line += part;
                }
                char name[48];
                std::snprintf(name, sizeof name, "s%d_e%d_w%d", shape, emboss, wood);
                index += std::string(name) + line + "\n";
                if (!test::UpdateGoldens()) {
                    EXPECT_EQ(stored[name], line) << name;
                }
            }
        }
    }
    if (test::UpdateGoldens()) test::WriteText(kGoldenFile, index);
}

}  // namespace
}  // namespace orvel
