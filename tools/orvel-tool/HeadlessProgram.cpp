#include "HeadlessProgram.h"

#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "HeadlessCut.h"
#include "game/GameModel.h"
#include "game/JigsawFile.h"
#include "play/NewGame.h"
#include "play/PieceHandling.h"
#include "play/Sides.h"

namespace orvel::tool {

namespace {

std::string ProgramDir() {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return (ec ? std::filesystem::current_path() : exe.parent_path()).string();
}

std::string MakeScratchDir() {
    std::error_code ec;
    const std::filesystem::path dir = std::filesystem::temp_directory_path(ec) /
                                      ("orvel-tool-" + std::to_string(getpid()));
    std::filesystem::remove_all(dir, ec);
    std::filesystem::create_directories(dir, ec);
    return dir.string();
}

}  // namespace

// A window that takes the bounds the core asks for at once, as a window
// manager would.
struct THeadlessProgram::TWindow : TAppView {
    TOrvelApp* App = nullptr;
    TBounds Bounds;
    void ShowWindow() override { App->Resize(Bounds.W, Bounds.H); }
    TBounds WindowBounds() const override { return Bounds; }
    void ApplyWindowState(bool, const TBounds& bounds) override {
        Bounds = bounds;
        App->Resize(bounds.W, bounds.H);
    }
};

// The piece handling on the core's field mouse.
struct THeadlessProgram::THands {
    TPlayArea Area;
    TPieceHandler Handler;
    THands(TOrvelApp& app, Platform& platform)
        : Area{app.Layout().FieldW, app.Layout().FieldH},
          Handler(app.Game, app.Wins, app.View, app.Layers, app.Settings, Area, platform) {
        Handler.SetStarImage(&app.StarImage);
        app.Layers.DrawPieces = [this](TMyBitmap& f, const TMyWin& w, const TMyRect& u) {
            Handler.DrawPieces(f, w, u);
        };
        app.PieceMouseDown = [this](int button, uint8_t shift, int x, int y, bool wheel) {
            Handler.MouseDown(button, shift, x, y, wheel);
        };
        app.PieceMouseMove = [this](uint8_t shift, int x, int y, bool held) {
            Handler.MouseMove(shift, x, y, held);
        };
        app.PieceMouseUp = [this](int button, uint8_t shift, int x, int y, bool) {
            Handler.MouseUp(button, shift, x, y);
        };
    }
};

THeadlessProgram::THeadlessProgram(int screenW, int screenH, uint32_t counter)
    : m_scratch(MakeScratchDir()), m_window(std::make_unique<TWindow>()) {
    m_platform.Screen.ScreenW = screenW;
    m_platform.Screen.ScreenH = screenH;
    m_platform.Screen.WorkArea = {0, 0, screenW - 1, screenH - 1};
    m_platform.Counter = counter;
    TPlatformFolders folders;
    folders.ProgramDir = ProgramDir();
    folders.DocumentsDir = m_scratch + "/docs";
    folders.DataHomeDir = m_scratch + "/data";
    folders.TempDir = m_scratch;
    m_app = std::make_unique<TOrvelApp>(m_platform, folders);
    m_window->App = m_app.get();
    m_window->Bounds = m_app->NormalBounds();
    m_app->AttachView(m_window.get());
    m_app->StartUp();
    m_hands = std::make_unique<THands>(*m_app, m_platform);
}

THeadlessProgram::~THeadlessProgram() {
    m_hands.reset();
    m_app.reset();
    std::error_code ec;
    std::filesystem::remove_all(m_scratch, ec);
}

Result THeadlessProgram::Open(const std::string& path) {
    TOrvelApp& app = *m_app;
    const TSettings& s = app.Settings;
    ResultOf<TJigsawData> read = ReadJigsaw(path, JR_Browse);
    if (!read) return read.Status();
    TNewGameRequest request;
    request.Path = path;
    request.Header = read.Value().Header;
    request.BrowserThumb = &read.Value().Thumb;
    GameHeader& h = request.Header;
    h.Rotate = s.Rotate ? 1 : 0;
    h.BorderStyle = s.BorderStyle;
    h.ShapeStyle = s.ShapeStyle;
    h.SpreadOut = s.SpreadOut;
    h.FitToScreen = s.FitToScreen ? 1 : 0;
    const int playW = app.Layout().FieldW, playH = app.Layout().FieldH;
    if (!ChooseCut(h, s.Level, playW, playH))
        return FixedText("%s pieces are too many", {std::to_string(h.TotalTileNum)}, path);
    TNewGameSetup setup;
    setup.PlayW = playW;
    setup.PlayH = playH;
    setup.Effects.EmbossStyle = s.EmbossStyle;
    setup.Effects.WoodStyle = s.WoodStyle;
    setup.ResourcesDir = app.Paths.AppDir + "resources";
    setup.ShapeFile = app.Paths.ShapeDataFile;
    TNewGameView view;
    Result r = StartNewGame(app.Game, app.Wins, request, setup, view, app, m_platform);
    if (!r) return r;
    SortOrder(app.Game, false);
    app.ShowSide(0);
    app.EnableGameCommands(true);
    app.RequestFullRedraw();
    app.FlushFieldUpdate();
    return r;
}

}  // namespace orvel::tool
