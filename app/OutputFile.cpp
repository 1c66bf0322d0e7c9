// A result file of the batch mode: the atomic write, with the batch mode's own message when it fails.
#include "app/OutputFile.h"

#include <cstring>

bool OutputFile::open(const std::string& path, std::string& error)
{
    path_ = path;
    if (file_.open(path))
        return true;
    error = failureText();
    return false;
}

bool OutputFile::commit(std::string& error)
{
    // Results can be made again: they are not worth waiting for the disk.
    if (file_.commit(false))
        return true;
    error = failureText();
    return false;
}

std::string OutputFile::failureText() const
{
    const int reason = file_.failure();
    return "kan ikke skrive " + path_ + (reason ? std::string(": ") + std::strerror(reason) : std::string());
}
