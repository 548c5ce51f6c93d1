#pragma once

// The rules of the options dialog without its window: the seven mouse-key
// choices and the play schemes, the radios for the effect styles, what the
// dialog shows for the in-memory settings and what it checks before OK.

#include <array>
#include <cstdint>
#include <string>

#include "base/Color.h"
#include "settings/Settings.h"

namespace orvel {

// A mouse key of play: button 0 left, 1 right; modifiers 1 Shift, 2 Alt, 4 Ctrl.
struct TKeyChoice {
    uint8_t Button;
    uint8_t Shift;
};
inline constexpr int kKeyChoiceCount = 7;
// In list order, the texts Key0 .. Key6.
inline constexpr std::array<TKeyChoice, kKeyChoiceCount> kKeyChoices = {
    {{0, 2}, {0, 4}, {0, 1}, {1, 0}, {1, 2}, {1, 4}, {1, 1}}};
// The list entry of a button and modifier set; -1 when the pair is not a choice.
int KeyChoiceIndex(int button, int shift);

// The entries of the scheme list.
enum class PlayScheme : int { Standard = 0, Simple = 1, Other = 2 };
struct TPlaySchemeKeys {
    int RotCW, RotCCW, MoveOW;  // key-list entries
    bool SingleWin, ClickToDrag;
};
inline constexpr TPlaySchemeKeys kStandardScheme = {5, 1, 3, false, false};
inline constexpr TPlaySchemeKeys kSimpleScheme = {3, 5, 1, true, true};

// The emboss radio for a style (0, 1, 2, any other value Fat Card) and the
// wood radio (0, 1, any other value Shadows).
int EmbossRadio(int style);
int WoodRadio(int style);

// The position of a host in the download-host list (case-insensitive); 0
// when it is not there.
int DownloadHostIndex(const std::string& host);

// What the dialog holds while it is open.
struct TOptionsValues {
    bool AutoSave = true;
    int AutoInterval = 10;  // minutes, 1..60
    bool Sound = true;
    // Key-list entries; -1 a list without a choice.
    int RotCW = -1, RotCCW = -1, MoveOW = -1;
    bool SingleWin = false;
    bool ClickToDrag = false;
    int StuckKoef = 12;  // 10..30
    int Emboss = 1;      // radio 0..3
    int Wood = 2;        // radio 0..2
    TColor WoodColor = kDefaultWoodColor;
    bool ShowJoin = true;
    std::string Language;  // the selected language's file name
    int DnSrc = 0;         // index into kDownloadHosts
    bool UseSecure = false;
    int SecureMethod = 5;  // index into kSecureMethodNames
    // The hidden test panel's fields, stored only while it is shown.
    bool TestPanel = false;
    std::string ThumbPath;
    std::string SiteJigsawsDir;
    bool operator==(const TOptionsValues&) const = default;
};

inline constexpr int kAutoIntervalMin = 1, kAutoIntervalMax = 60;
inline constexpr int kStuckKoefMin = 10, kStuckKoefMax = 30;
inline constexpr int kScrollLargeStep = 5;
// Suggested wood colours in the picker.
inline constexpr TColor kLightWoodColor = 0x92ADBE;

// The dialog filled from the in-memory settings; values a scroll bar cannot
// show are brought into its range.
TOptionsValues OptionsFromSettings(const TSettings& s);
// Whether the values match a scheme in all three keys and both check boxes;
// a list without a choice makes the scheme Other.
PlayScheme DetectScheme(const TOptionsValues& v);
// Standard and Simple set the three lists and both check boxes; Other
// changes nothing.
void ApplyScheme(TOptionsValues& v, PlayScheme scheme);
// The three key lists differ pairwise; two lists without a choice differ.
bool KeysDiffer(const TOptionsValues& v);
// The stored play keys, check boxes and stickiness of the values; a list
// without a choice keeps the stored pair.
void StorePlayOptions(const TOptionsValues& v, TSettings& s);
// The download host, protocol and (with the test panel) its two fields.
void StoreDownloadOptions(const TOptionsValues& v, TSettings& s);

}  // namespace orvel
