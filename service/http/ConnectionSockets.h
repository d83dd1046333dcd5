#pragma once

namespace httplib {
struct Request;
}

// The sockets of the service's open connections. The HTTP library keeps them
// to itself, but a connection is known by its two ends, and the process's
// descriptors can be asked for theirs.
class CConnectionSockets
{
public:
    // The socket of the request's connection, which stays open until its
    // handler returns; -1 if not found.
    static int Of(const httplib::Request& req);
    // Shuts down every connection accepted on that local port, so that
    // threads waiting on idle keep-alive connections end at once.
    static void ShutdownAll(int nLocalPort);
};
