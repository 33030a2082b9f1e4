#pragma once

#include <functional>

namespace testuser {

// Runs `work` in a child process as the unprivileged user "nobody" when the tests run as
// root, so that the permission checks root skips apply to it; otherwise runs it here.
// Returns what `work` returned (false when the child could not become that user).
bool RunAsNormalUser(const std::function<bool()>& work);

}  // namespace testuser
