#pragma once

#include <chrono>
#include <filesystem>
#include <memory>

#include "instrument/UsbId.h"
#include "instrument/UsbLink.h"
#include "model/Result.h"

// Turns the user's choice of instrument into a link, for the program and the command-line
// tool alike: the interface chip on USB, or an instrument simulated in process that holds the
// built-in demo inspection or a memory image file.
class LinkFactory {
public:
    enum class Source { Usb, Demo, Image };

    struct Request {
        Source source = Source::Usb;
        UsbId usb;                    // Source::Usb
        std::filesystem::path image;  // Source::Image
        // Simulated instruments only: a pause before every reply block, as on the device.
        std::chrono::microseconds delay{0};
    };

    // Fails only when the image file cannot be loaded, with the loader's message. A USB link
    // is made without looking for the device; opening it tells whether one is there.
    static Result<std::unique_ptr<UsbLink>> make(const Request& request);
};
