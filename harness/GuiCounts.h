#pragma once

#include <cstddef>

// What this process holds of the system's GUI objects, for leak checks.
//
// Wine's GetGuiResources answers 0 for everything, so GDI objects are
// counted in the GDI handle table itself (the table the process
// environment block points at, as on Windows), and USER objects as the
// windows the process owns, which is what a leak of the launcher's would
// show up as.
struct GuiCounts
{
    int gdiObjects;
    int windows;
    unsigned long handles; // kernel objects
    size_t workingSet;     // bytes

    static GuiCounts Now();
};
