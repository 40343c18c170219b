// Files that an installer put in place and registered under a component id,
// so that a program finds them wherever the installation went.
#pragma once

#include <string>

namespace os {

// The installed path of the component ("{4B9E2D70-...}"), or "" when none
// is installed. POSIX systems have no installer registry: the path is the
// one the configuration's [libraries] section gives under the component id.
std::string installedComponentPath(const char* componentId);

} // namespace os
