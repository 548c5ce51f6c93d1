#include "app/OptionsRules.h"

#include "base/IntMath.h"
#include "base/Text.h"

namespace orvel {

namespace {

void SetKey(int index, uint8_t& button, uint8_t& shift) {
    if (index < 0 || index >= kKeyChoiceCount) return;
    button = kKeyChoices[index].Button;
    shift = kKeyChoices[index].Shift;
}

bool Matches(const TOptionsValues& v, const TPlaySchemeKeys& k) {
    return v.RotCW == k.RotCW && v.RotCCW == k.RotCCW && v.MoveOW == k.MoveOW &&
           v.SingleWin == k.SingleWin && v.ClickToDrag == k.ClickToDrag;
}

bool Differ(int a, int b) {
    return a < 0 || b < 0 || a != b;
}

}  // namespace

int KeyChoiceIndex(int button, int shift) {
    for (int i = 0; i < kKeyChoiceCount; ++i)
        if (kKeyChoices[i].Button == button && kKeyChoices[i].Shift == shift) return i;
    return -1;
}

int EmbossRadio(int style) {
    return style >= 0 && style <= 2 ? style : 3;
}

int WoodRadio(int style) {
    return style == 0 || style == 1 ? style : 2;
}

int DownloadHostIndex(const std::string& host) {
    const std::string wanted = AsciiLower(host);
    for (size_t i = 0; i < kDownloadHosts.size(); ++i)
        if (AsciiLower(kDownloadHosts[i]) == wanted) return static_cast<int>(i);
    return 0;
}

TOptionsValues OptionsFromSettings(const TSettings& s) {
    TOptionsValues v;
    v.AutoSave = s.AutoSave_bEnabled;
    v.AutoInterval = Clamp(s.AutoSave_iIntervalMin, kAutoIntervalMin, kAutoIntervalMax);
    v.Sound = s.CB_SoundPlay;
    v.RotCW = KeyChoiceIndex(s.RotCW_Button, s.RotCW_Shift);
    v.RotCCW = KeyChoiceIndex(s.RotCCW_Button, s.RotCCW_Shift);
    v.MoveOW = KeyChoiceIndex(s.MoveOW_Button, s.MoveOW_Shift);
    v.SingleWin = s.bSingleWin;
    v.ClickToDrag = s.bClickToDrag;
    v.StuckKoef = Clamp(s.iStuckKoef, kStuckKoefMin, kStuckKoefMax);
    v.Emboss = EmbossRadio(s.EmbossStyle);
    v.Wood = WoodRadio(s.WoodStyle);
    v.WoodColor = s.WoodColor;
    v.ShowJoin = s.CB_VisualShowJoin;
    v.Language = s.sCurLang;
    v.DnSrc = DownloadHostIndex(s.sDnSrc);
    v.UseSecure = s.bUseSecure;
    v.SecureMethod = Clamp(s.iSecureMethodInd, 0, static_cast<int>(kSecureMethodNames.size()) - 1);
    v.ThumbPath = s.ThumbPath;
    v.SiteJigsawsDir = s.SiteJigsawsDir;
    return v;
}

PlayScheme DetectScheme(const TOptionsValues& v) {
    if (v.RotCW < 0 || v.RotCCW < 0 || v.MoveOW < 0) return PlayScheme::Other;
    if (Matches(v, kStandardScheme)) return PlayScheme::Standard;
    if (Matches(v, kSimpleScheme)) return PlayScheme::Simple;
    return PlayScheme::Other;
}

void ApplyScheme(TOptionsValues& v, PlayScheme scheme) {
    if (scheme == PlayScheme::Other) return;
    const TPlaySchemeKeys& k = scheme == PlayScheme::Standard ? kStandardScheme : kSimpleScheme;
    v.RotCW = k.RotCW;
    v.RotCCW = k.RotCCW;
    v.MoveOW = k.MoveOW;
    v.SingleWin = k.SingleWin;
    v.ClickToDrag = k.ClickToDrag;
}

bool KeysDiffer(const TOptionsValues& v) {
    return Differ(v.RotCW, v.RotCCW) && Differ(v.RotCW, v.MoveOW) && Differ(v.RotCCW, v.MoveOW);
}

void StorePlayOptions(const TOptionsValues& v, TSettings& s) {
    s.bClickToDrag = v.ClickToDrag;
    SetKey(v.RotCW, s.RotCW_Button, s.RotCW_Shift);
    SetKey(v.RotCCW, s.RotCCW_Button, s.RotCCW_Shift);
    SetKey(v.MoveOW, s.MoveOW_Button, s.MoveOW_Shift);
    s.iStuckKoef = v.StuckKoef;
}

void StoreDownloadOptions(const TOptionsValues& v, TSettings& s) {
    s.sDnSrc = kDownloadHosts[Clamp(v.DnSrc, 0, static_cast<int>(kDownloadHosts.size()) - 1)];
    s.bUseSecure = v.UseSecure;
    s.iSecureMethodInd = v.SecureMethod;
    if (!v.TestPanel) return;
    s.ThumbPath = std::string(TrimView(v.ThumbPath));
    s.SiteJigsawsDir = std::string(TrimView(v.SiteJigsawsDir));
}

}  // namespace orvel
