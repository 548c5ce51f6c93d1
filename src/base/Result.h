#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/Text.h"

namespace orvel {

// Which language-file section a message key lives in; Fixed marks a text that
// is never translated and is shown as the key stands.
enum class MsgSection : unsigned char {
    Fixed,
    MainForm,
    LoadSaveForm,
    Options,
    Download,
};

// Why an operation failed, in terms the player's language can show: a message
// key and its section, the arguments that fill the text's %s/%d places in
// order, and an optional untranslated detail such as a library's or the
// system's own words.
struct TError {
    std::string Key;
    std::vector<std::string> Args;
    std::string Detail;
    MsgSection Section = MsgSection::MainForm;
};

// A text that is never translated ("Invalid DAT file!"): shown as it stands,
// its %s/%d places filled from args.
inline TError FixedText(std::string text, std::vector<std::string> args = {},
                        std::string detail = {}) {
    return TError{std::move(text), std::move(args), std::move(detail), MsgSection::Fixed};
}

// The error as one untranslated line, for tools and logs: the key as its own
// format with the places filled, then the detail.
inline std::string PlainText(const TError& error) {
    std::string line = FormatText(error.Key, error.Args);
    if (!error.Detail.empty()) line += ": " + error.Detail;
    return line;
}

// Success, or a TError. Operations that can fail return this; only forms and
// the application core turn the error into a message box.
class [[nodiscard]] Result {
public:
    Result() = default;
    Result(TError error) : m_error(std::move(error)) {}  // NOLINT: a failure converts

    static Result Success() { return {}; }
    static Result Fail(std::string key, std::vector<std::string> args = {}, std::string detail = {},
                       MsgSection section = MsgSection::MainForm) {
        return TError{std::move(key), std::move(args), std::move(detail), section};
    }

    bool Ok() const { return !m_error.has_value(); }
    explicit operator bool() const { return Ok(); }
    // Only for a failed result.
    const TError& Error() const { return *m_error; }
    // The error with a detail added when it has none yet.
    Result WithDetail(std::string detail) && {
        if (m_error && m_error->Detail.empty()) m_error->Detail = std::move(detail);
        return std::move(*this);
    }

    // Messages for the player that come before the error, or alone after a
    // success, in the order they are shown: a diagnostic line ahead of the
    // failure it explains, a notice about a damaged data file that the
    // operation worked around.
    const std::vector<TError>& Notes() const { return m_notes; }
    void AddNote(TError note) { m_notes.push_back(std::move(note)); }

private:
    std::optional<TError> m_error;
    std::vector<TError> m_notes;
};

// A value, or the TError that kept it from being made.
template <class T>
class [[nodiscard]] ResultOf {
public:
    ResultOf(T value) : m_value(std::move(value)) {}          // NOLINT: a value converts
    ResultOf(TError error) : m_error(std::move(error)) {}     // NOLINT: a failure converts
    ResultOf(Result failed)                                   // NOLINT: only from a failed Result
        : m_error(failed.Error()), m_notes(failed.Notes()) {}

    bool Ok() const { return m_value.has_value(); }
    explicit operator bool() const { return Ok(); }
    T& Value() & { return *m_value; }
    const T& Value() const& { return *m_value; }
    T&& Value() && { return std::move(*m_value); }
    const TError& Error() const { return *m_error; }
    const std::vector<TError>& Notes() const { return m_notes; }
    void AddNote(TError note) { m_notes.push_back(std::move(note)); }
    // The outcome without the value.
    Result Status() const {
        Result status = m_error ? Result(*m_error) : Result();
        for (const TError& note : m_notes) status.AddNote(note);
        return status;
    }

private:
    std::optional<T> m_value;
    std::optional<TError> m_error;
    std::vector<TError> m_notes;
};

}  // namespace orvel
