#pragma once

#include "model/standard_boxes.h"
#include "model/target.h"
#include "ui/toolkit/window.h"

#include <QCoreApplication>

#include <cstdint>
#include <memory>
#include <string>

// The basic security page of one target: the accounts named by its permission entries and,
// for the selected account, six standard permissions as Allow and Deny boxes plus a
// read-only Special Permissions row. Every click changes the target's lists at once; the
// opener keeps a copy of the descriptor when it needs to undo.
class SecurityPropPage : public tk::PropertyPage {
    Q_DECLARE_TR_FUNCTIONS(SecurityPropPage)

public:
    // The page owns the target until ReleaseTarget; destroyed while it still holds it, it
    // destroys it.
    explicit SecurityPropPage(std::unique_ptr<permora::TargetObject> target);
    // The page edits a target someone else owns and never destroys it.
    explicit SecurityPropPage(permora::TargetObject& target);
    ~SecurityPropPage() override;

    // Forgets the target; hands back the owned one (nullptr when it was borrowed).
    std::unique_ptr<permora::TargetObject> ReleaseTarget();
    permora::TargetObject* Target() const { return target_; }
    const std::string& CurrentNTAccount() const { return currentNTAccount_; }

    // Rebuilds the account list from the permission entries and shows the first account.
    void FillAccountList();
    // Sets all fourteen boxes from the account's entries; an empty name disables them.
    void ShowAccountPermissions(const std::string& account);
    // The twelve standard boxes and the Special Permissions label; the Special boxes stay
    // disabled.
    void EnableStandardBoxes(bool enable);
    // What the fourteen boxes show now.
    permora::boxes::BoxStates ShownBoxes() const;

    void OnSetActive() override;

    // Handlers.
    void OnAdd();
    void OnRemove();
    void OnAdvanced();
    void OnAccountSelChange();

private:
    void BindHandlers();
    // The Allow (type 0) or Deny (type 1) box of a standard row was clicked.
    void OnStandardBox(permora::boxes::Row row, std::uint8_t type);
    void SetBoxes(const permora::boxes::BoxStates& boxes);
    void ShowMessages(const permora::boxes::Messages& messages);
    void SetCurrentAccount(std::string account);
    permora::SecurityDescriptor* Descriptor() const;

    std::unique_ptr<permora::TargetObject> owned_;
    permora::TargetObject* target_ = nullptr;
    std::string currentNTAccount_;
};
