#pragma once

#include "model/target.h"
#include "model/template_ops.h"
#include "ui/toolkit/window.h"

#include <QCoreApplication>

#include <cstdint>
#include <string>

// Add Paths: the user pastes a list of paths, one a line, and chooses their level. A line
// may give its path an account after a tab, which replaces a stand-in account of the
// security the new targets get. OK checks every line; while any fails, the failing lines
// are listed with their numbers and nothing is added. Paths the template already holds are
// skipped and counted.
class AddPathsDlg : public tk::Dialog {
    Q_DECLARE_TR_FUNCTIONS(AddPathsDlg)

public:
    // tmpl: the template the paths go into (to skip the paths it holds). copied: the copied
    // security, which the new targets may get (nullptr: none).
    AddPathsDlg(const permora::SecurityTemplate& tmpl, const permora::SecurityDescriptor* copied,
                const tk::Window* parent = nullptr);
    ~AddPathsDlg() override;

    // After IDOK: the paths to add, in list order, with the skipped count.
    const permora::PathList& Result() const { return result_; }
    std::int32_t Level() const { return level_; }
    bool UseCopied() const { return useCopied_; }
    // The account of the security that each path's account (Result().accounts) replaces;
    // empty when the paths have none.
    const std::string& StandIn() const { return standIn_; }

    // Handlers.
    void OnPathsChange();
    void OnFileDirectory();
    void OnStorage();

protected:
    void OnInitDialog() override;
    void OnOK() override;

private:
    void ShowProblems();
    // Why the path fails its check, in the window's language; empty when it passes.
    static QString PathFaultText(const std::string& path);

    const permora::SecurityTemplate& template_;
    const permora::SecurityDescriptor* copied_;
    permora::PathList result_;
    std::string standIn_;
    std::int32_t level_ = permora::kLevelFileDirectory;
    bool useCopied_ = false;
};
