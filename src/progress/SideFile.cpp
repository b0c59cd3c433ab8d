#include "progress/SideFile.h"

#include "media/ofUtils.h"
#include "progress/TextLine.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int MAX_ASIDE_NAMES = 1000;

bool pathExists(const std::string& path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

SideFileResult keptAside(const std::string& what, const std::string& path, const std::string& why)
{
    SideFileResult result;
    result.status = SideFileStatus::KeptAside;
    result.asidePath = keepFileAside(what, path);
    ofLog(OF_LOG_ERROR, "%s: [%s] %s; the file is kept as [%s] and the game starts without it", what.c_str(),
          path.c_str(), why.c_str(), result.asidePath.empty() ? path.c_str() : result.asidePath.c_str());
    return result;
}

} // namespace

std::string keepFileAside(const std::string& what, const std::string& path)
{
    for (int i = 1; i <= MAX_ASIDE_NAMES; ++i) {
        const std::string aside = path + (i == 1 ? ".damaged" : ".damaged-" + std::to_string(i));
        if (pathExists(aside)) {
            continue;
        }
        // link + unlink never replaces a file that appeared meanwhile, as rename would.
        if (::link(path.c_str(), aside.c_str()) == 0) {
            ::unlink(path.c_str());
            return aside;
        }
        if (errno == EEXIST) {
            continue;
        }
        // A file system without hard links: rename, having just seen the name free.
        if (std::rename(path.c_str(), aside.c_str()) == 0) {
            return aside;
        }
        ofLog(OF_LOG_ERROR, "%s: [%s] could not be moved aside (%s)", what.c_str(), path.c_str(), std::strerror(errno));
        return "";
    }
    ofLog(OF_LOG_ERROR, "%s: [%s] could not be moved aside: %d damaged copies are there already", what.c_str(),
          path.c_str(), MAX_ASIDE_NAMES);
    return "";
}

SideFileResult readSideFile(const std::string& what, const std::string& path, const std::string& header,
                            const SideFileLine& parse)
{
    SideFileResult result;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (pathExists(path)) {
            return keptAside(what, path, "cannot be opened (" + std::string(std::strerror(errno)) + ")");
        }
        return result;
    }
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0) {
        return keptAside(what, path, "cannot be read");
    }
    if (size > SIDE_FILE_MAX_BYTES) {
        return keptAside(what, path,
                         "is too big (" + std::to_string(size) + " bytes, limit " + std::to_string(SIDE_FILE_MAX_BYTES) + ")");
    }
    in.seekg(0);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad() || static_cast<std::streamoff>(bytes.size()) != size) {
        return keptAside(what, path, "cannot be read to its end");
    }
    if (bytes.find('\0') != std::string::npos) {
        return keptAside(what, path, "is not text");
    }

    result.status = SideFileStatus::Read;
    int number = 0;
    bool headerSeen = false;
    for (const std::string& line : splitLines(bytes)) {
        ++number;
        if (!headerSeen) {
            if (line != header) {
                return keptAside(what, path, "does not start with \"" + header + "\"");
            }
            headerSeen = true;
            continue;
        }
        if (line.find_first_not_of(" \t") == std::string::npos) {
            continue;
        }
        const std::string problem = parse(line, number);
        if (!problem.empty()) {
            ++result.skipped;
            ofLog(OF_LOG_ERROR, "%s: [%s] line %d: %s, skipped", what.c_str(), path.c_str(), number, problem.c_str());
        }
    }
    if (!headerSeen) {
        return keptAside(what, path, "is empty");
    }
    if (result.skipped > 0) {
        result.status = SideFileStatus::Skipped;
    }
    return result;
}
