#pragma once

#include <QString>

// "Port Error" texts for the failure numbers of a link.
QString portErrorText(int number);
