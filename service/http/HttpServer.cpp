#include "service/http/HttpServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace {

// Pipelined requests one worker answers before the connection queues again.
constexpr int REQUESTS_PER_TURN = 16;
// Bytes kept from a client beyond one whole request: the start of the next.
constexpr size_t MAX_BUFFERED = CHttpRequest::MAX_HEAD + CHttpRequest::MAX_BODY + 16 * 1024;
// How long a refused client may go on sending before the connection ends.
constexpr int DRAIN_SECONDS = 2;

std::string PeerOf(const sockaddr_storage& address)
{
    char sz[INET6_ADDRSTRLEN] = {};
    if (address.ss_family == AF_INET) {
        inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in&>(address).sin_addr, sz, sizeof sz);
    } else if (address.ss_family == AF_INET6) {
        inet_ntop(AF_INET6, &reinterpret_cast<const sockaddr_in6&>(address).sin6_addr, sz, sizeof sz);
        // An IPv4 client of an IPv6 socket is known by its IPv4 address.
        if (std::string(sz).rfind("::ffff:", 0) == 0 && std::string(sz).find('.') != std::string::npos)
            return sz + 7;
    }
    return sz;
}

} // namespace

struct CHttpServer::Connection
{
    int fd = -1;
    std::string strPeer;
    std::string strIn;
    Clock::time_point deadline;
    bool bIdle = false;        // between requests: its time ends quietly
    bool bWithWorker = false;
    bool bClose = false;       // the worker is done with it
    bool bDrain = false;       // refused: read and drop until the client stops
    // The request at the front of strIn as the waiting thread read it, so
    // that the worker does not read it again.
    bool bRead = false;
    CHttpRequest request;
    CHttpRequest::Result result = CHttpRequest::INCOMPLETE;
    size_t nUsed = 0;
    int nStatus = 0;
};

void CHttpServer::Queue::Push(Connection* pConnection)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_waiting.push_back(pConnection);
    }
    m_ready.notify_one();
}

CHttpServer::Connection* CHttpServer::Queue::Pop()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_ready.wait(lock, [this] { return m_bClosed || !m_waiting.empty(); });
    if (m_bClosed)
        return nullptr;
    Connection* pConnection = m_waiting.front();
    m_waiting.pop_front();
    return pConnection;
}

void CHttpServer::Queue::Close()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_bClosed = true;
    }
    m_ready.notify_all();
}

CHttpServer::CHttpServer() : m_wake(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

CHttpServer::~CHttpServer()
{
    if (m_listen >= 0)
        close(m_listen);
    if (m_wake >= 0)
        close(m_wake);
}

int CHttpServer::Bind(const std::string& strHost, int nPort)
{
    addrinfo hints {};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
    addrinfo* pFound = nullptr;
    if (getaddrinfo(strHost.empty() ? nullptr : strHost.c_str(), std::to_string(nPort).c_str(), &hints, &pFound) != 0)
        return -1;
    for (const addrinfo* p = pFound; p && m_listen < 0; p = p->ai_next) {
        const int fd = socket(p->ai_family, p->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, p->ai_protocol);
        if (fd < 0)
            continue;
        const int nYes = 1;
        setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &nYes, sizeof nYes);
        // Crowds arrive at once: the kernel holds them until they are taken.
        if (bind(fd, p->ai_addr, p->ai_addrlen) == 0 && listen(fd, SOMAXCONN) == 0)
            m_listen = fd;
        else
            close(fd);
    }
    freeaddrinfo(pFound);
    if (m_listen < 0)
        return -1;
    sockaddr_storage address {};
    socklen_t nLength = sizeof address;
    getsockname(m_listen, reinterpret_cast<sockaddr*>(&address), &nLength);
    return ntohs(address.ss_family == AF_INET6 ? reinterpret_cast<sockaddr_in6&>(address).sin6_port
                                               : reinterpret_cast<sockaddr_in&>(address).sin_port);
}

bool CHttpServer::Run()
{
    if (m_listen < 0 || m_bStopping)
        return false;
    if (m_wake < 0)
        return false;
    std::vector<std::thread> workers;
    for (int i = 0; i < std::max(1, m_limits.nWorkers); ++i)
        workers.emplace_back([this] { Work(m_work); });
    workers.emplace_back([this] { Work(m_urgent); });
    m_bRunning = true;

    std::vector<pollfd> polled;
    std::vector<int> fds;
    while (!m_bStopping) {
        TakeReturned();
        polled.clear();
        fds.clear();
        polled.push_back({m_wake, POLLIN, 0});
        polled.push_back({m_listen, POLLIN, 0});
        Clock::time_point next = Clock::now() + std::chrono::seconds(1);
        for (const auto& entry : m_connections) {
            if (entry.second->bWithWorker)
                continue;
            polled.push_back({entry.first, POLLIN, 0});
            fds.push_back(entry.first);
            next = std::min(next, entry.second->deadline);
        }
        const auto nWait = std::chrono::duration_cast<std::chrono::milliseconds>(next - Clock::now()).count();
        const int nReady = poll(polled.data(), polled.size(), static_cast<int>(std::max<long>(0, nWait + 1)));
        if (nReady < 0 && errno != EINTR)
            break;
        if (polled[0].revents) {
            uint64_t nCount = 0;
            if (read(m_wake, &nCount, sizeof nCount) < 0) {
                // Nothing to take: another wake-up already did.
            }
        }
        if (polled[1].revents)
            Accept();
        for (size_t i = 2; i < polled.size(); ++i) {
            if (!polled[i].revents)
                continue;
            const auto it = m_connections.find(fds[i - 2]);
            if (it != m_connections.end() && !it->second->bWithWorker)
                ReadFrom(*it->second);
        }
        Expire(Clock::now());
    }

    // Workers blocked on a client's socket give up at once.
    for (const auto& entry : m_connections)
        shutdown(entry.first, SHUT_RDWR);
    m_work.Close();
    m_urgent.Close();
    for (std::thread& worker : workers)
        worker.join();
    while (!m_connections.empty())
        Close(m_connections.begin()->first);
    close(m_listen);
    m_listen = -1;
    m_bRunning = false;
    return true;
}

void CHttpServer::Stop()
{
    m_bStopping = true;
    Wake();
}

void CHttpServer::Wake()
{
    const uint64_t nOne = 1;
    if (m_wake >= 0 && write(m_wake, &nOne, sizeof nOne) < 0) {
        // The counter is full: the loop is awake anyway.
    }
}

void CHttpServer::Accept()
{
    for (int i = 0; i < 64; ++i) {
        sockaddr_storage address {};
        socklen_t nLength = sizeof address;
        const int fd = accept4(m_listen, reinterpret_cast<sockaddr*>(&address), &nLength, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0)
            return;
        auto pConnection = std::make_unique<Connection>();
        pConnection->fd = fd;
        pConnection->strPeer = PeerOf(address);
        if (static_cast<int>(m_connections.size()) >= m_limits.nMaxConnections ||
            m_perClient[pConnection->strPeer] >= m_limits.nMaxPerClient) {
            if (m_perClient[pConnection->strPeer] == 0)
                m_perClient.erase(pConnection->strPeer);
            Refuse(fd, 503);
            close(fd);
            continue;
        }
        // Headers and body leave in separate writes; with Nagle's algorithm the
        // body would wait for the client's delayed acknowledgement.
        const int nYes = 1;
        setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &nYes, sizeof nYes);
        ++m_perClient[pConnection->strPeer];
        pConnection->deadline = Clock::now() + std::chrono::seconds(m_limits.nRequestSeconds);
        m_connections[fd] = std::move(pConnection);
    }
}

void CHttpServer::Refuse(int fd, int nStatus)
{
    CHttpAnswer answer;
    answer.Set(nStatus, "text/plain", std::string(CHttpAnswer::Reason(nStatus)) + "\n");
    answer.m_bClose = true;
    // Best effort, never waiting: the answer is small enough for any socket.
    const std::string strBytes = answer.Head(false) + answer.m_strBody;
    if (send(fd, strBytes.data(), strBytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT) < 0) {
        // The client is gone already.
    }
}

void CHttpServer::ReadFrom(Connection& connection)
{
    char buffer[16384];
    size_t nTaken = 0;
    for (;;) {
        const ssize_t n = recv(connection.fd, buffer, sizeof buffer, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            break;
        if (n <= 0) {
            Close(connection.fd);
            return;
        }
        nTaken += static_cast<size_t>(n);
        if (connection.bDrain) {
            if (nTaken > 1024 * 1024) {
                Close(connection.fd);
                return;
            }
            continue;
        }
        if (connection.bIdle) {
            connection.bIdle = false;
            connection.deadline = Clock::now() + std::chrono::seconds(m_limits.nRequestSeconds);
        }
        connection.strIn.append(buffer, static_cast<size_t>(n));
        if (connection.strIn.size() > MAX_BUFFERED)
            break;
    }
    if (!connection.bDrain)
        Dispatch(connection);
}

void CHttpServer::Dispatch(Connection& connection)
{
    CHttpRequest req;
    size_t nUsed = 0;
    int nStatus = 0;
    const CHttpRequest::Result result = req.Read(connection.strIn, 0, nUsed, nStatus);
    if (result == CHttpRequest::INCOMPLETE)
        return;
    const bool bUrgent = result == CHttpRequest::COMPLETE && m_isUrgent && m_isUrgent(req);
    connection.request = std::move(req);
    connection.result = result;
    connection.nUsed = nUsed;
    connection.nStatus = nStatus;
    connection.bRead = true;
    connection.bWithWorker = true;
    if (bUrgent)
        m_urgent.Push(&connection);
    else
        m_work.Push(&connection);
}

void CHttpServer::TakeReturned()
{
    std::vector<Connection*> returned;
    {
        std::lock_guard<std::mutex> lock(m_returnedMutex);
        returned.swap(m_returned);
    }
    const Clock::time_point now = Clock::now();
    for (Connection* pConnection : returned) {
        Connection& connection = *pConnection;
        connection.bWithWorker = false;
        if (connection.bDrain) {
            StartDrain(connection, now);
        } else if (connection.bClose) {
            Close(connection.fd);
        } else if (connection.strIn.empty()) {
            connection.bIdle = true;
            connection.deadline = now + std::chrono::seconds(m_limits.nIdleSeconds);
        } else {
            connection.deadline = now + std::chrono::seconds(m_limits.nRequestSeconds);
            Dispatch(connection);
        }
    }
}

void CHttpServer::Expire(Clock::time_point now)
{
    std::vector<int> expired;
    for (const auto& entry : m_connections) {
        if (!entry.second->bWithWorker && entry.second->deadline <= now)
            expired.push_back(entry.first);
    }
    for (int fd : expired) {
        Connection& connection = *m_connections[fd];
        if (connection.bIdle || connection.bDrain) {
            Close(fd);
            continue;
        }
        Refuse(fd, 408);
        StartDrain(connection, now);
    }
}

void CHttpServer::StartDrain(Connection& connection, Clock::time_point now)
{
    // The refusal is out; what the client still sends is dropped, so that
    // closing does not reset the connection before the client has read it.
    shutdown(connection.fd, SHUT_WR);
    connection.bDrain = true;
    connection.strIn.clear();
    connection.deadline = now + std::chrono::seconds(DRAIN_SECONDS);
}

void CHttpServer::Close(int fd)
{
    const auto it = m_connections.find(fd);
    if (it == m_connections.end())
        return;
    const auto count = m_perClient.find(it->second->strPeer);
    if (count != m_perClient.end() && --count->second <= 0)
        m_perClient.erase(count);
    close(fd);
    m_connections.erase(it);
}

void CHttpServer::Work(Queue& queue)
{
    while (Connection* pConnection = queue.Pop()) {
        Serve(*pConnection);
        {
            std::lock_guard<std::mutex> lock(m_returnedMutex);
            m_returned.push_back(pConnection);
        }
        Wake();
    }
}

void CHttpServer::Serve(Connection& connection)
{
    for (int i = 0; i < REQUESTS_PER_TURN && !m_bStopping; ++i) {
        CHttpRequest req;
        size_t nUsed = connection.nUsed;
        int nStatus = connection.nStatus;
        CHttpRequest::Result result = connection.result;
        if (connection.bRead) {
            req = std::move(connection.request);
            connection.bRead = false;
        } else {
            result = req.Read(connection.strIn, 0, nUsed, nStatus);
        }
        if (result == CHttpRequest::INCOMPLETE)
            return;
        req.m_strPeer = connection.strPeer;
        CHttpAnswer answer;
        if (result == CHttpRequest::REFUSED) {
            answer.Set(nStatus, "text/plain", std::string(CHttpAnswer::Reason(nStatus)) + "\n");
            answer.m_bClose = true;
            connection.bDrain = true;
            connection.strIn.clear();
        } else {
            connection.strIn.erase(0, nUsed);
            m_handler(req, answer);
            if (!req.m_bKeepAlive)
                answer.m_bClose = true;
        }
        if (m_logger)
            m_logger(req, answer);
        if (!Send(connection.fd, req, answer) || answer.m_bClose) {
            connection.bClose = true;
            return;
        }
    }
    if (m_bStopping)
        connection.bClose = true;
}

bool CHttpServer::Send(int fd, const CHttpRequest& req, const CHttpAnswer& answer)
{
    if (answer.m_writer) {
        // Each write gets the whole write time: such an answer may pause on purpose.
        answer.m_writer([this, fd](const char* pData, size_t nSize, bool bMore) {
            return WriteAll(fd, pData, nSize, Clock::now() + std::chrono::seconds(m_limits.nWriteSeconds), bMore);
        });
        return false;
    }
    const Clock::time_point deadline = Clock::now() + std::chrono::seconds(m_limits.nWriteSeconds);
    const std::string strHead = answer.Head(req.m_bKeepAlive);
    const bool bBody = req.m_strMethod != "HEAD" && answer.m_nStatus != 304;
    if (!bBody)
        return WriteAll(fd, strHead.data(), strHead.size(), deadline);
    return WriteAll(fd, strHead.data(), strHead.size(), deadline, true) &&
           WriteAll(fd, answer.m_strBody.data(), answer.m_strBody.size(), deadline);
}

bool CHttpServer::WriteAll(int fd, const char* pData, size_t nSize, Clock::time_point deadline, bool bMore)
{
    size_t nDone = 0;
    while (nDone < nSize) {
        const ssize_t n = send(fd, pData + nDone, nSize - nDone, MSG_NOSIGNAL | (bMore ? MSG_MORE : 0));
        if (n > 0) {
            nDone += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
            return false;
        const auto nLeft = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        pollfd writable {fd, POLLOUT, 0};
        if (nLeft <= 0 || poll(&writable, 1, static_cast<int>(nLeft)) <= 0 || (writable.revents & (POLLERR | POLLHUP)))
            return false;
    }
    return true;
}
