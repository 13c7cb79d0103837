#include "demo_clock.h"

#include <QEventLoop>
#include <QTimer>

void SystemClock::pause(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}
