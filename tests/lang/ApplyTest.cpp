#include <gtest/gtest.h>

#include <map>

#include "lang/Lang.h"
#include "platform/FakePlatform.h"

namespace orvel {
namespace {

TEST(LangApply, FormsAreServedInTheirOrderWhateverTheRegistrationOrder) {
    TLanguage lang(nullptr, "");
    std::vector<std::string> calls;
    auto record = [&](const char* name) {
        return [&calls, name](const TLanguage&) { calls.push_back(name); };
    };
    auto h1 = lang.Forms().Register(LangApplyOrder::QuickHelp, "F_Help", record("F_Help"));
    auto h2 = lang.Forms().Register(LangApplyOrder::Other, "F_Later", record("F_Later"));
    auto h3 = lang.Forms().Register(LangApplyOrder::Options, "F_Options", record("F_Options"));
    auto h4 = lang.Forms().Register(LangApplyOrder::Thumbnail, "Thumbnail", record("Thumbnail"));
    auto h5 = lang.Forms().Register(LangApplyOrder::Thumbnail, "Pockets", record("Pockets"));
    auto h6 = lang.Forms().Register(LangApplyOrder::Download, "F_Download", record("F_Download"));
    auto h7 = lang.Forms().Register(LangApplyOrder::Info, "F_Info", record("F_Info"));
    auto h8 = lang.Forms().Register(LangApplyOrder::Browser, "F_DirView", record("F_DirView"));
    auto h9 = lang.Forms().Register(LangApplyOrder::MainForm, "F_Main", record("F_Main"));
    const std::vector<std::string> expected = {"F_Main",    "F_DirView", "F_Info",
                                               "Thumbnail", "Pockets",   "F_Download",
                                               "F_Options", "F_Help",    "F_Later"};
    EXPECT_EQ(lang.Forms().Names(), expected);
    lang.Forms().ApplyAll(lang);
    EXPECT_EQ(calls, expected);
}

TEST(LangApply, AFormThatGoesAwayIsNoLongerCalled) {
    TLanguage lang(nullptr, "");
    int a = 0;
    int b = 0;
    auto ha = lang.Forms().Register(LangApplyOrder::MainForm, "A", [&](const TLanguage&) { ++a; });
    {
        auto hb =
            lang.Forms().Register(LangApplyOrder::Options, "B", [&](const TLanguage&) { ++b; });
        lang.Forms().ApplyAll(lang);
    }
    lang.Forms().ApplyAll(lang);
    EXPECT_EQ(a, 2);
    EXPECT_EQ(b, 1);
    EXPECT_EQ(lang.Forms().Count(), 1u);

    // Moving a handle moves the registration; Reset ends it.
    TLangApplyRegistry::Handle moved = std::move(ha);
    EXPECT_FALSE(ha.Active());
    EXPECT_TRUE(moved.Active());
    moved.Reset();
    EXPECT_EQ(lang.Forms().Count(), 0u);
}

TEST(LangApply, HandlesMayOutliveTheLanguage) {
    TLangApplyRegistry::Handle handle;
    {
        TLanguage lang(nullptr, "");
        handle = lang.Forms().Register(LangApplyOrder::MainForm, "A", [](const TLanguage&) {});
        EXPECT_TRUE(handle.Active());
    }
    EXPECT_FALSE(handle.Active());
    handle.Reset();  // nothing left to unregister from
}

TEST(LangApply, CallbacksMayRegisterAndLeaveDuringApply) {
    TLanguage lang(nullptr, "");
    std::vector<std::string> calls;
    TLangApplyRegistry::Handle late;
    TLangApplyRegistry::Handle victim;
    auto first = lang.Forms().Register(LangApplyOrder::MainForm, "first", [&](const TLanguage&) {
        calls.push_back("first");
        victim.Reset();  // a form closed by the main window's re-texting
        if (!late.Active()) {
            late = lang.Forms().Register(LangApplyOrder::Options, "late",
                                         [&](const TLanguage&) { calls.push_back("late"); });
        }
    });
    victim = lang.Forms().Register(LangApplyOrder::Browser, "victim",
                                   [&](const TLanguage&) { calls.push_back("victim"); });
    lang.Forms().ApplyAll(lang);
    EXPECT_EQ(calls, std::vector<std::string>{"first"});
    calls.clear();
    lang.Forms().ApplyAll(lang);
    EXPECT_EQ(calls, (std::vector<std::string>{"first", "late"}));
}

}  // namespace
}  // namespace orvel
