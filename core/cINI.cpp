#include "core/cINI.h"

#include <cerrno>
#include <cstdlib>
#include <limits>

#include "platform/ValueText.h"

namespace tagwell {

namespace {

constexpr int32_t NoNumber = -1;

// The number at the start of the text, after optional blanks and a sign.
std::optional<int32_t> leadingNumber(const std::string& text)
{
    const char* start = text.c_str();
    while (*start == ' ' || *start == '\t')
        ++start;
    const char* digits = start + (*start == '+' || *start == '-' ? 1 : 0);
    if (*digits < '0' || *digits > '9')
        return std::nullopt;
    errno = 0;
    const long long number = std::strtoll(start, nullptr, 10);
    if (errno == ERANGE || number < std::numeric_limits<int32_t>::min() ||
        number > std::numeric_limits<int32_t>::max())
        return std::nullopt;
    return static_cast<int32_t>(number);
}

}  // namespace

cINI::~cINI()
{
    if (InBatch())
        CommitBatch();
}

void cINI::Create(const std::string& File_)
{
    if (InBatch())
        CommitBatch();
    m_file = File_;
}

std::string cINI::Text(const std::string& Section_, const std::string& Key_) const
{
    return read(Section_, Key_).value_or(std::string());
}

bool cINI::Text(const std::string& Section_, const std::string& Key_, const std::string& Text_)
{
    return write(Section_, Key_, Text_);
}

int32_t cINI::Data(const std::string& Section_, const std::string& Key_) const
{
    const auto text = read(Section_, Key_);
    return text ? leadingNumber(*text).value_or(NoNumber) : NoNumber;
}

bool cINI::Data(const std::string& Section_, const std::string& Key_, int32_t Data_)
{
    return write(Section_, Key_, ValueText::plain(Data_));
}

bool cINI::BeginBatch()
{
    if (InBatch())
        return true;
    PrivateProfile profile;
    if (!profile.load(m_file))
        return false;
    m_batch = std::move(profile);
    m_batchChanged = false;
    m_batchRefusedWrite = false;
    return true;
}

bool cINI::CommitBatch()
{
    if (!InBatch())
        return false;
    const bool saved = !m_batchChanged || m_batch->save(m_file);
    const bool complete = saved && !m_batchRefusedWrite;
    m_batch.reset();
    m_batchChanged = false;
    m_batchRefusedWrite = false;
    return complete;
}

std::optional<std::string> cINI::read(const std::string& section, const std::string& key) const
{
    if (InBatch())
        return m_batch->value(section, key);
    return PrivateProfile::ReadString(m_file, section, key);
}

bool cINI::write(const std::string& section, const std::string& key, const std::string& value)
{
    if (!InBatch())
        return PrivateProfile::WriteString(m_file, section, key, value);
    const bool stored = m_batch->setValue(section, key, value);
    m_batchChanged = m_batchChanged || stored;
    m_batchRefusedWrite = m_batchRefusedWrite || !stored;
    return stored;
}

}  // namespace tagwell
