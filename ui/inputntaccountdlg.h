#pragma once

#include "ui/toolkit/window.h"

#include <QCoreApplication>

#include <string>

// Asks for the name of a user, group or computer account, as Domain\NTAccount or a bare
// account name. After OK, NTAccount holds the accepted name, trimmed at both ends.
class InputNTAccountDlg : public tk::Dialog {
    Q_DECLARE_TR_FUNCTIONS(InputNTAccountDlg)

public:
    explicit InputNTAccountDlg(const tk::Window* parent = nullptr);
    ~InputNTAccountDlg() override;

    std::string NTAccount;

    // The field changed: OK can be pressed from now on.
    void OnChangeAccount();

protected:
    void OnOK() override;
};
