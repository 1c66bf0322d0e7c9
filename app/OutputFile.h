// A result file of the batch mode, written under a temporary name beside its target and renamed into place when it
// is complete, so that nobody ever reads half a file and an older result survives a failed run.
#pragma once

#include "support/AtomicFile.h"

#include <cstdio>
#include <string>

class OutputFile {
public:
    // Opens the temporary file; false with the reason (UTF-8) when it cannot be made.
    bool open(const std::string& path, std::string& error);
    std::FILE* stream() const { return file_.stream(); }
    // Flushes and closes the temporary file and renames it over the target; false with the reason when any
    // write or the rename failed, and the target is then left as it was. A file never committed is removed.
    bool commit(std::string& error);

private:
    std::string failureText() const;

    std::string path_;
    tavlix::AtomicFile file_;
};
