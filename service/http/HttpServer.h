#pragma once

#include "service/http/HttpAnswer.h"
#include "service/http/HttpRequest.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// An HTTP/1.1 server whose threads are held only by requests being answered.
// One thread waits on every connection at once and reads what comes; only a
// whole request goes to a worker, which answers it and any requests sent
// behind it on the same connection, in order, and gives the connection back.
// A client that sends slowly or not at all costs a descriptor and a few bytes,
// never a worker, and loses its connection when its time is up:
//   - a request's head and body must arrive within nRequestSeconds of its
//     first byte (or of connecting), however they trickle in;
//   - a kept-alive connection may wait nIdleSeconds for its next request;
//   - one address may hold nMaxPerClient connections, all nMaxConnections.
class CHttpServer
{
public:
    using Handler = std::function<void(const CHttpRequest&, CHttpAnswer&)>;

    struct Limits
    {
        int nWorkers = 8;
        int nMaxConnections = 1000;
        int nMaxPerClient = 200;
        int nRequestSeconds = 10;
        int nIdleSeconds = 30;
        int nWriteSeconds = 30;     // an answer must be taken within this
    };

    CHttpServer();
    ~CHttpServer();
    CHttpServer(const CHttpServer&) = delete;
    CHttpServer& operator=(const CHttpServer&) = delete;

    // Binds to the address; port 0 picks a free one. The port, or -1.
    int Bind(const std::string& strHost, int nPort);
    // Serves until Stop; false if it could not start.
    bool Run();
    bool IsRunning() const { return m_bRunning; }
    // Safe from any thread.
    void Stop();

    Limits m_limits;
    Handler m_handler;
    // Requests answered by a thread of their own, so that they are answered
    // even while every worker is busy.
    std::function<bool(const CHttpRequest&)> m_isUrgent;
    // Called after each answer, on the thread that gave it.
    std::function<void(const CHttpRequest&, const CHttpAnswer&)> m_logger;

private:
    using Clock = std::chrono::steady_clock;
    struct Connection;
    class Queue
    {
    public:
        void Push(Connection* pConnection);
        Connection* Pop();   // nullptr once closed
        void Close();

    private:
        std::mutex m_mutex;
        std::condition_variable m_ready;
        std::deque<Connection*> m_waiting;
        bool m_bClosed = false;
    };

    void Accept();
    // Sends a short error answer without waiting; the caller closes or drains.
    void Refuse(int fd, int nStatus);
    void ReadFrom(Connection& connection);
    void Dispatch(Connection& connection);
    void TakeReturned();
    void Expire(Clock::time_point now);
    void StartDrain(Connection& connection, Clock::time_point now);
    void Close(int fd);
    void Work(Queue& queue);
    void Serve(Connection& connection);
    bool Send(int fd, const CHttpRequest& req, const CHttpAnswer& answer);
    bool WriteAll(int fd, const char* pData, size_t nSize, Clock::time_point deadline, bool bMore = false);
    void Wake();

    int m_listen = -1;
    int m_wake = -1;
    std::atomic<bool> m_bRunning {false};
    std::atomic<bool> m_bStopping {false};
    // The waiting thread's own: every open connection, and the count per address.
    std::map<int, std::unique_ptr<Connection>> m_connections;
    std::map<std::string, int> m_perClient;
    Queue m_work;
    Queue m_urgent;
    std::mutex m_returnedMutex;
    std::vector<Connection*> m_returned;
};
