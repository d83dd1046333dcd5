// cirrovan-service: the local forecast service. See --help.

#include "service/ServiceProgram.h"

int main(int argc, char** argv)
{
    return CServiceProgram::Main(argc, argv, nullptr);
}
