// Test hook: how many times deinit_projects() has run in this process.
#pragma once

namespace kvs_testing {
int deinitProjectsCalls();
}
