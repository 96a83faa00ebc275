#include "ui/aboutdlg.h"

#include "resources/templates/aboutdlg.h"
#include "ui/permoradlg.h"

AboutDlg::AboutDlg() : tk::Dialog(res::AboutDlg::Template()) {
    SetIcon(AppIcon());
}

AboutDlg::~AboutDlg() {
    DetachHandlers();
}
