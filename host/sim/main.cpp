#include "acadhost/host_api.h"

int wmain(int argc, wchar_t** argv) { return acadhost::runSimulator(argc, argv); }
