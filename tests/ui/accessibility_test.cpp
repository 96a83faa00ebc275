// What a screen reader says for each control of every window: a name of its own, in words,
// without access-key marks, and no two controls of a window with the same name.

#include "model/target.h"
#include "resources/templates/permoradlg.h"
#include "ui/aboutdlg.h"
#include "ui/addfiledlg.h"
#include "ui/addpathsdlg.h"
#include "ui/auditingproppage.h"
#include "ui/effectiveaccesspage.h"
#include "ui/inputntaccountdlg.h"
#include "ui/objectauditproppage.h"
#include "ui/objectpermproppage.h"
#include "ui/permissionproppage.h"
#include "ui/permoradlg.h"
#include "ui/replaceaccountdlg.h"
#include "ui/securityproppage.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>

namespace {

using namespace res::PermoraDlg;

bool HasLetter(const std::string& text) {
    for (const char c : text)
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))
            return true;
    return false;
}

// Every control that a user can reach (it has an id and is not hidden) has a sensible name.
void ExpectSensibleNames(const tk::Window& window) {
    std::map<std::string, int> seen;
    for (const tk::ControlTemplate& control : window.Template().controls) {
        if (control.id == tk::IDC_STATIC || (control.flags & tk::state::kHidden) != 0)
            continue;
        const bool label =
            control.kind == tk::Kind::Label || control.kind == tk::Kind::LabelCentered;
        const std::string name = window.Control(control.id)->accessibleName().toStdString();
        SCOPED_TRACE("control " + std::to_string(control.id) + " \"" + name + "\"");
        if (label && (control.text == nullptr || *control.text == '\0'))
            continue; // a label that shows nothing yet is filled in when its window opens
        EXPECT_TRUE(HasLetter(name));
        EXPECT_EQ(name.find('&'), std::string::npos);
        if (!label) {
            const auto [at, fresh] = seen.emplace(name, control.id);
            EXPECT_TRUE(fresh) << "the same name as control " << at->second;
        }
    }
}

TEST(AccessibilityTest, EveryWindowNamesItsControls) {
    permora::TargetObject target("/vol/vol1/qt1", permora::MakeDefaultDescriptor());
    const permora::SecurityTemplate emptyTemplate;
    const struct {
        const char* name;
        std::function<std::unique_ptr<tk::Window>()> make;
    } windows[] = {
        {"main window", [] { return std::make_unique<PermoraDlg>(); }},
        {"add target", [] { return std::make_unique<AddFileDlg>(); }},
        {"add paths",
         [&] { return std::make_unique<AddPathsDlg>(emptyTemplate, target.Descriptor.get()); }},
        {"replace account", [] { return std::make_unique<ReplaceAccountDlg>(true); }},
        {"about", [] { return std::make_unique<AboutDlg>(); }},
        {"account", [] { return std::make_unique<InputNTAccountDlg>(); }},
        {"security page", [&] { return std::make_unique<SecurityPropPage>(target); }},
        {"permission entries", [&] { return std::make_unique<PermissionPropPage>(target); }},
        {"auditing entries", [&] { return std::make_unique<AuditingPropPage>(target); }},
        {"effective access", [&] { return std::make_unique<EffectiveAccessPage>(target); }},
        {"permission entry",
         [] {
             return std::make_unique<ObjectPermPropPage>("Everyone", permora::kLevelFileDirectory);
         }},
        {"auditing entry",
         [] {
             return std::make_unique<ObjectAuditPropPage>("Everyone", permora::kLevelFileDirectory);
         }},
    };
    for (const auto& w : windows) {
        SCOPED_TRACE(w.name);
        const std::unique_ptr<tk::Window> window = w.make();
        ExpectSensibleNames(*window);
    }
}

TEST(AccessibilityTest, TheMainWindowNamesItsListAndArrowsAndReadsTheFileLabel) {
    PermoraDlg dlg;
    const auto name = [&](int id) { return dlg.Control(id)->accessibleName().toStdString(); };
    EXPECT_EQ(name(IDC_TARGET_LIST), "Targets");
    EXPECT_EQ(name(IDC_UP), "Move Up");
    EXPECT_EQ(name(IDC_DOWN), "Move Down");
    EXPECT_EQ(dlg.Text(IDC_UP), "&Up");
    EXPECT_EQ(dlg.Text(IDC_DOWN), "&Dn");
    dlg.Document().FileRead("/tmp/R&D.conf", std::nullopt);
    dlg.Document().MarkChanged();
    EXPECT_EQ(name(IDC_FILE_LABEL), "/tmp/R&D.conf*");
    dlg.Document().FileRead("/tmp/R&D.conf", std::nullopt);
    EXPECT_EQ(name(IDC_FILE_LABEL), "/tmp/R&D.conf");
    EXPECT_EQ(name(IDC_TARGET_LIST), "Targets");
}

} // namespace
