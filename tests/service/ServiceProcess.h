#pragma once

// The service as the tests meet it: the real executable in a process of its
// own on a free loopback port, and a raw HTTP client that shows every byte
// and when it came, for the faults that a library client would smooth over.

#include <httplib.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

extern char** environ;

class CServiceProcess
{
public:
    // Starts the service on --port 0 with the extra arguments and reads the
    // address it prints first: the test program cirrovan-service-faults with
    // --control, or when told otherwise the service as it ships.
    // Its stderr goes to the file when one is named.
    explicit CServiceProcess(const std::vector<std::string>& args = {}, bool bControl = true,
                             const std::string& strErrorFile = std::string())
    {
        std::vector<std::string> all = {bControl ? CIRROVAN_SERVICE_FAULTS_EXE : CIRROVAN_SERVICE_EXE, "--port", "0"};
        if (bControl)
            all.push_back("--control");
        all.insert(all.end(), args.begin(), args.end());
        m_pid = Spawn(all, m_nOutput, strErrorFile);
        if (m_pid <= 0)
            return;
        m_strFirstLine = ReadLine();
        const size_t colon = m_strFirstLine.rfind(':');
        if (colon != std::string::npos)
            m_nPort = std::atoi(m_strFirstLine.c_str() + colon + 1);
    }
    ~CServiceProcess()
    {
        if (m_pid > 0)
            Stop(SIGKILL);
        if (m_nOutput >= 0)
            close(m_nOutput);
    }
    CServiceProcess(const CServiceProcess&) = delete;
    CServiceProcess& operator=(const CServiceProcess&) = delete;

    // Sends the signal and waits for the process: its exit code, or 128 plus
    // the signal that ended it.
    int Stop(int nSignal = SIGTERM)
    {
        if (m_pid <= 0)
            return -1;
        kill(m_pid, nSignal);
        const int nStatus = Wait(m_pid);
        m_pid = -1;
        return nStatus;
    }

    // The next line the service prints, without its end.
    std::string ReadLine()
    {
        std::string strLine;
        char c = 0;
        while (m_nOutput >= 0 && read(m_nOutput, &c, 1) == 1 && c != '\n')
            strLine += c;
        return strLine;
    }

    httplib::Client Client() const
    {
        httplib::Client client("127.0.0.1", m_nPort);
        client.set_read_timeout(120, 0);
        return client;
    }

    // Runs the executable to its end with those arguments: exit code and stdout.
    static int Run(const std::vector<std::string>& args, std::string& strOutput,
                   const char* pszExecutable = CIRROVAN_SERVICE_EXE)
    {
        std::vector<std::string> all = {pszExecutable};
        all.insert(all.end(), args.begin(), args.end());
        int nOutput = -1;
        const pid_t pid = Spawn(all, nOutput);
        if (pid <= 0)
            return -1;
        char buffer[4096];
        ssize_t n;
        while ((n = read(nOutput, buffer, sizeof buffer)) > 0)
            strOutput.append(buffer, static_cast<size_t>(n));
        close(nOutput);
        return Wait(pid);
    }

    pid_t m_pid = -1;
    int m_nOutput = -1;
    std::string m_strFirstLine;
    int m_nPort = 0;

private:
    static pid_t Spawn(const std::vector<std::string>& args, int& nOutput, const std::string& strErrorFile = {})
    {
        int pipeEnds[2];
        if (pipe(pipeEnds) != 0)
            return -1;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 1);
        posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
        if (!strErrorFile.empty())
            posix_spawn_file_actions_addopen(&actions, 2, strErrorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        std::vector<char*> argv;
        for (const std::string& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        pid_t pid = -1;
        if (posix_spawn(&pid, args[0].c_str(), &actions, nullptr, argv.data(), environ) != 0)
            pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(pipeEnds[1]);
        nOutput = pipeEnds[0];
        return pid;
    }

    static int Wait(pid_t pid)
    {
        int nStatus = 0;
        while (waitpid(pid, &nStatus, 0) < 0) {
        }
        return WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : 128 + WTERMSIG(nStatus);
    }
};

// The service that the tests of a suite share: started before the first,
// stopped after the last, when its exit code tells what a sanitizer build's
// service found.
class CSharedService
{
public:
    static CServiceProcess& Start()
    {
        s_pProcess = std::make_unique<CServiceProcess>();
        return *s_pProcess;
    }
    static int Stop()
    {
        const int nStatus = s_pProcess ? s_pProcess->Stop(SIGTERM) : -1;
        s_pProcess.reset();
        return nStatus;
    }

private:
    inline static std::unique_ptr<CServiceProcess> s_pProcess;
};

// One request on a connection of its own, read to the connection's end.
class CRawAnswer
{
public:
    static CRawAnswer Get(int nPort, const std::string& strTarget)
    {
        CRawAnswer answer;
        const int fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address {};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<uint16_t>(nPort));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        // Only a guard against a test that would otherwise hang for ever.
        const timeval guard {120, 0};
        setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &guard, sizeof guard);
        if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
            close(fd);
            return answer;
        }
        const std::string request = "GET " + strTarget + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n";
        // The clock starts before the request leaves, so no delay of the service
        // can begin before it.
        const auto start = std::chrono::steady_clock::now();
        send(fd, request.data(), request.size(), MSG_NOSIGNAL);
        char buffer[65536];
        for (;;) {
            const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
            if (n <= 0) {
                answer.m_bClosed = n == 0 || errno == ECONNRESET;
                break;
            }
            const double dSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            answer.m_arrivals.emplace_back(answer.m_strBytes.size(), dSeconds);
            answer.m_strBytes.append(buffer, static_cast<size_t>(n));
        }
        close(fd);
        return answer;
    }

    std::string Head() const { return m_strBytes.substr(0, HeadEnd()); }
    std::string Body() const { return HeadEnd() == m_strBytes.size() ? std::string() : m_strBytes.substr(HeadEnd() + 4); }
    int Status() const { return m_strBytes.size() > 12 ? std::atoi(m_strBytes.c_str() + 9) : 0; }
    // The header's value, or "" when absent (names as the service writes them).
    std::string Header(const std::string& strName) const
    {
        const std::string head = Head();
        const size_t at = head.find("\r\n" + strName + ": ");
        if (at == std::string::npos)
            return std::string();
        const size_t start = at + strName.size() + 4;
        return head.substr(start, head.find("\r\n", start) - start);
    }
    // Seconds from the request to the arrival of the byte at that offset.
    double ArrivalOf(size_t nOffset) const
    {
        double dSeconds = 0.0;
        for (const auto& arrival : m_arrivals) {
            if (arrival.first <= nOffset)
                dSeconds = arrival.second;
        }
        return dSeconds;
    }
    size_t HeadEnd() const
    {
        const size_t at = m_strBytes.find("\r\n\r\n");
        return at == std::string::npos ? m_strBytes.size() : at;
    }

    std::string m_strBytes;
    bool m_bClosed = false;
    std::vector<std::pair<size_t, double>> m_arrivals;   // offset, seconds
};
