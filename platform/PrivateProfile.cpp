#include "platform/PrivateProfile.h"
#include "platform/TextCase.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tagwell {

namespace {

constexpr std::string_view Blanks = " \t\v\f";
constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view CrLf = "\r\n";
constexpr char Quote = '"';
constexpr char Escape = '%';
constexpr char CommentStart = ';';
constexpr char HeaderOpen = '[';
constexpr char HeaderClose = ']';
constexpr char Assign = '=';
constexpr mode_t NewFileMode = 0644;
constexpr const char* TempName = ".profile-XXXXXX";  // beside the target, so that rename is atomic

struct EscapedChar {
    char plain;
    std::string_view code;  // the two hexadecimal digits after Escape
};
// The escape character comes first so that encoding never escapes an escape.
constexpr EscapedChar EscapedChars[] = {{'%', "25"}, {'\n', "0A"}, {'\r', "0D"}, {'\0', "00"}};

std::string_view trim(std::string_view text)
{
    const size_t first = text.find_first_not_of(Blanks);
    if (first == std::string_view::npos)
        return {};
    const size_t last = text.find_last_not_of(Blanks);
    return text.substr(first, last - first + 1);
}

bool holdsLineBreakOrZero(std::string_view text)
{
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

bool isQuoted(std::string_view text)
{
    return text.size() >= 2 && text.front() == Quote && text.back() == Quote;
}

// The name inside a "[name]" line, or nothing when the line is no header.
std::optional<std::string_view> headerName(std::string_view line)
{
    const std::string_view text = trim(line);
    if (text.empty() || text.front() != HeaderOpen)
        return std::nullopt;
    const size_t close = text.find(HeaderClose);
    if (close == std::string_view::npos)
        return std::nullopt;
    return trim(text.substr(1, close - 1));
}

// The key of a "key=value" line, or nothing for comments and other lines.
std::optional<std::string_view> keyName(std::string_view line)
{
    const std::string_view text = trim(line);
    if (text.empty() || text.front() == CommentStart)
        return std::nullopt;
    const size_t assign = text.find(Assign);
    if (assign == std::string_view::npos)
        return std::nullopt;
    const std::string_view key = trim(text.substr(0, assign));
    if (key.empty())
        return std::nullopt;
    return key;
}

std::string_view storedValue(std::string_view line)
{
    return trim(line.substr(line.find(Assign) + 1));
}

bool writeAll(int fd, const std::string& data)
{
    size_t written = 0;
    while (written < data.size()) {
        const ssize_t n = ::write(fd, data.data() + written, data.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        written += static_cast<size_t>(n);
    }
    return true;
}

// Where a save must write: the file a symbolic link points at, so that the
// link survives the rename.
std::string saveTarget(const std::string& path)
{
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
        return path;
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

mode_t modeFor(const std::string& target)
{
    struct stat info {};
    if (::stat(target.c_str(), &info) == 0)
        return info.st_mode & 07777;
    return NewFileMode;
}

}  // namespace

// ---- values and names -------------------------------------------------------

std::string PrivateProfile::encodeValue(std::string_view value)
{
    const bool plain = !holdsLineBreakOrZero(value) && trim(value).size() == value.size() &&
                       !isQuoted(value);
    if (plain)
        return std::string(value);
    std::string stored(1, Quote);
    for (char c : value) {
        const auto escaped = std::find_if(std::begin(EscapedChars), std::end(EscapedChars),
                                          [c](const EscapedChar& e) { return e.plain == c; });
        if (escaped == std::end(EscapedChars)) {
            stored += c;
        } else {
            stored += Escape;
            stored += escaped->code;
        }
    }
    stored += Quote;
    return stored;
}

std::string PrivateProfile::decodeValue(std::string_view stored)
{
    if (!isQuoted(stored))
        return std::string(stored);
    const std::string_view inner = stored.substr(1, stored.size() - 2);
    std::string value;
    value.reserve(inner.size());
    for (size_t i = 0; i < inner.size(); ++i) {
        const EscapedChar* match = nullptr;
        if (inner[i] == Escape && i + 2 < inner.size()) {
            const std::string code = TextCase::lower(inner.substr(i + 1, 2));
            for (const EscapedChar& e : EscapedChars)
                if (code == TextCase::lower(e.code))
                    match = &e;
        }
        if (match) {
            value += match->plain;
            i += 2;
        } else {
            value += inner[i];
        }
    }
    return value;
}

bool PrivateProfile::isStorableSectionName(std::string_view name)
{
    const std::string_view text = trim(name);
    return !text.empty() && !holdsLineBreakOrZero(text) && text.find(HeaderClose) == std::string_view::npos;
}

bool PrivateProfile::isStorableKeyName(std::string_view name)
{
    const std::string_view text = trim(name);
    return !text.empty() && !holdsLineBreakOrZero(text) && text.find(Assign) == std::string_view::npos &&
           text.front() != HeaderOpen && text.front() != CommentStart;
}

// ---- the document -----------------------------------------------------------

void PrivateProfile::parse(std::string_view text)
{
    *this = PrivateProfile();
    if (text.substr(0, ByteOrderMark.size()) == ByteOrderMark) {
        m_byteOrderMark = ByteOrderMark;
        text.remove_prefix(ByteOrderMark.size());
    }
    const size_t firstBreak = text.find('\n');
    if (firstBreak != std::string_view::npos && firstBreak > 0 && text[firstBreak - 1] == '\r')
        m_lineEnd = CrLf;

    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        start = end + 1;

        if (const auto name = headerName(line)) {
            appendSection(*name, std::string(line));
        } else if (m_sections.empty()) {
            m_preamble.emplace_back(line);
        } else {
            Section& section = m_sections.back();
            section.lines.emplace_back(line);
            indexLine(section, section.lines.size() - 1);
        }
    }
}

std::string PrivateProfile::text() const
{
    std::string result = m_byteOrderMark;
    auto put = [&](const std::string& line) {
        result += line;
        result += m_lineEnd;
    };
    std::for_each(m_preamble.begin(), m_preamble.end(), put);
    for (const Section& section : m_sections) {
        put(section.header);
        std::for_each(section.lines.begin(), section.lines.end(), put);
    }
    return result;
}

std::vector<std::string> PrivateProfile::sections() const
{
    std::vector<std::string> names;
    names.reserve(m_sections.size());
    for (const Section& section : m_sections)
        names.push_back(section.name);
    return names;
}

std::optional<std::string> PrivateProfile::value(std::string_view section, std::string_view key) const
{
    const Section* found = findSection(section);
    if (!found)
        return std::nullopt;
    const auto line = found->keyIndex.find(TextCase::lower(trim(key)));
    if (line == found->keyIndex.end())
        return std::nullopt;
    return decodeValue(storedValue(found->lines[line->second]));
}

bool PrivateProfile::setValue(std::string_view section, std::string_view key, std::string_view value)
{
    if (!isStorableSectionName(section) || !isStorableKeyName(key))
        return false;
    const std::string_view sectionName = trim(section);
    const std::string_view keyText = trim(key);
    Section* target = findSection(sectionName);
    if (!target)
        target = &appendSection(sectionName, HeaderOpen + std::string(sectionName) + HeaderClose);

    std::string line = std::string(keyText) + Assign + encodeValue(value);
    const auto existing = target->keyIndex.find(TextCase::lower(keyText));
    if (existing != target->keyIndex.end()) {
        target->lines[existing->second] = std::move(line);
        return true;
    }
    // Only blank lines follow the insertion point, so no indexed line moves.
    const size_t at = insertionPoint(*target);
    target->lines.insert(target->lines.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
    indexLine(*target, at);
    return true;
}

PrivateProfile::Section* PrivateProfile::findSection(std::string_view section)
{
    const auto found = m_sectionIndex.find(TextCase::lower(trim(section)));
    return found == m_sectionIndex.end() ? nullptr : &m_sections[found->second];
}

const PrivateProfile::Section* PrivateProfile::findSection(std::string_view section) const
{
    return const_cast<PrivateProfile*>(this)->findSection(section);
}

PrivateProfile::Section& PrivateProfile::appendSection(std::string_view name, std::string header)
{
    m_sectionIndex.try_emplace(TextCase::lower(name), m_sections.size());
    Section section;
    section.header = std::move(header);
    section.name = std::string(name);
    m_sections.push_back(std::move(section));
    return m_sections.back();
}

void PrivateProfile::indexLine(Section& section, size_t lineIndex)
{
    if (const auto key = keyName(section.lines[lineIndex]))
        section.keyIndex.try_emplace(TextCase::lower(*key), lineIndex);
}

size_t PrivateProfile::insertionPoint(const Section& section)
{
    size_t at = section.lines.size();
    while (at > 0 && trim(section.lines[at - 1]).empty())
        --at;
    return at;
}

// ---- files --------------------------------------------------------------------

bool PrivateProfile::load(const std::string& path)
{
    *this = PrivateProfile();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT || errno == ENOTDIR;
    std::string contents;
    char buffer[1 << 16];
    bool ok = true;
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            ok = false;
        if (n <= 0)
            break;
        contents.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    if (ok)
        parse(contents);
    return ok;
}

bool PrivateProfile::save(const std::string& path) const
{
    if (path.empty())
        return false;
    const std::string target = saveTarget(path);
    const size_t slash = target.rfind('/');
    std::string tempName = (slash == std::string::npos ? std::string() : target.substr(0, slash + 1)) + TempName;
    const int fd = ::mkstemp(tempName.data());
    if (fd < 0)
        return false;
    const bool written = ::fchmod(fd, modeFor(target)) == 0 && writeAll(fd, text()) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (written && closed && ::rename(tempName.c_str(), target.c_str()) == 0)
        return true;
    ::unlink(tempName.c_str());
    return false;
}

std::optional<std::string> PrivateProfile::ReadString(const std::string& path, std::string_view section,
                                                      std::string_view key)
{
    PrivateProfile profile;
    if (!profile.load(path))
        return std::nullopt;
    return profile.value(section, key);
}

bool PrivateProfile::WriteString(const std::string& path, std::string_view section, std::string_view key,
                                 std::string_view value)
{
    PrivateProfile profile;
    return profile.load(path) && profile.setValue(section, key, value) && profile.save(path);
}

}  // namespace tagwell
