// SPDX-License-Identifier: MIT
#include "tests/support/environment.h"

#include <cstdlib>

namespace reelcraft::test {

#ifdef _WIN32
// The C runtime's own calls, which also set the variable for the system's calls and children;
// an empty value removes it.
static void setenv(const char *name, const char *value, int) { _putenv_s(name, value); }
static void unsetenv(const char *name) { _putenv_s(name, ""); }
#endif

ScopedEnvironment::ScopedEnvironment(std::string name, const std::optional<std::string> &value)
    : name_(std::move(name)) {
  if (const char *previous = std::getenv(name_.c_str()))
    previous_ = previous;
  if (value)
    setenv(name_.c_str(), value->c_str(), 1);
  else
    unsetenv(name_.c_str());
}

ScopedEnvironment::~ScopedEnvironment() {
  if (previous_)
    setenv(name_.c_str(), previous_->c_str(), 1);
  else
    unsetenv(name_.c_str());
}

} // namespace reelcraft::test
