// Shape style 3 cuts: silhouette pieces in the cell cutter.
#include <gtest/gtest.h>

#include <cinttypes>
#include <filesystem>
#include <map>
#include <sstream>

#include "ResultTestUtil.h"
#include "cutter/Cells.h"
#include "cutter/CutCommon.h"
#include "cutter/CutTestUtil.h"
#include "cutter/Silhouettes.h"
#include "graphics/ImageCodecs.h"
#include "shapes/ShapeTestUtil.h"

namespace orvel {
namespace {

const std::string kGoldenDir = std::string(ORVEL_TEST_DATA_DIR) + "/golden/shapes";

Result CutStyle3(TGame& game, const std::string& shapeFile = test::ShapeFilePath(),
                 int* placed = nullptr) {
    Silhouettes sil(shapeFile);
    CutEnvironment env;
    env.pictures = &sil;
    Result cut = CutPieces(game, env);
    if (placed) *placed = sil.Placed();
    return cut;
}

int CountPictures(const TGame& game) {
    int n = 0;
    for (int k = 0; k < game.Header.TileNum; ++k) n += game.Pieces[k].isPicture;
    return n;
}

struct Case {
    int w, h, level, border;
    uint32_t seed;
    std::string Name() const {
        char s[96];
        std::snprintf(s, sizeof s, "%dx%d_l%d_b%d_seed%u", w, h, level, border, seed);
        return s;
    }
};

std::vector<Case> Cases() {
    std::vector<Case> cases;
    uint32_t seed = 3;
    for (int border : {0, 1}) {
        for (int level : {0, 3, 6, 9, 13})
            cases.push_back({800, 500, level, border, seed++ * 104729u});
        cases.push_back({257, 193, 9, border, seed++ * 104729u});
        cases.push_back({420, 640, 5, border, seed++ * 104729u});
    }
    cases.push_back({1920, 1080, 6, 0, 20261208u});
    return cases;
}

// Same seed and parameters give the same silhouettes, mask and records.
// ORVEL_UPDATE_GOLDENS=1 rewrites the stored hashes.
TEST(PictureCutGolden, MasksAndRecordsMatchTheStoredCuts) {
    const bool update = test::UpdateGoldens();
    std::map<std::string, std::string> stored;
    if (!update) {
        ASSERT_TRUE(test::ReadGoldenIndex(kGoldenDir + "/cuts.txt", stored)) << "missing " << kGoldenDir;
    }
    std::string index;
    int withPictures = 0;
    for (const Case& c : Cases()) {
        TGame game;
        test::SetUpGame(game, c.w, c.h, c.level, 3, c.border, c.seed);
        const Result cut = CutStyle3(game);
        EXPECT_TRUE(test::Succeeded(cut)) << c.Name();
        EXPECT_TRUE(cut.Notes().empty()) << c.Name();
        withPictures += CountPictures(game) > 0;
        char line[200];
        std::snprintf(line, sizeof line,
                      " mask=%016" PRIx64 " pieces=%016" PRIx64 " n=%d pictures=%d",
                      test::MaskHash(game.Buffers[4]), test::TextHash(test::PiecesJson(game)),
                      game.Header.TotalTileNum, CountPictures(game));
        index += c.Name() + line + "\n";
        if (!update) {
            EXPECT_EQ(stored[c.Name()], std::string(line)) << c.Name();
        }
    }
    EXPECT_GE(withPictures, 10);
    if (update) {
        std::filesystem::create_directories(kGoldenDir);
        test::WriteText(kGoldenDir + "/cuts.txt", index);
    }
}

TEST(PictureCut, SilhouettesAreWholePiecesAndNeverNeighbours) {
    for (int border : {0, 1}) {
        TGame game;
        test::SetUpGame(game, 960, 600, 6, 3, border, 4242 + border);
        int placed = 0;
        ASSERT_TRUE(test::Succeeded(CutStyle3(game, test::ShapeFilePath(), &placed)));
        const GameHeader& h = game.Header;
        const TMyBitmap& mask = game.Buffers[4];
        EXPECT_EQ(CountPictures(game), placed);
        EXPECT_GT(placed, h.TileNum / 10);
        // Every pixel of the picture belongs to a piece: nothing stayed white.
        EXPECT_EQ(test::CountColour(mask, 0xFFFFFF), 0);
        for (int k = 0; k < h.TileNum; ++k) {
            const TPiece& p = game.Pieces[k];
            if (!p.isPicture) continue;
            const int row = k / h.TilePX, col = k % h.TilePX;
            EXPECT_TRUE(row >= 1 && row <= h.TilePY - 2 && col >= 1 && col <= h.TilePX - 2) << k;
            for (int n : p.neighbours)
                if (n >= 0 && n < h.TileNum) {
                    EXPECT_FALSE(game.Pieces[n].isPicture) << k << " next to " << n;
                }
            // The box is the tight box of the silhouette's colour as the hole
            // scan found it; the line clean-up after it may take a stray
            // outline pixel or two.
            const TColor color = RgbToColor(128, 0, p.MaskCode);
            int inside = 0, l = INT32_MAX, r = INT32_MIN, t = INT32_MAX, b = INT32_MIN;
            for (int y = p.boxY - 3; y < p.boxY + p.boxH + 3; ++y)
                for (int x = p.boxX - 3; x < p.boxX + p.boxW + 3; ++x)
                    if (GetPixel(mask, x, y) == int32_t(color)) {
                        ++inside;
                        l = std::min(l, x), r = std::max(r, x), t = std::min(t, y),
                        b = std::max(b, y);
                    }
            EXPECT_GT(inside, p.boxW * p.boxH / 6) << k;
            EXPECT_GE(l, p.boxX) << k;
            EXPECT_LE(l, p.boxX + 2) << k;
            EXPECT_LE(r, p.boxX + p.boxW - 1) << k;
            EXPECT_GE(r, p.boxX + p.boxW - 3) << k;
            EXPECT_GE(t, p.boxY) << k;
            EXPECT_LE(t, p.boxY + 2) << k;
            EXPECT_LE(b, p.boxY + p.boxH - 1) << k;
            EXPECT_GE(b, p.boxY + p.boxH - 3) << k;
        }
    }
}

TEST(PictureCut, SmallGridsHaveNoSilhouettes) {
    // The level table never makes grids this small; the header is trimmed by hand.
    for (auto [cols, rows] : {std::pair{2, 4}, std::pair{5, 2}, std::pair{2, 2}}) {
        TGame game;
        test::SetUpGame(game, 600, 400, 13, 3, 0, 99);
        GameHeader& h = game.Header;
        h.TilePX = cols;
        h.TilePY = rows;
        h.TileNum = h.TotalTileNum = cols * rows;
        h.TileS = std::min(600 / cols, 400 / rows) - 2 * h.KnobDepth;
        game.Pieces.assign(h.TileNum + 1, TPiece{});
        EXPECT_TRUE(test::Succeeded(CutStyle3(game))) << cols << "x" << rows;
        EXPECT_EQ(CountPictures(game), 0) << cols << "x" << rows;
    }
}

TEST(PictureCut, WithoutAUsableShapeFileTheCutMakesOrdinaryPieces) {
    const std::string bad = std::string(ORVEL_TEST_DATA_DIR) + "/bad/shapes/";
    for (const std::string& file :
         {std::string("/nonexistent/pic_orvel.dat"), bad + "magic_blank_missing.dat",
          bad + "damaged_count_larger_than_file.dat"}) {
        TGame game;
        test::SetUpGame(game, 640, 400, 6, 3, 1, 5);
        const Result cut = CutStyle3(game, file);
        EXPECT_TRUE(test::Succeeded(cut)) << file;
        EXPECT_EQ(CountPictures(game), 0) << file;
        EXPECT_EQ(test::CountColour(game.Buffers[4], 0xFFFFFF), 0) << file;
        // A missing file gives no silhouettes quietly; a wrong or damaged one is named.
        const bool named = file.find("/bad/") != std::string::npos;
        ASSERT_EQ(cut.Notes().size(), named ? 1u : 0u) << file;
        if (named) {
            EXPECT_EQ(cut.Notes()[0].Key, "Invalid DAT file!");
            EXPECT_EQ(cut.Notes()[0].Section, MsgSection::Fixed);
        }
    }
    // Entries whose blobs are not drawings make no silhouettes either.
    TGame game;
    test::SetUpGame(game, 640, 400, 6, 3, 0, 5);
    EXPECT_TRUE(test::Succeeded(CutStyle3(game, bad + "notdrawing_text.dat")));
    EXPECT_EQ(CountPictures(game), 0);
}

// The cuts of one program run share one Silhouettes: a damaged shape file is
// named at the first cut only, with what is wrong; a file that is not a
// shape file at all is named at every cut, as before.
TEST(PictureCut, ADamagedShapeFileIsNamedOncePerRun) {
    const std::string bad = std::string(ORVEL_TEST_DATA_DIR) + "/bad/shapes/";
    Silhouettes damaged(bad + "damaged_count_larger_than_file.dat");
    Silhouettes wrong(bad + "magic_blank_missing.dat");
    CutEnvironment env;
    for (int run = 0; run < 3; ++run) {
        TGame game;
        test::SetUpGame(game, 640, 400, 6, 3, 0, 5 + run);
        env.pictures = &damaged;
        const Result cut = CutPieces(game, env);
        ASSERT_TRUE(test::Succeeded(cut));
        ASSERT_EQ(cut.Notes().size(), run == 0 ? 1u : 0u) << run;
        if (run == 0) {
            EXPECT_EQ(cut.Notes()[0].Key, "Invalid DAT file!");
            EXPECT_NE(cut.Notes()[0].Detail.find("damaged_count_larger_than_file.dat"),
                      std::string::npos);
        }
        test::SetUpGame(game, 640, 400, 6, 3, 0, 5 + run);
        env.pictures = &wrong;
        const Result other = CutPieces(game, env);
        ASSERT_TRUE(test::Succeeded(other));
        ASSERT_EQ(other.Notes().size(), 1u) << run;
        EXPECT_TRUE(other.Notes()[0].Detail.empty());
    }
}

TEST(PictureCut, SameSeedSameCutOtherSeedOtherCut) {
    TGame a, b, c;
    test::SetUpGame(a, 500, 360, 7, 3, 1, 77);
    test::SetUpGame(b, 500, 360, 7, 3, 1, 77);
    test::SetUpGame(c, 500, 360, 7, 3, 1, 78);
    ASSERT_TRUE(test::Succeeded(CutStyle3(a)));
    ASSERT_TRUE(test::Succeeded(CutStyle3(b)));
    ASSERT_TRUE(test::Succeeded(CutStyle3(c)));
    EXPECT_EQ(test::MaskHash(a.Buffers[4]), test::MaskHash(b.Buffers[4]));
    EXPECT_EQ(test::PiecesJson(a), test::PiecesJson(b));
    EXPECT_NE(test::MaskHash(a.Buffers[4]), test::MaskHash(c.Buffers[4]));
}

// A cut state with relaxed cells and a clear work mask, as the silhouette
// steps see it.
struct Prepared {
    TGame game;
    std::unique_ptr<CellCutState> cut;
    explicit Prepared(int level, uint32_t seed = 1) {
        test::SetUpGame(game, 800, 500, level, 3, 0, seed);
        CutEnvironment env;
        cut = std::make_unique<CellCutState>(game, env);
        CellCutState& c = *cut;
        const GameHeader& h = game.Header;
        LayGridCells(game);
        c.area = {h.JigsL, h.JigsT, h.JigsR, h.JigsB};
        c.sites.assign(h.TileNum, CutSite{});
        for (int k = 0; k < h.TileNum; ++k) {
            const TPiece& p = game.Pieces[k];
            c.sites[k].x = p.cellX + p.cellW / 2 + game.RandInt(5) - 2;
            c.sites[k].y = p.cellY + p.cellH / 2 + game.RandInt(5) - 2;
        }
        EXPECT_TRUE(test::Succeeded(BuildCells(c.sites.data(), h.TileNum, c.area, c.hull)));
        for (int k = 0; k < h.TileNum; ++k) {
            game.Pieces[k].seedX = Round(c.sites[k].centreX);
            game.Pieces[k].seedY = Round(c.sites[k].centreY);
            for (int j = 0; j < c.sites[k].edgeCount; ++j) {
                CellEdge& e = c.sites[k].edges[j];
                e.x1 = Round(e.x1), e.y1 = Round(e.y1), e.x2 = Round(e.x2), e.y2 = Round(e.y2);
                e.active = 1;
            }
        }
        EXPECT_TRUE(cutcommon::CreateWorkMask(c.work, h.ImageW, h.ImageH));
    }
    bool Adjacent(int a, int b) const {
        const CutSite& s = cut->sites[a];
        for (int j = 0; j < s.edgeCount; ++j)
            if (s.edges[j].neighbour == b) return true;
        return false;
    }
};

TEST(PictureCut, SpacingLeavesNoTwoMarksAdjacentAndNoneOnTheBorder) {
    Prepared s(8);
    CellCutState& c = *s.cut;
    const GameHeader& h = s.game.Header;
    ASSERT_GE(h.TilePX, 5);
    ASSERT_GE(h.TilePY, 5);
    // Every inner cell marked: the passes must thin them out.
    for (int r = 1; r < h.TilePY - 1; ++r)
        for (int col = 1; col < h.TilePX - 1; ++col)
            s.game.Pieces[r * h.TilePX + col].isPicture = 1;
    silhouette::SpacingPass(c, 1);
    silhouette::SpacingPass(c, 0);
    int marked = 0;
    for (int a = 0; a < h.TileNum; ++a) {
        if (!s.game.Pieces[a].isPicture) continue;
        ++marked;
        for (int j = 0; j < c.sites[a].edgeCount; ++j) {
            const int n = c.sites[a].edges[j].neighbour;
            EXPECT_GE(n, 0) << a << " touches the border";
            if (n >= 0) {
                EXPECT_FALSE(s.game.Pieces[n].isPicture) << a << " next to " << n;
            }
        }
    }
    EXPECT_GT(marked, 0);
}

TEST(PictureCut, InitialMarksFollowTheRowPattern) {
    Prepared s(8);
    Silhouettes sil(test::ShapeFilePath());
    sil.MarkInitial(*s.cut);
    const GameHeader& h = s.game.Header;
    for (int r = 0; r < h.TilePY; ++r)
        for (int col = 0; col < h.TilePX; ++col) {
            const bool inner = r > 0 && r < h.TilePY - 1 && col > 0 && col < h.TilePX - 1;
            const bool want =
                inner && r % 2 == 1 && ((r - 1) % 4 == 0 ? col % 2 == 1 : col % 2 == 0);
            EXPECT_EQ(s.game.Pieces[r * h.TilePX + col].isPicture != 0, want) << r << "," << col;
        }
}

// A shape file of one 80 x 80 drawing made of the polygons, in the temporary folder.
std::string ShapeFileOf(const std::string& name, const std::vector<std::vector<int32_t>>& polygons,
                        bool flipV = false, bool flipH = false) {
    MetafileWriter mw(80, 80);
    test::PenAndBrush(mw, 0);
    for (const auto& polygon : polygons) mw.Points32(EMR_POLYGON, polygon);
    const std::vector<uint8_t> file = BuildShapeFile({{80, 80, flipV, flipH, mw.Finish()}});
    const std::string path =
        (std::filesystem::temp_directory_path() / ("orvel_" + name + ".dat")).string();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
    return path;
}

// One asymmetric drawing (a right triangle with its right angle top left):
// where it lands tells whether it was mirrored.
std::string TriangleFile(bool flipV, bool flipH) {
    return ShapeFileOf("triangle_" + std::to_string(flipV) + std::to_string(flipH),
                       {{0, 0, 79, 0, 0, 79}}, flipV, flipH);
}

// Counts the placements whose mass lies right of / below the box centre.
void Placements(bool flipV, bool flipH, int& right, int& below, int& total) {
    right = below = total = 0;
    const std::string path = TriangleFile(flipV, flipH);
    for (uint32_t seed = 1; seed <= 12; ++seed) {
        Prepared s(9, seed);
        ShapeData data;
        ASSERT_EQ(LoadShapeData(data, path), ShapeLoadResult::Loaded);
        const GameHeader& h = s.game.Header;
        const int k = h.TilePX + 1;  // row 1, column 1
        s.game.Pieces[k].isPicture = 1;
        silhouette::PlaceOne(*s.cut, data, k);
        const TPiece& p = s.game.Pieces[k];
        const TColor color = RgbToColor(128, 0, p.MaskCode);
        double sx = 0, sy = 0;
        int n = 0;
        for (int y = p.boxY; y < p.boxY + p.boxH; ++y)
            for (int x = p.boxX; x < p.boxX + p.boxW; ++x)
                if (GetPixel(s.cut->work, x, y) == int32_t(color)) sx += x, sy += y, ++n;
        if (n == 0) continue;  // rejected and erased
        ++total;
        right += sx / n > p.boxX + p.boxW / 2.0;
        below += sy / n > p.boxY + p.boxH / 2.0;
    }
    std::filesystem::remove(path);
}

// A drawing of two parts leaves a white channel between them through which
// the pieces around would run into each other: it is not placed, and
// nothing of it stays on the mask. The same bars joined are placed.
TEST(PictureCut, DrawingsOfSeparatePartsAreNotPlaced) {
    const std::string apart =
        ShapeFileOf("apart", {{20, 20, 35, 20, 35, 59, 20, 59}, {45, 20, 59, 20, 59, 59, 45, 59}});
    const std::string joined = ShapeFileOf("joined", {{20, 20, 59, 20, 59, 59, 20, 59}});
    int placedJoined = 0;
    for (uint32_t seed = 1; seed <= 6; ++seed)
        for (const std::string& file : {apart, joined}) {
            Prepared s(9, seed);
            ShapeData data;
            ASSERT_EQ(LoadShapeData(data, file), ShapeLoadResult::Loaded);
            const int k = s.game.Header.TilePX + 1;
            s.game.Pieces[k].isPicture = 1;
            const bool placed = silhouette::PlaceOne(*s.cut, data, k);
            if (file == joined) {
                placedJoined += placed;
                continue;
            }
            EXPECT_FALSE(placed) << seed;
            EXPECT_FALSE(s.game.Pieces[k].isPicture) << seed;
            const TColor color = RgbToColor(128, 0, s.game.Pieces[k].MaskCode);
            EXPECT_EQ(test::CountColour(s.cut->work, color), 0) << seed;
        }
    EXPECT_GE(placedJoined, 4);
    std::filesystem::remove(apart);
    std::filesystem::remove(joined);
}

TEST(PictureCut, OnlyFlippableDrawingsAreMirrored) {
    int right, below, total;
    Placements(false, false, right, below, total);
    ASSERT_GT(total, 6);
    EXPECT_EQ(right, 0);
    EXPECT_EQ(below, 0);
    Placements(false, true, right, below, total);
    ASSERT_GT(total, 6);
    EXPECT_GT(right, 0);
    EXPECT_LT(right, total);
    EXPECT_EQ(below, 0);
    Placements(true, false, right, below, total);
    ASSERT_GT(total, 6);
    EXPECT_EQ(right, 0);
    EXPECT_GT(below, 0);
}

}  // namespace
}  // namespace orvel

namespace orvel {
namespace {

// The command-line cutter takes its silhouettes from the shape file beside
// it and marks them in the piece table it writes.
TEST(PictureCutTool, CutShapeThreeWritesSilhouettePieces) {
    const std::string tool = std::string(ORVEL_BUILD_DIR) + "/orvel-tool";
    if (!std::filesystem::exists(tool)) GTEST_SKIP() << "orvel-tool not built";
    const auto dir = std::filesystem::temp_directory_path();
    const std::string picture = (dir / "orvel_shapes_tool.bmp").string();
    const std::string pieces = (dir / "orvel_shapes_tool.json").string();
    TMyBitmap image = test::WhiteBitmap(640, 400);
    ASSERT_TRUE(SaveBmp24File(image, picture));
    const std::string command = tool + " cut " + picture +
                                " --shape 3 --level 6 --seed 5 --pieces " + pieces + " > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    std::string json;
    ASSERT_TRUE(test::ReadText(pieces, json));
    int marked = 0;
    for (size_t at = 0; (at = json.find("\"isPicture\": 1", at)) != std::string::npos; ++at)
        ++marked;

    TGame game;
    test::SetUpGame(game, 640, 400, 6, 3, 0, 5);
    ASSERT_TRUE(test::Succeeded(CutStyle3(game)));
    EXPECT_GT(marked, 0);
    EXPECT_EQ(marked, CountPictures(game));
    std::filesystem::remove(picture);
    std::filesystem::remove(pieces);
}

}  // namespace
}  // namespace orvel
