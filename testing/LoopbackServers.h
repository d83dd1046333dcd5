#pragma once

// Servers on loopback for the HTTP layer's tests: cpp-httplib for well-behaved
// answers, raw sockets for servers that misbehave, and tinyproxy as a real proxy.

#include <httplib.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <fstream>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

// A cpp-httplib server on a free loopback port, serving in a thread of its own.
class CHttpServer
{
public:
    CHttpServer() = default;
    ~CHttpServer() { Stop(); }
    CHttpServer(const CHttpServer&) = delete;
    CHttpServer& operator=(const CHttpServer&) = delete;

    // Call after the routes are set.
    void Start()
    {
        m_nPort = m_server.bind_to_any_port("127.0.0.1");
        m_thread = std::thread([this]() { m_server.listen_after_bind(); });
        while (!m_server.is_running())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    void Stop()
    {
        if (!m_thread.joinable())
            return;
        m_server.stop();
        m_thread.join();
    }
    std::string Url(const std::string& path) const
    {
        return "http://127.0.0.1:" + std::to_string(m_nPort) + path;
    }

    httplib::Server m_server;
    int m_nPort = 0;

private:
    std::thread m_thread;
};

// Lets a server's handler wait until the test opens it; opening it for good
// releases everyone, so a server can always stop.
class CGate
{
public:
    void Open()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_bOpen = true;
        m_changed.notify_all();
    }
    void Wait()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait(lock, [this]() { return m_bOpen; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_bOpen = false;
};

inline sockaddr_in LoopbackAddress(int nPort)
{
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(nPort));
    return address;
}

inline int ListenOnLoopback(int nBacklog, int* pnPort)
{
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = LoopbackAddress(0);
    bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    listen(fd, nBacklog);
    socklen_t length = sizeof address;
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    *pnPort = ntohs(address.sin_port);
    return fd;
}

// A port on which nothing listens (for a moment, which is enough here).
inline int FreePort()
{
    int nPort = 0;
    close(ListenOnLoopback(1, &nPort));
    return nPort;
}

// A server of raw sockets that runs a script on every connection it accepts.
// The scripts below read the request and then misbehave in one way each.
class CRawServer
{
public:
    typedef std::function<void(int fd)> SCRIPT;

    explicit CRawServer(SCRIPT script) : m_script(std::move(script))
    {
        m_listen = ListenOnLoopback(16, &m_nPort);
        m_acceptor = std::thread([this]() { AcceptLoop(); });
    }
    ~CRawServer()
    {
        m_bStopping = true;
        shutdown(m_listen, SHUT_RDWR);
        m_acceptor.join();
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            for (int fd : m_connections)
                shutdown(fd, SHUT_RDWR);
        }
        for (auto& thread : m_threads)
            thread.join();
        for (int fd : m_connections)
            close(fd);
        close(m_listen);
    }
    CRawServer(const CRawServer&) = delete;
    CRawServer& operator=(const CRawServer&) = delete;

    std::string Url(const std::string& path) const
    {
        return "http://127.0.0.1:" + std::to_string(m_nPort) + path;
    }

    static std::string ReadRequest(int fd)
    {
        std::string request;
        char buffer[1024];
        while (request.find("\r\n\r\n") == std::string::npos) {
            ssize_t n = recv(fd, buffer, sizeof buffer, 0);
            if (n <= 0)
                break;
            request.append(buffer, static_cast<size_t>(n));
        }
        return request;
    }
    static void Send(int fd, const std::string& text) { send(fd, text.data(), text.size(), MSG_NOSIGNAL); }
    // Keeps the connection open, saying nothing, until the client or the test ends it.
    static void Hold(int fd)
    {
        char buffer[256];
        while (recv(fd, buffer, sizeof buffer, 0) > 0) {
        }
    }
    // Ends the connection with a reset instead of an orderly close.
    static void Reset(int fd)
    {
        linger option = {1, 0};
        setsockopt(fd, SOL_SOCKET, SO_LINGER, &option, sizeof option);
        shutdown(fd, SHUT_RDWR);
    }

    int m_nPort = 0;

private:
    void AcceptLoop()
    {
        while (!m_bStopping) {
            int fd = accept4(m_listen, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd < 0)
                break;
            std::lock_guard<std::mutex> lock(m_mutex);
            m_connections.push_back(fd);
            m_threads.emplace_back([this, fd]() { m_script(fd); });
        }
    }

    SCRIPT m_script;
    int m_listen = -1;
    std::atomic<bool> m_bStopping{false};
    std::thread m_acceptor;
    std::mutex m_mutex;
    std::vector<int> m_connections;
    std::vector<std::thread> m_threads;
};

// A loopback port where connecting never finishes: its listening socket's
// queue is full and never drained, so the kernel drops every further SYN.
class CBlackhole
{
public:
    CBlackhole()
    {
        m_listen = ListenOnLoopback(0, &m_nPort);
        sockaddr_in address = LoopbackAddress(m_nPort);
        for (int i = 0; i < 4; ++i) {
            int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
            connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
            m_fillers.push_back(fd);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));   // let the handshakes land
    }
    ~CBlackhole()
    {
        for (int fd : m_fillers)
            close(fd);
        close(m_listen);
    }
    CBlackhole(const CBlackhole&) = delete;
    CBlackhole& operator=(const CBlackhole&) = delete;

    std::string Url(const std::string& path) const
    {
        return "http://127.0.0.1:" + std::to_string(m_nPort) + path;
    }

    int m_nPort = 0;

private:
    int m_listen = -1;
    std::vector<int> m_fillers;
};

// tinyproxy on a free loopback port with a configuration of its own, run in the
// foreground as a child process and ended with the test.
class CTinyproxy
{
public:
    static std::string Program()
    {
        for (const char* pszPath : {"/usr/bin/tinyproxy", "/usr/sbin/tinyproxy", "/usr/local/bin/tinyproxy"})
            if (access(pszPath, X_OK) == 0)
                return pszPath;
        return "";
    }

    // Extra lines of configuration (such as "BasicAuth user secret") go last.
    CTinyproxy(const std::string& folder, const std::string& viaName, const std::string& extraConfig = "")
    {
        m_nPort = FreePort();
        m_logPath = folder + "/tinyproxy.log";
        std::string configPath = folder + "/tinyproxy.conf";
        std::ofstream(configPath) << "Port " << m_nPort << "\n"
                                  << "Listen 127.0.0.1\n"
                                  << "Timeout 30\n"
                                  << "MaxClients 8\n"
                                  << "Allow 127.0.0.1\n"
                                  << "LogFile \"" << m_logPath << "\"\n"
                                  << "LogLevel Info\n"
                                  << "ViaProxyName \"" << viaName << "\"\n"
                                  << extraConfig;
        std::string program = Program();
        char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>("-d"), const_cast<char*>("-c"),
                        const_cast<char*>(configPath.c_str()), nullptr};
        if (posix_spawn(&m_pid, program.c_str(), nullptr, nullptr, argv, environ) != 0)
            m_pid = 0;
        // Ready once it accepts connections; a proxy that has not started after
        // a long while has failed.
        for (int i = 0; m_pid && i < 1000 && !Accepts(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ~CTinyproxy()
    {
        if (m_pid) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
        }
    }
    CTinyproxy(const CTinyproxy&) = delete;
    CTinyproxy& operator=(const CTinyproxy&) = delete;

    bool Accepts() const
    {
        int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address = LoopbackAddress(m_nPort);
        bool bAccepts = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        close(fd);
        return bAccepts;
    }
    std::string Log() const
    {
        std::ifstream in(m_logPath);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    pid_t m_pid = 0;
    int m_nPort = 0;
    std::string m_logPath;
};
