#include "HeadlessProgram.h"

#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "app/DataFolder.h"

namespace orvel::tool {

namespace {

std::string ProgramDir() {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ProgramDataDir((ec ? std::filesystem::current_path() : exe.parent_path()).string());
}

std::string MakeScratchDir() {
    std::error_code ec;
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path(ec) / ("orvel-tool-" + std::to_string(getpid()));
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
}

THeadlessProgram::~THeadlessProgram() {
    m_app.reset();
    std::error_code ec;
    std::filesystem::remove_all(m_scratch, ec);
}

bool THeadlessProgram::Open(const std::string& path) {
    m_app->OpenFile(path);
    return m_app->Game.GameLoaded;
}

}  // namespace orvel::tool
