#include "service_options.h"

#include <charconv>
#include <stdexcept>

namespace tpgservice {

ServiceOptions parseOptions(const std::vector<std::string>& args) {
    ServiceOptions options;
    bool haveData = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size()) throw std::invalid_argument(arg + " needs a value");
            return args[++i];
        };
        if (arg == "--data") {
            options.data = value();
            haveData = true;
        } else if (arg == "--host") {
            options.host = value();
        } else if (arg == "--port") {
            const std::string& text = value();
            int port = -1;
            auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), port);
            if (ec != std::errc() || end != text.data() + text.size() || port < 0 || port > 65535) {
                throw std::invalid_argument("--port must be a number from 0 to 65535");
            }
            options.port = port;
        } else if (arg == "--cert") {
            options.cert = value();
        } else if (arg == "--key") {
            options.key = value();
        } else if (arg == "--base") {
            options.base = value();
            while (!options.base.empty() && options.base.back() == '/')
                options.base.pop_back();
            if (options.base.empty()) throw std::invalid_argument("--base must not be empty");
        } else {
            throw std::invalid_argument("unknown option " + arg);
        }
    }
    if (!haveData || options.data.empty()) throw std::invalid_argument("--data DIR is required");
    if (options.host.empty()) throw std::invalid_argument("--host must not be empty");
    if (options.cert.empty() != options.key.empty()) {
        throw std::invalid_argument("--cert and --key go together");
    }
    return options;
}

} // namespace tpgservice
