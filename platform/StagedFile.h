// A file that a library writes by name (an image, a PDF), written under a temporary name beside
// its place and moved there only once it is complete: a failed or interrupted write leaves what
// was there before. The temporary name is the saves' own, so a leftover of a killed process is
// removed by a later save into that folder.
#pragma once

#include <filesystem>

#include "Result.h"

namespace sulkan {

class StagedFile {
public:
    explicit StagedFile(std::filesystem::path target);
    // Removes the temporary file unless it was committed.
    ~StagedFile();
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    // Where to write the file: a fresh, empty file in the target's folder; empty when none
    // could be made (commit then says why).
    const std::filesystem::path& path() const { return m_temp; }

    // Whether there is a temporary file to write; the failure's reason says why not (CP932).
    Result<> ready() const;

    // Makes the written bytes durable and moves them over the target. The failure's reason is
    // the system's (CP932): the target is a folder or may not be written, no free space ...
    Result<> commit();

private:
    std::filesystem::path m_target;
    std::filesystem::path m_temp;
    int m_error = 0;  // errno of making the temporary file
    bool m_committed = false;
};

}  // namespace sulkan
