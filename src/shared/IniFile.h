#pragma once
// The settings file: sections of key=value lines, each section ended by an empty line, the
// whole closed by the sentinel section "[LastEntry]", every line ended by CR LF. Keys are
// compared exactly (case included) and nothing is trimmed. Readers ignore sections; the writer
// places a key in its section.
//
// Every write reads the whole file and replaces it atomically. The file is UTF-8; one read as
// Windows-1252 (not valid UTF-8) is written back in Windows-1252 while every character fits,
// and in UTF-8 otherwise, so no text is lost.
#include <concepts>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kal {

// A value as the writer turns it into text: flags "True"/"False", numbers in the general form
// with the regional separator (generalText; a float with 7 digits), texts as they stand.
class IniValue {
  public:
    IniValue(std::string text) : text_(std::move(text)) {}
    IniValue(const char* text) : text_(text) {}
    IniValue(bool flag) : text_(flag ? "True" : "False") {}
    IniValue(double number);
    IniValue(float number);
    template <std::integral T>
    requires(!std::same_as<T, bool>) IniValue(T number) : text_(std::to_string(number)) {}

    const std::string& text() const { return text_; }

  private:
    std::string text_;
};

struct IniEntry {
    std::string section;
    std::string key;
    IniValue value;
};

// Splits a key line at its first "=": key before, value after (it may hold more "=") (IniSplitLine).
// False, with key and value empty, for a line without "=".
bool splitIniLine(std::string_view line, std::string& key, std::string& value);

// The value text of the first key line with `key` in the whole file, in any section;
// "1000" when there is none or the file cannot be read (IniReadValue). Values are returned as they stand.
std::string readIniValue(const std::string& iniPath, const std::string& key);
// The same value, or nothing when no line has the key or the file cannot be read: for a setting
// whose absence means something else than the text "1000" (a column width never stored).
std::optional<std::string> findIniValue(const std::string& iniPath, const std::string& key);

// Writes key=value into `section`: every line of that key in the section is replaced; a new
// key goes after the section's last line; a new section goes before "[LastEntry]" (IniWriteValue). Throws
// FormatError for a section, key or value that cannot stand in a line (CR, LF, a key with "="),
// FileError when the file cannot be written (the old file is then untouched). A missing file
// is created.
void writeIniValue(const std::string& iniPath, const std::string& section, const std::string& key,
                   const IniValue& value);

// Several writes in one rewrite of the file: the same bytes as the writes one by one in order
// (IniWriteValues).
void writeIniValues(const std::string& iniPath, const std::vector<IniEntry>& entries);

// The writer on a text in memory: `fileText` with key=value written into `section`, every line
// ended by CR LF. writeIniValue is this on the file's text.
std::string iniTextWithValue(std::string_view fileText, const std::string& section, const std::string& key,
                             const std::string& value);

}  // namespace kal
