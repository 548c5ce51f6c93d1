#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/Text.h"
#include "base/Version.h"  // kAppTitle, the caption of every message box
#include "platform/Platform.h"

namespace orvel {

// The sections of a language file, each a separate key space. The numbers are
// the order of the section table and must not change.
enum class LangSection : uint8_t {
    LanguageInfo = 0,
    All,
    MainForm,
    LoadSaveForm,
    Pocket,
    Options,
    Info,
    Credits,
    About,
    Thumbnail,
    Download,
    Finish,
    QuickHelp,
    ColorPicker,
    Extra,
};
inline constexpr int kLangSectionCount = 15;
// The name in brackets that opens a section: "Language Info", "Main Form", ...
const char* LangSectionName(LangSection section);

// The description of one language file.
struct LANG_INFO {
    std::string FileName;  // base name, without ".lng"
    std::string engname;
    std::string localname;
    std::string author;
    std::string l_onlyinterface;
};

// The name a language is shown by: localname, else engname, else the file
// name in lower case.
std::string LangDisplayName(const LANG_INFO& info);

// One loaded text.
struct TLangEntry {
    LangSection Section;
    std::string Key;
    std::string Text;
};

class TLanguage;
struct TLangRegistryState;

// The order in which forms take their texts when a language is applied.
// Forms of one slot are served in the order they registered.
enum class LangApplyOrder : int {
    MainForm = 0,
    Browser = 1,
    Info = 2,
    Thumbnail = 3,  // the thumbnail window, then the pocket captions
    Download = 4,
    Options = 5,
    QuickHelp = 6,
    Other = 100,  // forms that take their texts after the ones above
};

// Forms register how they take their texts; applying a language calls every
// registered form in LangApplyOrder order. A registration ends when its
// handle is destroyed (or Reset), so a form that goes away stops being called.
class TLangApplyRegistry {
public:
    using ApplyFn = std::function<void(const TLanguage&)>;

    class Handle {
    public:
        Handle() = default;
        Handle(Handle&& other) noexcept = default;
        Handle& operator=(Handle&& other) noexcept;
        Handle(const Handle&) = delete;
        Handle& operator=(const Handle&) = delete;
        ~Handle() { Reset(); }
        void Reset();
        bool Active() const { return !m_state.expired(); }

    private:
        friend class TLangApplyRegistry;
        Handle(std::weak_ptr<TLangRegistryState> state, uint64_t id)
            : m_state(std::move(state)), m_id(id) {}
        std::weak_ptr<TLangRegistryState> m_state;
        uint64_t m_id = 0;
    };

    TLangApplyRegistry();
    TLangApplyRegistry(const TLangApplyRegistry&) = delete;
    TLangApplyRegistry& operator=(const TLangApplyRegistry&) = delete;

    // name identifies the form in tests and diagnostics ("F_Main", ...).
    [[nodiscard]] Handle Register(LangApplyOrder order, std::string name, ApplyFn apply);
    // Calls every registered form, in order. A callback may end registrations
    // (those forms are not called any more) or add one (first called by the
    // next ApplyAll).
    void ApplyAll(const TLanguage& lang) const;
    // The registered form names in the order ApplyAll serves them.
    std::vector<std::string> Names() const;
    size_t Count() const;

private:
    std::shared_ptr<TLangRegistryState> m_state;
};

// The active language: its loaded texts, the language list, message boxes
// and the forms that take its texts.
//
// Text encoding of a .lng file: a byte-order mark selects UTF-16 LE, UTF-16 BE
// or UTF-8; a file without a mark is read as UTF-8 when it is valid UTF-8 and
// otherwise as Windows-1252, byte by byte. Texts are held as UTF-8.
class TLanguage {
public:
    // Language files bigger than this are refused as unreadable.
    static constexpr uint64_t kMaxFileSize = 4u * 1024u * 1024u;

    // platform may be null (no message boxes are shown then).
    TLanguage(Platform* platform, std::string languageDir);
    // Forms hold on to the language; it stays where it was made.
    TLanguage(const TLanguage&) = delete;
    TLanguage& operator=(const TLanguage&) = delete;

    const std::string& LanguageDir() const { return m_languageDir; }
    // LanguageDir + lower-case name + ".lng" / help folder / ".bmp".
    std::string LangFilePath(std::string_view name) const;
    std::string HelpFilePath(
        std::string_view name) const;  // <name>.help, the language's help pages
    std::string FlagFilePath(std::string_view name) const;

    // The first loaded text of key in section (keys compared ignoring the case
    // of A-Z); the key itself when there is none.
    std::string LookUp(LangSection section, std::string_view key) const;
    // LookUp with every "$D" replaced by a line break ("\n" on this desktop).
    std::string LookUpMessage(LangSection section, std::string_view key) const;

    // Reads the file and applies it to every registered form. When the file
    // does not exist or cannot be read, warns with MS_CantFindLangFile
    // (formatted with the path) and returns false; the old texts stay.
    bool LoadAndApply(const std::string& path);
    // Replaces the loaded texts with those of a file's bytes; applies nothing.
    void LoadFromBytes(std::string_view bytes);
    const std::vector<TLangEntry>& Entries() const { return m_entries; }
    // Drops the loaded texts (lookups return their keys again).
    void FreeTexts();

    // Rebuilds the language list from LanguageDir, sorted by engname.
    void BuildLangList();
    const std::vector<LANG_INFO>& LangList() const { return m_langList; }
    void FreeLangList() { m_langList.clear(); }

    // Shows text with "$D" as line breaks, captioned with the application
    // title; Ok when there is no platform.
    MsgResult ShowMessage(const std::string& text, MsgKind kind) const;
    // ShowMessage(LookUpMessage(section, key)) / with Format arguments.
    MsgResult ShowMessageKey(LangSection section, std::string_view key, MsgKind kind) const;

    TLangApplyRegistry& Forms() { return m_forms; }
    const TLangApplyRegistry& Forms() const { return m_forms; }

private:
    void RebuildIndex();

    Platform* m_platform;
    std::string m_languageDir;
    std::vector<TLangEntry> m_entries;  // file order
    // (section, lower-cased key) -> index of the first entry.
    std::unordered_map<std::string, size_t> m_index;
    std::vector<LANG_INFO> m_langList;
    TLangApplyRegistry m_forms;
};


// A toolbar button's hint from its menu item: the caption with every "..."
// and every "…" removed, then " (" + shortcut + ")" when there is one.
std::string MenuHint(std::string_view caption, std::string_view shortcutText);

// Decodes a language file's bytes to UTF-8 (see TLanguage).
std::string DecodeLangFileBytes(std::string_view bytes);
// Parses decoded text into entries, in file order.
std::vector<TLangEntry> ParseLangText(std::string_view utf8);
// The [Language Info] of a decoded file; false when it has none.
bool ParseLangInfo(std::string_view utf8, LANG_INFO& info);

}  // namespace orvel
