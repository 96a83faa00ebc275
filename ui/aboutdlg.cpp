#include "ui/aboutdlg.h"

#include "permora_version.h"
#include "resources/templates/aboutdlg.h"
#include "ui/permoradlg.h"

AboutDlg::AboutDlg() : tk::Dialog(res::AboutDlg::Template()) {
    SetIcon(AppIcon());
    // The template's line carries the version; the words around it are translated here.
    SetText(res::AboutDlg::IDC_VERSION, tr("Vendra Storage Security Version %1")
                                            .arg(QStringLiteral(PERMORA_VERSION))
                                            .toStdString());
}

AboutDlg::~AboutDlg() = default;
