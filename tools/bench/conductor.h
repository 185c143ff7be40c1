// The bench as `make bench` runs it: one measuring process per size, one
// more under callgrind, then the table on standard output and in a file.
#pragma once

#include "options.h"

// Exit status: 0 when every measuring process finished.
int conductBench(const BenchOptions& options);
