#pragma once

// The application object: shows the main window modally and lets the
// process end when it closes.
class CAlignmentApp {
public:
    // False: there is no message loop to enter once the window has closed.
    bool InitInstance();
};

extern CAlignmentApp theApp;
