#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tagwell {

// A private-profile (INI) file held in memory: named sections of
// "key=value" lines.
//
// Lookups compare section and key names without regard to letter case and
// ignore blanks around names and values; the first of two sections or keys
// with the same name wins. A new section is appended at the end of the
// document, a new key after the last line of its section; every other line
// (comments, blank lines, lines the reader does not understand) is kept as
// it was. Texts are bytes: no code-page conversion takes place.
//
// Values come back whole. A value that a plain "key=value" line cannot carry
// (one holding a line break or a zero character, one with blanks at either
// end, one wrapped in double quotes) is written in quoted form: inside the
// quotes "%" is written as "%25", a line feed as "%0A", a carriage return as
// "%0D" and a zero character as "%00". A value read in quoted form is given
// without its quotes and with those four sequences decoded; any other "%"
// stays as it is. Values of other files load as they are written, so a file
// written with plain values by any tool reads back unchanged; a value with a
// line break can never start another key or section.
//
// load and save work on whole files; save writes a temporary file beside the
// target and renames it over the target, so a failed save leaves the old
// file whole. Write many keys with one load and one save; ReadString and
// WriteString do one key per file access.
class PrivateProfile {
public:
    // Replaces the document with the file's contents. A file that does not
    // exist (or whose folder does not) gives an empty document and true;
    // false when the file exists but cannot be read, leaving the document
    // empty.
    bool load(const std::string& path);
    // Writes the document to path atomically; false when it could not be
    // written (missing folder, no permission, disk full), the old file then
    // being unchanged.
    bool save(const std::string& path) const;

    // The value of the key, or nothing when the section or key is missing.
    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    // Stores the value, adding the section and key when missing. False, with
    // nothing changed, for a name that cannot be stored: an empty name, a
    // line break or zero character in either name, "]" in a section name, "="
    // in a key name or a key name starting with "[" or ";".
    bool setValue(std::string_view section, std::string_view key, std::string_view value);

    // The section names in file order, as written in their headers.
    std::vector<std::string> sections() const;
    // The document as it is saved.
    std::string text() const;
    // Replaces the document with the parsed text.
    void parse(std::string_view text);

    // One key from a file: nothing when the file, section or key is missing
    // or the file cannot be read.
    static std::optional<std::string> ReadString(const std::string& path, std::string_view section,
                                                 std::string_view key);
    // Loads the file, sets one key and saves it; false when the name cannot
    // be stored or the file cannot be read or written.
    static bool WriteString(const std::string& path, std::string_view section, std::string_view key,
                            std::string_view value);

    static bool isStorableSectionName(std::string_view name);
    static bool isStorableKeyName(std::string_view name);
    // The text stored after "=" for a value, and the value of such a text.
    static std::string encodeValue(std::string_view value);
    static std::string decodeValue(std::string_view stored);

private:
    struct Section {
        std::string header;                                // the "[name]" line as read or written
        std::string name;                                  // trimmed, as written
        std::vector<std::string> lines;                    // every line after the header
        std::unordered_map<std::string, size_t> keyIndex;  // lower-case key -> first line
    };

    Section* findSection(std::string_view section);
    const Section* findSection(std::string_view section) const;
    Section& appendSection(std::string_view name, std::string header);
    static void indexLine(Section& section, size_t lineIndex);
    static size_t insertionPoint(const Section& section);

    std::string m_byteOrderMark;
    std::string m_lineEnd = "\n";
    std::vector<std::string> m_preamble;                       // lines before the first section
    std::vector<Section> m_sections;
    std::unordered_map<std::string, size_t> m_sectionIndex;    // lower-case name -> first section
};

}  // namespace tagwell
