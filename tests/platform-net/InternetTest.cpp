#include "testing/InternetTransfer.h"
#include "testing/LoopbackServers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

namespace {

const DWORD RESOLVING = INTERNET_STATUS_RESOLVING_NAME;
const DWORD RESOLVED = INTERNET_STATUS_NAME_RESOLVED;
const DWORD CONNECTING = INTERNET_STATUS_CONNECTING_TO_SERVER;
const DWORD CONNECTED = INTERNET_STATUS_CONNECTED_TO_SERVER;
const DWORD SENDING = INTERNET_STATUS_SENDING_REQUEST;
const DWORD SENT = INTERNET_STATUS_REQUEST_SENT;
const DWORD RECEIVING = INTERNET_STATUS_RECEIVING_RESPONSE;
const DWORD RECEIVED = INTERNET_STATUS_RESPONSE_RECEIVED;
const DWORD CREATED = INTERNET_STATUS_HANDLE_CREATED;
const DWORD CLOSING = INTERNET_STATUS_HANDLE_CLOSING;
const DWORD COMPLETE = INTERNET_STATUS_REQUEST_COMPLETE;
const DWORD CONNECTION_CLOSED = INTERNET_STATUS_CONNECTION_CLOSED;

// Bytes that differ from block to block, so a lost or repeated block shows.
std::string Pattern(size_t nSize)
{
    std::string text(nSize, '\0');
    for (size_t i = 0; i < nSize; ++i)
        text[i] = static_cast<char>((i * 7 + i / 1024) & 0xff);
    return text;
}

// Sets the layer's timeouts for the open handles a test creates, and puts the
// usual ones back after it.
class CTimeouts
{
public:
    CTimeouts(DWORD dwConnectMs, DWORD dwReceiveMs)
    {
        InternetSetOptionW(nullptr, INTERNET_OPTION_CONNECT_TIMEOUT, &dwConnectMs, sizeof dwConnectMs);
        InternetSetOptionW(nullptr, INTERNET_OPTION_RECEIVE_TIMEOUT, &dwReceiveMs, sizeof dwReceiveMs);
    }
    ~CTimeouts()
    {
        DWORD dwConnectMs = 15000;
        DWORD dwReceiveMs = 30000;
        InternetSetOptionW(nullptr, INTERNET_OPTION_CONNECT_TIMEOUT, &dwConnectMs, sizeof dwConnectMs);
        InternetSetOptionW(nullptr, INTERNET_OPTION_RECEIVE_TIMEOUT, &dwReceiveMs, sizeof dwReceiveMs);
    }
};

class HttpLayer : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_server.m_server.Get("/hello", [](const httplib::Request&, httplib::Response& res) {
            res.set_content("Hello, world", "text/plain");
        });
        m_server.m_server.Get("/big", [this](const httplib::Request&, httplib::Response& res) {
            res.set_content(m_big, "application/octet-stream");
        });
        m_server.m_server.Get("/empty", [](const httplib::Request&, httplib::Response& res) {
            res.set_content("", "text/plain");
        });
        m_server.m_server.Get("/chunked", [this](const httplib::Request&, httplib::Response& res) {
            res.set_chunked_content_provider("text/xml", [this](size_t offset, httplib::DataSink& sink) {
                if (offset < 5000)
                    sink.write(m_big.data() + offset, 1000);
                else
                    sink.done();
                return true;
            });
        });
        m_server.m_server.Get(R"(/status/(\d+))", [](const httplib::Request& req, httplib::Response& res) {
            res.status = std::stoi(req.matches[1]);
            res.set_content("Status " + std::string(req.matches[1]), "text/plain");
        });
        m_server.m_server.Get("/old", [](const httplib::Request&, httplib::Response& res) {
            res.set_redirect("/hello");
        });
        // 3000 bytes, then the rest once the test opens the gate.
        m_server.m_server.Get("/gated", [this](const httplib::Request&, httplib::Response& res) {
            res.set_content_provider(5000, "text/plain", [this](size_t offset, size_t, httplib::DataSink& sink) {
                if (offset == 0)
                    return sink.write(m_big.data(), 3000);
                m_gate.Wait();
                return sink.write(m_big.data() + offset, 5000 - offset);
            });
        });
        m_server.m_server.Get("/echo-path", [](const httplib::Request& req, httplib::Response& res) {
            res.set_content(req.target, "text/plain");
        });
        m_server.Start();
    }
    void TearDown() override
    {
        m_gate.Open();
        m_server.Stop();
    }

    const std::string m_big = Pattern(1024 * 1024);
    CGate m_gate;
    CHttpServer m_server;
};

TEST_F(HttpLayer, ReportsEveryStepOfARequestInOrderAndReadsTheAnswer)
{
    CTransfer transfer;
    ASSERT_TRUE(transfer.Request(m_server.Url("/hello")));
    EXPECT_EQ(transfer.Statuses(),
              (std::vector<DWORD>{CREATED, RESOLVING, RESOLVED, CONNECTING, CONNECTED, SENDING, SENT, RECEIVING,
                                  RECEIVED, COMPLETE}));
    for (const NOTICE& notice : transfer.Notices()) {
        if (notice.dwStatus == RESOLVING || notice.dwStatus == RESOLVED || notice.dwStatus == CONNECTING
            || notice.dwStatus == CONNECTED) {
            EXPECT_EQ(notice.strText, L"127.0.0.1") << notice.dwStatus;
        }
        if (notice.dwStatus == SENT || notice.dwStatus == RECEIVED) {
            EXPECT_GT(notice.dwNumber, 20u) << notice.dwStatus;
        }
        if (notice.dwStatus == CREATED) {
            EXPECT_EQ(reinterpret_cast<HINTERNET>(notice.result.dwResult), transfer.m_hRequest);
        }
    }
    EXPECT_EQ(transfer.Query(HTTP_QUERY_STATUS_CODE), L"200");
    EXPECT_EQ(transfer.Query(HTTP_QUERY_CONTENT_LENGTH), L"12");
    DWORD dwNumber = 0;
    DWORD dwLength = sizeof dwNumber;
    EXPECT_TRUE(HttpQueryInfoW(transfer.m_hRequest, HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &dwNumber,
                               &dwLength, nullptr));
    EXPECT_EQ(dwNumber, 12u);

    std::string body;
    EXPECT_TRUE(transfer.ReadAll(&body));
    EXPECT_EQ(body, "Hello, world");
    // A complete answer ends without a connection-closed notice.
    EXPECT_FALSE(transfer.Saw(CONNECTION_CLOSED));
    EXPECT_FALSE(transfer.Cancelled());
    transfer.CloseRequest();
    EXPECT_EQ(transfer.Statuses().back(), CLOSING);
}

TEST_F(HttpLayer, ReceivesBodiesWholeWithOrWithoutALength)
{
    struct CASE
    {
        const char* pszPath;
        std::wstring strLength;
        std::string body;
    } cases[] = {
        {"/big", L"1048576", m_big},
        {"/empty", L"0", ""},
        {"/chunked", L"(" + std::to_wstring(ERROR_HTTP_HEADER_NOT_FOUND) + L")", m_big.substr(0, 5000)},
    };
    for (const CASE& c : cases) {
        SCOPED_TRACE(c.pszPath);
        CTransfer transfer;
        ASSERT_TRUE(transfer.Request(m_server.Url(c.pszPath)));
        EXPECT_EQ(transfer.Query(HTTP_QUERY_CONTENT_LENGTH), c.strLength);
        std::string body;
        EXPECT_TRUE(transfer.ReadAll(&body));
        EXPECT_TRUE(body == c.body) << body.size() << " bytes";
        EXPECT_LE(transfer.m_nLargestBlock, 1024u);
        EXPECT_FALSE(transfer.Saw(CONNECTION_CLOSED));
    }
}

TEST_F(HttpLayer, HandsErrorAnswersOverWithTheirStatusCode)
{
    for (const char* pszCode : {"404", "500"}) {
        CTransfer transfer;
        ASSERT_TRUE(transfer.Request(m_server.Url(std::string("/status/") + pszCode)));
        EXPECT_EQ(transfer.Query(HTTP_QUERY_STATUS_CODE), CCodePage::Decode(pszCode));
        std::string body;
        EXPECT_TRUE(transfer.ReadAll(&body));
        EXPECT_EQ(body, std::string("Status ") + pszCode);
    }
}

TEST_F(HttpLayer, APendingReadCompletesWithTheBytesInTheCallersRecord)
{
    CTransfer transfer;
    ASSERT_TRUE(transfer.Request(m_server.Url("/gated")));
    std::string body;
    char buffer[1024];
    INTERNET_BUFFERSA record = {sizeof record, nullptr, nullptr, 0, 0, buffer, sizeof buffer, 0, 0, 0};
    while (body.size() < 3000) {
        record.dwBufferLength = sizeof buffer;
        ASSERT_TRUE(transfer.ReadBlock(&record));
        body.append(buffer, record.dwBufferLength);
    }
    // The server holds the rest back: the next read has to wait for it.
    record.dwBufferLength = sizeof buffer;
    EXPECT_FALSE(InternetReadFileExA(transfer.m_hRequest, &record, IRF_ASYNC, 0));
    EXPECT_EQ(GetLastError(), ERROR_IO_PENDING);
    // Only one read at a time.
    INTERNET_BUFFERSA second = record;
    EXPECT_FALSE(InternetReadFileExA(transfer.m_hRequest, &second, IRF_ASYNC, 0));
    EXPECT_EQ(GetLastError(), ERROR_INTERNET_INCORRECT_HANDLE_STATE);

    m_gate.Open();
    HANDLE events[] = {transfer.m_hEventRequest, transfer.m_hEventCancel};
    ASSERT_EQ(WaitForMultipleObjects(2, events, false, INFINITE), WAIT_OBJECT_0);
    EXPECT_EQ(transfer.LastResult().dwResult, static_cast<DWORD_PTR>(TRUE));
    ASSERT_GT(record.dwBufferLength, 0u);
    ASSERT_LE(record.dwBufferLength, 1024u);
    body.append(buffer, record.dwBufferLength);
    EXPECT_TRUE(transfer.ReadAll(&body));
    EXPECT_TRUE(body == m_big.substr(0, 5000));
}

TEST_F(HttpLayer, FollowsRedirectsUnlessAskedNotTo)
{
    CTransfer followed;
    ASSERT_TRUE(followed.Request(m_server.Url("/old")));
    std::vector<DWORD> statuses = followed.Statuses();
    EXPECT_EQ(followed.Query(HTTP_QUERY_STATUS_CODE), L"200");
    std::string body;
    EXPECT_TRUE(followed.ReadAll(&body));
    EXPECT_EQ(body, "Hello, world");
    EXPECT_EQ(std::count(statuses.begin(), statuses.end(), INTERNET_STATUS_REDIRECT), 1);
    EXPECT_EQ(std::count(statuses.begin(), statuses.end(), COMPLETE), 1);
    EXPECT_EQ(std::count(statuses.begin(), statuses.end(), CONNECTED), 2);

    CTransfer kept;
    ASSERT_TRUE(kept.Request(m_server.Url("/old"), INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_AUTO_REDIRECT));
    EXPECT_EQ(kept.Query(HTTP_QUERY_STATUS_CODE), L"302");
    EXPECT_FALSE(kept.Saw(INTERNET_STATUS_REDIRECT));
}

TEST_F(HttpLayer, SendsTheCanonicalUrl)
{
    CTransfer transfer;
    ASSERT_TRUE(transfer.Request("  " + m_server.Url("/echo-path?where=Saint Étienne&x=%41") + " \r\n"));
    std::string body;
    EXPECT_TRUE(transfer.ReadAll(&body));
    EXPECT_EQ(body, "/echo-path?where=Saint%20%C3%89tienne&x=%41");
}

TEST(HttpLayerErrors, RefusesWhatItCannotStartAtOnce)
{
    CTransfer transfer;
    EXPECT_FALSE(transfer.Begin("ftp://127.0.0.1/file"));
    EXPECT_EQ(transfer.m_dwOpenError, ERROR_INTERNET_UNRECOGNIZED_SCHEME);
    EXPECT_FALSE(transfer.Begin("not a url"));
    EXPECT_EQ(transfer.m_dwOpenError, ERROR_INTERNET_INVALID_URL);
    EXPECT_TRUE(transfer.Statuses().empty());

    EXPECT_EQ(InternetOpenW(L"anonymous", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(InternetOpenW(L"anonymous", INTERNET_OPEN_TYPE_PROXY, L"", nullptr, INTERNET_FLAG_ASYNC), nullptr);
    EXPECT_FALSE(InternetCloseHandle(reinterpret_cast<HINTERNET>(0x1234)));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    INTERNET_BUFFERSA record = {};
    EXPECT_FALSE(InternetReadFileExA(transfer.m_hOpen, &record, IRF_ASYNC, 0));
    EXPECT_EQ(GetLastError(), ERROR_INTERNET_INCORRECT_HANDLE_TYPE);
}

TEST(HttpLayerErrors, ARefusedConnectionCompletesTheRequestWithAnError)
{
    CTransfer transfer;
    ASSERT_TRUE(transfer.Begin("http://127.0.0.1:" + std::to_string(FreePort()) + "/"));
    EXPECT_FALSE(transfer.Complete());
    EXPECT_EQ(transfer.LastResult().dwError, ERROR_INTERNET_CANNOT_CONNECT);
    EXPECT_EQ(transfer.Statuses(), (std::vector<DWORD>{CREATED, RESOLVING, RESOLVED, CONNECTING, COMPLETE}));
    EXPECT_FALSE(transfer.Cancelled());
}

// The server ends the connection before its answer is complete: the layer says
// so with notice 51 and the read, or the request, fails.
TEST(HttpLayerErrors, AnAnswerCutShortIsReportedAsSuch)
{
    const std::string head = "HTTP/1.1 200 OK\r\nContent-Length: 5000\r\n\r\n";
    struct CASE
    {
        const char* pszName;
        CRawServer::SCRIPT script;
        bool bHeaders;
    } cases[] = {
        {"closed mid-body", [&](int fd) { CRawServer::ReadRequest(fd); CRawServer::Send(fd, head + std::string(1500, 'x')); shutdown(fd, SHUT_RDWR); }, true},
        {"reset mid-body", [&](int fd) { CRawServer::ReadRequest(fd); CRawServer::Send(fd, head + std::string(1500, 'x')); CRawServer::Reset(fd); }, true},
        {"closed before answering", [](int fd) { CRawServer::ReadRequest(fd); shutdown(fd, SHUT_RDWR); }, false},
    };
    for (const CASE& c : cases) {
        SCOPED_TRACE(c.pszName);
        CRawServer server(c.script);
        CTransfer transfer;
        ASSERT_TRUE(transfer.Begin(server.Url("/")));
        if (c.bHeaders) {
            ASSERT_TRUE(transfer.Complete());
            std::string body;
            EXPECT_FALSE(transfer.ReadAll(&body));
            EXPECT_LE(body.size(), 1500u);
        } else {
            EXPECT_FALSE(transfer.Complete());
        }
        EXPECT_TRUE(transfer.Saw(CONNECTION_CLOSED));
        EXPECT_TRUE(transfer.Saw(INTERNET_STATUS_CLOSING_CONNECTION));
        // A read after the failure keeps saying so.
        char buffer[1024];
        INTERNET_BUFFERSA record = {sizeof record, nullptr, nullptr, 0, 0, buffer, sizeof buffer, 0, 0, 0};
        EXPECT_FALSE(InternetReadFileExA(transfer.m_hRequest, &record, IRF_ASYNC, 0));
        EXPECT_TRUE(GetLastError() == ERROR_INTERNET_CONNECTION_ABORTED
                    || GetLastError() == ERROR_INTERNET_CONNECTION_RESET) << GetLastError();
        EXPECT_EQ(record.dwBufferLength, 0u);
    }
}

// Closing the request ends it at once in every phase: its last notice is 70 and
// no request-complete notice follows, although the server never answers and the
// layer's own limits are far away.
TEST(HttpLayerCancel, ClosingTheRequestAbortsItInEveryPhase)
{
    CTimeouts timeouts(600000, 600000);
    CBlackhole blackhole;
    CRawServer silent([](int fd) { CRawServer::ReadRequest(fd); CRawServer::Hold(fd); });
    CRawServer stalling([](int fd) {
        CRawServer::ReadRequest(fd);
        CRawServer::Send(fd, "HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n" + std::string(2000, 'x'));
        CRawServer::Hold(fd);
    });
    struct CASE
    {
        const char* pszName;
        std::string url;
        DWORD dwUntil;   // the notice after which the test closes
    } cases[] = {
        {"connecting", blackhole.Url("/"), CONNECTING},
        {"waiting for the answer", silent.Url("/"), SENT},
        {"receiving the body", stalling.Url("/"), COMPLETE},
    };
    for (const CASE& c : cases) {
        SCOPED_TRACE(c.pszName);
        CTransfer transfer;
        ASSERT_TRUE(transfer.Begin(c.url));
        if (c.dwUntil == COMPLETE) {
            ASSERT_TRUE(transfer.Complete());
            std::string body;
            char buffer[1024];
            INTERNET_BUFFERSA record = {sizeof record, nullptr, nullptr, 0, 0, buffer, sizeof buffer, 0, 0, 0};
            // Read until the layer has to wait for the server.
            while (InternetReadFileExA(transfer.m_hRequest, &record, IRF_ASYNC, 0))
                record.dwBufferLength = sizeof buffer;
            ASSERT_EQ(GetLastError(), ERROR_IO_PENDING);
        } else {
            while (!transfer.Saw(c.dwUntil))
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        size_t nBefore = transfer.Statuses().size();
        HINTERNET hRequest = transfer.m_hRequest;
        transfer.CloseRequest();
        std::vector<DWORD> statuses = transfer.Statuses();
        ASSERT_GT(statuses.size(), nBefore);
        EXPECT_EQ(statuses.back(), CLOSING);
        EXPECT_EQ(std::count(statuses.begin() + static_cast<std::ptrdiff_t>(nBefore), statuses.end(), COMPLETE), 0);
        EXPECT_FALSE(transfer.Saw(CONNECTION_CLOSED));
        EXPECT_FALSE(InternetCloseHandle(hRequest));
    }
}

TEST(HttpLayerCancel, ClosingTheOpenHandleClosesItsRequests)
{
    CRawServer silent([](int fd) { CRawServer::ReadRequest(fd); CRawServer::Hold(fd); });
    CTransfer transfer;
    ASSERT_TRUE(transfer.Begin(silent.Url("/")));
    HINTERNET hRequest = transfer.m_hRequest;
    ASSERT_TRUE(InternetCloseHandle(transfer.m_hOpen));
    std::vector<DWORD> statuses = transfer.Statuses();
    EXPECT_EQ(statuses.back(), CLOSING);
    EXPECT_FALSE(InternetCloseHandle(hRequest));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    transfer.m_hOpen = nullptr;
    transfer.m_hRequest = nullptr;
}

// The download code closes its handles and removes the callback from its own
// thread while the layer may be inside the callback; both wait for it to return.
TEST(HttpLayerCancel, CloseAndCallbackRemovalWaitForARunningCallback)
{
    static CGate* s_pInside;
    static CGate* s_pRelease;
    static std::atomic<int> s_nRunning;
    CGate inside;
    CGate release;
    s_pInside = &inside;
    s_pRelease = &release;
    s_nRunning = 0;
    CRawServer silent([](int fd) { CRawServer::ReadRequest(fd); CRawServer::Hold(fd); });

    HINTERNET hOpen = InternetOpenW(L"anonymous", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, INTERNET_FLAG_ASYNC);
    ASSERT_NE(hOpen, nullptr);
    InternetSetStatusCallbackW(hOpen, [](HINTERNET, DWORD_PTR, DWORD dwStatus, void*, DWORD) {
        ++s_nRunning;
        if (dwStatus == INTERNET_STATUS_REQUEST_SENT) {
            s_pInside->Open();
            s_pRelease->Wait();
        }
        --s_nRunning;
    });
    std::wstring url = CCodePage::Decode(silent.Url("/"));
    EXPECT_EQ(InternetOpenUrlW(hOpen, url.c_str(), nullptr, 0, INTERNET_FLAG_RELOAD, 1), nullptr);
    inside.Wait();

    std::atomic<bool> bRemoved{false};
    std::thread remover([&]() {
        InternetSetStatusCallbackW(hOpen, nullptr);
        bRemoved = s_nRunning == 0;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(bRemoved);   // still inside the callback
    release.Open();
    remover.join();
    EXPECT_TRUE(bRemoved);
    EXPECT_TRUE(InternetCloseHandle(hOpen));
}

// Callers may also close from inside the callback, on the layer's own thread:
// the request as soon as its answer's headers arrive, then the open handle
// once the request has gone.
TEST(HttpLayerCancel, HandlesCanBeClosedFromInsideTheCallback)
{
    static HANDLE s_hClosed;
    static HINTERNET s_hOpen;
    static std::vector<DWORD>* s_pStatuses;
    std::vector<DWORD> statuses;
    s_pStatuses = &statuses;
    s_hClosed = CreateEvent(false, false);
    CRawServer stalling([](int fd) {
        CRawServer::ReadRequest(fd);
        CRawServer::Send(fd, "HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n" + std::string(2000, 'x'));
        CRawServer::Hold(fd);
    });
    s_hOpen = InternetOpenW(L"anonymous", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, INTERNET_FLAG_ASYNC);
    ASSERT_NE(s_hOpen, nullptr);
    InternetSetStatusCallbackW(s_hOpen, [](HINTERNET hInternet, DWORD_PTR, DWORD dwStatus, void*, DWORD) {
        s_pStatuses->push_back(dwStatus);
        if (dwStatus == INTERNET_STATUS_RESPONSE_RECEIVED)
            InternetCloseHandle(hInternet);
        if (dwStatus == INTERNET_STATUS_HANDLE_CLOSING && hInternet != s_hOpen)
            InternetCloseHandle(s_hOpen);
        if (dwStatus == INTERNET_STATUS_HANDLE_CLOSING && hInternet == s_hOpen)
            SetEvent(s_hClosed);
    });
    std::wstring url = CCodePage::Decode(stalling.Url("/"));
    EXPECT_EQ(InternetOpenUrlW(s_hOpen, url.c_str(), nullptr, 0, INTERNET_FLAG_RELOAD, 1), nullptr);
    EXPECT_EQ(WaitForSingleObject(s_hClosed, INFINITE), WAIT_OBJECT_0);
    // The request never completed: its close came first; both handles are gone.
    EXPECT_EQ(std::count(statuses.begin(), statuses.end(), COMPLETE), 0);
    EXPECT_EQ(std::count(statuses.begin(), statuses.end(), CLOSING), 2);
    EXPECT_EQ(statuses.back(), CLOSING);
    EXPECT_FALSE(InternetCloseHandle(s_hOpen));
    CloseHandle(s_hClosed);
}

TEST(HttpLayerTimeouts, GivesUpOnAConnectionThatCannotBeMade)
{
    CTimeouts timeouts(200, 600000);
    CBlackhole blackhole;
    CTransfer transfer;
    ASSERT_TRUE(transfer.Begin(blackhole.Url("/")));
    EXPECT_FALSE(transfer.Complete());
    EXPECT_EQ(transfer.LastResult().dwError, ERROR_INTERNET_TIMEOUT);
    EXPECT_FALSE(transfer.Saw(CONNECTED));
}

TEST(HttpLayerTimeouts, GivesUpOnAServerThatSendsNothing)
{
    CTimeouts timeouts(600000, 300);
    CRawServer silent([](int fd) { CRawServer::ReadRequest(fd); CRawServer::Hold(fd); });
    CRawServer stalling([](int fd) {
        CRawServer::ReadRequest(fd);
        CRawServer::Send(fd, "HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n" + std::string(2000, 'x'));
        CRawServer::Hold(fd);
    });

    CTransfer waiting;
    ASSERT_TRUE(waiting.Begin(silent.Url("/")));
    EXPECT_FALSE(waiting.Complete());
    EXPECT_EQ(waiting.LastResult().dwError, ERROR_INTERNET_TIMEOUT);

    CTransfer receiving;
    ASSERT_TRUE(receiving.Request(stalling.Url("/")));
    std::string body;
    EXPECT_FALSE(receiving.ReadAll(&body));
    EXPECT_EQ(body.size(), 2000u);
    EXPECT_EQ(receiving.m_dwReadError, ERROR_INTERNET_TIMEOUT);
    EXPECT_FALSE(receiving.Saw(CONNECTION_CLOSED));
}

// A caller that reads slowly holds the server up instead of making the layer
// keep the whole answer in memory.
TEST(HttpLayerFlow, PausesTheTransferWhileTheCallerIsBehind)
{
    const size_t nSize = 48 * 1024 * 1024;
    std::atomic<size_t> nSent{0};
    CHttpServer server;
    server.m_server.Get("/huge", [&](const httplib::Request&, httplib::Response& res) {
        res.set_content_provider(nSize, "application/octet-stream",
                                 [&](size_t offset, size_t length, httplib::DataSink& sink) {
            static const std::string block(64 * 1024, 'z');
            size_t n = std::min(length, block.size());
            bool bOk = sink.write(block.data(), n);
            nSent = offset + n;
            return bOk;
        });
    });
    server.Start();
    CTransfer transfer;
    ASSERT_TRUE(transfer.Request(server.Url("/huge")));
    // Wait until the server is held up: what it has sent stops growing.
    size_t nLast = 0;
    do {
        nLast = nSent;
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    } while (nSent != nLast);
    EXPECT_LT(nLast, nSize / 2);
    std::string body;
    EXPECT_TRUE(transfer.ReadAll(&body));
    EXPECT_EQ(body.size(), nSize);
    EXPECT_EQ(body.find_first_not_of('z'), std::string::npos);
}

}
