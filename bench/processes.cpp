// Programs in processes of their own, for the benchmarks.
#include "processes.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace mcxml_bench {

Started Start(std::vector<std::string> args, int in) {
  Started started{fork(), std::chrono::steady_clock::now()};
  if (started.pid != 0) return started;
  const int devNull = open("/dev/null", O_RDWR);
  dup2(in >= 0 ? in : devNull, STDIN_FILENO);
  dup2(devNull, STDOUT_FILENO);
  // Nothing else of the parent's: a pipe's end left open here would never end.
  for (int fd = STDERR_FILENO + 1; fd < 1024; ++fd) close(fd);
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  execv(argv[0], argv.data());
  _exit(127);
}

Measured Wait(const Started& started) {
  int status = 0;
  rusage usage{};
  Measured measured;
  if (started.pid < 0 || wait4(started.pid, &status, 0, &usage) != started.pid) return measured;
  const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - started.at;
  const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
  measured.cpuSeconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
  measured.wallSeconds = wall.count();
  measured.peakMiB = usage.ru_maxrss / 1024;
  measured.ok = WIFEXITED(status) && WEXITSTATUS(status) <= 1;
  return measured;
}

Measured Run(const std::vector<std::string>& args) {
  return Wait(Start(args));
}

}  // namespace mcxml_bench
