// libFuzzer target: a language file of any bytes decodes, parses and answers
// lookups and formats without fault.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "lang/Lang.h"
#include "lang/LangKeys.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace orvel;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    TLanguage lang(nullptr, "");
    lang.LoadFromBytes(bytes);
    for (const TLangKey& k : LangKeys()) {
        const std::string text = lang.LookUpMessage(k.Section, k.Key);
        // A translated format never reads arguments it was not given.
        (void)FormatText(text, std::vector<std::string>{"1"});
        (void)PlaceholdersOf(text);
    }
    for (const TLangEntry& e : lang.Entries()) {
        if (lang.LookUp(e.Section, e.Key).size() > size * 3 + 3)
            __builtin_trap();  // decoding at most triples bytes
    }
    LANG_INFO info;
    ParseLangInfo(DecodeLangFileBytes(bytes), info);
    return 0;
}
