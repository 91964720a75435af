#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <vector>

namespace qd::test {

// Runs `work(program)` in `programs` processes at once, as that many copies of the tool would; true when
// every one of them reported success.
inline bool AllSucceedAtOnce(int programs, const std::function<bool(int program)>& work) {
  std::vector<pid_t> children;
  for (int p = 0; p < programs; ++p) {
    const pid_t child = fork();
    if (child == 0) _exit(work(p) ? 0 : 1);
    children.push_back(child);
  }
  bool succeeded = true;
  for (const pid_t child : children) {
    int status = 0;
    waitpid(child, &status, 0);
    succeeded = succeeded && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  }
  return succeeded;
}

}  // namespace qd::test
