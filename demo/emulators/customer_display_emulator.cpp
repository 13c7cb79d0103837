#include "demo/emulators/customer_display_emulator.h"

CustomerDisplayEmulator::CustomerDisplayEmulator(const Pacer& clock)
    : clock_(clock), kd317_(clock, log_), kd426_(clock, log_), kd138_(log_)
{
}

bool CustomerDisplayEmulator::claimLine()
{
    bool free = false;
    return connected_.compare_exchange_strong(free, true);
}

void CustomerDisplayEmulator::connectLine(DisplayProduct model, const LineSettings& settings)
{
    model_ = model;
    if (model == DisplayProduct::KD317) {
        kd317_.setLineSettings(settings);
    }
    emit lineConnected(model);
}

void CustomerDisplayEmulator::disconnectLine()
{
    connected_ = false;
}

void CustomerDisplayEmulator::write(const QByteArray& bytes)
{
    switch (model_) {
    case DisplayProduct::KD317:
        kd317_.feed(bytes);
        break;
    case DisplayProduct::KD426:
        kd426_.feed(bytes);
        break;
    case DisplayProduct::KD138:
        kd138_.feed(bytes);
        break;
    }
    emit changed();
}

VfdFrame CustomerDisplayEmulator::frame()
{
    switch (model_) {
    case DisplayProduct::KD426:
        return kd426_.frame();
    case DisplayProduct::KD138:
        return kd138_.frame();
    case DisplayProduct::KD317:
        break;
    }
    return kd317_.frame();
}

void CustomerDisplayEmulator::powerCycle()
{
    switch (model_) {
    case DisplayProduct::KD317:
        kd317_.initialize();
        break;
    case DisplayProduct::KD426:
        kd426_.powerOn();
        break;
    case DisplayProduct::KD138:
        kd138_.powerOn();
        break;
    }
    emit changed();
}
