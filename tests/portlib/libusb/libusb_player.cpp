// Plays libusb-0.1.so.4: a bus and device list laid out by the test, and
// the calls of the libusb ports recorded with their arguments.
//
// The layout is a text of words, read at usb_find_devices: "bus" starts a
// bus; "device VVVV PPPP" a device on it; "config" a configuration of the
// device; "interface" an interface of the configuration; "alt CC PP" an
// alternate setting of the interface with class CC and protocol PP;
// "ep AA TT" an endpoint of the setting with address AA and attributes TT
// (all numbers hex). It comes from PlayerUsbLayout, else from the
// environment's DOVA_PLAYER_USB (for prnfeed).
//
// Scripted keys: usb_open (0: the open fails), usb_set_configuration,
// usb_claim_interface, usb_get_driver_np (0: "usblp" holds the interface;
// default -61, no driver), usb_bulk_write (default all offered, never more),
// usb_bulk_read (default the bytes handed out of the read data, or -110
// after the call's time-out when none came).
#include "player.h"

#include <cstdlib>
#include <cstring>
#include <list>
#include <mutex>
#include <sstream>
#include <vector>

#pragma GCC visibility push(default)
#include "backends/libusb/libusb0_library.h"
extern "C" void PlayerUsbLayout(const char* text);
#pragma GCC visibility pop

using namespace player;

namespace {

struct Alt {
    int cls = 0, protocol = 0;
    std::vector<std::pair<int, int>> endpoints;
};
struct Interface {
    std::vector<Alt> alts;
};
struct Config {
    std::vector<Interface> interfaces;
};
struct Device {
    int vendor = 0, product = 0;
    std::vector<Config> configs;
};
using Layout = std::vector<std::vector<Device>>;

Layout parse(const std::string& text) {
    Layout layout;
    std::istringstream in(text);
    std::string word;
    auto hex = [&in] {
        std::string w;
        in >> w;
        return int(std::strtol(w.c_str(), nullptr, 16));
    };
    while (in >> word) {
        if (word == "bus") {
            layout.emplace_back();
        } else if (word == "device") {
            Device d;
            d.vendor = hex();
            d.product = hex();
            layout.back().push_back(d);
        } else if (word == "config") {
            layout.back().back().configs.emplace_back();
        } else if (word == "interface") {
            layout.back().back().configs.back().interfaces.emplace_back();
        } else if (word == "alt") {
            Alt a;
            a.cls = hex();
            a.protocol = hex();
            layout.back().back().configs.back().interfaces.back().alts.push_back(a);
        } else if (word == "ep") {
            int address = hex();
            int attributes = hex();
            layout.back()
                .back()
                .configs.back()
                .interfaces.back()
                .alts.back()
                .endpoints.emplace_back(address, attributes);
        }
    }
    return layout;
}

// The records handed out, kept at fixed addresses until the next layout.
struct Records {
    std::list<std::vector<usb_bus>> buses;
    std::list<std::vector<usb_device>> devices;
    std::list<std::vector<usb_config_descriptor>> configs;
    std::list<std::vector<usb_interface>> interfaces;
    std::list<std::vector<usb_interface_descriptor>> alts;
    std::list<std::vector<usb_endpoint_descriptor>> endpoints;
    usb_bus* first = nullptr;
};

std::mutex layoutMutex;
std::string layoutText;
bool layoutGiven = false;
Records records;

template <class T> T* store(std::list<std::vector<T>>& where, size_t n) {
    where.emplace_back(n);
    return n ? where.back().data() : nullptr;
}

void materialise(const Layout& layout) {
    records = Records{};
    usb_bus* buses = store(records.buses, layout.size());
    for (size_t b = 0; b < layout.size(); ++b) {
        usb_bus& bus = buses[b];
        std::snprintf(bus.dirname, sizeof bus.dirname, "%03zu", b + 1);
        bus.next = b + 1 < layout.size() ? &buses[b + 1] : nullptr;
        bus.prev = b ? &buses[b - 1] : nullptr;
        const auto& devs = layout[b];
        usb_device* devices = store(records.devices, devs.size());
        bus.devices = devices;
        for (size_t d = 0; d < devs.size(); ++d) {
            usb_device& dev = devices[d];
            std::snprintf(dev.filename, sizeof dev.filename, "%03zu", d + 1);
            dev.next = d + 1 < devs.size() ? &devices[d + 1] : nullptr;
            dev.prev = d ? &devices[d - 1] : nullptr;
            dev.bus = &bus;
            dev.devnum = uint8_t(d + 1);
            dev.descriptor.idVendor = uint16_t(devs[d].vendor);
            dev.descriptor.idProduct = uint16_t(devs[d].product);
            dev.descriptor.bNumConfigurations = uint8_t(devs[d].configs.size());
            dev.config = store(records.configs, devs[d].configs.size());
            for (size_t c = 0; c < devs[d].configs.size(); ++c) {
                const Config& config = devs[d].configs[c];
                usb_config_descriptor& cd = dev.config[c];
                cd.bConfigurationValue = uint8_t(c + 1);
                cd.bNumInterfaces = uint8_t(config.interfaces.size());
                cd.interface = store(records.interfaces, config.interfaces.size());
                for (size_t i = 0; i < config.interfaces.size(); ++i) {
                    const Interface& interface = config.interfaces[i];
                    usb_interface& id = cd.interface[i];
                    id.num_altsetting = int(interface.alts.size());
                    id.altsetting = store(records.alts, interface.alts.size());
                    for (size_t a = 0; a < interface.alts.size(); ++a) {
                        const Alt& alt = interface.alts[a];
                        usb_interface_descriptor& ad = id.altsetting[a];
                        ad.bInterfaceNumber = uint8_t(i);
                        ad.bAlternateSetting = uint8_t(a);
                        ad.bInterfaceClass = uint8_t(alt.cls);
                        ad.bInterfaceProtocol = uint8_t(alt.protocol);
                        ad.bNumEndpoints = uint8_t(alt.endpoints.size());
                        ad.endpoint = store(records.endpoints, alt.endpoints.size());
                        for (size_t e = 0; e < alt.endpoints.size(); ++e) {
                            ad.endpoint[e].bEndpointAddress = uint8_t(alt.endpoints[e].first);
                            ad.endpoint[e].bmAttributes = uint8_t(alt.endpoints[e].second);
                        }
                    }
                }
            }
        }
    }
    records.first = layout.empty() ? nullptr : buses;
}

// The one device handle the player hands out: its address is all a port sees.
struct OpenDevice {
    usb_device* device;
};
OpenDevice openDevice{nullptr};

std::string handleText(usb_dev_handle* h) {
    return h == reinterpret_cast<usb_dev_handle*>(&openDevice) ? "h" : "?";
}

} // namespace

void PlayerUsbLayout(const char* text) {
    std::lock_guard lock(layoutMutex);
    layoutText = text ? text : "";
    layoutGiven = true;
}

void usb_init(void) {
    record("usb_init()");
}

int usb_find_busses(void) {
    record("usb_find_busses()");
    return int(result("usb_find_busses", 0));
}

int usb_find_devices(void) {
    record("usb_find_devices()");
    std::lock_guard lock(layoutMutex);
    if (!layoutGiven) {
        const char* env = std::getenv("DOVA_PLAYER_USB");
        layoutText = env ? env : "";
    }
    materialise(parse(layoutText));
    return int(result("usb_find_devices", 0));
}

usb_bus* usb_get_busses(void) {
    record("usb_get_busses()");
    std::lock_guard lock(layoutMutex);
    return records.first;
}

usb_dev_handle* usb_open(usb_device* dev) {
    record("usb_open(" + std::string(dev->bus->dirname) + "/" + dev->filename + ")");
    if (!result("usb_open", 1)) return nullptr;
    openDevice.device = dev;
    return reinterpret_cast<usb_dev_handle*>(&openDevice);
}

int usb_close(usb_dev_handle* h) {
    record("usb_close(" + handleText(h) + ")");
    return int(result("usb_close", 0));
}

#ifndef PLAYER_OPENERS_ONLY
int usb_set_configuration(usb_dev_handle* h, int configuration) {
    record("usb_set_configuration(" + handleText(h) + ", " + num(configuration) + ")");
    return int(result("usb_set_configuration", 0));
}

int usb_claim_interface(usb_dev_handle* h, int interface) {
    record("usb_claim_interface(" + handleText(h) + ", " + num(interface) + ")");
    return int(result("usb_claim_interface", 0));
}

int usb_release_interface(usb_dev_handle* h, int interface) {
    record("usb_release_interface(" + handleText(h) + ", " + num(interface) + ")");
    return int(result("usb_release_interface", 0));
}

int usb_get_driver_np(usb_dev_handle* h, int interface, char* name, unsigned int namelen) {
    record("usb_get_driver_np(" + handleText(h) + ", " + num(interface) + ")");
    int r = int(result("usb_get_driver_np", -61));
    if (r == 0 && namelen > 5) std::strcpy(name, "usblp");
    return r;
}

int usb_bulk_write(usb_dev_handle* h, int ep, const char* bytes, int size, int timeout) {
    record("usb_bulk_write(" + handleText(h) + ", " + num(ep) + ", " + num(size) + ", " +
           num(timeout) + ")");
    int taken = int(result("usb_bulk_write", size));
    if (taken > size) taken = size;
    if (taken > 0) took(bytes, size_t(taken));
    return taken;
}

int usb_bulk_read(usb_dev_handle* h, int ep, char* bytes, int size, int timeout) {
    record("usb_bulk_read(" + handleText(h) + ", " + num(ep) + ", " + num(size) + ", " +
           num(timeout) + ")");
    int got = int(giveWithin(bytes, size_t(size), timeout));
    return int(result("usb_bulk_read", got > 0 ? got : -110));
}
#endif
