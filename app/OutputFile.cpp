// A result file of the batch mode, written under a temporary name beside its target and renamed into place.
#include "app/OutputFile.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

// Hidden, beside the target (so the rename stays on one file system), and unique to this process.
std::string temporaryPath(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    return path.substr(0, nameStart) + "." + path.substr(nameStart) + ".tmp-" + std::to_string(getpid());
}

}  // namespace

OutputFile::~OutputFile()
{
    discard();
}

bool OutputFile::open(const std::string& path, std::string& error)
{
    discard();
    path_ = path;
    temporary_ = temporaryPath(path);
    stream_ = std::fopen(temporary_.c_str(), "wb");
    if (!stream_) {
        error = "kan ikke skrive " + path + ": " + std::strerror(errno);
        return false;
    }
    static constexpr std::size_t BufferBytes = 1 << 16;
    std::setvbuf(stream_, nullptr, _IOFBF, BufferBytes);
    return true;
}

bool OutputFile::commit(std::string& error)
{
    errno = 0;
    if (!stream_) {
        error = "kan ikke skrive " + path_;
        return false;
    }
    const bool written = !std::ferror(stream_);
    const bool closed = std::fclose(stream_) == 0;
    stream_ = nullptr;
    if (!written || !closed || std::rename(temporary_.c_str(), path_.c_str()) != 0) {
        error = "kan ikke skrive " + path_ + (errno ? std::string(": ") + std::strerror(errno) : std::string());
        discard();
        return false;
    }
    temporary_.clear();
    return true;
}

void OutputFile::discard()
{
    if (stream_) {
        std::fclose(stream_);
        stream_ = nullptr;
    }
    if (!temporary_.empty()) {
        std::remove(temporary_.c_str());
        temporary_.clear();
    }
}
