#pragma once

#include "ui/toolkit/window.h"

#include <QCoreApplication>

// The About box: name, version and a short notice, with the application icon.
class AboutDlg : public tk::Dialog {
    Q_DECLARE_TR_FUNCTIONS(AboutDlg)

public:
    AboutDlg();
    ~AboutDlg() override;
};
