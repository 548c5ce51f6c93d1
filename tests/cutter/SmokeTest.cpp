#include <gtest/gtest.h>

#include "CutTestUtil.h"

namespace orvel {
namespace {

TEST(CutPiecesSmoke, Cuts400x300) {
    for (int shape : {0, 1, 2}) {
        for (int border : {0, 1}) {
            TGame game;
            test::SetUpGame(game, 400, 300, 5, shape, border, 1234);
            FakePlatform platform;
            CutEnvironment env;
            env.platform = &platform;
            EXPECT_TRUE(CutPieces(game, env)) << shape << " " << border;
            for (auto& m : platform.Messages) ADD_FAILURE() << m.Text;
        }
    }
}

}  // namespace
}  // namespace orvel
