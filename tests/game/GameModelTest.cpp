#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <random>
#include <set>
#include <vector>

#include "game/GameModel.h"
#include "platform/FakePlatform.h"

namespace orvel {
namespace {

// The exchange sort exactly as the drawing order is defined, kept naive on
// purpose: SortOrder must give this order however it gets there.
std::vector<TOrderPair> PlainExchangeSort(const std::vector<int32_t>& groups, bool descending) {
    std::vector<TOrderPair> order;
    for (size_t i = 0; i < groups.size(); ++i)
        order.push_back({groups[i], static_cast<int32_t>(i)});
    const size_t n = order.size();
    for (size_t j = 0; j + 1 < n; ++j)
        for (size_t k = j + 1; k < n; ++k) {
            const bool exchange =
                descending ? order[j].group < order[k].group : order[k].group < order[j].group;
            if (exchange) std::swap(order[j], order[k]);
        }
    return order;
}

std::vector<int32_t> Groups(const TGame& game) {
    std::vector<int32_t> g;
    for (int i = 0; i < game.Header.TotalTileNum; ++i) g.push_back(game.Pieces[i].group);
    return g;
}

void ExpectOrder(const TGame& game, const std::vector<TOrderPair>& want) {
    ASSERT_EQ(game.DrawOrder.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(game.DrawOrder[i].piece, want[i].piece) << "at " << i;
        EXPECT_EQ(game.DrawOrder[i].group, want[i].group) << "at " << i;
    }
}

TGame MakeGame(const std::vector<int32_t>& groups) {
    TGame game;
    EXPECT_TRUE(AllocPieces(game, static_cast<int>(groups.size())));
    game.Header.TotalTileNum = static_cast<int32_t>(groups.size());
    for (size_t i = 0; i < groups.size(); ++i) game.Pieces[i].group = groups[i];
    game.GameLoaded = true;
    return game;
}

TEST(RandomTest, KnownValuesOfTheGenerator) {
    TRandom r;
    r.Seed = 0;
    EXPECT_EQ(r.RandInt(100), 0);
    EXPECT_EQ(r.RandInt(100), 3);
    EXPECT_EQ(r.RandInt(100), 86);

    r.Seed = 12345;
    EXPECT_EQ(r.RandInt(100), 38);
    EXPECT_EQ(r.RandInt(1000), 289);
    EXPECT_EQ(r.RandInt(7), 0);
    EXPECT_EQ(r.RandInt(2147483647), 1188868577);
    EXPECT_EQ(r.RandInt(1), 0);
    EXPECT_EQ(r.RandInt(6), 2);
    EXPECT_EQ(r.Seed, 1467157059u);
}

TEST(RandomTest, SameSeedSameSequenceAndResultsInRange) {
    TGame a, b;
    a.Random.Seed = b.Random.Seed = 0xDEADBEEF;
    for (int i = 0; i < 10000; ++i) {
        const int n = 1 + i % 977;
        const int va = a.RandInt(n);
        ASSERT_EQ(va, b.RandInt(n));
        ASSERT_GE(va, 0);
        ASSERT_LT(va, n);
    }
}

TEST(RandomTest, SeededAtStartFromTheCounterOrTheTicks) {
    FakePlatform platform;
    TGame game;
    platform.Counter = 0x123456789ull;
    SeedRandomAtStart(game, platform);
    EXPECT_EQ(game.Random.Seed, 0x23456789u);
    platform.Counter = 0;
    platform.Ticks = 777;
    SeedRandomAtStart(game, platform);
    EXPECT_EQ(game.Random.Seed, 777u);
}

TEST(SortOrderTest, TieOrderIsThatOfTheExchangeSort) {
    // The exchange sort carries piece 1 past piece 2: not a stable order.
    TGame game = MakeGame({3, 1, 1, 0});
    SortOrder(game, false);
    ExpectOrder(game, {{0, 3}, {1, 2}, {1, 1}, {3, 0}});
    SortOrder(game, true);
    ExpectOrder(game, PlainExchangeSort({3, 1, 1, 0}, true));
    EXPECT_TRUE(game.OrderDescending);
}

TEST(SortOrderTest, MatchesThePlainExchangeSortOnRandomTables) {
    std::mt19937 rng(42);
    for (int round = 0; round < 400; ++round) {
        const int n =
            round < 350 ? static_cast<int>(rng() % 40) : 300 + static_cast<int>(rng() % 300);
        // Few distinct values give many equal groups, where the tie order shows.
        const int distinct = 1 + static_cast<int>(rng() % (round % 3 == 0 ? 4 : n + 1));
        std::vector<int32_t> groups(n);
        for (auto& g : groups)
            g = static_cast<int32_t>(rng() % distinct) - (round % 5 == 0 ? 2 : 0);
        TGame game = MakeGame(groups);
        const bool firstDescending = rng() % 2;
        SortOrder(game, firstDescending);
        ExpectOrder(game, PlainExchangeSort(groups, firstDescending));
        SortOrder(game, !firstDescending);
        ExpectOrder(game, PlainExchangeSort(groups, !firstDescending));
        SortOrder(game, firstDescending);  // from the cache
        ExpectOrder(game, PlainExchangeSort(groups, firstDescending));
        if (HasFailure()) return;
    }
}

TEST(SortOrderTest, MatchesOnSmallTablesAndExtremeGroups) {
    // Every table of up to 7 pieces over 3 group values, then extreme numbers.
    for (int n = 0; n <= 7; ++n) {
        int tables = 1;
        for (int i = 0; i < n; ++i) tables *= 3;
        for (int code = 0; code < tables; ++code) {
            std::vector<int32_t> groups;
            for (int i = 0, c = code; i < n; ++i, c /= 3) groups.push_back(c % 3);
            for (bool descending : {false, true}) {
                TGame game = MakeGame(groups);
                SortOrder(game, descending);
                ExpectOrder(game, PlainExchangeSort(groups, descending));
            }
            if (HasFailure()) return;
        }
    }
    const std::vector<int32_t> extreme = {INT32_MAX, INT32_MIN, 0, INT32_MIN, -1, INT32_MAX, 0, 5};
    for (bool descending : {false, true}) {
        TGame game = MakeGame(extreme);
        SortOrder(game, descending);
        ExpectOrder(game, PlainExchangeSort(extreme, descending));
    }
}

TEST(SortOrderTest, CacheFollowsEveryChangeEvenWithoutInvalidation) {
    std::mt19937 rng(7);
    std::vector<int32_t> groups(200);
    for (auto& g : groups) g = static_cast<int32_t>(rng() % 30);
    TGame game = MakeGame(groups);
    for (int step = 0; step < 200; ++step) {
        switch (step % 4) {
            case 0:  // a writer that forgets InvalidateOrder
                game.Pieces[rng() % 200].group = static_cast<int32_t>(rng() % 30);
                break;
            case 1:  // the pairs scribbled over by a caller
                for (auto& pair : game.DrawOrder) pair = {-5, 0};
                break;
            case 2:  // the number of pieces in play changes
                game.Header.TotalTileNum = 150 + static_cast<int32_t>(rng() % 51);
                break;
            default:
                game.InvalidateOrder();
        }
        const bool descending = rng() % 2;
        SortOrder(game, descending);
        ExpectOrder(game, PlainExchangeSort(Groups(game), descending));
        if (HasFailure()) return;
    }
}

TEST(SortOrderTest, TotalTileNumBeyondTheTableIsLimited) {
    TGame game = MakeGame({2, 1, 0});
    game.Header.TotalTileNum = 1000;
    SortOrder(game, false);
    ExpectOrder(game, {{0, 2}, {1, 1}, {2, 0}});
    game.Header.TotalTileNum = -4;
    SortOrder(game, false);
    EXPECT_TRUE(game.DrawOrder.empty());
    EXPECT_EQ(GroupCount(game, MW_SIDE0, true), 0);
}

// Every operation keeps the partition into groups: pieces joined before stay
// joined, pieces apart stay apart, and the numbers stay within 0 .. n-1.
void ExpectSamePartition(const std::vector<int32_t>& before, const TGame& game) {
    const int n = static_cast<int>(before.size());
    for (int i = 0; i < n; ++i) {
        ASSERT_GE(game.Pieces[i].group, 0);
        ASSERT_LT(game.Pieces[i].group, n);
        for (int k = i + 1; k < n; ++k)
            ASSERT_EQ(before[i] == before[k], game.Pieces[i].group == game.Pieces[k].group)
                << "pieces " << i << " and " << k;
    }
}

TEST(GroupOperationsTest, BringGroupToTop) {
    TGame game = MakeGame({0, 1, 1, 2, 3});
    BringGroupToTop(game, 2);
    EXPECT_EQ(Groups(game), (std::vector<int32_t>{0, 4, 4, 1, 2}));

    game.WeightPiece = 4;  // group 2 carries the weight and stays put
    BringGroupToTop(game, 4);
    EXPECT_EQ(Groups(game), (std::vector<int32_t>{0, 4, 4, 1, 2}));
    BringGroupToTop(game, 0);
    EXPECT_EQ(Groups(game), (std::vector<int32_t>{4, 3, 3, 0, 1}));
}

TEST(GroupOperationsTest, BringSelectionToTopRenumbersDensely) {
    TGame game = MakeGame({0, 5, 7, 9});
    game.Pieces[0].selected = 1;
    game.Pieces[2].selected = 1;
    BringSelectionToTop(game);
    EXPECT_EQ(Groups(game), (std::vector<int32_t>{2, 0, 3, 1}));
    ExpectOrder(game, {{0, 1}, {1, 3}, {2, 0}, {3, 2}});
}

TEST(GroupOperationsTest, SinkWeightedGroup) {
    TGame game = MakeGame({0, 1, 2, 3, 2});
    game.WeightPiece = 4;
    SinkWeightedGroup(game);
    EXPECT_EQ(Groups(game), (std::vector<int32_t>{1, 2, 0, 3, 0}));
    ExpectOrder(game, PlainExchangeSort(Groups(game), false));

    game.WeightPiece = -1;  // no weight: nothing moves
    SinkWeightedGroup(game);
    EXPECT_EQ(Groups(game), (std::vector<int32_t>{1, 2, 0, 3, 0}));
}

TEST(GroupOperationsTest, GroupsStayUniqueThroughRandomOperations) {
    std::mt19937 rng(3);
    const int n = 60;
    // Joined groups: number i for the pieces whose representative is i.
    std::vector<int32_t> groups(n);
    for (int i = 0; i < n; ++i) groups[i] = i;
    for (int j = 0; j < 25; ++j) {
        const int32_t from = groups[rng() % n], to = groups[rng() % n];
        for (auto& g : groups)
            if (g == from) g = to;
    }
    // Make the numbers unique per group and within range, as after a cut.
    std::map<int32_t, int32_t> dense;
    for (auto g : groups) dense.emplace(g, 0);
    int32_t next = 0;
    for (auto& [g, d] : dense) d = next++;
    for (auto& g : groups) g = dense[g];

    TGame game = MakeGame(groups);
    for (int step = 0; step < 300; ++step) {
        const std::vector<int32_t> before = Groups(game);
        switch (rng() % 3) {
            case 0:
                BringGroupToTop(game, static_cast<int>(rng() % n));
                break;
            case 1:
                for (auto& p : game.Pieces) p.selected = 0;
                for (int i = 0; i < 5; ++i) {
                    // select whole groups, as the rubber band and select-all do
                    const int32_t g = game.Pieces[rng() % n].group;
                    for (auto& p : game.Pieces)
                        if (p.group == g) p.selected = 1;
                }
                BringSelectionToTop(game);
                break;
            default:
                game.WeightPiece = static_cast<int>(rng() % n);
                SinkWeightedGroup(game);
                EXPECT_EQ(game.Pieces[game.WeightPiece].group, 0);
                game.WeightPiece = -1;
        }
        ExpectSamePartition(before, game);
        SortOrder(game, false);
        // The sort keeps every group together.
        std::set<int32_t> seen;
        for (size_t i = 0; i < game.DrawOrder.size(); ++i) {
            if (i == 0 || game.DrawOrder[i].group != game.DrawOrder[i - 1].group) {
                ASSERT_TRUE(seen.insert(game.DrawOrder[i].group).second);
            }
        }
        if (HasFailure()) return;
    }
}

TEST(GroupOperationsTest, GroupCountPerWindow) {
    TGame game = MakeGame({4, 0, 4, 1, 2, 2});
    game.Pieces[1].window = MW_SIDE1;
    game.Pieces[4].window = MW_POCKET2;
    game.Pieces[5].window = MW_POCKET2;
    EXPECT_EQ(GroupCount(game, MW_SIDE0, true), 2);  // groups 1 and 4
    EXPECT_EQ(GroupCount(game, MW_SIDE1, false), 1);
    EXPECT_EQ(GroupCount(game, MW_POCKET2, false), 1);
    EXPECT_EQ(GroupCount(game, MW_POCKET0, false), 0);
}

TEST(StatisticsTest, NoGameAndNoJoins) {
    TGame game = MakeGame({0, 1, 2, 3, 4, 5, 6, 7});
    game.GameLoaded = false;
    TSolvedStats s = SolvedStats(game);
    EXPECT_EQ(s.iUnsolvedNum, -1);
    EXPECT_EQ(s.iSolvedPercent, -1);

    game.GameLoaded = true;
    s = SolvedStats(game);
    EXPECT_EQ(s.iUnsolvedNum, 8);
    EXPECT_EQ(s.iSolvedPercent, 0);

    game.Pieces[3].group = 2;  // one pair joined
    s = SolvedStats(game);
    EXPECT_EQ(s.iUnsolvedNum, 6);
    EXPECT_EQ(s.iSolvedPercent, 25);
}

TEST(StatisticsTest, PercentRoundsHalvesToEven) {
    // 8 pieces: 3 of 8 = 37.5 -> 38, 5 of 8 = 62.5 -> 62, 7 of 8 = 87.5 -> 88.
    TGame game = MakeGame({0, 0, 0, 3, 4, 5, 6, 7});
    EXPECT_EQ(SolvedStats(game).iUnsolvedNum, 5);
    EXPECT_EQ(SolvedStats(game).iSolvedPercent, 38);
    game = MakeGame({0, 0, 0, 0, 0, 5, 6, 7});
    EXPECT_EQ(SolvedStats(game).iSolvedPercent, 62);
    game = MakeGame({0, 0, 0, 0, 0, 0, 0, 7});
    EXPECT_EQ(SolvedStats(game).iSolvedPercent, 88);
    game.Solved = true;
    EXPECT_EQ(SolvedStats(game).iSolvedPercent, 100);
}

TEST(StatisticsTest, EmptyTableReadsAsNoGame) {
    TGame game = MakeGame({});
    const TSolvedStats s = SolvedStats(game);
    EXPECT_EQ(s.iUnsolvedNum, -1);
    EXPECT_EQ(s.iSolvedPercent, -1);
}

TEST(SolvedTest, TurnedGroupIsFullButNotSolved) {
    TGame game = MakeGame({1, 1, 1, 1});
    game.Pieces[2].rotation = 2;
    int finished = 0;
    const auto finish = [&] { ++finished; };
    EXPECT_EQ(SolvedStats(game).iSolvedPercent, 100);
    EXPECT_EQ(SolvedStats(game).iUnsolvedNum, 0);
    EXPECT_FALSE(CheckSolved(game, finish));
    EXPECT_FALSE(game.Solved);

    game.Pieces[2].rotation = 0;
    EXPECT_TRUE(CheckSolved(game, finish));
    EXPECT_TRUE(game.Solved);
    EXPECT_FALSE(CheckSolved(game, finish));  // the finish runs once
    EXPECT_EQ(finished, 1);
}

TEST(SolvedTest, FramePieceTakesPart) {
    // BorderStyle 1: the frame piece is the last record, never turned.
    TGame game = MakeGame({0, 0, 0, 0, 1});
    game.Header.BorderStyle = 1;
    game.Pieces[4].MaskCode = 5;
    game.Pieces[4].JoinBit = 128;
    EXPECT_FALSE(CheckSolved(game, nullptr));
    game.Pieces[4].group = 0;
    EXPECT_TRUE(CheckSolved(game, nullptr));

    // The spare record behind TotalTileNum does not take part.
    TGame spare = MakeGame({0, 0, 0, 9});
    spare.Header.TotalTileNum = 3;
    EXPECT_TRUE(CheckSolved(spare, nullptr));
}

TEST(SolvedTest, OnePieceGameIsSolvedAndEmptyIsNot) {
    TGame one = MakeGame({0});
    EXPECT_TRUE(CheckSolved(one, nullptr));
    TGame none = MakeGame({});
    EXPECT_FALSE(CheckSolved(none, nullptr));
}

// Turns point (x, y) of a w x h picture one quarter clockwise.
void TurnPoint(int& x, int& y, int& w, int& h) {
    const int nx = h - 1 - y, ny = x;
    x = nx;
    y = ny;
    std::swap(w, h);
}

TEST(RotatedBoxTest, MatchesTheTurnedPicture) {
    TGame game = MakeGame({0});
    game.Header.ImageW = 300;
    game.Header.ImageH = 200;
    TPiece& p = game.Pieces[0];
    p.boxX = 17;
    p.boxY = 40;
    p.boxW = 60;
    p.boxH = 35;
    for (int rotation = 0; rotation < 4; ++rotation) {
        // The box's corners turned with the picture (the shadow margin stays
        // outside, at right and bottom, in every buffer).
        int minX = 1 << 30, minY = 1 << 30, maxX = -1, maxY = -1;
        for (int corner = 0; corner < 4; ++corner) {
            int x = p.boxX + (corner & 1) * (p.boxW - 1), y = p.boxY + (corner >> 1) * (p.boxH - 1);
            int w = game.Header.ImageW, h = game.Header.ImageH;
            for (int t = 0; t < rotation; ++t) TurnPoint(x, y, w, h);
            minX = std::min(minX, x);
            minY = std::min(minY, y);
            maxX = std::max(maxX, x);
            maxY = std::max(maxY, y);
        }
        p.rotation = static_cast<uint8_t>(rotation);
        UpdateRotatedBox(game, 0);
        EXPECT_EQ(p.srcX, minX) << rotation;
        EXPECT_EQ(p.srcY, minY) << rotation;
        EXPECT_EQ(p.rotW, maxX - minX + 1) << rotation;
        EXPECT_EQ(p.rotH, maxY - minY + 1) << rotation;
        const TRotatedBox box = RotatedBox(game.Header, p, rotation);
        EXPECT_EQ(box.srcX, p.srcX);
        EXPECT_EQ(box.srcY, p.srcY);
    }
}

TEST(TablesTest, AllocAndFree) {
    TGame game;
    EXPECT_TRUE(AllocPieces(game, 11));
    EXPECT_EQ(game.Pieces.size(), 11u);
    EXPECT_EQ(game.DrawOrder.size(), 11u);
    EXPECT_EQ(game.Pieces[10].neighbours[8], -1);
    EXPECT_EQ(game.Pieces[10].group, 0);
    game.Pieces[3].group = 9;
    EXPECT_TRUE(AllocPieces(game, 2));
    EXPECT_EQ(game.Pieces[0].group, 0);
    EXPECT_FALSE(AllocPieces(game, -1));
    EXPECT_TRUE(game.Pieces.empty());
    EXPECT_FALSE(AllocPieces(game, kMaxPieces + 1));
    EXPECT_TRUE(game.DrawOrder.empty());
    EXPECT_TRUE(AllocPieces(game, kMaxPieces));
    FreePieces(game);
    EXPECT_TRUE(game.Pieces.empty());
    EXPECT_TRUE(game.DrawOrder.empty());
}

TEST(StateTest, ChangeStepAndOpening) {
    TGame game = MakeGame({0, 1});
    MarkChanged(game);
    EXPECT_TRUE(game.Modified);
    EXPECT_TRUE(game.ModifiedSinceAutosave);

    game.PickedPiece = 1;
    game.DragMode = TDragMode::RubberBand;
    game.HasSelection = true;
    game.WeightPiece = 0;
    game.Solved = true;
    ResetInteraction(game);
    EXPECT_FALSE(game.GameLoaded);
    EXPECT_EQ(game.PickedPiece, -1);
    EXPECT_EQ(game.DragMode, TDragMode::Idle);
    EXPECT_FALSE(game.HasSelection);
    EXPECT_EQ(game.WeightPiece, -1);
    EXPECT_FALSE(game.Solved);
}

}  // namespace
}  // namespace orvel
