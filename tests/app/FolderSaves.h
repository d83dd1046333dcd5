#pragma once

#include <map>
#include <string>
#include <sys/inotify.h>
#include <unistd.h>

// How often each file of a folder has been moved into place, by name: every
// save of the program ends so, renaming a complete file over the old one.
class CFolderSaves
{
public:
    explicit CFolderSaves(const std::string& strFolder)
        : m_nFd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
    {
        if (m_nFd >= 0)
            inotify_add_watch(m_nFd, strFolder.c_str(), IN_MOVED_TO);
    }
    ~CFolderSaves()
    {
        if (m_nFd >= 0)
            close(m_nFd);
    }
    CFolderSaves(const CFolderSaves&) = delete;
    CFolderSaves& operator=(const CFolderSaves&) = delete;

    int Count(const std::string& strName)
    {
        alignas(inotify_event) char buffer[4096];
        ssize_t n;
        while (m_nFd >= 0 && (n = read(m_nFd, buffer, sizeof buffer)) > 0) {
            for (ssize_t at = 0; at < n;) {
                const auto* pEvent = reinterpret_cast<const inotify_event*>(buffer + at);
                if (pEvent->len > 0)
                    ++m_counts[pEvent->name];
                at += static_cast<ssize_t>(sizeof(inotify_event) + pEvent->len);
            }
        }
        return m_counts[strName];
    }

private:
    int m_nFd;
    std::map<std::string, int> m_counts;
};
