// TEMPORARY STAND-IN, to be replaced by the registered-projects implementation: it lets the
// module link and counts deinit_projects() calls for the tests. It switches nothing.
#include "commands/project_list.h"
#include "commands/project_list_testing.h"

namespace {
int deinitCalls = 0;
}

int kvs_testing::deinitProjectsCalls() { return deinitCalls; }

std::wstring read_projects() { return std::wstring(); }
void write_projects(const std::wstring&) {}
void init_projects() {}
void deinit_projects() { ++deinitCalls; }
