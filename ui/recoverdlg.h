#pragma once

#include "ui/recovery.h"
#include "ui/toolkit/window.h"

#include <QCoreApplication>

#include <string>
#include <vector>

// Recover: the recovery files as a list, newest first, each with the time it was kept; OK
// (Import) or a double click chooses one.
class RecoverDlg : public tk::Dialog {
    Q_DECLARE_TR_FUNCTIONS(RecoverDlg)

public:
    RecoverDlg(std::vector<recovery::Recovered> files, const tk::Window* parent = nullptr);
    ~RecoverDlg() override;

    // After IDOK: the file chosen.
    const recovery::Recovered& Chosen() const { return chosen_; }

    // Handlers.
    void OnSelectionChange();
    void OnDoubleClick() { OnOK(); }

protected:
    void OnInitDialog() override;
    void OnOK() override;

private:
    std::vector<recovery::Recovered> files_;
    recovery::Recovered chosen_{};
};

// "2026-12-11 02:15:07": the local time a recovery file was kept.
std::string KeptAt(std::time_t kept);
