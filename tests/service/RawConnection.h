#pragma once

// A client connection that sends exactly the bytes it is given, from a chosen
// loopback address, and shows what the service did with it: the answers, and
// whether and when it closed the connection.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>

class CRawConnection
{
public:
    CRawConnection(int nPort, const char* pszFrom = "127.0.0.1", const char* pszTo = "127.0.0.1")
    {
        m_fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in from {};
        from.sin_family = AF_INET;
        inet_pton(AF_INET, pszFrom, &from.sin_addr);
        sockaddr_in to {};
        to.sin_family = AF_INET;
        to.sin_port = htons(static_cast<uint16_t>(nPort));
        inet_pton(AF_INET, pszTo, &to.sin_addr);
        if (bind(m_fd, reinterpret_cast<sockaddr*>(&from), sizeof from) != 0 ||
            connect(m_fd, reinterpret_cast<sockaddr*>(&to), sizeof to) != 0) {
            close(m_fd);
            m_fd = -1;
        }
    }
    ~CRawConnection()
    {
        if (m_fd >= 0)
            close(m_fd);
    }
    CRawConnection(const CRawConnection&) = delete;
    CRawConnection& operator=(const CRawConnection&) = delete;

    bool Send(const std::string& strBytes) const
    {
        return m_fd >= 0 && send(m_fd, strBytes.data(), strBytes.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(strBytes.size());
    }

    // Reads what arrives for up to the seconds; stops early when the
    // connection closes (m_bClosed) or when nAnswers whole answers are in.
    std::string Receive(double dSeconds, int nAnswers = 0)
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(dSeconds);
        while (m_fd >= 0 && !m_bClosed && (nAnswers == 0 || Answers() < nAnswers)) {
            const auto nLeft = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now()).count();
            pollfd readable {m_fd, POLLIN, 0};
            if (nLeft < 0 || poll(&readable, 1, static_cast<int>(nLeft)) <= 0)
                break;
            char buffer[65536];
            const ssize_t n = recv(m_fd, buffer, sizeof buffer, 0);
            if (n <= 0)
                m_bClosed = true;
            else
                m_strIn.append(buffer, static_cast<size_t>(n));
        }
        return m_strIn;
    }

    // The whole answers received so far, each "HTTP/1.1 ..." with its body.
    int Answers() const
    {
        int nCount = 0;
        size_t nAt = 0;
        for (;;) {
            const size_t nHeadEnd = m_strIn.find("\r\n\r\n", nAt);
            if (nHeadEnd == std::string::npos)
                return nCount;
            const size_t nLength = m_strIn.find("Content-Length: ", nAt);
            const size_t nBody = nLength < nHeadEnd ? std::strtoul(m_strIn.c_str() + nLength + 16, nullptr, 10) : 0;
            if (m_strIn.size() < nHeadEnd + 4 + nBody)
                return nCount;
            nAt = nHeadEnd + 4 + nBody;
            ++nCount;
        }
    }

    int m_fd = -1;
    std::string m_strIn;
    bool m_bClosed = false;
};

// A loopback port no one listens on now, for a server to take.
inline int FreeLoopbackPort()
{
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t nLength = sizeof address;
    bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &nLength);
    close(fd);
    return ntohs(address.sin_port);
}
