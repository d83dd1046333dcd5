#pragma once

#include <string>

class CForecastServer;

// The service as a program of its own: its command line, the lines it
// prints, serving until SIGINT or SIGTERM.
class CServiceProgram
{
public:
    // What a program built on the service adds to it.
    class Extension
    {
    public:
        virtual ~Extension() = default;
        // Takes an option of its own as CServiceOptions::OtherOption does.
        virtual bool TakeOption(int argc, char** argv, int& i, std::string& strError) = 0;
        // Follows the service's --help.
        virtual std::string HelpText() const = 0;
        // Before the server serves.
        virtual void Attach(CForecastServer& server) = 0;
        // Ends the extension's own waits; the server stops next.
        virtual void Stop() = 0;
        // Follows the count of places on the first line on stderr.
        virtual std::string StartNote() const = 0;
        // Follows the warning that the service listens beyond loopback.
        virtual std::string RemoteNote() const = 0;
    };

    // The process's exit code: 0 after a clean stop, 1 when it could not
    // serve, 2 for a bad command line.
    static int Main(int argc, char** argv, Extension* pExtension);
};
