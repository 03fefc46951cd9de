#include "instrument/LinkFactory.h"

#include "instrument/DemoInspection.h"
#include "instrument/LibusbLink.h"
#include "instrument/MemoryImage.h"
#include "instrument/SimulatedInstrument.h"

Result<std::unique_ptr<UsbLink>> LinkFactory::make(const Request& request) {
    SimulatedFaults faults;
    faults.delay = request.delay;
    switch (request.source) {
        case Source::Demo:
            return std::unique_ptr<UsbLink>(
                std::make_unique<SimulatedInstrument>(DemoInspection::image(), faults));
        case Source::Image: {
            Result<MemoryImage> image = MemoryImage::load(request.image);
            if (!image) return Error{image.message()};
            return std::unique_ptr<UsbLink>(
                std::make_unique<SimulatedInstrument>(image.value(), faults));
        }
        case Source::Usb:
            break;
    }
    return std::unique_ptr<UsbLink>(std::make_unique<LibusbLink>(request.usb));
}
