#include "progress/AtomicFile.h"

#include "media/ofUtils.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int MAX_LINK_HOPS = 40;   // as many links in a row as the system itself follows

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

// A save reached through a symbolic link is written where the link leads, so the link
// stays a link. Relative targets count from the link's own folder. False for a chain of
// links longer than the system follows.
bool resolveLinks(std::string& path)
{
    for (int hop = 0; hop < MAX_LINK_HOPS; ++hop) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return true;
        }
        char target[PATH_MAX];
        const ssize_t n = ::readlink(path.c_str(), target, sizeof target - 1);
        if (n <= 0) {
            return true;
        }
        target[n] = '\0';
        const size_t slash = path.find_last_of('/');
        if (target[0] == '/' || slash == std::string::npos) {
            path = target;
        } else {
            path = path.substr(0, slash + 1) + target;
        }
    }
    return false;
}

bool writeAndSync(int fd, const std::string& contents, const char*& step, int& error)
{
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
    return step == nullptr;
}

// The folder allows no new file, but the file itself may be writable: then it is rewritten
// where it stands, which a crash mid-write can leave cut short.
bool writeInPlace(const std::string& path, const std::string& shown, const std::string& contents, int tempError)
{
    int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) {
        return fail(shown, "creating the temporary file", tempError);
    }
    ofLog(OF_LOG_WARNING, "saving [%s] in place: its folder allows no temporary file (%s)", shown.c_str(),
          std::strerror(tempError));
    const char* step = nullptr;
    int error = 0;
    if (!writeAndSync(fd, contents, step, error)) {
        return fail(shown, step, error);
    }
    return true;
}

} // namespace

bool replaceFileAtomically(const std::string& shown, const std::string& contents)
{
    std::string path = shown;
    if (!resolveLinks(path)) {
        return fail(shown, "following its links", ELOOP);
    }

    // A file the player made read-only is left as it is; so is its mode otherwise.
    struct stat old {};
    const bool exists = ::stat(path.c_str(), &old) == 0;
    if (exists && S_ISREG(old.st_mode) && ((old.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0)) {
        ofLog(OF_LOG_ERROR, "could not save [%s]: the file is read-only; it is left as it was", shown.c_str());
        return false;
    }

    const std::string temp = path + ".tmp";
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        const int tempError = errno;
        if (exists && S_ISREG(old.st_mode) && (tempError == EACCES || tempError == EPERM)) {
            return writeInPlace(path, shown, contents, tempError);
        }
        return fail(shown, "creating the temporary file", tempError);
    }
    if (exists && S_ISREG(old.st_mode)) {
        ::fchmod(fd, old.st_mode & 0777);
    }
    const char* step = nullptr;
    int error = 0;
    if (!writeAndSync(fd, contents, step, error)) {
        ::unlink(temp.c_str());
        return fail(shown, step, error);
    }
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        const int renameError = errno;
        ::unlink(temp.c_str());
        return fail(shown, "replacing the old file", renameError);
    }
    syncFolderOf(path);
    return true;
}
