#include "ui/effectiveaccesspage.h"

#include "model/checks.h"
#include "model/effective_access.h"
#include "resources/templates/effectiveaccesspage.h"
#include "ui/effectiveaccesspanel.h"
#include "ui/toolkit/modal_host.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <memory>

namespace ids = res::EffectiveAccessPage;

EffectiveAccessPage::EffectiveAccessPage(permora::TargetObject& target)
    : tk::PropertyPage(ids::Template()), target_(target),
      panel_(HostWidget(ids::IDC_PANEL, std::make_unique<EffectiveAccessPanel>())) {
    Bind(this, panel_->ViewButton(), &QPushButton::clicked, [this] { OnView(); });
}

EffectiveAccessPage::~EffectiveAccessPage() = default;

void EffectiveAccessPage::OnSetActive() {
    const permora::SecurityDescriptor* d = target_.Descriptor.get();
    panel_->SetAccounts(d != nullptr ? permora::AccountsOf(*d) : std::vector<std::string>{});
    if (viewed_) {
        ShowViewed();
    }
    tk::PropertyPage::OnSetActive();
}

void EffectiveAccessPage::OnView() {
    const std::string account =
        permora::TrimBlanks(panel_->AccountField()->currentText().toStdString());
    const std::vector<std::string> groups =
        permora::SplitGroupList(panel_->GroupsField()->text().toStdString());
    bool valid = permora::IsValidAccountName(account);
    for (const std::string& group : groups) {
        valid = valid && permora::IsValidAccountName(group);
    }
    if (!valid) {
        tk::MessageBox(this, tr("Invalid Account Name").toStdString(), tr("Error").toStdString());
        return;
    }
    account_ = account;
    groups_ = groups;
    viewed_ = true;
    ShowViewed();
}

void EffectiveAccessPage::ShowViewed() {
    const permora::AccessSubject subject(account_, groups_);
    const permora::SecurityDescriptor* d = target_.Descriptor.get();
    const permora::SecurityDescriptor none;
    panel_->ShowAccess(permora::ComputeEffectiveAccess(d != nullptr ? *d : none, subject), subject);
}
