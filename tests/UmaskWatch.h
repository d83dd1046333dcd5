#pragma once

// Counts the calls of umask in the test program that includes this (in one of
// its source files only, since it defines umask for the whole program): the
// umask is process-wide, so code that changes it even for a moment gives files
// other threads create meanwhile the wrong mode.

#include <atomic>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

inline std::atomic<int> g_nUmaskCalls{0};

// Sets the umask without being counted.
inline mode_t SetUmask(mode_t mask)
{
    return static_cast<mode_t>(syscall(SYS_umask, mask));
}

// This test program sees every call before the C library does.
extern "C" mode_t umask(mode_t mask)
{
    ++g_nUmaskCalls;
    return SetUmask(mask);
}
