#include "service/http/ConnectionSockets.h"

#include <httplib.h>

#include <dirent.h>
#include <netdb.h>
#include <sys/socket.h>

#include <cstdlib>
#include <functional>
#include <string>

namespace {

std::string NumericHost(const sockaddr_storage& address, socklen_t nLength, int& nPort)
{
    char szHost[NI_MAXHOST];
    char szPort[NI_MAXSERV];
    if (getnameinfo(reinterpret_cast<const sockaddr*>(&address), nLength, szHost, sizeof szHost, szPort,
                    sizeof szPort, NI_NUMERICHOST | NI_NUMERICSERV) != 0)
        return std::string();
    nPort = std::atoi(szPort);
    return szHost;
}

// Calls visit(fd, local port, peer host, peer port) for every connected
// socket of the process until it returns true; gives that fd, or -1.
int FindSocket(const std::function<bool(int, int, const std::string&, int)>& visit)
{
    DIR* pFolder = opendir("/proc/self/fd");
    if (!pFolder)
        return -1;
    int nFound = -1;
    while (const dirent* pEntry = readdir(pFolder)) {
        const int fd = std::atoi(pEntry->d_name);
        if (fd <= 2 || fd == dirfd(pFolder))
            continue;
        sockaddr_storage local {};
        sockaddr_storage peer {};
        socklen_t nLocal = sizeof local;
        socklen_t nPeer = sizeof peer;
        if (getsockname(fd, reinterpret_cast<sockaddr*>(&local), &nLocal) != 0 ||
            getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &nPeer) != 0)
            continue;
        int nLocalPort = -1;
        int nPeerPort = -1;
        NumericHost(local, nLocal, nLocalPort);
        const std::string strPeer = NumericHost(peer, nPeer, nPeerPort);
        if (visit(fd, nLocalPort, strPeer, nPeerPort)) {
            nFound = fd;
            break;
        }
    }
    closedir(pFolder);
    return nFound;
}

} // namespace

int CConnectionSockets::Of(const httplib::Request& req)
{
    return FindSocket([&](int, int nLocalPort, const std::string& strPeer, int nPeerPort) {
        return nLocalPort == req.local_port && nPeerPort == req.remote_port && strPeer == req.remote_addr;
    });
}

void CConnectionSockets::ShutdownAll(int nLocalPort)
{
    FindSocket([&](int fd, int nPort, const std::string&, int) {
        if (nPort == nLocalPort)
            shutdown(fd, SHUT_RDWR);
        return false;
    });
}
