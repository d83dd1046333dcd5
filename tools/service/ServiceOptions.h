#pragma once

#include "tools/service/FaultInjector.h"

#include <string>

// The service's command line.
class CServiceOptions
{
public:
    static constexpr int DEFAULT_PORT = 8470;   // the program's default host is localhost:8470

    // False with a reason for an unknown option or a bad value.
    bool Parse(int argc, char** argv, std::string& strError);
    static std::string HelpText();
    // Enough threads that every keep-alive client keeps one.
    static int DefaultThreads();

    int m_nPort = DEFAULT_PORT;
    std::string m_strHost = "127.0.0.1";
    int m_nThreads = DefaultThreads();
    CFaultInjector::Fault m_fault;   // kind NONE: none
    bool m_bVerbose = false;
    bool m_bHelp = false;
};
