// cirrovan-service-faults: the forecast service with the faults and control
// endpoints of the tests. Never installed. See --help.

#include "service/ServiceProgram.h"
#include "service/testing/FaultControl.h"

int main(int argc, char** argv)
{
    CFaultControl control;
    return CServiceProgram::Main(argc, argv, &control);
}
