#include "gui/AtomicFile.h"

#include "media/ofUtils.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

bool fail(const std::string& path, const char* step, int error)
{
    ofLog(OF_LOG_ERROR, "could not save [%s]: %s failed (%s)", path.c_str(), step, std::strerror(error));
    return false;
}

bool writeAll(int fd, const std::string& contents)
{
    size_t done = 0;
    while (done < contents.size()) {
        ssize_t n = ::write(fd, contents.data() + done, contents.size() - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

// Makes the rename itself durable. Best effort: some file systems refuse fsync on folders.
void syncFolderOf(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

bool replaceFileAtomically(const std::string& path, const std::string& contents)
{
    const std::string temp = path + ".tmp";
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        return fail(path, "creating the temporary file", errno);
    }
    const char* step = nullptr;
    int error = 0;
    if (!writeAll(fd, contents)) {
        step = "writing";
        error = errno;
    } else if (::fsync(fd) != 0) {
        step = "flushing";
        error = errno;
    }
    if (::close(fd) != 0 && step == nullptr) {
        step = "closing";
        error = errno;
    }
    if (step != nullptr) {
        ::unlink(temp.c_str());
        return fail(path, step, error);
    }
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        const int renameError = errno;
        ::unlink(temp.c_str());
        return fail(path, "replacing the old file", renameError);
    }
    syncFolderOf(path);
    return true;
}
