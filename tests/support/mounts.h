#pragma once

// File systems of a test's own for a child process: mounted in a mount namespace of the
// child's own, so that they vanish with it and the machine is never changed.
#include <sched.h>
#include <sys/mount.h>

#include <filesystem>
#include <string>

#include "process.h"

// Exit code of a child whose mount namespace could not be made: the system does not
// let this user mount, and the test is skipped.
inline constexpr int kNoNamespace = 125;

// A mount namespace of the child's own, so that what it mounts vanishes with it.
inline int PrivateMounts()
{
    if (::unshare(CLONE_NEWNS) != 0) return kNoNamespace;
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return kNoNamespace;
    return 0;
}

// A file system of `bytes` bytes at folder, for the child alone.
inline Process::ChildSetup SmallFileSystemAt(const std::filesystem::path& folder, std::size_t bytes)
{
    const std::string options = "size=" + std::to_string(bytes);
    return [folder, options] {
        if (const int failed = PrivateMounts()) return failed;
        return ::mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) == 0 ? 0 : kNoNamespace;
    };
}

// Folder made read-only for the child alone.
inline Process::ChildSetup ReadOnlyAt(const std::filesystem::path& folder)
{
    return [folder] {
        if (const int failed = PrivateMounts()) return failed;
        if (::mount(folder.c_str(), folder.c_str(), nullptr, MS_BIND, nullptr) != 0) return kNoNamespace;
        const unsigned long flags = MS_BIND | MS_REMOUNT | MS_RDONLY;
        return ::mount(nullptr, folder.c_str(), nullptr, flags, nullptr) == 0 ? 0 : kNoNamespace;
    };
}

// A file system of 1 MiB at folder with room for `inodes` files and folders, its own
// root folder among them, for the child alone.
inline Process::ChildSetup FewInodesAt(const std::filesystem::path& folder, std::size_t inodes)
{
    const std::string options = "size=1m,nr_inodes=" + std::to_string(inodes);
    return [folder, options] {
        if (const int failed = PrivateMounts()) return failed;
        return ::mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) == 0 ? 0 : kNoNamespace;
    };
}
