// prnfeed as a child process of an end-to-end test, with a bound.
#pragma once

#include <string>
#include <vector>

namespace e2e_test {

// Runs prnfeed with the arguments and this process's environment, its input
// empty, its errors discarded and its output in stdoutPath (discarded when
// empty). The exit code, or -1 when it did not start, ended by a signal or
// had to be killed after limitSeconds.
int runPrnfeedChild(const char* prnfeed, const std::vector<std::string>& args,
                    const std::string& stdoutPath = {}, int limitSeconds = 60);

} // namespace e2e_test
