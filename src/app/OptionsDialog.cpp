#include "app/OptionsDialog.h"

#include <cmath>
#include <filesystem>
#include <system_error>

#include "base/Text.h"
#include "cutter/PieceEffects.h"
#include "help/HelpPages.h"
#include "lang/LangKeys.h"

namespace orvel {

namespace {

constexpr const char* kPageNames[kOptionsPageCount] = {"TS_AutoSave", "TS_Sound", "TS_Play",
                                                       "TS_Visual",   "TS_Lang",  "TS_Dn"};
bool Exists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}

bool InCircle(int x, int y, int cx, int cy, int r) {
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r;
}

// The sample's shape: a square body with knobs to the right and below and
// a hole in its top edge.
bool InSample(int x, int y) {
    constexpr int left = 35, top = 35, size = 70, knob = 13;
    const bool body = x >= left && x < left + size && y >= top && y < top + size;
    const bool knobs = InCircle(x, y, left + size + 8, top + size / 2, knob) ||
                       InCircle(x, y, left + size / 2, top + size + 8, knob);
    const bool hole = InCircle(x, y, left + size / 2, top + 8, knob);
    return (body && !hole) || knobs;
}

// A warm evening sky over a dark hill: enough detail for the relief to show.
TColor SampleColor(int x, int y) {
    const double wave = 10.0 * std::sin(x / 9.0);
    if (y > 95 + wave) return RgbToColor(60 + x / 6, 90 + x / 8, 50);
    return RgbToColor(240 - y / 2, 150 + x / 4 - y / 3, 90 + y / 2);
}

}  // namespace

const char* OptionsPageName(OptionsPage page) {
    return kPageNames[static_cast<int>(page)];
}

std::string OptionsHelpPage(OptionsPage page) {
    return OptionsHelpPage(OptionsPageName(page));
}

void BuildSamplePiece(TMyBitmap& mask, TMyBitmap& picture) {
    if (!Create24(mask, kEffectPreviewW, kEffectPreviewH) || !Create24(picture, kEffectPreviewW, kEffectPreviewH)) return;
    for (int y = 0; y < kEffectPreviewH; ++y) {
        for (int x = 0; x < kEffectPreviewW; ++x) {
            SetPixel(mask, x, y, InSample(x, y) ? 0xFFFFFF : 0);
            SetPixel(picture, x, y, SampleColor(x, y));
        }
    }
}

// ----------------------------------------------------------------- the dialog

TOptionsDialog::TOptionsDialog(TLanguage& lang, const TSettings& settings)
    : Values(OptionsFromSettings(settings)), m_lang(lang) {
    BuildSamplePiece(m_sampleMask, m_samplePicture);
    TakeTexts(lang);
    m_langHandle = lang.Forms().Register(LangApplyOrder::Options, "F_Options",
                                         [this](const TLanguage& l) { TakeTexts(l); });
}

void TOptionsDialog::TakeTexts(const TLanguage& lang) {
    m_texts.clear();
    for (const TLangKey& k : LangKeys())
        if (k.Section == LangSection::Options) m_texts[k.Key] = lang.LookUp(k.Section, k.Key);
    for (const char* key : {"B_Ok", "B_Cancel", "B_Help"})
        m_texts[key] = lang.LookUp(LangSection::All, key);
    ++m_textsTaken;
    if (TextsChanged) TextsChanged();
}

std::string TOptionsDialog::Text(std::string_view control) const {
    const auto it = m_texts.find(control);
    return it != m_texts.end() ? it->second : std::string(control);
}

std::string TOptionsDialog::AutoIntervalText() const {
    return FormatText(Text("L_AutoInterval"), Values.AutoInterval);
}

std::string TOptionsDialog::StuckKoefText() const {
    return FormatText(Text("L_StuckKoef"), Values.StuckKoef);
}

void TOptionsDialog::RebuildLanguages() {
    m_lang.BuildLangList();
}

int TOptionsDialog::SelectedLanguage() const {
    const std::string wanted = AsciiLower(Values.Language);
    const auto& list = m_lang.LangList();
    for (size_t i = 0; i < list.size(); ++i)
        if (AsciiLower(list[i].FileName) == wanted) return static_cast<int>(i);
    return -1;
}

void TOptionsDialog::SelectLanguage(int index) {
    const auto& list = m_lang.LangList();
    if (index >= 0 && index < static_cast<int>(list.size())) Values.Language = list[index].FileName;
}

bool TOptionsDialog::LanguageHasHelp(int index) const {
    const auto& list = m_lang.LangList();
    if (index < 0 || index >= static_cast<int>(list.size())) return false;
    return Exists(m_lang.HelpFilePath(list[index].FileName));
}

std::string TOptionsDialog::FlagPath(int index) const {
    const auto& list = m_lang.LangList();
    if (index < 0 || index >= static_cast<int>(list.size())) return {};
    const std::string path = m_lang.FlagFilePath(list[index].FileName);
    return Exists(path) ? path : std::string();
}

bool TOptionsDialog::DrawPreview(TMyBitmap& out) const {
    if (!Create24(out, kEffectPreviewW, kEffectPreviewH)) return false;
    FillBox(out, 0, 0, kEffectPreviewW, kEffectPreviewH, kPreviewBackground);
    PreviewEffects(m_sampleMask, m_samplePicture, out, Values.WoodColor, Values.Wood,
                   Values.Emboss);
    return true;
}

void TOptionsDialog::PickWoodColor(const std::function<bool(TColorPicker&)>& show) {
    const TColor old = Values.WoodColor;
    TColorPicker picker;
    picker.Caption = Text("GB_VisualWoodColor");
    picker.Color = static_cast<int32_t>(old);
    picker.Suggested[0] = static_cast<int32_t>(kDefaultWoodColor);
    picker.Suggested[1] = static_cast<int32_t>(kLightWoodColor);
    picker.Target = -2;
    picker.Apply = [this](int32_t value) {
        Values.WoodColor = static_cast<TColor>(value);
        if (PreviewChanged) PreviewChanged();
    };
    if (!show(picker) || picker.IsPicture()) Values.WoodColor = old;
    if (PreviewChanged) PreviewChanged();
}

bool TOptionsDialog::Confirm() {
    if (!KeysDiffer(Values)) {
        m_lang.ShowMessageKey(LangSection::Options, "MS_KeysMustBeDiff", MsgKind::Warning);
        ActivePage = OptionsPage::Play;
        return false;
    }
    const std::string path = m_lang.LangFilePath(Values.Language);
    if (!IsPlainLanguageName(Values.Language) || !Exists(path)) {
        m_lang.ShowMessage(
            FormatText(m_lang.LookUpMessage(LangSection::Options, "MS_CantFindLangFile"), path),
            MsgKind::Warning);
        return false;
    }
    return true;
}

}  // namespace orvel
