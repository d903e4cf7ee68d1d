#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/PrivateProfile.h"

namespace tagwell {

// One private-profile file: texts and whole numbers under sections and keys,
// names compared without regard to letter case.
//
// Reads give values back whole, however long. Every write says whether it
// reached the file: false when the file cannot be read or written (a missing
// folder, no permission) or when a section or key name cannot be stored (see
// PrivateProfile::setValue). A failed write leaves the file as it was.
//
// Each write on its own reads and rewrites the whole file. To write many keys,
// open a batch: BeginBatch reads the file once, reads and writes then work on
// that copy, and CommitBatch writes the file once:
//
//     cINI ini;
//     ini.Create(path);
//     ini.BeginBatch();
//     for (...) ini.Text(section, key, value);
//     if (!ini.CommitBatch()) ... // nothing or not everything reached the file
//
// A batch serves reading too: a loader that reads many keys opens one so that
// the file is read once; a batch without writes writes nothing. An object
// destroyed with a batch open commits it first (its result is then lost); so
// does Create. Runs on one thread at a time.
class cINI {
public:
    cINI() = default;
    ~cINI();
    cINI(const cINI&) = delete;
    cINI& operator=(const cINI&) = delete;

    // Remembers the path; touches no file.
    void Create(const std::string& File_);
    const std::string& File() const { return m_file; }

    // The stored text; empty when the key is missing or the file unreadable.
    std::string Text(const std::string& Section_, const std::string& Key_) const;
    // Stores the text; true when it reached the file (in a batch: the copy).
    bool Text(const std::string& Section_, const std::string& Key_, const std::string& Text_);
    // The stored whole number: optional blanks, an optional sign and decimal
    // digits, anything after them ignored. -1 when the key is missing, holds
    // no number or one outside the 32-bit range.
    int32_t Data(const std::string& Section_, const std::string& Key_) const;
    // Stores the number in plain decimal form; true as for Text.
    bool Data(const std::string& Section_, const std::string& Key_, int32_t Data_);

    // Reads the file into the batch copy; false (and no batch) when the file
    // exists but cannot be read. A batch already open stays open.
    bool BeginBatch();
    // Writes the batch copy to the file, when anything was written to it, and
    // closes the batch: true when every write of the batch reached the file.
    bool CommitBatch();
    bool InBatch() const { return m_batch.has_value(); }

private:
    std::optional<std::string> read(const std::string& section, const std::string& key) const;
    bool write(const std::string& section, const std::string& key, const std::string& value);

    std::string m_file;
    std::optional<PrivateProfile> m_batch;
    bool m_batchChanged = false;
    bool m_batchRefusedWrite = false;
};

}  // namespace tagwell
