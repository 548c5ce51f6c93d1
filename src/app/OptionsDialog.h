#pragma once

// The options dialog without its window: the values it shows, its texts in
// the active language (taken again whenever a language is applied), the
// language list, the effect preview drawn by the cutter's own effects code,
// the wood colour's picker and the checks of OK.

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "app/ColorPick.h"
#include "app/OptionsRules.h"
#include "graphics/Bitmap.h"
#include "lang/Lang.h"
#include "settings/Settings.h"

namespace orvel {

// The pages in their order, with the help page each opens.
enum class OptionsPage : int { AutoSave = 0, Sound, Play, Visual, Lang, Dn };
inline constexpr int kOptionsPageCount = 6;
const char* OptionsPageName(OptionsPage page);  // "TS_AutoSave", ...
std::string OptionsHelpPage(OptionsPage page);  // "save.htm", ...

inline constexpr int kEffectPreviewW = 150;
inline constexpr int kEffectPreviewH = 150;
inline constexpr TColor kPreviewBackground = 0x989898;

// The sample piece of the preview: a piece with a knob and a hole on a
// 24-bit mask (white where the piece is) and its picture.
void BuildSamplePiece(TMyBitmap& mask, TMyBitmap& picture);

class TOptionsDialog {
public:
    // Registers for language changes; the registration ends with the dialog.
    TOptionsDialog(TLanguage& lang, const TSettings& settings);
    TOptionsDialog(const TOptionsDialog&) = delete;
    TOptionsDialog& operator=(const TOptionsDialog&) = delete;

    TOptionsValues Values;
    OptionsPage ActivePage = OptionsPage::AutoSave;
    // Called after the texts were taken again (a language was applied).
    std::function<void()> TextsChanged;
    // Called after the wood colour changed while its picker is open.
    std::function<void()> PreviewChanged;

    // A control's text: B_Ok, B_Cancel and B_Help from section All, everything else
    // from section Options; the key itself when the language has none.
    std::string Text(std::string_view control) const;
    std::string AutoIntervalText() const;
    std::string StuckKoefText() const;
    // How many times the texts were taken (once at creation).
    int TextsTaken() const { return m_textsTaken; }

    // The language page: rebuilt each time the dialog is shown; the current
    // language is selected.
    void RebuildLanguages();
    const std::vector<LANG_INFO>& Languages() const { return m_lang.LangList(); }
    int SelectedLanguage() const;
    void SelectLanguage(int index);
    // The language has help pages of its own (otherwise its l_onlyinterface shows).
    bool LanguageHasHelp(int index) const;
    std::string FlagPath(int index) const;

    // The scheme list follows the key lists and the two check boxes.
    PlayScheme Scheme() const { return DetectScheme(Values); }
    void ChooseScheme(PlayScheme scheme) { ApplyScheme(Values, scheme); }

    // The sample piece on the preview background with the chosen effects.
    [[nodiscard]] bool DrawPreview(TMyBitmap& out) const;

    // Opens the picker for the wood colour through show (which shows it
    // modally and returns whether it was confirmed); the swatch follows the
    // picker while open and gets its old colour back on Cancel.
    void PickWoodColor(const std::function<bool(TColorPicker&)>& show);

    // The checks of OK: the keys differ (else MS_KeysMustBeDiff and the Play
    // page), the selected language's file exists (else MS_CantFindLangFile).
    // Warns and returns false when one fails.
    bool Confirm();

private:
    void TakeTexts(const TLanguage& lang);

    TLanguage& m_lang;
    std::map<std::string, std::string, std::less<>> m_texts;
    int m_textsTaken = 0;
    TMyBitmap m_sampleMask;
    TMyBitmap m_samplePicture;
    TLangApplyRegistry::Handle m_langHandle;
};

}  // namespace orvel
