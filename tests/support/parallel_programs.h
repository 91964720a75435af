#pragma once

#include <functional>
#include <vector>

#ifdef _WIN32
#include <atomic>
#include <thread>
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace qd::test {

// Runs `work(program)` in `programs` processes at once, as that many copies of the tool would; true when
// every one of them reported success. Windows has no fork: there each runs in a thread of its own, which
// contends for files and their update turns as a process would.
inline bool AllSucceedAtOnce(int programs, const std::function<bool(int program)>& work) {
#ifdef _WIN32
  std::atomic<bool> succeeded{true};
  std::vector<std::thread> threads;
  for (int p = 0; p < programs; ++p)
    threads.emplace_back([&, p] {
      if (!work(p)) succeeded = false;
    });
  for (std::thread& thread : threads)
    thread.join();
  return succeeded;
#else
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
#endif
}

}  // namespace qd::test
