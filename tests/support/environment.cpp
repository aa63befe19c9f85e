// SPDX-License-Identifier: MIT
#include "tests/support/environment.h"

#include <cstdlib>

namespace reelcraft::test {

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
