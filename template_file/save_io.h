#pragma once

// The system calls of a save, each behind save_detail::MayCall so that a test can fail any of
// them. They behave as the calls they wrap.

#include "template_file/lock_detail.h"
#include "template_file/safe_save.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace permora::save_io {

using save_detail::IoCall;
using save_detail::MayCall;

inline int Open(const char* path, int flags, mode_t mode = 0) {
    return MayCall(IoCall::Open) ? ::open(path, flags, mode) : -1;
}
inline int OpenAt(int folder, const char* name, int flags, mode_t mode = 0) {
    return MayCall(IoCall::Open) ? ::openat(folder, name, flags, mode) : -1;
}
inline ssize_t PRead(int fd, void* data, std::size_t size, off_t offset) {
    return MayCall(IoCall::Read) ? ::pread(fd, data, size, offset) : -1;
}
inline ssize_t Write(int fd, const void* data, std::size_t size) {
    return MayCall(IoCall::Write) ? save_detail::newFileWrite(fd, data, size) : -1;
}
inline ssize_t PWrite(int fd, const void* data, std::size_t size, off_t offset) {
    return MayCall(IoCall::Write) ? save_detail::inPlaceWrite(fd, data, size, offset) : -1;
}
inline int Fsync(int fd) {
    return MayCall(IoCall::Sync) ? ::fsync(fd) : -1;
}
inline int Ftruncate(int fd, off_t size) {
    return MayCall(IoCall::Truncate) ? ::ftruncate(fd, size) : -1;
}
// As posix_fallocate: the error number is the result.
inline int Reserve(int fd, off_t offset, off_t size) {
    return MayCall(IoCall::Reserve) ? ::posix_fallocate(fd, offset, size) : errno;
}
inline int Rename(const char* from, const char* to) {
    return MayCall(IoCall::Rename) ? ::rename(from, to) : -1;
}
inline int RenameAt(int folder, const char* from, const char* to) {
    return MayCall(IoCall::Rename) ? ::renameat(folder, from, folder, to) : -1;
}
inline int Unlink(const char* path) {
    return MayCall(IoCall::Unlink) ? ::unlink(path) : -1;
}
inline int UnlinkAt(int folder, const char* name) {
    return MayCall(IoCall::Unlink) ? ::unlinkat(folder, name, 0) : -1;
}
inline int Fchown(int fd, uid_t owner, gid_t group) {
    return MayCall(IoCall::Owner) ? ::fchown(fd, owner, group) : -1;
}
inline int Fchmod(int fd, mode_t mode) {
    return MayCall(IoCall::Mode) ? ::fchmod(fd, mode) : -1;
}
inline ssize_t FListXattr(int fd, char* list, std::size_t size) {
    return MayCall(IoCall::Attributes) ? ::flistxattr(fd, list, size) : -1;
}
inline ssize_t FGetXattr(int fd, const char* name, void* value, std::size_t size) {
    return MayCall(IoCall::Attributes) ? ::fgetxattr(fd, name, value, size) : -1;
}
inline int FSetXattr(int fd, const char* name, const void* value, std::size_t size) {
    return MayCall(IoCall::Attributes) ? ::fsetxattr(fd, name, value, size, 0) : -1;
}
inline int FRemoveXattr(int fd, const char* name) {
    return MayCall(IoCall::Attributes) ? ::fremovexattr(fd, name) : -1;
}
inline int Flock(int fd, int operation) {
    return MayCall(IoCall::Lock) ? lock_detail::lockCall(fd, operation) : -1;
}

} // namespace permora::save_io
