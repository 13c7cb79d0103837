#pragma once

// The window a window hands over to. The navigator makes it; the windows know only this value.
enum class NextWindow {
    Launcher,           // "talvex_main"
    Kd317PortSelection, // "PLEASE SELECT COMPORT", with the line settings and the command-set list
    Kd426PortSelection,
    Kd138PortSelection,
    CommandList,      // "ESC/poc command list"
    CodeTable,        // "CHARACTER CODE TABLE"
    InternationalSet, // "Internation Character Sets"
    FourLineDemo,     // "KD426-繁體"
    OneLineDemo,      // "KD138 DEMO"
};
