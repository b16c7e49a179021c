#include "backend.h"

#include "avrbackend.h"
#include "mcs51backend.h"
#include "pic16backend.h"

std::unique_ptr<Backend> Backend::make(const DeviceInfo &device)
{
    if (!device.runnable())
        return nullptr;
    if (device.family == QLatin1String("AVR"))
        return std::make_unique<AvrBackend>();
    if (device.family == QLatin1String("8051"))
        return std::make_unique<Mcs51Backend>();
    if (device.family == QLatin1String("PIC16"))
        return std::make_unique<Pic16Backend>();
    return nullptr;
}
