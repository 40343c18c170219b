#pragma once
// The endpoints of the service, with the paths and parameters the desk uses.

#include "storage.h"

#include <string>

namespace httplib {
class Server;
}

namespace tpgservice {

struct RouteContext {
    Storage& storage;
    std::string base; // public base address, put inside QR codes
};

void registerRoutes(httplib::Server& server, RouteContext& context);

} // namespace tpgservice
