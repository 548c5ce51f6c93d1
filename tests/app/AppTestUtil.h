#pragma once

// The application core with no screen: a FakePlatform, temporary folders and
// a window that records what it is asked to show.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/OrvelApp.h"
#include "platform/FakePlatform.h"
#include "settings/TempDir.h"

namespace orvel::test {

// A window without a screen: it takes the bounds the core asks for at once,
// the way a window manager would, and notes what it was asked to show.
struct TFakeWindow : TAppView {
    TOrvelApp* App = nullptr;
    TBounds Bounds;
    bool FullScreen = false;
    bool Closed = false;
    int Minimized = 0;
    std::vector<std::pair<int, int>> MenuPopUps;
    std::vector<std::string> AboutBoxes;
    // Progress panel: texts shown, (done, steps) of every step, hides.
    std::vector<std::string> ProgressTexts;
    std::vector<std::pair<int, int>> ProgressSteps;
    int ProgressHides = 0;
    int AutoSaveStarts = 0;
    // Run at every progress step, while the panel is up.
    std::function<void()> OnProgressStep;

    void ShowWindow() override { App->Resize(Bounds.W, Bounds.H); }
    TBounds WindowBounds() const override { return Bounds; }
    void ApplyWindowState(bool fullScreen, const TBounds& bounds) override {
        FullScreen = fullScreen;
        Bounds = bounds;
        App->Resize(bounds.W, bounds.H);
    }
    void Minimize() override { ++Minimized; }
    void RequestClose() override { Closed = App->CloseRequest(); }
    void PopUpMenu(int x, int y) override { MenuPopUps.emplace_back(x, y); }
    void ShowAbout(const std::string& caption) override { AboutBoxes.push_back(caption); }
    void ProgressShown(const std::string& text) override { ProgressTexts.push_back(text); }
    void ProgressStepped(int done, int steps) override {
        ProgressSteps.emplace_back(done, steps);
        if (OnProgressStep) OnProgressStep();
    }
    void ProgressHidden() override { ++ProgressHides; }
    void AutoSaveTimerStarted() override { ++AutoSaveStarts; }

    // The game-information and finish forms shown; the finish form answers
    // SaveAtFinish. The mouse is over the field at Cursor when HasCursor.
    std::vector<TInfoForm> InfoForms;
    std::vector<TFinishForm> FinishForms;
    bool SaveAtFinish = false;
    bool HasCursor = false;
    std::pair<int, int> Cursor;
    void ShowInfo(const TInfoForm& form) override { InfoForms.push_back(form); }
    bool ShowFinish(const TFinishForm& form) override {
        FinishForms.push_back(form);
        return SaveAtFinish;
    }
    bool FieldCursor(int& x, int& y) const override {
        x = Cursor.first;
        y = Cursor.second;
        return HasCursor;
    }
};

class OrvelAppTest : public ::testing::Test {
protected:
    void SetUp() override {
        fp.Screen.ScreenW = 1280;
        fp.Screen.ScreenH = 800;
        fp.Screen.WorkArea = {0, 0, 1279, 759};
        folders.ProgramDir = ORVEL_BUILD_DIR;
        folders.DocumentsDir = dir.File("docs");
        folders.DataHomeDir = dir.File("data");
        folders.TempDir = dir.Path();
    }
    void Start(TAppOptions options = {}) {
        app = std::make_unique<TOrvelApp>(fp, folders, std::move(options));
        window.App = app.get();
        window.Bounds = app->NormalBounds();
        app->AttachView(&window);
        app->StartUp();
    }
    void Key(uint16_t key, uint8_t shift = 0) {
        app->KeyDown(key);
        app->KeyUp(key, shift);
    }
    void LoadGame() {
        app->Game.GameLoaded = true;
        app->EnableGameCommands(true);
    }

    TempDir dir;
    FakePlatform fp;
    TPlatformFolders folders;
    TFakeWindow window;
    std::unique_ptr<TOrvelApp> app;
};

}  // namespace orvel::test
