#pragma once

#include "model/target.h"
#include "ui/toolkit/window.h"

#include <QCoreApplication>

#include <string>
#include <vector>

class EffectiveAccessPanel;

// What one account, with its groups, may do on the target's folder, subfolders and files,
// read from the sheet's working descriptor each time the page is shown, so that it follows
// the edits of the other pages. It changes nothing.
class EffectiveAccessPage : public tk::PropertyPage {
    Q_DECLARE_TR_FUNCTIONS(EffectiveAccessPage)

public:
    explicit EffectiveAccessPage(permora::TargetObject& target);
    ~EffectiveAccessPage() override;

    EffectiveAccessPanel& Panel() const { return *panel_; }

    void OnSetActive() override;
    // View: checks the names, then shows their access.
    void OnView();

private:
    void ShowViewed();

    permora::TargetObject& target_;
    EffectiveAccessPanel* panel_;
    bool viewed_ = false;
    std::string account_;
    std::vector<std::string> groups_;
};
