// Included by the two layout files, after the header each compares.
#define LAYOUT_FIELD(record, field)                                                                \
    offsetof(struct record, field), sizeof(((struct record*)0)->field)
#define LAYOUT_LIST                                                                                \
    sizeof(struct usb_endpoint_descriptor), LAYOUT_FIELD(usb_endpoint_descriptor, wMaxPacketSize), \
        LAYOUT_FIELD(usb_endpoint_descriptor, bEndpointAddress),                                   \
        LAYOUT_FIELD(usb_endpoint_descriptor, bmAttributes),                                       \
        LAYOUT_FIELD(usb_endpoint_descriptor, extra),                                              \
        LAYOUT_FIELD(usb_endpoint_descriptor, extralen), sizeof(struct usb_interface_descriptor),  \
        LAYOUT_FIELD(usb_interface_descriptor, bInterfaceNumber),                                  \
        LAYOUT_FIELD(usb_interface_descriptor, bNumEndpoints),                                     \
        LAYOUT_FIELD(usb_interface_descriptor, bInterfaceClass),                                   \
        LAYOUT_FIELD(usb_interface_descriptor, bInterfaceProtocol),                                \
        LAYOUT_FIELD(usb_interface_descriptor, endpoint), sizeof(struct usb_interface),            \
        LAYOUT_FIELD(usb_interface, altsetting), LAYOUT_FIELD(usb_interface, num_altsetting),      \
        sizeof(struct usb_config_descriptor), LAYOUT_FIELD(usb_config_descriptor, bNumInterfaces), \
        LAYOUT_FIELD(usb_config_descriptor, bConfigurationValue),                                  \
        LAYOUT_FIELD(usb_config_descriptor, interface), sizeof(struct usb_device_descriptor),      \
        LAYOUT_FIELD(usb_device_descriptor, idVendor),                                             \
        LAYOUT_FIELD(usb_device_descriptor, idProduct),                                            \
        LAYOUT_FIELD(usb_device_descriptor, bNumConfigurations), sizeof(struct usb_device),        \
        LAYOUT_FIELD(usb_device, next), LAYOUT_FIELD(usb_device, filename),                        \
        LAYOUT_FIELD(usb_device, bus), LAYOUT_FIELD(usb_device, descriptor),                       \
        LAYOUT_FIELD(usb_device, config), LAYOUT_FIELD(usb_device, devnum),                        \
        LAYOUT_FIELD(usb_device, children), sizeof(struct usb_bus), LAYOUT_FIELD(usb_bus, next),   \
        LAYOUT_FIELD(usb_bus, dirname), LAYOUT_FIELD(usb_bus, devices),                            \
        LAYOUT_FIELD(usb_bus, location), LAYOUT_FIELD(usb_bus, root_dev)
