// The temporary file is hidden, beside the target (so the rename stays on one file system) and unique to the process.
#include "support/AtomicFile.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tavlix {

namespace {

// A large buffer: few system calls for the large files of a batch run.
constexpr std::size_t BufferBytes = 1 << 16;
constexpr int NameAttempts = 100;

std::string folderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : slash == 0 ? std::string("/") : path.substr(0, slash);
}

// ".NAME.tmp-PID-N" beside the target; O_EXCL keeps it from ever being someone else's file.
int createTemporary(const std::string& target, std::string& temporary)
{
    const std::size_t nameStart = target.rfind('/') == std::string::npos ? 0 : target.rfind('/') + 1;
    const std::string stem =
        target.substr(0, nameStart) + "." + target.substr(nameStart) + ".tmp-" + std::to_string(::getpid()) + "-";
    for (int attempt = 0; attempt < NameAttempts; ++attempt) {
        temporary = stem + std::to_string(attempt);
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

void syncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

AtomicFile::~AtomicFile()
{
    discard();
}

bool AtomicFile::open(const std::string& target)
{
    discard();
    target_ = target;
    failedStep_ = Step::None;
    const int fd = createTemporary(target, temporary_);
    if (fd < 0) {
        temporary_.clear();
        return fail(Step::Create, errno);
    }
    // A replaced file keeps who may read and write it.
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode))
        ::fchmod(fd, old.st_mode & 07777);
    stream_ = ::fdopen(fd, "wb");
    if (!stream_) {
        const int error = errno;
        ::close(fd);
        return fail(Step::Create, error);
    }
    std::setvbuf(stream_, nullptr, _IOFBF, BufferBytes);
    return true;
}

bool AtomicFile::write(const std::string& target, std::string_view bytes, bool durable)
{
    if (!open(target))
        return false;
    // A short write leaves the stream in error, which the commit reports.
    std::fwrite(bytes.data(), 1, bytes.size(), stream_);
    return commit(durable);
}

bool AtomicFile::commit(bool durable)
{
    if (!stream_)
        return fail(failedStep_ == Step::None ? Step::Create : failedStep_, failure_ ? failure_ : EBADF);
    errno = 0;
    bool written = std::fflush(stream_) == 0 && !std::ferror(stream_);
    if (written && durable)
        written = ::fsync(::fileno(stream_)) == 0;
    int error = errno;
    if (std::fclose(stream_) != 0 && written) {
        written = false;
        error = errno;
    }
    stream_ = nullptr;
    if (!written)
        return fail(Step::Write, error);
    if (std::rename(temporary_.c_str(), target_.c_str()) != 0)
        return fail(Step::Replace, errno);
    temporary_.clear();
    if (durable)
        syncFolder(folderOf(target_));
    return true;
}

bool AtomicFile::fail(Step step, int error)
{
    failedStep_ = step;
    failure_ = error;
    discard();
    return false;
}

void AtomicFile::discard()
{
    if (stream_) {
        std::fclose(stream_);
        stream_ = nullptr;
    }
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        temporary_.clear();
    }
}

}  // namespace tavlix
