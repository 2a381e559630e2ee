#include "shared/IniFile.h"

#include <filesystem>

#include "shared/AtomicFile.h"
#include "shared/Errors.h"
#include "shared/NumberText.h"
#include "shared/TextEncoding.h"
#include "shared/TextLines.h"

namespace kal {

namespace {

constexpr std::string_view kSentinel = "[LastEntry]";

bool isHeader(const std::string& line) { return !line.empty() && line[0] == '['; }

// The text between the first and the last character of a header line.
std::string sectionName(const std::string& header) {
    return header.size() >= 2 ? header.substr(1, header.size() - 2) : std::string();
}

// Comment lines for the writer: "REM" in any case, and "'" as the readers take it.
bool isWriterComment(const std::string& line) {
    if (!line.empty() && line[0] == '\'') return true;
    if (line.size() < 3) return false;
    auto up = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
    return up(line[0]) == 'R' && up(line[1]) == 'E' && up(line[2]) == 'M';
}

bool isBlank(const std::string& line) { return line.find_first_not_of(' ') == std::string::npos; }

void checkWritable(const std::string& section, const std::string& key, const std::string& value) {
    auto hasLineEnd = [](const std::string& s) { return s.find_first_of("\r\n") != std::string::npos; };
    if (section.empty() || hasLineEnd(section))
        throw FormatError("The settings section \"" + section + "\" cannot be written");
    if (key.empty() || hasLineEnd(key) || key.find('=') != std::string::npos || key[0] == '[')
        throw FormatError("The settings key \"" + key + "\" cannot be written");
    if (hasLineEnd(value))
        throw FormatError("The value of the setting \"" + key +
                          "\" holds a line break and cannot be written");
}

// The writer on a file held as lines. Every line of the target section with the key is
// replaced. When the section has the key nowhere, the key goes after the section's last
// non-empty line: where the section ends at the next header (the first section of that name
// with key lines), or at the end of the file when it is the last section. A file without that
// section gets it before "[LastEntry]" (the sentinel line itself, never a value holding its
// text, is taken away and put back at the end).
void writeIntoLines(std::vector<std::string>& lines, const std::string& section, const std::string& key,
                    const std::string& value) {
    const std::string keyLine = key + "=" + value;
    std::vector<std::string> out;
    out.reserve(lines.size() + 5);
    std::string current;
    bool seen = false, done = false;
    auto insertAtSectionEnd = [&] {
        std::size_t pos = out.size();
        while (pos > 0 && isBlank(out[pos - 1])) --pos;
        out.insert(out.begin() + static_cast<std::ptrdiff_t>(pos), keyLine);
        done = true;
    };
    for (auto& line : lines) {
        if (isHeader(line)) {
            if (seen && !done) insertAtSectionEnd();
            current = sectionName(line);
            out.push_back(std::move(line));
            continue;
        }
        if (line.empty() || isWriterComment(line)) {
            out.push_back(std::move(line));
            continue;
        }
        const std::size_t eq = line.find('=');
        if (eq != std::string::npos && current == section) {
            seen = true;
            if (std::string_view(line).substr(0, eq) == key) {
                out.push_back(keyLine);
                done = true;
                continue;
            }
        }
        out.push_back(std::move(line));
    }
    if (seen && !done) insertAtSectionEnd();  // the target section was the file's last
    if (!seen && !done) {
        for (auto it = out.begin(); it != out.end(); ++it)
            if (*it == kSentinel) {
                out.erase(it);
                break;
            }
        while (!out.empty() && isBlank(out.back())) out.pop_back();
        if (!out.empty()) out.emplace_back();
        out.push_back("[" + section + "]");
        out.push_back(keyLine);
        out.emplace_back();
        out.emplace_back(kSentinel);
    }
    while (!out.empty() && isBlank(out.back())) out.pop_back();
    lines = std::move(out);
}

struct LoadedIni {
    std::vector<std::string> lines;
    TextEncoding encoding = TextEncoding::Utf8;
    bool byteOrderMark = false;
};

LoadedIni loadForWriting(const std::string& path) {
    LoadedIni ini;
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        const auto folder = std::filesystem::path(path).parent_path();
        if (!folder.empty()) std::filesystem::create_directories(folder, ec);
        return ini;
    }
    DecodedText d = decodeText(readFileBytes(path));
    ini.lines = splitLines(d.text);
    ini.encoding = d.encoding;
    ini.byteOrderMark = d.byteOrderMark;
    return ini;
}

void save(const std::string& path, const LoadedIni& ini) {
    const std::string text = joinLinesCrLf(ini.lines.empty() ? std::vector<std::string>{""} : ini.lines);
    bool lossy = false;
    std::string bytes = encodeText(text, ini.encoding, ini.byteOrderMark, &lossy);
    if (lossy) bytes = encodeText(text, TextEncoding::Utf8);
    writeFileAtomically(path, bytes);
}

}  // namespace

IniValue::IniValue(double number) : text_(generalText(number)) {}
IniValue::IniValue(float number) : text_(generalTextSingle(number)) {}

bool splitIniLine(std::string_view line, std::string& key, std::string& value) {
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) {
        key.clear();
        value.clear();
        return false;
    }
    key.assign(line.substr(0, eq));
    value.assign(line.substr(eq + 1));
    return true;
}

std::optional<std::string> findIniValue(const std::string& iniPath, const std::string& key) {
    std::string bytes;
    try {
        bytes = readFileBytes(iniPath);
    } catch (const FileError&) {
        return std::nullopt;
    }
    std::string k, v;
    for (const auto& line : splitLines(decodeText(bytes).text)) {
        if (line.empty() || line[0] == '[' || line[0] == '\'' || line.compare(0, 3, "REM") == 0) continue;
        if (splitIniLine(line, k, v) && k == key) return v;
    }
    return std::nullopt;
}

std::string readIniValue(const std::string& iniPath, const std::string& key) {
    return findIniValue(iniPath, key).value_or("1000");
}

std::string iniTextWithValue(std::string_view fileText, const std::string& section, const std::string& key,
                             const std::string& value) {
    checkWritable(section, key, value);
    std::vector<std::string> lines = splitLines(fileText);
    writeIntoLines(lines, section, key, value);
    return joinLinesCrLf(lines.empty() ? std::vector<std::string>{""} : lines);
}

void writeIniValue(const std::string& iniPath, const std::string& section, const std::string& key,
                   const IniValue& value) {
    writeIniValues(iniPath, {IniEntry{section, key, value}});
}

void writeIniValues(const std::string& iniPath, const std::vector<IniEntry>& entries) {
    for (const auto& e : entries) checkWritable(e.section, e.key, e.value.text());
    LoadedIni ini = loadForWriting(iniPath);
    for (const auto& e : entries) writeIntoLines(ini.lines, e.section, e.key, e.value.text());
    save(iniPath, ini);
}

}  // namespace kal
