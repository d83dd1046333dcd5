#pragma once

#include "service/ServiceProgram.h"
#include "service/testing/FaultInjector.h"
#include "service/testing/RequestCounter.h"

#include <string>

class CHttpAnswer;
class CHttpRequest;

// The service as the tests drive it: every answer may be made to go wrong
// (--fault, or per request through the control endpoints), and the control
// endpoints tell which requests arrived.
//
//   POST   /control/fault?kind=K[:A]&count=N&path=P   arm a fault
//   DELETE /control/fault                  drop the armed faults
//   GET    /control/requests[?path=P]      requests so far per kind
//   POST   /control/reset                  drop armed faults and counts
//
// The control endpoints change every answer, so they exist only with
// --control, and then only for callers on this machine that are not a web
// page: a request with an Origin, a form's content type or a Host that is
// not loopback is refused, as a browser would send for a page that tries.
class CFaultControl : public CServiceProgram::Extension
{
public:
    bool TakeOption(int argc, char** argv, int& i, std::string& strError) override;
    std::string HelpText() const override;
    void Attach(CForecastServer& server) override;
    void Stop() override;
    std::string StartNote() const override;
    std::string RemoteNote() const override;

private:
    void Handle(CForecastServer& server, const CHttpRequest& req, CHttpAnswer& answer);
    void Count(const CHttpRequest& req, const CHttpAnswer& answer);
    void Control(const CHttpRequest& req, CHttpAnswer& answer);
    void ArmFault(const CHttpRequest& req, CHttpAnswer& answer);

    bool m_bControl = false;
    CFaultInjector::Fault m_standing;   // kind NONE: none
    CFaultInjector m_faults;
    CRequestCounter m_requests;
};
