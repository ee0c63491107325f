// The id of a process that has ended, for the temporaries a killed run
// leaves behind.
#pragma once

#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quilmor::testing {

// A child that exits at once and has been reaped: -1 when fork fails.
inline pid_t EndedProcessId() {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  if (child > 0) ::waitpid(child, nullptr, 0);
  return child;
}

}  // namespace quilmor::testing
