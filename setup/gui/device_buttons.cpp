#include "setup/gui/device_buttons.h"

#include <QWidget>

void DeviceButtons::add(QWidget* control, bool allowed)
{
    controls_.append(control);
    allowed_.insert(control, allowed);
    apply(control);
}

void DeviceButtons::setAllowed(QWidget* control, bool allowed)
{
    allowed_.insert(control, allowed);
    apply(control);
}

bool DeviceButtons::allowed(QWidget* control) const
{
    return allowed_.value(control, true);
}

void DeviceButtons::setLocked(bool locked)
{
    locked_ = locked;
    for (const QPointer<QWidget>& control : controls_)
        if (control)
            apply(control);
}

void DeviceButtons::apply(QWidget* control)
{
    control->setEnabled(allowed_.value(control, true) && !locked_);
}
