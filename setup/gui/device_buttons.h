#pragma once

#include <QHash>
#include <QList>
#include <QPointer>

class QAbstractButton;
class QAbstractSlider;
class QWidget;

// The window's device controls. A control is enabled when its own condition allows it (a file
// exists, ...) and no device operation runs, so no second operation can interleave its frames.
// Pages set the condition through setAllowed() instead of enabling the control themselves.
class DeviceButtons
{
public:
    void add(QWidget* control, bool allowed = true);
    void setAllowed(QWidget* control, bool allowed);
    bool allowed(QWidget* control) const;
    void setLocked(bool locked);
    bool locked() const { return locked_; }

private:
    void apply(QWidget* control);
    QList<QPointer<QWidget>> controls_;
    QHash<QWidget*, bool> allowed_;
    bool locked_ = false;
};
