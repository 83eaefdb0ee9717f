// Whether two paths name one file: the same device and inode, whatever the
// spelling of the paths, links included.
#pragma once

#include <sys/types.h>

#include <cstdio>

namespace kolt {

struct FileIdentity {
    bool known = false;  // false when the file does not exist or cannot be examined
    dev_t device = 0;
    ino_t inode = 0;
};

FileIdentity identityOf(const char* path);
FileIdentity identityOf(std::FILE* file);

// True only when both are known and are one file.
bool sameFile(const FileIdentity& a, const FileIdentity& b);

}  // namespace kolt
