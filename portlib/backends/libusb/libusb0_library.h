/* The libusb 0.1 programming interface the libusb ports load at run time
 * (libusb-0.1.so.4; libusb0.dll on Windows): the descriptor records of its
 * bus and device lists and the functions the ports call, as its public
 * header declares them on Linux. The records are read from memory the
 * library owns, so their layout must stay exactly that of the library.
 */
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* PATH_MAX + 1 on Linux: the size of the file name fields below. */
#define LIBUSB0_PATH_MAX 4097

struct usb_endpoint_descriptor {
    uint8_t bLength;
    uint8_t bDescriptorType;
    uint8_t bEndpointAddress;
    uint8_t bmAttributes;
    uint16_t wMaxPacketSize;
    uint8_t bInterval;
    uint8_t bRefresh;
    uint8_t bSynchAddress;
    unsigned char* extra;
    int extralen;
};

struct usb_interface_descriptor {
    uint8_t bLength;
    uint8_t bDescriptorType;
    uint8_t bInterfaceNumber;
    uint8_t bAlternateSetting;
    uint8_t bNumEndpoints;
    uint8_t bInterfaceClass;
    uint8_t bInterfaceSubClass;
    uint8_t bInterfaceProtocol;
    uint8_t iInterface;
    struct usb_endpoint_descriptor* endpoint;
    unsigned char* extra;
    int extralen;
};

struct usb_interface {
    struct usb_interface_descriptor* altsetting;
    int num_altsetting;
};

struct usb_config_descriptor {
    uint8_t bLength;
    uint8_t bDescriptorType;
    uint16_t wTotalLength;
    uint8_t bNumInterfaces;
    uint8_t bConfigurationValue;
    uint8_t iConfiguration;
    uint8_t bmAttributes;
    uint8_t MaxPower;
    struct usb_interface* interface;
    unsigned char* extra;
    int extralen;
};

struct usb_device_descriptor {
    uint8_t bLength;
    uint8_t bDescriptorType;
    uint16_t bcdUSB;
    uint8_t bDeviceClass;
    uint8_t bDeviceSubClass;
    uint8_t bDeviceProtocol;
    uint8_t bMaxPacketSize0;
    uint16_t idVendor;
    uint16_t idProduct;
    uint16_t bcdDevice;
    uint8_t iManufacturer;
    uint8_t iProduct;
    uint8_t iSerialNumber;
    uint8_t bNumConfigurations;
};

struct usb_bus;

struct usb_device {
    struct usb_device* next;
    struct usb_device* prev;
    char filename[LIBUSB0_PATH_MAX];
    struct usb_bus* bus;
    struct usb_device_descriptor descriptor;
    struct usb_config_descriptor* config;
    void* dev;
    uint8_t devnum;
    unsigned char num_children;
    struct usb_device** children;
};

struct usb_bus {
    struct usb_bus* next;
    struct usb_bus* prev;
    char dirname[LIBUSB0_PATH_MAX];
    struct usb_device* devices;
    uint32_t location;
    struct usb_device* root_dev;
};

/* Opaque: the library's handle of an open device. */
typedef struct usb_dev_handle usb_dev_handle;

void usb_init(void);
int usb_find_busses(void);
int usb_find_devices(void);
struct usb_bus* usb_get_busses(void);

usb_dev_handle* usb_open(struct usb_device* dev);
int usb_close(usb_dev_handle* dev);
int usb_set_configuration(usb_dev_handle* dev, int configuration);
int usb_claim_interface(usb_dev_handle* dev, int interface);
int usb_release_interface(usb_dev_handle* dev, int interface);

int usb_bulk_write(usb_dev_handle* dev, int ep, const char* bytes, int size, int timeout);
int usb_bulk_read(usb_dev_handle* dev, int ep, char* bytes, int size, int timeout);

/* Linux only: the name of the kernel driver bound to an interface ("usblp"). */
int usb_get_driver_np(usb_dev_handle* dev, int interface, char* name, unsigned int namelen);

#ifdef __cplusplus
}
#endif
