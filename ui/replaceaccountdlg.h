#pragma once

#include "ui/toolkit/window.h"

#include <QCoreApplication>

#include <string>

// Replace Account: an old account name, the new one (checked with the account-name rule)
// and whether all targets or only the selected ones are looked at.
class ReplaceAccountDlg : public tk::Dialog {
    Q_DECLARE_TR_FUNCTIONS(ReplaceAccountDlg)

public:
    // hasSelection: rows are selected, so "Selected targets" can be chosen.
    explicit ReplaceAccountDlg(bool hasSelection, const tk::Window* parent = nullptr);
    ~ReplaceAccountDlg() override;

    // After IDOK: the names as trimmed, and the scope.
    const std::string& OldName() const { return oldName_; }
    const std::string& NewName() const { return newName_; }
    bool SelectedOnly() const { return selectedOnly_; }

    // Handlers.
    void OnNameChange();

protected:
    void OnInitDialog() override;
    void OnOK() override;

private:
    bool hasSelection_;
    std::string oldName_;
    std::string newName_;
    bool selectedOnly_ = false;
};
