#include "file_identity.h"

#include <sys/stat.h>

namespace kolt {
namespace {

FileIdentity fromStat(const struct stat& info) { return FileIdentity{true, info.st_dev, info.st_ino}; }

}  // namespace

FileIdentity identityOf(const char* path) {
    struct stat info {};
    if (path == nullptr || stat(path, &info) != 0) return {};
    return fromStat(info);
}

FileIdentity identityOf(std::FILE* file) {
    struct stat info {};
    if (file == nullptr || fstat(fileno(file), &info) != 0) return {};
    return fromStat(info);
}

bool sameFile(const FileIdentity& a, const FileIdentity& b) {
    return a.known && b.known && a.device == b.device && a.inode == b.inode;
}

}  // namespace kolt
