// A result file of the batch mode, written under a temporary name beside its target and renamed into place when it
// is complete, so that nobody ever reads half a file and an older result survives a failed run.
#pragma once

#include <cstdio>
#include <string>

class OutputFile {
public:
    OutputFile() = default;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    // A file that was never committed is removed.
    ~OutputFile();

    // Opens the temporary file; false with the reason (UTF-8) when it cannot be made.
    bool open(const std::string& path, std::string& error);
    std::FILE* stream() const { return stream_; }
    // Flushes and closes the temporary file and renames it over the target; false with the reason when any
    // write or the rename failed, and the target is then left as it was.
    bool commit(std::string& error);

private:
    void discard();

    std::string path_;
    std::string temporary_;
    std::FILE* stream_ = nullptr;
};
