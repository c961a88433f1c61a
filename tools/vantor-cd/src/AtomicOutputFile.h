// An output file that appears whole or not at all: the data goes to a temporary file in the
// target's directory, which is renamed over the target only when complete. An existing target
// is never half-overwritten and no partial file stays behind.
#pragma once

#include <filesystem>

namespace vantorcd {

class AtomicOutputFile
{
public:
    // Creates the temporary file. Throws UserError naming the target when it cannot be written.
    explicit AtomicOutputFile(std::filesystem::path target);
    // Removes the temporary file unless it was committed.
    ~AtomicOutputFile();
    AtomicOutputFile(const AtomicOutputFile&) = delete;
    AtomicOutputFile& operator=(const AtomicOutputFile&) = delete;

    const std::filesystem::path& target() const noexcept { return m_target; }
    const std::filesystem::path& temporaryPath() const noexcept { return m_temporary; }

    // Puts the finished file in place. Throws UserError naming the target when the rename fails.
    void commit();

private:
    std::filesystem::path m_target;
    std::filesystem::path m_temporary;
    bool m_committed = false;
};

} // namespace vantorcd
