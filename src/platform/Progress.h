#pragma once

#include <string>

namespace orvel {

// The progress panel long operations (opening, cutting, relief building,
// saving) advance. Each step lets pending window events run.
class Progress {
public:
    virtual ~Progress() = default;
    virtual void ShowProgress(const std::string& text, int steps) = 0;
    virtual void StepProgress() = 0;
    virtual void HideProgress() = 0;
};

// For tools and tests that have no panel; counts the steps.
class CountingProgress : public Progress {
public:
    void ShowProgress(const std::string& text, int steps) override {
        Text = text;
        Steps = steps;
        Done = 0;
        Visible = true;
    }
    void StepProgress() override { ++Done; }
    void HideProgress() override { Visible = false; }

    std::string Text;
    int Steps = 0;
    int Done = 0;
    bool Visible = false;
};

}  // namespace orvel
