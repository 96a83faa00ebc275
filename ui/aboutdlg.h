#pragma once

#include "ui/toolkit/window.h"

// The About box: name, version and a short notice, with the application icon.
class AboutDlg : public tk::Dialog {
public:
    AboutDlg();
    ~AboutDlg() override;
};
