// A file written under a temporary name beside its target and renamed over it once complete, so that nobody ever
// reads half a file and the old file survives any failure.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace tavlix {

class AtomicFile {
public:
    // Where a write failed, for the caller's own message.
    enum class Step { None, Create, Write, Replace };

    AtomicFile() = default;
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;
    // A file that was never committed is removed.
    ~AtomicFile();

    // Makes the temporary file beside target, with the permissions of the file it will replace; false on failure.
    bool open(const std::string& target);
    std::FILE* stream() const { return stream_; }
    // Closes the temporary file and renames it over the target; durable: on the disk before it returns. False
    // when any write, the close or the rename failed: the target is then as it was and the temporary file gone.
    bool commit(bool durable);
    // The whole file at once: open, the bytes, commit.
    bool write(const std::string& target, std::string_view bytes, bool durable);

    Step failedStep() const { return failedStep_; }
    // The system's error number of the failure.
    int failure() const { return failure_; }

private:
    bool fail(Step step, int error);
    void discard();

    std::string target_;
    std::string temporary_;
    std::FILE* stream_ = nullptr;
    Step failedStep_ = Step::None;
    int failure_ = 0;
};

}  // namespace tavlix
